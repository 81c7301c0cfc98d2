// The command line refuses what it cannot play with, as a usage error, and
// its help tells the keys the game has.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/CommandLine.h"

namespace {

// The action and what respond() writes (standard output, then standard error).
std::string responseTo(std::initializer_list<const char *> arguments, int &status) {
  std::vector<const char *> argv = {"/usr/games/rhythm"};
  argv.insert(argv.end(), arguments);
  const CommandLine command_line(static_cast<int>(argv.size()), argv.data());
  char *text = nullptr;
  size_t size = 0;
  std::FILE *out = open_memstream(&text, &size);
  status = command_line.getAction() == CommandLine::PLAY ? -1 : command_line.respond(out, out);
  std::fclose(out);
  std::string written(text, size);
  std::free(text);
  return written;
}

}  // namespace

TEST(CommandLine, OffsetOutsideItsRangeIsAUsageErrorAndTheHelpTellsTheKeys) {
  int status = 0;
  EXPECT_EQ(responseTo({"--offset", "600"}, status).substr(0, 66),
            "rhythm: --offset 600 refused: it must lie within -500..500 ms\nusag");
  EXPECT_EQ(status, 2);
  responseTo({"--offset", "-501"}, status);
  EXPECT_EQ(status, 2);
  responseTo({"--offset", "-500", "--once"}, status);
  EXPECT_EQ(status, -1);  // plays

  const std::string help = responseTo({"--help"}, status);
  EXPECT_EQ(status, 0);
  for (const char *told : {"Up/Down", "Left/Right", "Enter", "S opens the", "Escape or P opens the", "R plays the"})
    EXPECT_NE(help.find(told), std::string::npos) << told;
  EXPECT_EQ(help.find("press 1 or 2"), std::string::npos);
}
