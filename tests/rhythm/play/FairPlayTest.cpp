// The fair rules in the world: presses judged by their time at the windows'
// edges, early presses that take their note as a miss, mashing that does
// not pay, and the display's lag taken off each press.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "GameWorld.h"
#include "play/HitZone.h"
#include "play/NoteSpawner.h"
#include "play/PressJudge.h"
#include "play/TimingWindow.h"
#include "screens/Receptors.h"

namespace {

const int64_t FRAME_US = 33000;

// A spawner whose track plays exactly on the frame grid (frame f reads
// f frames of music at f frames of clock) and whose pictures go on screen
// lag_us after their notes were placed.
class TimedSpawner : public NoteSpawner {
 public:
  TimedSpawner(std::vector<int32_t> chart, std::vector<int> lanes, const int &frame, int64_t lag_us)
      : NoteSpawner(std::move(chart), nullptr, 0, std::move(lanes), NoteClock::Pace::FOLLOW_MUSIC),
        m_frame(frame),
        m_lag_us(lag_us) {}

 protected:
  std::optional<NoteClock::TrackReading> readTrack() const override {
    return NoteClock::TrackReading{m_frame * 33.0, m_frame * 33.0};
  }
  // Steps and frames go together here: step s was placed at frame s + 1.
  int64_t presentTimeOf(int game_step) const override {
    const int64_t shown = (game_step + 1) * FRAME_US + m_lag_us;
    return shown <= m_frame * FRAME_US ? shown : -1;
  }

 private:
  const int &m_frame;
  int64_t m_lag_us;
};

class FairPlayTest : public GameTest {
 protected:
  TimedSpawner *start(std::vector<int32_t> chart, std::vector<int> lanes, int64_t lag_us = 33000) {
    auto *p_spawner = new TimedSpawner(std::move(chart), std::move(lanes), m_frame, lag_us);
    new PressJudge();
    new Receptors();
    new ScoreManager();
    return p_spawner;
  }
  // A press (or release) of the key at this time on the monotonic clock.
  static void pressAt(ts::Keyboard::Key key, int64_t time_us, ts::EventKeyboardAction action = ts::KEY_PRESSED) {
    ts::EventKeyboard event;
    event.setKey(key);
    event.setKeyboardAction(action);
    event.setTime(time_us);
    ts::InputManager::getInstance().onEvent(&event);
  }
  static Note *firstNote() { return first<Note>("Note"); }
  static Receptors *receptors() { return first<Receptors>("Receptors"); }
  int judged(Judgement judgement) const { return score()->getJudgementCount(judgement); }
  // A fresh world and clock for the next case.
  void restart() {
    TearDown();
    SetUp();
    m_frame = 0;
    m_step = 0;
  }
};

}  // namespace

TEST_F(FairPlayTest, PressesAreGradedByTheirOffsetAtEachWindowsEdgeOnBothSides) {
  struct Case {
    double offset_ms;
    std::optional<Judgement> expected;
  };
  const Case cases[] = {{0.0, Judgement::PERFECT}, {-22.4, Judgement::PERFECT}, {22.4, Judgement::PERFECT},
                        {-22.6, Judgement::GOOD},  {22.6, Judgement::GOOD},     {-55.4, Judgement::GOOD},
                        {55.4, Judgement::GOOD},   {-55.6, Judgement::MISS},    {55.6, Judgement::MISS},
                        {-134.9, Judgement::MISS}, {134.9, Judgement::MISS},    {-135.1, std::nullopt},
                        {135.1, std::nullopt}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.offset_ms);
    TimedSpawner *p_spawner = start({2}, {1});
    frame();
    frame();
    frame();
    Note *p_note = firstNote();
    ASSERT_NE(p_note, nullptr);
    const int64_t on_beat = p_spawner->pressTimeOnBeat(*p_note);
    pressAt(ts::Keyboard::UPARROW, on_beat + static_cast<int64_t>(c.offset_ms * 1000.0));
    if (c.expected) {
      EXPECT_TRUE(p_note->isHit());
      EXPECT_EQ(judged(*c.expected), 1);
      EXPECT_EQ(score()->getScore(), judgementPoints(*c.expected));
      EXPECT_EQ(receptors()->getText(),
                std::string(judgementText(*c.expected)) + " " + timing_window::offsetText(c.offset_ms));
    } else {
      EXPECT_FALSE(p_note->isHit());
      EXPECT_EQ(receptors()->getText(), "");
    }
    restart();
  }
}

TEST_F(FairPlayTest, AnEarlyPressTakesItsNoteAsAMissAndOnlyItsLaneCounts) {
  // An "up" note, then a "left" note four steps before a second "up" note.
  TimedSpawner *p_spawner = start({2, 40, 44}, {1, 0, 1});
  frame();
  frame();
  frame();
  pressAt(ts::Keyboard::UPARROW, p_spawner->pressTimeOnBeat(*firstNote()));
  EXPECT_EQ(score()->getCombo(), 1);
  while (m_frame < 50) frame();
  Note *p_up = nullptr;
  for (const auto &note : rows())
    if (note.first->getDirection() == "up") p_up = const_cast<Note *>(note.first);
  ASSERT_NE(p_up, nullptr);
  const int64_t on_beat = p_spawner->pressTimeOnBeat(*p_up);
  // Another lane's key near the notes takes none of them.
  pressAt(ts::Keyboard::RIGHTARROW, on_beat);
  EXPECT_EQ(count("Note"), 2);
  EXPECT_TRUE(m_log.contains("Incorrect key pressed! No points awarded."));
  // 100 ms early: the note is taken, as a miss, and the combo breaks.
  pressAt(ts::Keyboard::UPARROW, on_beat - 100000);
  EXPECT_TRUE(p_up->isHit());
  EXPECT_EQ(judged(Judgement::MISS), 1);
  EXPECT_EQ(score()->getCombo(), 0);
  EXPECT_EQ(receptors()->getText(), "Miss! 100 ms early");
  EXPECT_TRUE(m_log.contains("Timed judgement: Miss! 100 ms early, lane up."));
  // A second press on its beat finds nothing left to take.
  frame();
  pressAt(ts::Keyboard::UPARROW, on_beat);
  EXPECT_EQ(judged(Judgement::PERFECT), 1);
  EXPECT_EQ(judged(Judgement::MISS), 1);
}

// A note that falls past the lines is a miss at the step event; a late press
// handled later in that frame must not judge it a second time.
TEST_F(FairPlayTest, ANoteMissedByFallingIsNotJudgedAgainInItsLastFrame) {
  TimedSpawner *p_spawner = start({2}, {1});
  frame();
  frame();
  frame();
  const int64_t late = p_spawner->pressTimeOnBeat(*firstNote()) + 120000;
  while (judged(Judgement::MISS) == 0 && m_frame < 60) {
    ++m_frame;
    ts::EventStep step(m_step++);
    ts::GameManager::getInstance().onEvent(&step);
    if (judged(Judgement::MISS) == 1) pressAt(ts::Keyboard::UPARROW, late);
    ts::WorldManager::getInstance().update();
  }
  EXPECT_EQ(judged(Judgement::MISS), 1);
  EXPECT_FALSE(m_log.contains("Timed judgement: Miss! 120 ms late, lane up."));
}

// A masher pressing all four arrows every 50 ms without looking meets each
// note first in the early part of the Miss window, and loses it there.
TEST_F(FairPlayTest, MashingScoresUnderHalf) {
  std::vector<int32_t> chart;
  for (int k = 0; k < 48; ++k) chart.push_back(5 + 15 * k);
  std::srand(7);
  start(chart, {});
  for (int64_t next_mash_us = 0; m_frame < 800;) {
    frame();
    for (; next_mash_us < m_frame * FRAME_US; next_mash_us += 50000)
      for (const Lane &lane : LANES) pressAt(lane.key, next_mash_us);
  }
  const Results results = score()->results(48);
  EXPECT_EQ(results.getPerfects() + results.getGoods() + results.getMisses(), 48);
  EXPECT_LT(results.accuracyTenths(), 500) << results.summary();
}

// The notes are placed the display's lag ahead of the music, and a press is
// judged against the picture on screen at its time, placed that lag before:
// a press on the music's beat, which is when the arrow is shown on its
// receptor, is on time however late the display shows its pictures.
TEST_F(FairPlayTest, TheDisplaysLagIsTakenOffEachPress) {
  for (int64_t lag_us : {33000, 50000, 80000}) {
    SCOPED_TRACE(lag_us);
    TimedSpawner *p_spawner = start({2}, {1}, lag_us);
    for (int k = 0; k < 12; ++k) frame();
    EXPECT_NEAR(p_spawner->getDisplayLagMs(), lag_us / 1000.0, 1e-6);
    Note *p_note = firstNote();
    // The note's beat comes 19.5 steps after its step (2), on the music.
    const int64_t shown_on_beat = static_cast<int64_t>((2 + 19.5) * FRAME_US);
    EXPECT_NEAR(p_spawner->getNoteClock().getPosition(), m_frame + lag_us / 33000.0, 0.2);
    EXPECT_NEAR(p_spawner->offsetOfPress(shown_on_beat, *p_note), 0.0, 0.01);
    pressAt(ts::Keyboard::UPARROW, shown_on_beat - 30000);
    EXPECT_EQ(receptors()->getText(), "Good! 30 ms early");
    // A late press within the Miss window of what is on screen still finds
    // its note: the note is not missed by falling before the picture shows
    // it past the hit zone.
    restart();
    p_spawner = start({2}, {1}, lag_us);
    const int64_t late_us = shown_on_beat + 130000;
    while ((m_frame + 1) * FRAME_US <= late_us) frame();
    pressAt(ts::Keyboard::UPARROW, late_us);
    EXPECT_TRUE(m_log.contains("Timed judgement: Miss! 130 ms late, lane up.")) << p_spawner->getDisplayLagMs();
    restart();
  }
}

// A chord of a hold (up) and a note (left), each taken by its own key: the
// hold's head and tail are two judgements. Held to the end the tail is a
// "Perfect!"; let go before its beat less the Good window it is a miss that
// breaks the combo; a missed head misses the tail with it.
TEST_F(FairPlayTest, AHoldIsJudgedAtItsHeadAndItsTailAndBreaksWhenLetGoEarly) {
  const int64_t good_us = static_cast<int64_t>(timing_window::GOOD_MS * 1000.0);
  const int64_t hold_us = 20 * FRAME_US;
  // Where the up key is let go, from the tail's beat; none: held on.
  const std::pair<std::optional<int64_t>, std::string> cases[] = {
      {std::nullopt, "Hold held to its end: Perfect!, lane up."},
      {-good_us + 1000, "Hold held to its end: Perfect!, lane up."},
      {-good_us - 1000, "Hold let go early: Miss!, lane up."}};
  for (const auto &[release, line] : cases) {
    SCOPED_TRACE(line + (release ? " at " + std::to_string(*release) : ""));
    TimedSpawner *p_spawner = start({2, 2}, {1, 0});
    p_spawner->setHolds({20, 0});
    EXPECT_EQ(p_spawner->countChartNotes(), 3);
    for (int k = 0; k < 3; ++k) frame();
    ASSERT_EQ(count("Note"), 2);
    const int64_t on_beat = p_spawner->pressTimeOnBeat(*firstNote());  // the chord's
    pressAt(ts::Keyboard::UPARROW, on_beat);
    pressAt(ts::Keyboard::LEFTARROW, on_beat);
    frame();
    ASSERT_EQ(count("Note"), 1);
    EXPECT_TRUE(firstNote()->isHolding());
    EXPECT_EQ(judged(Judgement::PERFECT), 2);
    while (m_frame < 60 && count("Note") > 0) {
      frame();
      if (release && (m_frame + 1) * FRAME_US > on_beat + hold_us + *release) {
        pressAt(ts::Keyboard::UPARROW, on_beat + hold_us + *release, ts::KEY_RELEASED);
        break;
      }
    }
    frame();
    EXPECT_EQ(count("Note"), 0);
    EXPECT_TRUE(m_log.contains(line));
    const bool broken = line.find("Miss") != std::string::npos;
    EXPECT_EQ(judged(Judgement::PERFECT), broken ? 2 : 3);
    EXPECT_EQ(judged(Judgement::MISS), broken ? 1 : 0);
    EXPECT_EQ(score()->getCombo(), broken ? 0 : 3);
    restart();
  }
  // A head taken as a miss by an early press takes its tail with it.
  TimedSpawner *p_spawner = start({2}, {1});
  p_spawner->setHolds({20});
  for (int k = 0; k < 3; ++k) frame();
  pressAt(ts::Keyboard::UPARROW, p_spawner->pressTimeOnBeat(*firstNote()) - 100000);
  frame();
  EXPECT_EQ(count("Note"), 0);
  EXPECT_EQ(judged(Judgement::MISS), 2);
}

// At any scroll speed a note reaches its receptor on its beat: it is spawned
// earlier when slower, later when faster, and missed as long after its beat.
TEST_F(FairPlayTest, NotesArriveOnTheirBeatAtEveryScrollSpeed) {
  std::map<double, std::pair<int, int>> spawned_and_missed;
  for (double speed : {0.5, 1.0, 2.0}) {
    SCOPED_TRACE(speed);
    TimedSpawner *p_spawner = start({40}, {1});
    p_spawner->setScrollSpeed(speed);
    int spawned_at = 0;
    double row_on_beat = -1;
    int missed_at = 0;
    while (m_frame < 100 && missed_at == 0) {
      frame();
      const Note *p_note = firstNote();
      if (p_note && spawned_at == 0) spawned_at = m_frame;
      const double position = p_spawner->getNoteClock().getPosition();
      if (p_note && std::fabs(position - p_note->getBeatStep()) < 0.5 + 1e-9 && row_on_beat < 0)
        row_on_beat = p_note->getPosition().getY() - speed * (position - p_note->getBeatStep());
      if (judged(Judgement::MISS) == 1) missed_at = static_cast<int>(position);
    }
    EXPECT_NEAR(row_on_beat, hit_zone::PERFECT_MIDDLE, 1e-4);
    spawned_and_missed[speed] = {spawned_at, missed_at};
    restart();
  }
  // 39.5 steps to fall 19.75 rows at half speed, 9.5 steps for 19 at twice.
  EXPECT_EQ(spawned_and_missed[0.5].first, spawned_and_missed[1.0].first - 20);
  EXPECT_EQ(spawned_and_missed[2.0].first, spawned_and_missed[1.0].first + 9);
  EXPECT_EQ(spawned_and_missed[0.5].second, spawned_and_missed[1.0].second);
  EXPECT_EQ(spawned_and_missed[2.0].second, spawned_and_missed[1.0].second);
}
