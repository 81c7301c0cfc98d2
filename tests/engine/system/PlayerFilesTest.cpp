// Files from folders a player controls: opened only when they are regular
// files within their limit (a FIFO never holds the reader up), replaced
// whole through unique temporary files, and locked while changed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <tessera/system/FileLock.h>
#include <tessera/system/ReadOnlyFile.h>
#include <tessera/system/ReplaceFile.h>

namespace fs = std::filesystem;

namespace {

class PlayerFiles : public ::testing::Test {
 protected:
  PlayerFiles() {
    char name[] = "/tmp/tessera-files-XXXXXX";
    m_dir = mkdtemp(name) ? name : "/tmp/tessera-files-unmade";
  }
  ~PlayerFiles() override {
    std::error_code error;
    fs::remove_all(m_dir, error);
  }
  std::string path(const std::string &name) const { return m_dir + "/" + name; }

  std::string m_dir;
};

}  // namespace

TEST_F(PlayerFiles, OnlyRegularFilesWithinTheLimitAreOpened) {
  ts::ReadOnlyFile file;
  std::ofstream(path("small.txt")) << "twelve bytes";
  ASSERT_EQ(file.open(path("small.txt"), 12), ts::ReadOnlyFile::OPENED);
  std::string text;
  EXPECT_TRUE(file.readAll(text));
  EXPECT_EQ(text, "twelve bytes");
  char part[4] = {};
  EXPECT_EQ(file.readAt(7, part, sizeof part), 4);
  EXPECT_EQ(std::string(part, 4), "byte");
  EXPECT_EQ(file.readAt(12, part, sizeof part), 0);

  EXPECT_EQ(file.open(path("small.txt"), 11), ts::ReadOnlyFile::TOO_LARGE);
  EXPECT_EQ(file.getProblem(), "12 bytes, more than 11");
  EXPECT_FALSE(file.isOpen());
  // A huge file is refused by its size alone, never read.
  std::ofstream(path("huge.txt")).close();
  ASSERT_EQ(::truncate(path("huge.txt").c_str(), 300000000), 0);
  EXPECT_EQ(file.open(path("huge.txt"), 65536), ts::ReadOnlyFile::TOO_LARGE);
  EXPECT_EQ(file.getSize(), 300000000);

  EXPECT_EQ(file.open(path("missing.txt"), 100), ts::ReadOnlyFile::MISSING);
  // A FIFO with no writer would hold an ordinary open for ever.
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  EXPECT_EQ(file.open(path("fifo"), 100), ts::ReadOnlyFile::REFUSED);
  EXPECT_EQ(file.getProblem(), "not a regular file");
  EXPECT_EQ(file.open(m_dir, 100), ts::ReadOnlyFile::REFUSED);
  EXPECT_EQ(file.getProblem(), "not a regular file");
  EXPECT_EQ(file.open("/dev/zero", 100), ts::ReadOnlyFile::REFUSED);
}

TEST_F(PlayerFiles, ReplacingLeavesTheNewFileOrTheOldAndNoTemporaryFile) {
  std::string problem;
  ASSERT_TRUE(ts::replaceFile(path("scores.txt"), "old\n", problem)) << problem;
  ASSERT_TRUE(ts::replaceFile(path("scores.txt"), "new\n", problem)) << problem;
  std::ifstream in(path("scores.txt"));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "new");
  struct stat status {};
  ASSERT_EQ(::stat(path("scores.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
  // A replaced file keeps the mode it had.
  ASSERT_EQ(::chmod(path("scores.txt").c_str(), 0600), 0);
  ASSERT_TRUE(ts::replaceFile(path("scores.txt"), "newer\n", problem)) << problem;
  ASSERT_EQ(::stat(path("scores.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);

  // A folder in the file's place cannot be renamed over.
  fs::create_directories(path("taken/inside"));
  EXPECT_FALSE(ts::replaceFile(path("taken"), "text", problem));
  EXPECT_EQ(problem.rfind("cannot rename over '" + path("taken") + "': ", 0), 0u) << problem;
  EXPECT_FALSE(ts::replaceFile(path("no-folder/scores.txt"), "text", problem));
  EXPECT_EQ(problem.rfind("cannot create a file in '" + path("no-folder") + "': ", 0), 0u) << problem;
  int files = 0;
  for (const auto &entry : fs::directory_iterator(m_dir)) files += entry.path().filename() != "taken";
  EXPECT_EQ(files, 1);  // scores.txt alone: no temporary file is left behind
}

TEST_F(PlayerFiles, ALockIsHeldUntilItsHolderGoes) {
  const std::string lock_path = path("scores.txt.lock");
  pid_t child = 0;
  {
    const ts::FileLock lock(lock_path);
    ASSERT_TRUE(lock.isLocked()) << lock.getProblem();
    child = fork();
    if (child == 0) {
      const ts::FileLock other(lock_path);  // waits for the parent's lock
      _exit(other.isLocked() ? 0 : 1);
    }
    usleep(200 * 1000);
    EXPECT_EQ(waitpid(child, nullptr, WNOHANG), 0) << "the second lock was had while the first was held";
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);  // had once the first is let go
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // A holder that does not let go (a game that was stopped) is waited for a
  // while, then given up on with the reason.
  {
    const ts::FileLock held(lock_path);
    const ts::FileLock waiting(lock_path);
    EXPECT_FALSE(waiting.isLocked());
    EXPECT_EQ(waiting.getProblem(), "'" + lock_path + "' is held by another process");
  }
  const ts::FileLock nowhere(path("no-folder/x.lock"));
  EXPECT_FALSE(nowhere.isLocked());
  EXPECT_EQ(nowhere.getProblem().rfind("cannot open the lock file", 0), 0u) << nowhere.getProblem();
}
