// Reading the two sprite file formats line by line: the helpers the
// resource manager's loaders share. They count file lines in one counter
// (spriteFileLine()) that loadSprite() resets; messages quote it.
#ifndef TS_SPRITE_FILE_H
#define TS_SPRITE_FILE_H

#include <deque>
#include <fstream>
#include <string>

#include <tessera/graphics/Frame.h>

namespace ts {

// Lines of one section; frames are taken from the front.
using Lines = std::deque<std::string>;

// The next line without its line end (and without a carriage return before
// it), or an empty string with an error line at the end of the file.
std::string getLine(std::ifstream &file, bool count);
// The lines between "<tag>" and "</tag>"; empty (after an error line) when
// the tags are missing or an empty line comes first.
Lines readData(std::ifstream &file, std::string tag);
// The value of the last line beginning with key (removing every such line),
// or -1 / an empty string when no line matches.
int matchLineInt(Lines &lines, const char *key);
std::string matchLineStr(Lines &lines, const char *key);
// One frame of height rows of width characters and its "end" line, taken
// from the front of lines; line_number is that of the line before the frame.
Frame readFrame(Lines &lines, int width, int height, int line_number);

// Logs every header line whose key is none the robust format knows, with
// the file and its line (first_line: the header's first line); such lines are
// ignored, most often a misspelt key whose default then applies unnoticed.
void warnUnknownHeaderKeys(const Lines &header, int first_line, const std::string &filename);

// Number of the last file line the readers consumed with counting on.
int &spriteFileLine();

}  // namespace ts

#endif
