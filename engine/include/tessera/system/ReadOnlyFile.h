// A file from a folder the player controls, opened for reading only after it
// is known to be what a reader can take: a regular file (a FIFO, a device or
// a folder is refused at once, never waited on) no larger than the reader's
// limit. Closed when the object goes.
#ifndef TS_READ_ONLY_FILE_H
#define TS_READ_ONLY_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace ts {

class ReadOnlyFile {
 public:
  enum Status { OPENED, MISSING, TOO_LARGE, REFUSED };

  ReadOnlyFile() = default;
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile &) = delete;
  ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

  // Closes any file held first. TOO_LARGE and REFUSED leave the reason in
  // getProblem(): "N bytes, more than M"; "not a regular file" or the
  // system's error.
  Status open(const std::string &path, int64_t max_bytes);
  bool isOpen() const { return m_fd >= 0; }
  const std::string &getProblem() const { return m_problem; }
  // The size when it was opened (or found too large).
  int64_t getSize() const { return m_size; }
  // Up to count bytes from offset, never past the size taken at open; the
  // number read, or -1.
  long readAt(int64_t offset, char *buffer, size_t count) const;
  // The whole file as it was sized at open; false on a read error.
  bool readAll(std::string &text) const;
  void close();

 private:
  int m_fd = -1;
  int64_t m_size = 0;
  std::string m_problem;
};

}  // namespace ts

#endif
