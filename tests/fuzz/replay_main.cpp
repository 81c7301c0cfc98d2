// Runs a fuzz target over every file of the directories (or files) given,
// so that saved inputs are replayed by the ordinary build.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static int replayFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
  return 1;
}

static int replay(const std::string &path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return 0;
  if (!S_ISDIR(info.st_mode)) return replayFile(path);
  int count = 0;
  if (DIR *dir = opendir(path.c_str())) {
    while (dirent *entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") count += replay(path + "/" + name);
    }
    closedir(dir);
  }
  return count;
}

int main(int argc, char **argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) count += replay(argv[i]);
  std::printf("replayed %d inputs\n", count);
  return 0;
}
