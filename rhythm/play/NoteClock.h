// The clock the notes fall by, in chart steps, kept on the music.
//
// It paces in one of two ways. FOLLOW_MUSIC (the game as shipped) keeps a
// position in steps, fractions included, on the music's smoothed position
// at each step event, so it holds back when the frame loop runs ahead of the
// music as well as catching up when it falls behind; notes are drawn on the
// whole steps of that position. It can lead the music by the display's lag,
// so that a picture shows where the music is when it reaches the screen. AT_LEAST_ONE_STEP (the classic rules) takes
// one whole step per step event, and more when the music has played further
// than that, never fewer: a loop that runs ahead of the music falls one row
// per frame as it always did. Either way one step event takes at most
// MAX_STEPS_PER_FRAME steps, so a note falling through the three judged rows
// lands on at least one.
#ifndef RHYTHM_NOTE_CLOCK_H
#define RHYTHM_NOTE_CLOCK_H

#include <deque>
#include <optional>

namespace ts {
class Music;
}

class NoteClock {
 public:
  enum class Pace { AT_LEAST_ONE_STEP, FOLLOW_MUSIC };

  static constexpr int MAX_STEPS_PER_FRAME = 3;
  // Readings of the track kept to smooth its position (about a quarter of a
  // second of frames).
  static constexpr int READINGS_KEPT = 8;
  // Following the music, a step event that finds the music within this many
  // steps of one step ahead takes exactly one step: the frame loop's own
  // jitter of a millisecond or so then never makes a note stop for a frame
  // and jump two rows the next.
  static constexpr double STEADY_BAND_STEPS = 0.1;

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
  NoteClock(double step_ms, int offset_ms, Pace pace = Pace::AT_LEAST_ONE_STEP);

  // The whole steps to take for one step event, given a reading of the track,
  // or nothing without a playable track (one step then). clock_ms: the
  // monotonic clock at this step event, for positionAt() when there is no
  // reading. Under AT_LEAST_ONE_STEP a positive offset first holds the clock
  // back by its length in steps; FOLLOW_MUSIC holds back by itself.
  int advance(std::optional<TrackReading> reading, double clock_ms = 0.0);
  // Following the music, how far ahead of it the position is kept: the time
  // from placing the notes to their picture being on screen.
  void setLeadMs(double lead_ms) { m_lead_ms = lead_ms; }
  // Starts the clock lead_in_ms (in whole steps, rounded up) before the
  // music (FOLLOW_MUSIC): the position is negative, and until the music
  // plays it takes one step per step event, the game loop's own clock. A
  // loop that runs late then delays the music with the notes rather than
  // cutting the player's time short.
  void startLeadIn(double lead_in_ms, double clock_ms);
  bool isLeadingIn() const { return m_leading_in; }
  // Whether the music should start now: the position has reached the
  // music's start, less the offset and plus the display's lead.
  bool isMusicDue() const { return m_leading_in && m_position >= (m_lead_ms - m_offset_ms) / m_step_ms; }
  // The music has started: the clock follows it from here.
  void endLeadIn() { m_leading_in = false; }
  // Forgets the readings taken so far. After a pause the track's start on
  // the monotonic clock has moved by the time it was held; the readings from
  // before would put the track that much ahead and start a catch-up. The
  // position stood still until clock_ms (the resume), so positionAt() carries
  // it on from there, not from the last step event before the pause.
  void restartReadings(double clock_ms);

  // Whole steps taken so far: the step the notes are on.
  int getSteps() const { return m_steps; }
  // The position in steps, fractions included (whole steps under
  // AT_LEAST_ONE_STEP), as of the last step event.
  double getPosition() const { return m_position; }
  // The position at another time on the monotonic clock, carried on at the
  // music's pace from the last step event.
  double positionAt(double clock_ms) const;
  // The monotonic clock at which positionAt() gives the position.
  double clockAtPosition(double position) const;
  // Where the track is by the last reading, smoothed (see advance()).
  double getTrackEstimateMs() const { return m_track_estimate_ms; }
  double getStepMs() const { return m_step_ms; }
  int getOffsetMs() const { return m_offset_ms; }
  Pace getPace() const { return m_pace; }
  // Step events seen, those that took exactly one step, those that took none
  // (held back by the offset or, following the music, waiting for it), and
  // the steps taken beyond one per step event.
  int getFrames() const { return m_frames; }
  int getSingleStepFrames() const { return m_single_step_frames; }
  int getHeldFrames() const { return m_held_frames; }
  int getCatchUpSteps() const { return m_catch_up_steps; }

 private:
  double estimateTrack(const TrackReading &reading);
  int stepAtLeastOnce(std::optional<TrackReading> reading);
  double followMusic(std::optional<TrackReading> reading);
  int count(int steps);

  double m_step_ms;
  int m_offset_ms;
  Pace m_pace;
  int m_hold_left;  // step events still to hold back (AT_LEAST_ONE_STEP)
  int m_steps;
  double m_position;
  double m_position_clock_ms;  // the monotonic clock of m_position
  double m_lead_ms = 0.0;
  bool m_leading_in = false;
  // The track's start on the monotonic clock as each of the last readings
  // puts it, and the last reading's position.
  std::deque<double> m_starts_ms;
  double m_last_position_ms;
  double m_track_estimate_ms;
  // How far the track was ahead of the clock after the last step event, in
  // steps (AT_LEAST_ONE_STEP).
  double m_last_lead;
  int m_frames;
  int m_single_step_frames;
  int m_held_frames;
  int m_catch_up_steps;
};

#endif
