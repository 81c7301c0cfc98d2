/// @file
/// The process environment, for games that set what the engine reads from
/// it (TESSERA_LOG, TESSERA_CONFIG) before the engine starts.
#ifndef TS_ENVIRONMENT_H
#define TS_ENVIRONMENT_H

#include <string>

namespace ts {

/// Sets (replaces) the environment variable name to value; false on failure
/// (nothing is logged).
bool setEnvironmentVariable(const std::string &name, const std::string &value);

}  // namespace ts

#endif
