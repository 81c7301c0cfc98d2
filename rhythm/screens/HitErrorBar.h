// A bar under the lanes that shows how early or late the last presses were:
// the Miss window's width either side of a centre mark, the Perfect and Good
// windows in their colours, and a mark for each of the last presses, the
// newest in white.
#ifndef RHYTHM_HIT_ERROR_BAR_H
#define RHYTHM_HIT_ERROR_BAR_H

#include <string>

#include <tessera/world/Object.h>

class HitErrorBar : public ts::Object {
 public:
  static constexpr int ROW = 23;
  static constexpr int HALF_WIDTH = 20;  // columns either side of the centre
  static constexpr int MARKS = 12;       // the last presses shown

  HitErrorBar();
  int draw() override;
  // The column of an offset, from -HALF_WIDTH (the Miss window's early edge)
  // to HALF_WIDTH.
  static int columnOf(double offset_ms);
};

#endif
