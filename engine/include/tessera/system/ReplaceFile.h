/// @file
/// Replacing a whole file so that readers see the old contents or the new,
/// never a part, and a crash right after leaves the new one on disk.
#ifndef TS_REPLACE_FILE_H
#define TS_REPLACE_FILE_H

#include <string>

namespace ts {

/// Writes contents to a unique temporary file in path's folder (so that two
/// writers never share one), flushes it to disk, renames it over path and
/// flushes the folder. False with the reason in problem; the temporary file
/// is removed then and path is as it was. True once the new file is in
/// place; a folder the file system would not flush leaves a warning in
/// problem then. Logs nothing; callers log problem.
bool replaceFile(const std::string &path, const std::string &contents, std::string &problem);

}  // namespace ts

#endif
