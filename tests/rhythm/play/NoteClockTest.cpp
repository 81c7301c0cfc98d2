// The notes' clock against synthetic track positions: a loop on time, late
// wake-ups the loop makes up itself, a track running ahead, a track that
// starts again, and the audio offset. (A loop ahead of a playing track and a
// stall: PlayTest.)
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "play/NoteClock.h"
#include "play/NoteSpawner.h"

namespace {

const double FRAME_MS = 33.0;
// The track's position moves in mixing periods of 1024 samples at 44.1 kHz.
const double PERIOD_MS = 1024 * 1000.0 / 44100.0;

// The track as the audio device reports it: started at start_ms on the
// monotonic clock, read at clock_ms, rounded down to a whole mixing period.
NoteClock::TrackReading reading(double clock_ms, double start_ms = 0.8, double speed = 1.0) {
  const double played = std::max(0.0, (clock_ms - start_ms) * speed);
  return {std::floor(played / PERIOD_MS) * PERIOD_MS, clock_ms};
}

// Runs step events at the given times on a track started 0.8 ms after the
// first frame's start and returns the steps each took.
std::vector<int> run(NoteClock &clock, const std::vector<double> &event_times_ms, double speed = 1.0) {
  std::vector<int> steps;
  for (double t : event_times_ms) steps.push_back(clock.advance(reading(t, 0.8, speed)));
  return steps;
}

// Step events on the frame grid: the first frame after the track starts is
// at 33 ms.
std::vector<double> grid(int frames, double first_ms = FRAME_MS) {
  std::vector<double> times;
  for (int k = 0; k < frames; ++k) times.push_back(first_ms + k * FRAME_MS);
  return times;
}

int count(const std::vector<int> &steps, int value) {
  int n = 0;
  for (int s : steps) n += s == value;
  return n;
}

}  // namespace

TEST(NoteClock, OnTimeLoopTakesOneStepPerFrameWhateverTheMixingPeriodsAndLateWakeUps) {
  // Frames within a quarter millisecond of the grid, as on an idle machine;
  // every ninth step event comes up to 30 ms late, which the loop takes off
  // the next frame, so the one after is on the grid again.
  std::vector<double> times = grid(1200);
  for (size_t k = 0; k < times.size(); ++k) times[k] += k % 9 == 5 ? 18.0 + (k % 13) : (k % 7) * 0.04 - 0.12;
  NoteClock clock(FRAME_MS, 0);
  EXPECT_EQ(count(run(clock, times), 1), 1200);
  EXPECT_EQ(clock.getSteps(), 1200);
  EXPECT_EQ(clock.getSingleStepFrames(), 1200);
  EXPECT_EQ(clock.getCatchUpSteps(), 0);
  // The smoothed position is the true one within a few milliseconds, where
  // a reading may lag by up to a mixing period.
  EXPECT_NEAR(clock.getTrackEstimateMs(), times.back() - 0.8, 4.0);

  // Without a playable track, or with a step length of 0, one step each.
  NoteClock trackless(FRAME_MS, -200);
  for (int k = 0; k < 50; ++k) EXPECT_EQ(trackless.advance(std::nullopt), 1);
  NoteClock no_step_length(0.0, 0);
  EXPECT_EQ(no_step_length.advance(reading(5000)), 1);
}

// A track that plays 10 % fast: the clock keeps within a step of it, never
// taking more than 2 steps at once.
TEST(NoteClock, TrackAheadIsFollowed) {
  NoteClock ahead(FRAME_MS, 0);
  const std::vector<double> times = grid(600);
  const std::vector<int> steps = run(ahead, times, 1.1);
  EXPECT_EQ(*std::max_element(steps.begin(), steps.end()), 2);
  EXPECT_NEAR(ahead.getSteps(), ahead.getTrackEstimateMs() / FRAME_MS, 1.0);
  EXPECT_NEAR(ahead.getCatchUpSteps(), 60, 1);
}

TEST(NoteClock, TrackThatStartsAgainDoesNotMakeTheClockJump) {
  NoteClock clock(FRAME_MS, 0);
  for (double t : grid(200)) clock.advance(reading(t));
  // At 6.6 s the track starts again from its beginning.
  for (double t : grid(100, 201 * FRAME_MS)) EXPECT_EQ(clock.advance(reading(t, 201 * FRAME_MS - 30)), 1) << t;
}

TEST(NoteClock, OffsetMovesTheClockAgainstTheTrackByItsMilliseconds) {
  // On a track exactly on the frame grid the clock is on step k at frame k;
  // an offset of n frame times puts it on step k - n, once it has settled.
  for (int frames_later : {-3, -1, 0, 1, 2, 5}) {
    NoteClock clock(FRAME_MS, frames_later * 33);
    int held = 0;
    for (int k = 1; k <= 60; ++k) {
      const int steps = clock.advance(NoteClock::TrackReading{k * FRAME_MS, k * FRAME_MS});
      held += steps == 0;
      EXPECT_LE(steps, NoteClock::MAX_STEPS_PER_FRAME);
      if (k > 10) {
        EXPECT_EQ(clock.getSteps(), k - frames_later) << frames_later << " at frame " << k;
      }
    }
    // A later sound holds the first step back; an earlier one catches up.
    EXPECT_EQ(held, std::max(0, frames_later));
    EXPECT_EQ(clock.getHeldFrames(), held);
    EXPECT_EQ(clock.getCatchUpSteps(), std::max(0, -frames_later));
  }
  // Any other offset moves the clock to the nearest step.
  NoteClock clock(FRAME_MS, 100);  // 3.03 frames
  for (double t : grid(100)) clock.advance(reading(t));
  EXPECT_EQ(clock.getSteps(), 100 - 3);
}

// Following the music, the clock's position stays on the track both ways:
// a loop whose frames run short (30 ms) holds back, one whose frames run
// long (36 ms) catches up, and on the frame grid every frame takes one step.
// "Within" allows the steady band, a mixing period of reading lag and the
// whole step the notes are drawn on.
TEST(NoteClock, FollowingTheMusicHoldsBackAndCatchesUpToStayOnIt) {
  for (double frame_ms : {30.0, 33.0, 36.0}) {
    std::vector<double> times;
    for (int k = 1; k <= 900; ++k) times.push_back(k * frame_ms);
    NoteClock clock(FRAME_MS, 0, NoteClock::Pace::FOLLOW_MUSIC);
    std::vector<int> steps;
    for (double t : times) {
      steps.push_back(clock.advance(reading(t)));
      EXPECT_NEAR(clock.getPosition(), (t - 0.8) / FRAME_MS, 1.0) << frame_ms << " at " << t;
    }
    EXPECT_NEAR(clock.getPosition(), (times.back() - 0.8) / FRAME_MS,
                NoteClock::STEADY_BAND_STEPS + PERIOD_MS / FRAME_MS)
        << frame_ms;
    EXPECT_LE(*std::max_element(steps.begin(), steps.end()), 2) << frame_ms;
    if (frame_ms < FRAME_MS) {
      EXPECT_GT(clock.getHeldFrames(), 50) << "a fast loop waits for the music";
    } else if (frame_ms > FRAME_MS) {
      EXPECT_GT(clock.getCatchUpSteps(), 50) << "a slow loop catches up";
    } else {
      EXPECT_GE(clock.getSingleStepFrames(), 898);
    }
  }
}

// One early catch-up (a stall of 120 ms) does not leave the clock ahead for
// good, as a clock that never takes less than a step per frame would be; a
// stall takes at most three steps per frame to make up.
TEST(NoteClock, FollowingTheMusicDoesNotStayAheadAfterAStall) {
  std::vector<double> times = grid(400);
  for (size_t k = 30; k < times.size(); ++k) times[k] += k == 30 ? 120.0 : 0.0;
  NoteClock follow(FRAME_MS, 0, NoteClock::Pace::FOLLOW_MUSIC);
  NoteClock classic(FRAME_MS, 0);
  const std::vector<int> follow_steps = run(follow, times);
  run(classic, times);
  EXPECT_EQ(follow_steps[30], NoteClock::MAX_STEPS_PER_FRAME);
  EXPECT_NEAR(follow.getPosition() * FRAME_MS, times.back() - 0.8, NoteClock::STEADY_BAND_STEPS * FRAME_MS + PERIOD_MS);
  // The classic clock took the stall's steps and every frame's step after.
  EXPECT_GT(classic.getSteps(), follow.getSteps());
}

// A positive offset holds the clock at the start until the heard music
// catches up; positionAt() carries the position on between step events.
TEST(NoteClock, FollowingTheMusicHoldsForAnOffsetAndCarriesThePositionOn) {
  NoteClock clock(FRAME_MS, 99, NoteClock::Pace::FOLLOW_MUSIC);
  int held = 0;
  for (int k = 1; k <= 40; ++k) held += clock.advance(NoteClock::TrackReading{k * FRAME_MS, k * FRAME_MS}) == 0;
  EXPECT_EQ(held, 3);
  EXPECT_DOUBLE_EQ(clock.getPosition(), 40 - 3);
  EXPECT_DOUBLE_EQ(clock.positionAt(40 * FRAME_MS + 16.5), 37.5);
  EXPECT_DOUBLE_EQ(clock.clockAtPosition(39.0), 42 * FRAME_MS);
  // Held from the last step event until a resume at 5 s: a press just after
  // it is judged on the position the clock stood at.
  clock.restartReadings(5000.0);
  EXPECT_DOUBLE_EQ(clock.positionAt(5000.0 + 16.5), 37.5);
}

// A lead-in: the clock starts as many steps before the music as its time
// takes, and takes one step per step event however late they come, so the
// first beat never comes sooner than the lead-in plus its place in the music.
// The music is due once the clock reaches its start, less the offset; the
// clock then follows the music. The classic pace has no lead-in.
TEST(NoteClock, ALeadInCountsTheLoopsStepsUpToTheMusicsStart) {
  EXPECT_DOUBLE_EQ(NoteSpawner::leadInMs({226, 2, 11}), 2000.0 - (2 + 19.5) * 33.0);
  EXPECT_DOUBLE_EQ(NoteSpawner::leadInMs({100}), 0.0);
  for (int offset_ms : {0, 70}) {
    SCOPED_TRACE(offset_ms);
    NoteClock clock(FRAME_MS, offset_ms, NoteClock::Pace::FOLLOW_MUSIC);
    clock.startLeadIn(1290.0, 0.0);
    EXPECT_EQ(clock.getSteps(), -40);  // 39.1 steps, rounded up
    int events = 0;
    while (!clock.isMusicDue() && events < 100) {
      EXPECT_EQ(clock.advance(std::nullopt, ++events * 80.0), 1);  // a slow loop: 80 ms a frame
    }
    EXPECT_EQ(events, offset_ms == 0 ? 40 : 38);  // 70 ms of offset: the music starts 2 steps sooner
    clock.endLeadIn();
    const double start_ms = events * 80.0;
    for (int k = 1; k <= 5; ++k) clock.advance(NoteClock::TrackReading{k * FRAME_MS, start_ms + k * FRAME_MS});
    EXPECT_NEAR(clock.getPosition(), 5 - offset_ms / FRAME_MS, 1e-9);
  }
  NoteClock classic(FRAME_MS, 0);
  classic.startLeadIn(1290.0, 0.0);
  EXPECT_FALSE(classic.isLeadingIn());
  EXPECT_EQ(classic.getSteps(), 0);
}
