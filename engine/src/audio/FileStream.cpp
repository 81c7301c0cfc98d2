#include "audio/FileStream.h"

#include <algorithm>

#include "audio/OggScan.h"

namespace ts {

bool FileStream::open(const std::string &path, int64_t max_bytes, std::string &problem) {
  m_end = m_position = 0;
  switch (m_file.open(path, max_bytes)) {
    case ReadOnlyFile::MISSING:
      problem = "not found";
      return false;
    case ReadOnlyFile::OPENED:
      break;
    default:
      problem = m_file.getProblem();
      return false;
  }
  const OggScan scan = OggScan::of(m_file);
  if (!scan.getProblem().empty()) {
    problem = scan.getProblem();
    m_file.close();
    return false;
  }
  m_end = scan.isOgg() ? scan.getEnd() : m_file.getSize();
  return true;
}

sf::Int64 FileStream::read(void *data, sf::Int64 size) {
  if (size <= 0 || m_position >= m_end) return 0;
  const int64_t wanted = std::min<int64_t>(size, m_end - m_position);
  const long got = m_file.readAt(m_position, static_cast<char *>(data), static_cast<size_t>(wanted));
  if (got < 0) return -1;
  m_position += got;
  return got;
}

sf::Int64 FileStream::seek(sf::Int64 position) {
  if (position < 0) return -1;
  m_position = std::min<int64_t>(position, m_end);
  return m_position;
}

}  // namespace ts
