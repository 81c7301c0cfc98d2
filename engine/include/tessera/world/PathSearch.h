/// @file
/// PathSearch, a path search an object owns.
#ifndef TS_PATH_SEARCH_H
#define TS_PATH_SEARCH_H

namespace ts {

/// A path search that an object owns while it runs (Object::setPathSearch()).
/// The path module's searches derive from it; destroying one withdraws it
/// from whatever was advancing it, so an object can drop its search without
/// knowing that module.
class PathSearch {
 public:
  PathSearch() = default;
  /// Derived searches withdraw themselves here.
  virtual ~PathSearch() = default;
  PathSearch(const PathSearch &) = delete;
  PathSearch &operator=(const PathSearch &) = delete;
};

}  // namespace ts

#endif
