// The pure parts of timed judging: the windows against the classic rows,
// the display lag, and what the results make of a song's offsets.
#include <gtest/gtest.h>

#include "play/DisplayLag.h"
#include "play/HitOffsets.h"
#include "play/TimingWindow.h"

// The edges themselves are pressed through the game in FairPlayTest.
TEST(TimingWindow, APressOnAFrameBoundaryKeepsTheClassicGradeOfItsRow) {
  using timing_window::grade;
  // A press on a frame boundary keeps the classic grade of its row: the two
  // "Perfect!" rows lie 16.5 ms either side of the beat, the "Good!" rows
  // 49.5 ms, and the rows beyond are outside both windows.
  EXPECT_EQ(grade(16.5), Judgement::PERFECT);
  EXPECT_EQ(grade(-49.5), Judgement::GOOD);
  EXPECT_EQ(grade(82.5), Judgement::MISS);
  EXPECT_EQ(timing_window::offsetText(-12.4), "12 ms early");
  EXPECT_EQ(timing_window::offsetText(0.3), "on time");
}

TEST(DisplayLag, IsTheMeanTimeFromPlacingToShowingOverTheLastFrames) {
  DisplayLag lag(33.0);
  EXPECT_DOUBLE_EQ(lag.getLagMs(), 33.0);  // nothing shown yet: one frame
  for (int step = 0; step < 20; ++step) lag.placed(step, step * 33000);
  EXPECT_EQ(lag.unshownSteps().size(), static_cast<size_t>(DisplayLag::FRAMES_KEPT));
  lag.shown(12, 12 * 33000 + 40000);
  lag.shown(13, 13 * 33000 + 44000);
  lag.shown(14, -1);              // not known yet: still waiting
  lag.shown(15, 15 * 33000 - 1);  // before it was placed: no sample
  lag.shown(99, 1);               // never placed
  EXPECT_DOUBLE_EQ(lag.getLagMs(), 42.0);
  EXPECT_EQ(lag.unshownSteps().front(), 14);
}

TEST(HitOffsets, MeanSpreadAndAdviceTellWhichWayThePressesLean) {
  HitOffsets offsets;
  EXPECT_EQ(offsets.advice(0), std::nullopt);
  for (double offset : {28.0, 32.0, 30.0, 30.0, -200.0, 200.0}) offsets.add(offset);
  EXPECT_DOUBLE_EQ(offsets.meanMs(), 20.0);
  const std::vector<int> bins = offsets.histogram();
  EXPECT_EQ(bins.front(), 1);  // beyond the outer bins: counted in them
  EXPECT_EQ(bins.back(), 1);
  EXPECT_EQ(bins[HitOffsets::BINS / 2 + 2], 4);  // 28 to 32 ms: the bin of 30
  EXPECT_EQ(offsets.spreadText(), "early [:         @     :] late");
  EXPECT_EQ(offsets.meanText(), "Timing: 20 ms late on average");
  // The offset played with plus the mean.
  EXPECT_EQ(offsets.advice(10), "Your hits are 20 ms late on average: try --offset 30 or C to calibrate.");
  HitOffsets close;
  close.add(-15.0);
  EXPECT_EQ(close.advice(0), std::nullopt);
}
