// The game's command line: play, watch a demo track, or only show the help
// or the version.
#ifndef RHYTHM_COMMAND_LINE_H
#define RHYTHM_COMMAND_LINE_H

#include <cstdio>
#include <string>

class CommandLine {
 public:
  enum Action { PLAY, HELP, VERSION, USAGE_ERROR };

  CommandLine(int argc, const char *const *argv);

  Action getAction() const { return m_action; }
  // The program's name, without its folder.
  const std::string &getProgram() const { return m_program; }
  // 1 to 9 for a demo of the song on that key, 0 for play.
  int getDemoTrack() const { return m_demo_track; }
  // The chart file a demo plays (its song then on key 1); empty for none.
  const std::string &getDemoChart() const { return m_demo_chart; }
  // The audio offset given with --offset (a whole number of milliseconds
  // within GameSettings::MAX_OFFSET_MS either way, else a usage error);
  // empty when not given.
  const std::string &getOffset() const { return m_offset; }
  // Whether to play in the terminal instead of a window (--terminal).
  bool getTerminal() const { return m_terminal; }
  // Whether to end after the first song's results (--once).
  bool getOnce() const { return m_once; }
  // Whether to play by the classic rules (--classic).
  bool getClassic() const { return m_classic; }
  // For every action but PLAY: prints the help or version on out, or the
  // problem and the usage on err, and gives the exit status (0, or 2 for a
  // usage error).
  int respond(std::FILE *out, std::FILE *err) const;
  std::string usage() const;

 private:
  void parse(int argc, const char *const *argv);
  void fail(const std::string &problem);

  std::string m_program;
  Action m_action;
  int m_demo_track;
  std::string m_demo_chart;
  std::string m_offset;
  bool m_terminal = false;
  bool m_once = false;
  bool m_classic = false;
  std::string m_problem;
};

#endif
