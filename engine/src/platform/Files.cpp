#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Platform.h"
#include "platform/Signals.h"

namespace ts {
namespace platform {

namespace {

std::string folderOf(const std::string &path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string &contents) {
  size_t done = 0;
  while (done < contents.size()) {
    const ssize_t written = ::write(fd, contents.data() + done, contents.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// A renamed file survives a crash only once its folder's entry is on disk.
bool syncFolder(const std::string &folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace

OpenResult openRegularFile(const std::string &path, int64_t max_bytes, int &fd, int64_t &size, std::string &problem) {
  fd = -1;
  size = 0;
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; the
  // type is then checked on the open file itself, so it cannot be swapped.
  const int opened = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (opened < 0) {
    if (errno == ENOENT) return OpenResult::MISSING;
    problem = errorText(errno);
    return OpenResult::REFUSED;
  }
  struct stat status {};
  if (::fstat(opened, &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = "not a regular file";
  } else if (status.st_size > max_bytes) {
    problem = std::to_string(status.st_size) + " bytes, more than " + std::to_string(max_bytes);
    size = status.st_size;
    ::close(opened);
    return OpenResult::TOO_LARGE;
  } else {
    // Reads of a regular file never wait anyway; the flag goes for clarity.
    ::fcntl(opened, F_SETFL, ::fcntl(opened, F_GETFL) & ~O_NONBLOCK);
    fd = opened;
    size = status.st_size;
    return OpenResult::OPENED;
  }
  ::close(opened);
  return OpenResult::REFUSED;
}

long readFileAt(int fd, int64_t offset, char *buffer, size_t count) {
  for (;;) {
    const ssize_t got = ::pread(fd, buffer, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    return static_cast<long>(got);
  }
}

void closeFile(int fd) {
  if (fd >= 0) ::close(fd);
}

namespace {

// The mode of the file at path, or 0666 less the process's umask.
mode_t permissionsFor(const std::string &path) {
  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool replaceFile(const std::string &path, const std::string &contents, std::string &problem) {
  const std::string folder = folderOf(path);
  std::string name = path + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    problem = "cannot create a file in '" + folder + "': " + errorText(errno);
    return false;
  }
  // mkstemp makes the file readable by its owner alone; the new file takes
  // the permissions the old one had, or those the umask gives a new file.
  ::fchmod(fd, permissionsFor(path));
  // Each step that fails names itself with the system's reason.
  std::string failed;
  auto fail = [&](const char *step) {
    if (failed.empty()) failed = std::string(step) + " '" + path + "': " + errorText(errno);
  };
  if (!writeAll(fd, contents)) fail("cannot write");
  if (failed.empty() && ::fsync(fd) != 0) fail("cannot flush to disk");
  if (::close(fd) != 0) fail("cannot close");
  if (failed.empty() && ::rename(name.c_str(), path.c_str()) != 0) fail("cannot rename over");
  if (!failed.empty()) {
    problem = failed;
    ::unlink(name.c_str());
    return false;
  }
  // The new file is in place: a folder that cannot be flushed (some file
  // systems refuse it) is reported but does not undo the save.
  if (!syncFolder(folder)) problem = "cannot flush the folder '" + folder + "': " + errorText(errno);
  return true;
}

int lockFile(const std::string &path, std::string &problem) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOCTTY | O_CLOEXEC, 0644);
  if (fd < 0) {
    problem = "cannot open the lock file '" + path + "': " + errorText(errno);
    return -1;
  }
  const int64_t give_up = monotonicMicroseconds() + int64_t{LOCK_WAIT_MS} * 1000;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EINTR) continue;
    if (error == EWOULDBLOCK && monotonicMicroseconds() < give_up && !stopSignalPending()) {
      sleepUntilMicroseconds(monotonicMicroseconds() + 5000);
      continue;
    }
    problem = error == EWOULDBLOCK ? "'" + path + "' is held by another process"
                                   : "cannot lock '" + path + "': " + errorText(error);
    ::close(fd);
    return -1;
  }
  return fd;
}

void unlockFile(int fd) {
  if (fd < 0) return;
  ::flock(fd, LOCK_UN);
  ::close(fd);
}

}  // namespace platform
}  // namespace ts
