// The word in the middle of the screen that shows the last judgement in
// its colour.
#ifndef RHYTHM_HIT_INDICATOR_H
#define RHYTHM_HIT_INDICATOR_H

#include <string>

#include <tessera/core/Color.h>
#include <tessera/world/Object.h>

class HitIndicator : public ts::Object {
 public:
  HitIndicator();
  ~HitIndicator() override;

  int draw() override;
  void show(std::string text) { m_text = text; }
  std::string getText() const { return m_text; }
  // Green for "Perfect!", yellow for "Good!", red for "Miss!", else white.
  static ts::Color colorOf(const std::string &text);

 private:
  std::string m_text;
};

#endif
