/// @file
/// ViewObject, a heads-up-display object, and its screen locations.
#ifndef TS_VIEW_OBJECT_H
#define TS_VIEW_OBJECT_H

#include <cstdint>
#include <string>

#include <tessera/core/Color.h>
#include <tessera/world/Object.h>

namespace ts {

/// The nine places of a three-by-three layout of the view. Each column is a
/// third of the view's width and a location stands in the middle of its
/// third: the LEFT ones at 1/6 of the width, the CENTER ones at 3/6, the
/// RIGHT ones at 5/6. The text is centred there, so a left counter sits in
/// the middle of the left third, not against the edge, and a text of any
/// length up to a third of the width stays on screen. The TOP row is row 1
/// (row 0 without a border), the CENTER row half the height (less one
/// without a border), the BOTTOM row the height less 2 (less 1).
enum ViewObjectLocation {
  UNDEFINED_LOCATION = -1,
  TOP_LEFT,
  TOP_CENTER,
  TOP_RIGHT,
  CENTER_LEFT,
  CENTER_CENTER,
  CENTER_RIGHT,
  BOTTOM_LEFT,
  BOTTOM_CENTER,
  BOTTOM_RIGHT,
};

/// Modified-mask bit of a view object, above the object's own: the value.
const uint32_t VALUE_ATTR = 0x40000;
/// Modified-mask bit: the text, location, border, colour and whether the value shows.
const uint32_t APPEARANCE_ATTR = 0x80000;

/// A heads-up-display object: a label and an optional value at one of nine
/// places of the screen, optionally framed. Its position is in view
/// coordinates, so it stays put when the view scrolls. Created with new and
/// owned by the world, like every Object; "ts-view" events whose tag is the
/// label set or change its value.
class ViewObject : public Object {
 public:
  /// SPECTRAL, at the top altitude, type "ViewObject", at TOP_CENTER with a
  /// border, showing value 0; registered for "ts-view".
  ViewObject();
  /// Nothing beyond Object's.
  ~ViewObject() override;

  /// A position of the view; placing the object by hand forgets its location.
  int setPosition(Vector view_pos) override;
  /// A "ts-view" event tagged with this label sets the value, or adds to it
  /// when it is a delta; 1 then, 0 for other tags. Other events go to
  /// Object::eventHandler().
  int eventHandler(const Event *p_event) override;
  /// Draws composeText() centred at its place, framed when the border is on.
  int draw() override;
  /// Object's record, then the value and appearance as marked; as Object::serialize().
  int serialize(std::stringstream &stream, unsigned int mask = 0) override;
  /// Reads what serialize() wrote; as Object::deserialize().
  int deserialize(std::stringstream &stream, unsigned int *p_mask = nullptr) override;

  /// Places the object at one of the nine ViewObjectLocation places of the
  /// current view; another value is logged as a warning and ignored.
  virtual void setLocation(int location);
  /// Whether the value is shown after the label.
  virtual void setDrawValue(bool draw_value = true);
  /// Sets the value shown.
  virtual void setValue(int value);
  /// Whether a frame is drawn round the text (the place is worked out again).
  virtual void setBorder(bool border);
  /// Sets the colour of text and frame.
  virtual void setColor(Color color);
  /// Sets the label, which is also the tag of the "ts-view" events it takes.
  virtual void setViewString(std::string view_string);

  /// The ViewObjectLocation, or UNDEFINED_LOCATION after setPosition().
  int getLocation() const { return m_location; }
  /// Whether the value is shown.
  bool getDrawValue() const { return m_draw_value; }
  /// The value.
  int getValue() const { return m_value; }
  /// Whether the frame is drawn.
  bool getBorder() const { return m_border; }
  /// The colour.
  Color getColor() const { return m_color; }
  /// The label.
  std::string getViewString() const { return m_view_string; }

  /// The text drawn in the middle line, without the border lines.
  std::string composeText() const;

 private:
  void serializeAppearance(std::stringstream &stream);
  int deserializeAppearance(std::stringstream &stream);

  std::string m_view_string;
  int m_value;
  bool m_draw_value;
  bool m_border;
  Color m_color;
  int m_location;
};

}  // namespace ts

#endif
