// Writes a whole file so that readers only ever see the old contents or the
// new: the text goes to a temporary file of a unique name beside it, which
// is flushed to disk and then renamed over the file. A crash or a full disk
// while writing leaves the old file as it was, and two games writing at once
// never write into each other's temporary file.
#ifndef RHYTHM_ATOMIC_FILE_H
#define RHYTHM_ATOMIC_FILE_H

#include <string>

class AtomicFile {
 public:
  // Creates the missing folders. False when anything failed, with the reason
  // in problem; the temporary file is then removed again. Nothing is logged:
  // the caller names the file.
  static bool write(const std::string &path, const std::string &contents, std::string &problem);
};

#endif
