#include "songs/Chart.h"

#include <tessera/system/ReadOnlyFile.h>
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
  m_steps.clear();
  m_lanes.clear();
}

bool Chart::readLine(const std::string &raw_line, int number) {
  const std::string line = trimmed(raw_line);
  if (line.empty() || line[0] == '#') return true;
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return fail(number, "expected 'field: value', found " + quoted(line));
  const std::string field = trimmed(line.substr(0, colon));
  const std::string value = trimmed(line.substr(colon + 1));
  if (field == "notes") return readNotes(value, number);
  std::string *p_text = field == "title"   ? &m_title
                        : field == "music" ? &m_music
                        : field == "track" ? &m_track
                                           : nullptr;
  if (!p_text && field != "seconds") return fail(number, "unknown field " + quoted(field));
  if (field == "title" ? m_has_title : field == "seconds" ? m_seconds != 0 : !p_text->empty())
    return fail(number, "'" + field + "' given twice");
  if (value.empty()) return fail(number, "empty " + field);
  if (!allPrintable(value)) return fail(number, field + " holds a character that cannot be shown");
  if (field == "seconds") return readSeconds(value, number);
  if (field == "title") {
    if (value.size() > MAX_TITLE_LENGTH)
      return fail(number, "title longer than " + std::to_string(MAX_TITLE_LENGTH) + " characters");
    m_has_title = true;
  } else if (field == "track") {
    if (value.size() > MAX_TITLE_LENGTH)
      return fail(number, "track label longer than " + std::to_string(MAX_TITLE_LENGTH) + " characters");
  } else if (value.size() > MAX_MUSIC_LENGTH) {
    return fail(number, "music file name too long");
  }
  *p_text = value;
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

// A note is its step, optionally followed by ':' and its lane.
bool Chart::readNote(const std::string &word, int number) {
  const size_t colon = word.find(':');
  const std::string step_text = word.substr(0, colon);
  int lane = RANDOM_LANE;
  if (colon != std::string::npos) {
    lane = laneOf(word.substr(colon + 1));
    if (lane == RANDOM_LANE) return fail(number, "unknown lane in " + quoted(word) + " (left, up, down or right)");
  }
  int32_t step = 0;
  if (!parseStep(step_text, step))
    return fail(number,
                "bad step " + quoted(step_text) + " (a whole number from 1 to " + std::to_string(MAX_STEP) + ")");
  if (!m_steps.empty() && step <= m_steps.back())
    return fail(number, "step " + std::to_string(step) + " after step " + std::to_string(m_steps.back()) +
                            " (steps must rise)");
  if (m_steps.size() == MAX_NOTES) return fail(number, "more than " + std::to_string(MAX_NOTES) + " notes");
  m_steps.push_back(step);
  m_lanes.push_back(lane);
  return true;
}

bool Chart::finish() {
  if (m_music.empty())
    m_error = "no music file named";
  else if (m_steps.empty())
    m_error = "no notes";
  if (isValid()) return true;
  clearContents();
  return false;
}
