#include "app/CommandLine.h"

#include <filesystem>
#include <system_error>

#include <tessera/core/Version.h>
#include "play/DemoPlayer.h"
#include "player/GameSettings.h"

CommandLine::CommandLine(int argc, const char *const *argv) : m_program("rhythm"), m_action(PLAY), m_demo_track(0) {
  if (argc > 0 && argv[0] && *argv[0]) {
    m_program = argv[0];
    m_program = m_program.substr(m_program.find_last_of('/') + 1);
  }
  parse(argc, argv);
}

void CommandLine::parse(int argc, const char *const *argv) {
  for (int i = 1; i < argc && m_action == PLAY; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      m_action = HELP;
    } else if (argument == "--version") {
      m_action = VERSION;
    } else if (argument == "--demo") {
      if (m_demo_track != 0) return fail("--demo given twice");
      if (i + 1 == argc) return fail("--demo needs a song's key (1 to 9) or a chart file");
      m_demo_track = DemoPlayer::trackOfArgument(argv[++i]);
      if (m_demo_track != 0) continue;
      // Anything else names a chart file.
      std::error_code error;
      if (!std::filesystem::is_regular_file(argv[i], error))
        return fail("no song key or chart file '" + std::string(argv[i]) + "': give 1 to 9 or a chart file");
      m_demo_chart = argv[i];
      m_demo_track = 1;
    } else if (argument == "--once") {
      m_once = true;
    } else if (argument == "--classic") {
      m_classic = true;
    } else if (argument == "--terminal") {
      m_terminal = true;
    } else if (argument == "--offset") {
      long number = 0;
      if (!m_offset.empty()) return fail("--offset given twice");
      if (i + 1 == argc) return fail("--offset needs a number of milliseconds");
      m_offset = argv[++i];
      if (!GameSettings::parseInteger(m_offset, number)) return fail("no offset '" + m_offset + "': give milliseconds");
      if (number < -GameSettings::MAX_OFFSET_MS || number > GameSettings::MAX_OFFSET_MS)
        return fail("--offset " + m_offset + " refused: it must lie within -" +
                    std::to_string(GameSettings::MAX_OFFSET_MS) + ".." + std::to_string(GameSettings::MAX_OFFSET_MS) +
                    " ms");
    } else {
      return fail("unknown argument '" + argument + "'");
    }
  }
}

void CommandLine::fail(const std::string &problem) {
  m_action = USAGE_ERROR;
  m_problem = problem;
}

std::string CommandLine::usage() const {
  return "usage: " + m_program + " [--demo N|CHART] [--once] [--offset MS] [--classic] [--terminal]\n       " +
         m_program + " --help | --version\n";
}

int CommandLine::respond(std::FILE *out, std::FILE *err) const {
  switch (m_action) {
    case HELP:
      std::fprintf(out,
                   "%s\n"
                   "The rhythm game. On the song list, Up/Down choose a song, Left/Right its\n"
                   "difficulty, Enter (or the digit key shown beside it) plays it; S opens the\n"
                   "settings, C calibrates the audio offset, Escape quits. In a song, press the\n"
                   "lane key (the arrows, or D F J K in the settings) of each falling note as it\n"
                   "covers its receptor; presses are judged by their time. Escape or P opens the\n"
                   "pause menu, R plays the song again. The results wait for Enter (song list)\n"
                   "or R (play again).\n"
                   "\n"
                   "  --demo N|CHART watch the game play the song on key N (1 to 9), or a chart file\n"
                   "  --once         end after the first song's results (shown for three seconds)\n"
                   "  --offset MS    play with this audio offset (-500..500) instead of the saved one\n"
                   "  --classic      play by the first rules: each press judged by the row its note\n"
                   "                 is on, Escape quits during a song, the results show for three\n"
                   "                 seconds under the game-over picture\n"
                   "  --terminal     play in the terminal instead of a window\n"
                   "  --help         show this help and end\n"
                   "  --version      show the version and end\n"
                   "\n"
                   "The game data (sprites/, Sound/, ts-font.ttf) is read from the first of: the\n"
                   "working directory, the program's folder, the installed data folder. The log\n"
                   "is tessera.log and the settings ts-config.txt in the working directory (or\n"
                   "the files named by TESSERA_LOG and TESSERA_CONFIG).\n",
                   usage().c_str());
      return 0;
    case VERSION:
      std::fprintf(out, "%s (Tessera %s)\n", m_program.c_str(), ts::TESSERA_VERSION_STRING);
      return 0;
    case USAGE_ERROR:
      std::fprintf(err, "%s: %s\n%s", m_program.c_str(), m_problem.c_str(), usage().c_str());
      return 2;
    case PLAY:
      break;
  }
  return 0;
}
