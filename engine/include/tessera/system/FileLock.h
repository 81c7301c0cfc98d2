/// @file
/// FileLock, an advisory lock held while the object lives.
#ifndef TS_FILE_LOCK_H
#define TS_FILE_LOCK_H

#include <string>

namespace ts {

/// An exclusive advisory lock held on a lock file while the object lives, so
/// that two processes changing the same file (read, change, write back) take
/// turns. Processes that do not take the lock are not held back.
class FileLock {
 public:
  /// Creates the lock file at path if missing (mode 0644) and waits until the
  /// lock is had, for at most 2 seconds or until a stop signal is caught; then
  /// isLocked() is false and getProblem() says why. Logs nothing.
  explicit FileLock(const std::string &path);
  /// Releases the lock and closes the lock file (which stays on disk).
  ~FileLock();
  FileLock(const FileLock &) = delete;
  FileLock &operator=(const FileLock &) = delete;

  /// True while the lock is held.
  bool isLocked() const { return m_fd >= 0; }
  /// Why the lock could not be had (the file could not be opened or locked,
  /// or another process held it); empty when it is held.
  const std::string &getProblem() const { return m_problem; }

 private:
  int m_fd;
  std::string m_problem;
};

}  // namespace ts

#endif
