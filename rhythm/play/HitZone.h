// The rows of the hit zone, in world cells counted from the top: where a
// key press judges a note, how the row grades it, where the '=' lines are
// drawn and where a note counts as missed. Every part of the game that
// needs one of these rows takes it from here.
#ifndef RHYTHM_HIT_ZONE_H
#define RHYTHM_HIT_ZONE_H

namespace hit_zone {

// A key press judges a note only while it is on one of these rows.
const float FIRST_JUDGED_ROW = 19.0f;
const float LAST_JUDGED_ROW = 21.0f;

// The grade of a judged note by its row: "Perfect!" on the two rows the '='
// lines mark, "Good!" on the rows of the band around them.
const float FIRST_PERFECT_ROW = 19.0f;
const float LAST_PERFECT_ROW = 20.0f;
const float FIRST_GOOD_ROW = 18.0f;
const float LAST_GOOD_ROW = 21.0f;

// The middle of the "Perfect!" rows: a note is there on the beat.
const double PERFECT_MIDDLE = (FIRST_PERFECT_ROW + LAST_PERFECT_ROW) / 2.0;

// Under the fair rules a note is drawn on the whole row of its position
// rounded down, so it is shown on this row, its receptor's, while its
// position lies within half a row of PERFECT_MIDDLE: centred on its beat.
const float RECEPTOR_ROW = FIRST_PERFECT_ROW;

// The last row a note may reach unhit; one row further it is missed.
const float LAST_ROW_BEFORE_MISS = 24.0f;

inline bool isJudgedRow(float y) { return y >= FIRST_JUDGED_ROW && y <= LAST_JUDGED_ROW; }
inline bool isPerfectRow(float y) { return y == FIRST_PERFECT_ROW || y == LAST_PERFECT_ROW; }
inline bool isGoodRow(float y) { return y >= FIRST_GOOD_ROW && y <= LAST_GOOD_ROW; }

}  // namespace hit_zone

#endif
