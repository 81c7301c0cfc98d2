// Lines of text at a place of the screen, for titles, help and messages.
#ifndef TS_TEXT_VIEW_H
#define TS_TEXT_VIEW_H

#include <string>
#include <vector>

#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/ViewObject.h>

namespace ts {

/// A view object that shows one or more lines of text (no label, value or
/// border) at a view position, in a colour (setColor()) and a justification,
/// all settable at any time. Like every view object it stays put when the
/// view scrolls; place it with setLocation() or setPosition().
///
/// Each line is justified on the position's column: it starts there (left),
/// is centred on it (centre, the default) or ends just left of it (right). The lines
/// go down from the position's row, except at the nine locations: there the
/// block is centred on a CENTER_ row and ends on a BOTTOM_ row, so that it
/// stays on screen. Created with `new` like any object; the world owns it.
class TextView : public ViewObject {
 public:
  TextView();
  /// The text; '\n' separates its lines.
  void setText(const std::string &text);
  /// The text as set.
  std::string getText() const { return m_text; }
  /// How each line stands against the position: starting at it, centred on
  /// it or ending at it.
  void setJustification(Justification justification);
  /// The justification (CENTER_JUSTIFIED until set).
  Justification getJustification() const { return m_justification; }
  int draw() override;

 private:
  std::string m_text;
  std::vector<std::string> m_lines;
  Justification m_justification;
};

}  // namespace ts

#endif
