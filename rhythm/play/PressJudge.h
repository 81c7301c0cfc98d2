// Judges arrow-key presses by their time under the fair rules: a press
// takes the note of its lane nearest to it in time, as long as that note is
// within the Miss window of the press (see TimingWindow), and grades it by
// the press's offset from the moment the note was shown on its receptor. A
// press with no note of its lane that close does nothing. While the song is
// paused no key judges a note; Escape ends the game, unless told that a
// pause menu takes it. Letting go of a lane's key ends the hold being held in
// its lane (see Note).
#ifndef RHYTHM_PRESS_JUDGE_H
#define RHYTHM_PRESS_JUDGE_H

#include <tessera/input/EventKeyboard.h>
#include <tessera/world/Object.h>

class PressJudge : public ts::Object {
 public:
  PressJudge();
  int eventHandler(const ts::Event *p_event) override;
  // Ends the hold held in the key's lane, judged by the release's offset
  // from the hold's tail (while paused: from where the song is held).
  static void judgeRelease(const ts::EventKeyboard &release);
  void setQuitsOnEscape(bool quits) { m_quits_on_escape = quits; }

 private:
  void judgePress(const ts::EventKeyboard &press) const;

  bool m_quits_on_escape = true;
};

#endif
