#include <tessera/system/FileLock.h>

#include "platform/Files.h"

namespace ts {

FileLock::FileLock(const std::string &path) : m_fd(-1) { m_fd = platform::lockFile(path, m_problem); }

FileLock::~FileLock() { platform::unlockFile(m_fd); }

}  // namespace ts
