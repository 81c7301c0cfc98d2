// The clock the notes fall by. It counts chart steps: one per step event, as
// the frame loop runs, and more when the music has played further than that
// (the loop fell behind on a busy machine), so that the notes keep to the
// song. It never takes less than one step per step event, so a loop that
// runs ahead of the music falls one row per frame as it always did.
#ifndef RHYTHM_NOTE_CLOCK_H
#define RHYTHM_NOTE_CLOCK_H

#include <deque>
#include <optional>

namespace ts {
class Music;
}

class NoteClock {
 public:
  // The most steps one step event takes: at most three rows per frame, so a
  // note falling through the three judged rows lands on at least one.
  static constexpr int MAX_STEPS_PER_FRAME = 3;
  // Readings of the track kept to smooth its position (about a quarter of a
  // second of frames).
  static constexpr int READINGS_KEPT = 8;

  // Where the track was (milliseconds since it started) when the monotonic
  // clock showed clock_ms.
  struct TrackReading {
    double position_ms;
    double clock_ms;
  };

  // A reading of a playing track now, or nothing when it does not play.
  static std::optional<TrackReading> read(const ts::Music *p_track);

  // step_ms: the length of a chart step in the track. offset_ms: how much
  // later the player hears the music; the clock keeps that far behind the
  // track (a negative offset keeps it ahead).
  NoteClock(double step_ms, int offset_ms);

  // The steps to take for one step event, given a reading of the track, or
  // nothing without a playable track. A positive offset first holds the
  // clock back by its length in steps.
  int advance(std::optional<TrackReading> reading);
  // Forgets the readings taken so far. After a pause the track's start on
  // the monotonic clock has moved by the time it was held; the readings from
  // before would put the track that much ahead and start a catch-up.
  void restartReadings();

  // Steps taken so far: the step the notes are on.
  int getSteps() const { return m_steps; }
  // Where the track is by the last reading, smoothed (see advance()).
  double getTrackEstimateMs() const { return m_track_estimate_ms; }
  // Step events seen, those that took exactly one step, those held back by
  // the offset, and the steps taken beyond one per step event.
  int getFrames() const { return m_frames; }
  int getSingleStepFrames() const { return m_single_step_frames; }
  int getHeldFrames() const { return m_held_frames; }
  int getCatchUpSteps() const { return m_catch_up_steps; }

 private:
  double estimateTrack(const TrackReading &reading);

  double m_step_ms;
  int m_offset_ms;
  int m_hold_left;  // step events still to hold back
  int m_steps;
  // The track's start on the monotonic clock as each of the last readings
  // puts it, and the last reading's position.
  std::deque<double> m_starts_ms;
  double m_last_position_ms;
  double m_track_estimate_ms;
  // How far the track was ahead of the clock after the last step event, in
  // steps.
  double m_last_lead;
  int m_frames;
  int m_single_step_frames;
  int m_held_frames;
  int m_catch_up_steps;
};

#endif
