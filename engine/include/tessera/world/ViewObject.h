// A heads-up-display object: a label and an optional value at one of nine
// places of the screen, optionally framed. Its position is in view
// coordinates, so it stays put when the view scrolls.
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

// Modified-mask bits of a view object, above the object's own.
const uint32_t VALUE_ATTR = 0x40000;
const uint32_t APPEARANCE_ATTR = 0x80000;

class ViewObject : public Object {
 public:
  ViewObject();
  ~ViewObject() override;

  // A position of the view; placing the object by hand forgets its location.
  int setPosition(Vector view_pos) override;
  int eventHandler(const Event *p_event) override;
  int draw() override;
  int serialize(std::stringstream &stream, unsigned int mask = 0) override;
  int deserialize(std::stringstream &stream, unsigned int *p_mask = nullptr) override;

  virtual void setLocation(int location);
  virtual void setDrawValue(bool draw_value = true);
  virtual void setValue(int value);
  virtual void setBorder(bool border);
  virtual void setColor(Color color);
  virtual void setViewString(std::string view_string);

  int getLocation() const { return m_location; }
  bool getDrawValue() const { return m_draw_value; }
  int getValue() const { return m_value; }
  bool getBorder() const { return m_border; }
  Color getColor() const { return m_color; }
  std::string getViewString() const { return m_view_string; }

  // The text drawn in the middle line, without the border lines.
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
