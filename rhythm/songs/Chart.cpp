#include "songs/Chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include <tessera/system/ReadOnlyFile.h>
#include <tessera/system/Text.h>
#include "play/Lane.h"

namespace {

// At most this much of a bad word is quoted in a reason.
const size_t QUOTED_LENGTH = 24;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isPrintable(char c) { return c >= 0x20 && c <= 0x7e; }

std::string trimmed(const std::string &text) {
  size_t begin = 0, end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// A piece of the file fit to be shown in a reason: printable, and short.
std::string quoted(const std::string &text) {
  std::string shown;
  for (size_t i = 0; i < text.size() && i < QUOTED_LENGTH; ++i) shown += isPrintable(text[i]) ? text[i] : '?';
  if (text.size() > QUOTED_LENGTH) shown += "...";
  return "'" + shown + "'";
}

bool allPrintable(const std::string &text) {
  for (char c : text)
    if (!isPrintable(c)) return false;
  return true;
}

// Counts the characters of UTF-8 text; the problem when it is not UTF-8 (a
// stray or missing continuation byte, an overlong form, a surrogate, a code
// point past U+10FFFF) or holds a control character, else null. Such text is
// refused rather than repaired: the title shown must be the one written.
const char *countCharacters(const std::string &text, size_t &count) {
  count = 0;
  for (size_t i = 0; i < text.size(); ++count) {
    const size_t at = i;
    const char32_t code = ts::nextCharacter(text, i);
    // A malformed byte is read alone; a written U+FFFD takes three bytes.
    if (code == ts::MALFORMED_UTF8 && i == at + 1) return "is not UTF-8 text";
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) return "holds a character that cannot be shown";
  }
  return nullptr;
}

// One to most digits, nothing else.
bool allDigits(const std::string &text, size_t most) {
  if (text.empty() || text.size() > most) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Digits only, from 1 to the largest step; false for anything else.
bool parseStep(const std::string &text, int32_t &step) {
  if (text.empty() || text.size() > 9) return false;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  step = value;
  return value >= 1 && value <= Chart::MAX_STEP;
}

}  // namespace

int Chart::laneOf(const std::string &direction) {
  const Lane *p_lane = Lane::ofDirection(direction);
  return p_lane ? static_cast<int>(p_lane - LANES) : RANDOM_LANE;
}

Chart Chart::parse(const std::string &text) {
  Chart chart;
  size_t begin = 0;
  // A byte-order mark some editors put first is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) begin = 3;
  int number = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!chart.readLine(line, ++number)) return chart;
    begin = end + 1;
  }
  chart.finish();
  return chart;
}

Chart Chart::readFile(const std::string &path) {
  Chart chart;
  ts::ReadOnlyFile file;
  const ts::ReadOnlyFile::Status status = file.open(path, MAX_FILE_BYTES);
  std::string text;
  if (status == ts::ReadOnlyFile::TOO_LARGE) {
    chart.m_error =
        std::to_string(file.getSize()) + " bytes, more than a chart may have (" + std::to_string(MAX_FILE_BYTES) + ")";
    return chart;
  }
  if (status != ts::ReadOnlyFile::OPENED || !file.readAll(text)) {
    chart.m_error = "not a readable file";
    return chart;
  }
  return parse(text);
}

bool Chart::fail(int number, const std::string &reason) {
  m_error = "line " + std::to_string(number) + ": " + reason;
  clearContents();
  return false;
}

void Chart::clearContents() {
  m_title.clear();
  m_music.clear();
  m_track.clear();
  m_seconds = 0;
  m_has_title = false;
  m_difficulty.clear();
  m_preview_seconds = -1;
  m_steps.clear();
  m_lanes.clear();
  m_holds.clear();
  m_warnings.clear();
  m_warnings_left_out = 0;
  std::fill(std::begin(m_lane_end), std::end(m_lane_end), 0);
  m_any_hold_end = 0;
}

bool Chart::readLine(const std::string &raw_line, int number) {
  const std::string line = trimmed(raw_line);
  if (line.empty() || line[0] == '#') return true;
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return fail(number, "expected 'field: value', found " + quoted(line));
  const std::string field = trimmed(line.substr(0, colon));
  const std::string value = trimmed(line.substr(colon + 1));
  if (field == "notes") return readNotes(value, number);
  const std::string *p_text = field == "title"        ? &m_title
                              : field == "music"      ? &m_music
                              : field == "track"      ? &m_track
                              : field == "difficulty" ? &m_difficulty
                                                      : nullptr;
  if (!p_text && field != "seconds" && field != "preview") return fail(number, "unknown field " + quoted(field));
  const bool given = field == "title"     ? m_has_title
                     : field == "seconds" ? m_seconds != 0
                     : field == "preview" ? m_preview_seconds >= 0
                                          : !p_text->empty();
  if (given) return fail(number, "'" + field + "' given twice");
  if (value.empty()) return fail(number, "empty " + field);
  if (field == "seconds") return readSeconds(value, number);
  if (field == "preview") return readPreview(value, number);
  return readText(field, value, number);
}

// Titles and difficulties are shown to the player and may be written in any
// script; file names and labels stay printable ASCII.
bool Chart::readText(const std::string &field, const std::string &value, int number) {
  if (field == "title" || field == "difficulty") {
    size_t characters = 0;
    if (const char *problem = countCharacters(value, characters)) return fail(number, field + " " + problem);
    const size_t most = field == "title" ? MAX_TITLE_LENGTH : MAX_DIFFICULTY_LENGTH;
    if (characters > most) return fail(number, field + " longer than " + std::to_string(most) + " characters");
    (field == "title" ? m_title : m_difficulty) = value;
    m_has_title = m_has_title || field == "title";
    return true;
  }
  if (!allPrintable(value)) return fail(number, field + " holds a character that cannot be shown");
  if (field == "track") {
    if (value.size() > MAX_TITLE_LENGTH)
      return fail(number, "track label longer than " + std::to_string(MAX_TITLE_LENGTH) + " characters");
    m_track = value;
  } else {
    if (value.size() > MAX_MUSIC_LENGTH) return fail(number, "music file name too long");
    m_music = value;
  }
  return true;
}

bool Chart::readSeconds(const std::string &value, int number) {
  int32_t seconds = 0;
  if (!parseStep(value, seconds) || seconds > MAX_SECONDS)
    return fail(number,
                "bad seconds " + quoted(value) + " (a whole number from 1 to " + std::to_string(MAX_SECONDS) + ")");
  m_seconds = seconds;
  return true;
}

// Seconds with up to three decimals ("12", "12.5"), from 0 to MAX_SECONDS.
bool Chart::readPreview(const std::string &value, int number) {
  const size_t point = value.find('.');
  const std::string whole = value.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : value.substr(point + 1);
  const bool fits = allDigits(whole, 5) && (point == std::string::npos || allDigits(fraction, 3));
  const double seconds =
      fits ? std::stoi(whole) + (fraction.empty() ? 0.0 : std::stoi(fraction) / std::pow(10.0, fraction.size())) : -1;
  if (seconds < 0 || seconds > MAX_SECONDS)
    return fail(number, "bad preview " + quoted(value) + " (seconds from 0 to " + std::to_string(MAX_SECONDS) +
                            ", at most three decimals)");
  m_preview_seconds = seconds;
  return true;
}

bool Chart::readNotes(const std::string &value, int number) {
  size_t begin = 0;
  while (begin < value.size()) {
    while (begin < value.size() && isBlank(value[begin])) ++begin;
    size_t end = begin;
    while (end < value.size() && !isBlank(value[end])) ++end;
    if (end > begin && !readNote(value.substr(begin, end - begin), number)) return false;
    begin = end;
  }
  return true;
}

// A note is its step, optionally followed by ':' and its lane; a hold's lane
// is followed by '+' and the hold's length in steps.
bool Chart::readNote(const std::string &word, int number) {
  const size_t colon = word.find(':');
  const std::string step_text = word.substr(0, colon);
  const std::string lane_text = colon == std::string::npos ? "" : word.substr(colon + 1);
  const size_t plus = lane_text.find('+');
  int lane = RANDOM_LANE;
  if (colon != std::string::npos) {
    lane = laneOf(lane_text.substr(0, plus));
    if (lane == RANDOM_LANE) return fail(number, "unknown lane in " + quoted(word) + " (left, up, down or right)");
  } else if (word.find('+') != std::string::npos) {
    return fail(number, "a hold needs a lane: " + quoted(word) + " (as in 110:up+20)");
  }
  int32_t step = 0;
  if (!parseStep(step_text, step))
    return fail(number,
                "bad step " + quoted(step_text) + " (a whole number from 1 to " + std::to_string(MAX_STEP) + ")");
  int32_t hold = 0;
  if (plus != std::string::npos) {
    if (!parseStep(lane_text.substr(plus + 1), hold) || hold < MIN_HOLD_STEPS || hold > MAX_HOLD_STEPS)
      return fail(number, "bad hold length in " + quoted(word) + " (" + std::to_string(MIN_HOLD_STEPS) + " to " +
                              std::to_string(MAX_HOLD_STEPS) + " steps)");
    if (step > MAX_STEP - hold)
      return fail(number, "the hold " + quoted(word) + " ends past step " + std::to_string(MAX_STEP));
  }
  if (!checkPlace(step, lane, number)) return false;
  if (m_steps.size() == MAX_NOTES) return fail(number, "more than " + std::to_string(MAX_NOTES) + " notes");
  warnIfCrowded(step, lane, number);
  m_steps.push_back(step);
  m_lanes.push_back(lane);
  m_holds.push_back(hold);
  if (lane != RANDOM_LANE) m_lane_end[lane] = step + hold;
  m_any_hold_end = std::max(m_any_hold_end, hold > 0 ? step + hold : 0);
  return true;
}

// Steps never fall; one step holds a chord of notes in lanes of their own,
// and no note falls in a lane while that lane's hold lasts (nor one left to
// chance while any hold lasts: it might be drawn into the held lane).
bool Chart::checkPlace(int32_t step, int lane, int number) {
  const std::string at = "step " + std::to_string(step);
  if (!m_steps.empty() && step < m_steps.back())
    return fail(number, at + " after step " + std::to_string(m_steps.back()) + " (steps must rise)");
  if (!m_steps.empty() && step == m_steps.back()) {
    if (lane == RANDOM_LANE || m_lanes.back() == RANDOM_LANE)
      return fail(number,
                  at + " twice without a lane for each (a chord names its notes' lanes, as in 70:left 70:right)");
    for (size_t i = m_steps.size(); i > 0 && m_steps[i - 1] == step; --i)
      if (m_lanes[i - 1] == lane) return fail(number, at + " twice in lane " + LANES[lane].direction);
  }
  if (lane == RANDOM_LANE && step <= m_any_hold_end)
    return fail(number, at + " has no lane while a hold lasts (until step " + std::to_string(m_any_hold_end) + ")");
  if (lane != RANDOM_LANE && step <= m_lane_end[lane])
    return fail(number, at + " in lane " + LANES[lane].direction + " falls inside that lane's hold (until step " +
                            std::to_string(m_lane_end[lane]) + ")");
  return true;
}

// Notes of one lane closer than an arrow is tall overlap on screen.
void Chart::warnIfCrowded(int32_t step, int lane, int number) {
  if (lane == RANDOM_LANE || m_lane_end[lane] == 0 || step - m_lane_end[lane] >= READABLE_GAP_STEPS) return;
  if (m_warnings.size() == MAX_WARNINGS) {
    ++m_warnings_left_out;
    return;
  }
  m_warnings.push_back("line " + std::to_string(number) + ": step " + std::to_string(step) + " in lane " +
                       LANES[lane].direction + " is " + std::to_string(step - m_lane_end[lane]) +
                       " steps after the note before it there (arrows overlap closer than " +
                       std::to_string(READABLE_GAP_STEPS) + ")");
}

bool Chart::finish() {
  if (m_music.empty())
    m_error = "no music file named";
  else if (m_steps.empty())
    m_error = "no notes";
  if (m_warnings_left_out > 0)
    m_warnings.push_back("and " + std::to_string(m_warnings_left_out) + " more notes as close in their lanes");
  if (isValid()) return true;
  clearContents();
  return false;
}
