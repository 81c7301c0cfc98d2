// An exclusive advisory lock held on a lock file while the object lives, so
// that two processes changing the same file (read, change, write back) take
// turns. Processes that do not take the lock are not held back.
#ifndef TS_FILE_LOCK_H
#define TS_FILE_LOCK_H

#include <string>

namespace ts {

class FileLock {
 public:
  // Creates the lock file if missing and waits until the lock is had.
  explicit FileLock(const std::string &path);
  ~FileLock();
  FileLock(const FileLock &) = delete;
  FileLock &operator=(const FileLock &) = delete;

  bool isLocked() const { return m_fd >= 0; }
  // Why the lock could not be had; empty when it is held.
  const std::string &getProblem() const { return m_problem; }

 private:
  int m_fd;
  std::string m_problem;
};

}  // namespace ts

#endif
