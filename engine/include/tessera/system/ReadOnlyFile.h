/// @file
/// ReadOnlyFile, a regular file within a size limit, opened without waiting.
#ifndef TS_READ_ONLY_FILE_H
#define TS_READ_ONLY_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace ts {

/// A file from a folder the player controls, opened for reading only after it
/// is known to be what a reader can take: a regular file (a FIFO, a device or
/// a folder is refused at once, never waited on) no larger than the reader's
/// limit. Closed when the object goes. Logs nothing; callers log getProblem().
class ReadOnlyFile {
 public:
  /// The result of open(): OPENED (open, within the limit), MISSING (no such
  /// file), TOO_LARGE (over the limit) or REFUSED (not a regular file, or the
  /// system refused it).
  enum Status { OPENED, MISSING, TOO_LARGE, REFUSED };

  /// Holds no file.
  ReadOnlyFile() = default;
  /// Closes the file.
  ~ReadOnlyFile();
  ReadOnlyFile(const ReadOnlyFile &) = delete;
  ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

  /// Opens path if it is a regular file of at most max_bytes bytes; closes
  /// any file held first. TOO_LARGE and REFUSED leave the reason in
  /// getProblem(): "N bytes, more than M"; "not a regular file" or the
  /// system's error.
  Status open(const std::string &path, int64_t max_bytes);
  /// True while a file is open.
  bool isOpen() const { return m_fd >= 0; }
  /// Why the last open() failed; empty after success.
  const std::string &getProblem() const { return m_problem; }
  /// The size in bytes when it was opened (or found too large).
  int64_t getSize() const { return m_size; }
  /// Reads up to count bytes from offset into buffer, never past the size
  /// taken at open; the number read (0 at or past the end), or -1 when no file
  /// is open, offset is negative or the read fails.
  long readAt(int64_t offset, char *buffer, size_t count) const;
  /// Replaces text with the whole file as it was sized at open; false when no
  /// file is open or on a read error.
  bool readAll(std::string &text) const;
  /// Closes the file; nothing when none is open.
  void close();

 private:
  int m_fd = -1;
  int64_t m_size = 0;
  std::string m_problem;
};

}  // namespace ts

#endif
