// Engine modules depend only on lower ones (by include or forward
// declaration); system headers stay in the platform folder, internal headers
// out of public ones, the media library's headers in its few wrappers.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path SOURCE_DIR = TESSERA_SOURCE_DIR;

// Rank of each module; a module may include only strictly lower ranks.
const std::map<std::string, int> MODULE_RANK = {
    {"platform", 0}, {"system", 1}, {"core", 2},  {"graphics", 3}, {"audio", 3}, {"resources", 4},
    {"world", 5},    {"paths", 6},  {"input", 7}, {"network", 7},  {"game", 8},
};

struct Include {
  std::string file;  // relative to the source folder
  int line;
  std::string target;  // as written between the brackets or quotes
  bool angled;
};

// "#include <target>" or "#include "target"" (blanks allowed around the
// "#"). Not a regular expression: the standard regex library draws false
// warnings from the compiler under the sanitizers.
bool parseInclude(const std::string &text, std::string &target, bool &angled) {
  char open = 0, name[256] = {}, close = 0;
  if (std::sscanf(text.c_str(), " # include %c%255[^\">]%c", &open, name, &close) != 3) return false;
  angled = open == '<';
  target = name;
  return (angled && close == '>') || (open == '"' && close == '"');
}

std::vector<Include> includesOf(const fs::path &path) {
  std::vector<Include> found;
  std::ifstream in(path);
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    std::string target;
    bool angled = false;
    if (parseInclude(text, target, angled))
      found.push_back({fs::relative(path, SOURCE_DIR).string(), number, target, angled});
  }
  return found;
}

// The sources under the given folders of the tree; missing folders are skipped.
std::vector<fs::path> sourcesIn(std::initializer_list<const char *> folders) {
  std::vector<fs::path> files;
  for (const char *folder : folders) {
    if (!fs::exists(SOURCE_DIR / folder)) continue;
    for (const auto &entry : fs::recursive_directory_iterator(SOURCE_DIR / folder)) {
      std::string extension = entry.path().extension().string();
      if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp")) files.push_back(entry.path());
    }
  }
  return files;
}

// The module of an engine file: engine/include/tessera/<module>/... or engine/src/<module>/...
std::string moduleOfFile(const fs::path &path) {
  std::vector<std::string> parts;
  for (const auto &part : fs::relative(path, SOURCE_DIR / "engine")) parts.push_back(part.string());
  if (parts.size() >= 4 && parts[0] == "include") return parts[2];
  if (parts.size() >= 3 && parts[0] == "src") return parts[1];
  return "";
}

// The engine module an include names ("tessera/<module>/..." or the internal
// "<module>/..."), or empty for anything else.
std::string moduleOfInclude(const Include &include) {
  std::string target = include.target;
  if (target.rfind("tessera/", 0) == 0) target = target.substr(8);
  std::string first = target.substr(0, target.find('/'));
  if (first.size() == target.size()) return "";  // no folder: a sibling or a system header
  return MODULE_RANK.count(first) ? first : "";
}

// A header of the operating system: one of these names, or in one of these folders (ending in '/').
bool isOperatingSystemHeader(const std::string &target) {
  for (const std::string name :
       {"unistd.h", "poll.h", "netdb.h", "dlfcn.h", "fcntl.h", "pthread.h", "termios.h", "signal.h", "time.h", "alc.h",
        "al.h", "sys/", "netinet/", "arpa/", "alsa/", "AL/", "linux/"})
    if (name.back() == '/' ? target.rfind(name, 0) == 0 : target == name) return true;
  return false;
}

// The only files that include the media library.
const std::set<std::string> MEDIA_LIBRARY_FILES = {
    "engine/src/graphics/WindowSurface.h", "engine/src/graphics/WindowSurface.cpp",
    "engine/src/input/WindowInput.cpp",    "engine/src/audio/Music.cpp",
    "engine/src/audio/Sound.cpp",          "engine/src/audio/SilentPlayback.cpp",
    "engine/src/audio/FileStream.h",       "engine/src/audio/FileStream.cpp",
    "engine/src/graphics/SfmlColor.cpp",   "engine/src/core/MediaLog.cpp",
};

// Classes declared ahead ("class Name;") inside the engine's namespace.
std::vector<Include> forwardDeclarationsOf(const fs::path &path) {
  std::vector<Include> found;
  std::ifstream in(path);
  std::string text, name_space;
  for (int number = 1; std::getline(in, text); ++number) {
    if (text.rfind("namespace ", 0) == 0) name_space = text.substr(10, text.find(' ', 10) - 10);
    if (name_space != "ts" || text.rfind("class ", 0) != 0 || text.back() != ';') continue;
    const std::string name = text.substr(6, text.size() - 7);
    if (name.find_first_of(" :<") == std::string::npos)
      found.push_back({fs::relative(path, SOURCE_DIR).string(), number, name, false});
  }
  return found;
}

std::string describe(const Include &include) {
  return include.file + ":" + std::to_string(include.line) + ": #include " + (include.angled ? "<" : "\"") +
         include.target + (include.angled ? ">" : "\"");
}

}  // namespace

// A forward declaration is a dependency the includes do not show.
TEST(Layout, EngineModulesDependOnlyOnLowerModules) {
  std::map<std::string, std::string> module_of_class;
  for (const fs::path &file : sourcesIn({"engine"}))
    if (file.extension() == ".h") module_of_class[file.stem().string()] = moduleOfFile(file);
  int checked = 0;
  for (const fs::path &file : sourcesIn({"engine"})) {
    const std::string module = moduleOfFile(file);
    ASSERT_EQ(MODULE_RANK.count(module), 1u) << file << " is not in a known module folder";
    auto check = [&](const std::string &used, const std::string &where) {
      if (used.empty() || used == module) return;
      ++checked;
      if (MODULE_RANK.at(used) >= MODULE_RANK.at(module))
        ADD_FAILURE() << where << "  (" << module << " depends on " << used << ")";
    };
    for (const Include &include : includesOf(file)) check(moduleOfInclude(include), describe(include));
    for (const Include &declared : forwardDeclarationsOf(file)) {
      auto found = module_of_class.find(declared.target);
      if (found != module_of_class.end())
        check(found->second, declared.file + ":" + std::to_string(declared.line) + ": class " + declared.target);
    }
  }
  EXPECT_GT(checked, 50);  // the scan found the engine's includes
}

TEST(Layout, MediaLibraryIsIncludedOnlyByItsWrappers) {
  int wrappers = 0;
  for (const fs::path &file : sourcesIn({"engine", "rhythm", "examples", "tools"}))
    for (const Include &include : includesOf(file)) {
      if (include.target.rfind("SFML/", 0) != 0) continue;
      if (MEDIA_LIBRARY_FILES.count(include.file))
        ++wrappers;
      else
        ADD_FAILURE() << describe(include) << "  (media library outside its wrappers)";
    }
  EXPECT_GE(wrappers, static_cast<int>(MEDIA_LIBRARY_FILES.size()));  // the scan found them
}

TEST(Layout, OperatingSystemAndInternalHeadersStayInside) {
  for (const fs::path &file : sourcesIn({"engine", "rhythm"})) {
    bool in_platform = moduleOfFile(file) == "platform";
    bool public_header = fs::relative(file, SOURCE_DIR).string().rfind("engine/include/", 0) == 0;
    for (const Include &include : includesOf(file)) {
      if (!in_platform && isOperatingSystemHeader(include.target))
        ADD_FAILURE() << describe(include) << "  (system header outside the platform folder)";
      if (public_header && (!include.angled || include.target.rfind("tessera/", 0) != 0) &&
          !moduleOfInclude(include).empty())
        ADD_FAILURE() << describe(include) << "  (public header includes an internal one)";
    }
  }
}

TEST(Layout, GamesAndToolsIncludeEngineHeadersByModulePath) {
  std::set<std::string> engine_headers;
  for (const fs::path &file : sourcesIn({"engine/include"})) engine_headers.insert(file.filename().string());
  for (const fs::path &file : sourcesIn({"rhythm", "tests", "bench", "tools", "examples"}))
    for (const Include &include : includesOf(file))
      if (engine_headers.count(fs::path(include.target).filename().string()) &&
          include.target.rfind("tessera/", 0) != 0)
        ADD_FAILURE() << describe(include) << "  (engine header without its module path)";
}
