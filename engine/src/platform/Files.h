// File calls the engine makes on files that someone else may have put in
// place of the expected ones: opening for reading without blocking (a FIFO
// or a device opened for reading would wait for a writer), writing a whole
// file durably under a unique temporary name, and advisory locks.
#ifndef TS_PLATFORM_FILES_H
#define TS_PLATFORM_FILES_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace ts {
namespace platform {

enum class OpenResult { OPENED, MISSING, TOO_LARGE, REFUSED };

// Opens path for reading without waiting on it, then keeps it only if it is
// a regular file of at most max_bytes: the descriptor goes to fd and the size
// to size (also when it is too large). Otherwise fd is -1 and problem says why ("not a regular file",
// "N bytes, more than M", the system's error text).
OpenResult openRegularFile(const std::string &path, int64_t max_bytes, int &fd, int64_t &size, std::string &problem);
// Reads up to count bytes at offset; the number read, or -1.
long readFileAt(int fd, int64_t offset, char *buffer, size_t count);
void closeFile(int fd);

// Writes contents to a unique temporary file in path's folder, flushes it to
// the disk, renames it over path and flushes the folder. False with the
// reason in problem; the temporary file is then removed. True once the new
// file is in place, with a warning in problem if the folder would not flush.
bool replaceFile(const std::string &path, const std::string &contents, std::string &problem);

// Takes an exclusive advisory lock on path (created if missing), waiting for
// another holder to let go for at most LOCK_WAIT_MS, and not at all once a
// stop signal is pending (a holder that is stopped must not freeze the
// game); the descriptor that holds it, or -1 with the reason in problem.
// unlockFile() lets go and closes it.
const int LOCK_WAIT_MS = 2000;
int lockFile(const std::string &path, std::string &problem);
void unlockFile(int fd);

}  // namespace platform
}  // namespace ts

#endif
