#include "play/NoteClock.h"

#include <algorithm>
#include <cmath>

#include <tessera/audio/Music.h>
#include <tessera/system/Clock.h>

NoteClock::NoteClock(double step_ms, int offset_ms, Pace pace)
    : m_step_ms(step_ms),
      m_offset_ms(offset_ms),
      m_pace(pace),
      m_hold_left(pace == Pace::AT_LEAST_ONE_STEP && offset_ms > 0 && step_ms > 0
                      ? static_cast<int>(std::lround(offset_ms / step_ms))
                      : 0),
      m_steps(0),
      m_position(0.0),
      m_position_clock_ms(0.0),
      m_last_position_ms(0.0),
      m_track_estimate_ms(0.0),
      m_last_lead(0.0),
      m_frames(0),
      m_single_step_frames(0),
      m_held_frames(0),
      m_catch_up_steps(0) {}

std::optional<NoteClock::TrackReading> NoteClock::read(const ts::Music *p_track) {
  if (!p_track || !p_track->isPlaying()) return std::nullopt;
  const double clock_ms = static_cast<double>(ts::monotonicMicroseconds()) / 1000.0;
  return TrackReading{p_track->getPlayingOffset() * 1000.0, clock_ms};
}

// The track's position moves in the audio device's mixing periods: a
// reading lags the sound by anything up to a period, so each reading puts
// the track's start on the monotonic clock a little late, never early. The
// earliest start among the last readings, carried forward to the time of
// this one, is the smooth position. A track that went back (started again)
// starts the readings afresh.
double NoteClock::estimateTrack(const TrackReading &reading) {
  if (reading.position_ms < m_last_position_ms) m_starts_ms.clear();
  m_last_position_ms = reading.position_ms;
  m_starts_ms.push_back(reading.clock_ms - reading.position_ms);
  if (static_cast<int>(m_starts_ms.size()) > READINGS_KEPT) m_starts_ms.pop_front();
  const double start_ms = *std::min_element(m_starts_ms.begin(), m_starts_ms.end());
  m_track_estimate_ms = reading.clock_ms - start_ms;
  return m_track_estimate_ms;
}

void NoteClock::restartReadings(double clock_ms) {
  m_starts_ms.clear();
  m_last_lead = 0.0;
  m_position_clock_ms = clock_ms;
}

void NoteClock::startLeadIn(double lead_in_ms, double clock_ms) {
  if (m_pace != Pace::FOLLOW_MUSIC || m_step_ms <= 0 || lead_in_ms <= 0) return;
  m_leading_in = true;
  m_steps = -static_cast<int>(std::ceil(lead_in_ms / m_step_ms));
  m_position = m_steps;
  m_position_clock_ms = clock_ms;
}

double NoteClock::positionAt(double clock_ms) const {
  if (m_step_ms <= 0) return m_position;
  return m_position + (clock_ms - m_position_clock_ms) / m_step_ms;
}

double NoteClock::clockAtPosition(double position) const {
  return m_position_clock_ms + (position - m_position) * m_step_ms;
}

int NoteClock::advance(std::optional<TrackReading> reading, double clock_ms) {
  ++m_frames;
  m_position_clock_ms = reading ? reading->clock_ms : clock_ms;
  if (m_pace == Pace::AT_LEAST_ONE_STEP) {
    const int steps = stepAtLeastOnce(reading);
    m_steps += steps;
    m_position = m_steps;
    return count(steps);
  }
  m_position = followMusic(reading);
  const int whole = static_cast<int>(std::floor(m_position));
  const int steps = whole - m_steps;
  m_steps = whole;
  return count(steps);
}

int NoteClock::count(int steps) {
  if (steps == 0) ++m_held_frames;
  if (steps == 1) ++m_single_step_frames;
  if (steps > 1) m_catch_up_steps += steps - 1;
  return steps;
}

int NoteClock::stepAtLeastOnce(std::optional<TrackReading> reading) {
  if (!reading || m_step_ms <= 0) return 1;
  const double track_steps = (estimateTrack(*reading) - m_offset_ms) / m_step_ms;
  if (m_hold_left > 0) {
    --m_hold_left;
    m_last_lead = 0.0;
    return 0;
  }
  // Catch up only with what the track has been ahead by at two step events
  // in a row: a step event that comes late once is followed by a short frame
  // (the loop takes oversleep off the next frame), which puts the loop back
  // on time by itself. Less than half a step ahead is on time.
  const double lead = track_steps - (m_steps + 1);
  const double lasting_lead = std::min(lead, m_last_lead);
  int extra = 0;
  if (lasting_lead > 0.5) extra = static_cast<int>(std::min<long>(std::lround(lasting_lead), MAX_STEPS_PER_FRAME - 1));
  m_last_lead = lead - extra;
  return 1 + extra;
}

// The new position: where the music is, unless that is within the steady
// band of one step on, or would take the clock back (it then waits), or
// further on than a step event may go.
double NoteClock::followMusic(std::optional<TrackReading> reading) {
  if (!reading || m_step_ms <= 0) return m_position + 1.0;
  const double music = (estimateTrack(*reading) + m_lead_ms - m_offset_ms) / m_step_ms;
  if (std::fabs(music - (m_position + 1.0)) <= STEADY_BAND_STEPS) return m_position + 1.0;
  return std::clamp(music, m_position, m_position + MAX_STEPS_PER_FRAME);
}
