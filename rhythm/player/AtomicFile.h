// Writes a whole file so that readers only ever see the old contents or the
// new: the text goes to a temporary file beside it (the path with ".tmp"
// added), which is then renamed over the file. A crash or a full disk while
// writing leaves the old file as it was.
#ifndef RHYTHM_ATOMIC_FILE_H
#define RHYTHM_ATOMIC_FILE_H

#include <string>

class AtomicFile {
 public:
  // Creates the missing folders. False when anything failed; the temporary
  // file is then removed again. Nothing is logged: the caller names the file.
  static bool write(const std::string &path, const std::string &contents);
};

#endif
