#include <tessera/system/ReadOnlyFile.h>

#include <algorithm>

#include "platform/Files.h"

namespace ts {

ReadOnlyFile::~ReadOnlyFile() { close(); }

ReadOnlyFile::Status ReadOnlyFile::open(const std::string &path, int64_t max_bytes) {
  close();
  m_problem.clear();
  switch (platform::openRegularFile(path, max_bytes, m_fd, m_size, m_problem)) {
    case platform::OpenResult::OPENED:
      return OPENED;
    case platform::OpenResult::MISSING:
      return MISSING;
    case platform::OpenResult::TOO_LARGE:
      return TOO_LARGE;
    default:
      return REFUSED;
  }
}

long ReadOnlyFile::readAt(int64_t offset, char *buffer, size_t count) const {
  if (m_fd < 0 || offset < 0) return -1;
  if (offset >= m_size) return 0;
  // A file that grew since it was opened is read only as far as it was then.
  count = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), m_size - offset));
  return platform::readFileAt(m_fd, offset, buffer, count);
}

bool ReadOnlyFile::readAll(std::string &text) const {
  text.assign(static_cast<size_t>(m_size), '\0');
  int64_t done = 0;
  long got = 1;
  while (done < m_size && got > 0) {
    got = readAt(done, &text[static_cast<size_t>(done)], static_cast<size_t>(m_size - done));
    if (got > 0) done += got;
  }
  // A file that shrank since it was opened ends where its data ends.
  text.resize(static_cast<size_t>(done));
  return m_fd >= 0 && got >= 0;
}

void ReadOnlyFile::close() {
  platform::closeFile(m_fd);
  m_fd = -1;
  m_size = 0;
}

}  // namespace ts
