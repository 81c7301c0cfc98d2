#include <tessera/resources/ResourceManager.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <tessera/core/Color.h>
#include <tessera/core/LogManager.h>
#include <tessera/system/Text.h>

#include "core/MediaLog.h"
#include "platform/Platform.h"
#include "resources/SpriteFile.h"

namespace ts {

namespace {

LogManager &log() { return LogManager::getInstance(); }

}  // namespace

ResourceManager::ResourceManager()
    : m_sprites("Sprite", MAX_SPRITES), m_music("Music", MAX_MUSICS), m_sounds("Sound", MAX_SOUNDS), m_file_size(0) {
  setType("ResourceManager");
  routeMediaLibraryMessagesToLog();
}

ResourceManager::~ResourceManager() {}

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager instance;
  return instance;
}

int ResourceManager::startUp() {
  if (isStarted()) {
    log().writeLog("%s::startup(): Warning! %s already started.", getType().c_str(), getType().c_str());
    return -1;
  }
  m_sprites.clear();
  m_sounds.clear();
  m_music.clear();
  if (AudioDevice::isAvailable()) {
    log().writeLog(LOG_MANAGER, "RM::startUp(): Audio device '%s' opened.", AudioDevice::getName().c_str());
  } else {
    log().writeLog("RM::startUp(): Warning! No audio device can be opened; music and sound play silently.");
  }
  Manager::startUp();
  log().writeLog(LOG_MANAGER, "RM::startUp(): successfully started.");
  return 0;
}

void ResourceManager::shutDown() {
  m_sprites.clear();
  m_sounds.forEach([](Sound &sound) { sound.stop(); });
  m_music.forEach([](Music &music) { music.stop(); });
  Manager::shutDown();
  log().writeLog(LOG_MANAGER, "RM::shutDown(): successfully stopped.");
}

bool ResourceManager::checkStarted() const {
  if (isStarted()) return true;
  log().writeLog("%s not started!", getType().c_str());
  return false;
}

int ResourceManager::loadSprite(std::string filename, std::string label) {
  if (!checkStarted()) return -1;
  if (m_sprites.isFull()) {
    log().writeLog("RM::loadRobustSprite(): Error! Cannot add more Sprites (max is %d).", m_sprites.getCapacity());
    log().writeLog("RM::loadRobustSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  log().writeLog(LOG_ROUTINE, "RM::loadSprite(): Loading sprite '%s'.", filename.c_str());
  // Only regular files: a directory, a pipe or a device would block, fail
  // late or never end.
  std::ifstream file;
  long long size = 0;
  if (platform::isRegularFile(filename, &size)) file.open(filename);
  if (!file.is_open()) {
    log().writeLog("RM::loadSprite(): Error! Cannot open file '%s'.", filename.c_str());
    log().writeLog("RM::loadSprite(): Sprite '%s' not loaded.", label.c_str());
    return -1;
  }
  m_file_size = size;
  spriteFileLine() = 0;
  const std::string first_line = getLine(file, false);
  file.clear();
  file.seekg(0);

  std::unique_ptr<Sprite> sprite;
  if (first_line == "<HEADER>") {
    log().writeLog(LOG_MANAGER, "RM::loadSprite(): assuming robust sprite file format.");
    sprite = loadRobustSprite(file, filename);
  } else if (toInt(first_line) >= 1) {
    log().writeLog(LOG_MANAGER, "RM::loadSprite(): assuming simple sprite file format.");
    sprite = loadSimpleSprite(file);
  } else {
    log().writeLog("RM::loadSprite(): Error! Unknown sprite file format.");
    log().writeLog("RM::loadSprite(): First line is '%s'.", first_line.c_str());
    log().writeLog("RM::loadSprite(): Sprite '%s' NOT loaded.", label.c_str());
    return -1;
  }
  if (!sprite) {
    log().writeLog("RM::loadSprite(): Sprite '%s' NOT loaded.", label.c_str());
    return -1;
  }
  sprite->setLabel(label);
  logSpriteFrames(sprite.get());
  m_sprites.add(std::move(sprite));
  log().writeLog(LOG_MANAGER, "RM::loadSprite(): Sprite '%s' loaded.", label.c_str());
  return 0;
}

void ResourceManager::logSpriteFrames(const Sprite *sprite) const {
  LogManager &log_manager = log();
  if (log_manager.getLogLevel() < LOG_FRAME) return;  // spare cutting every frame into rows
  log_manager.writeLog(LOG_FRAME, "RM::loadSprite(): Sprite '%s' frames:", sprite->getLabel().c_str());
  const size_t width = static_cast<size_t>(sprite->getWidth());
  for (int i = 0; i < sprite->getFrameCount(); ++i) {
    log_manager.writeLog(LOG_FRAME, "\tFrame %d:", i + 1);
    const std::string text = sprite->getFrame(i).getString();
    for (int row = 0; row < sprite->getHeight(); ++row)
      log_manager.writeLog(LOG_FRAME, "\t%s", text.substr(static_cast<size_t>(row) * width, width).c_str());
  }
}

Sprite *ResourceManager::getSprite(std::string label) const { return m_sprites.find(label); }

namespace {

// Reads one header line of the simple format; empty after the messages
// when the file ends or the line is empty.
std::string simpleHeaderLine(std::ifstream &file, const char *missing) {
  std::string line = getLine(file, true);
  if (line.empty()) {
    log().writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
    log().writeLog("%s", missing);
    return "";
  }
  log().writeLog(LOG_RECORD, "\tLine %2d: '%s'", spriteFileLine(), line.c_str());
  return line;
}

// A sprite with room for capacity frames and the header's sizes; null after
// a log line when there is no memory for it.
std::unique_ptr<Sprite> emptySprite(const char *loader, int capacity, int width, int height, int slowdown) {
  std::unique_ptr<Sprite> sprite(new (std::nothrow) Sprite(capacity));
  if (!sprite) {
    log().writeLog("RM::%s(): Error! Unable to create Sprite.", loader);
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  return sprite;
}

// A number of the simple header that must be at least least (0 or more);
// -1 after the messages when the line is missing or the number too small.
int simpleHeaderNumber(std::ifstream &file, const char *name, const char *missing, int least) {
  const std::string line = simpleHeaderLine(file, missing);
  if (line.empty()) return -1;
  const int value = toInt(line);
  if (value >= least) return value;
  log().writeLog("RM::loadSimpleSprite(): Error line %d! %s is '%s'.", spriteFileLine(), name, line.c_str());
  return -1;
}

}  // namespace

std::unique_ptr<Sprite> ResourceManager::loadSimpleSprite(std::ifstream &file) {
  if (!checkStarted()) return nullptr;
  std::string line = simpleHeaderLine(file, "\tMissing frames (an integer).");
  if (line.empty()) return nullptr;
  const int frames = toInt(line);
  if (frames < 1) {
    log().writeLog("RM::loadSimpleSprite(): Error line %d! Number of frames is %d.", spriteFileLine(), frames);
    return nullptr;
  }
  const int width = simpleHeaderNumber(file, "Width", "\tMissing width (an integer).", 1);
  if (width < 0) return nullptr;
  const int height = simpleHeaderNumber(file, "Height", "\tMissing height (an integer).", 1);
  if (height < 0) return nullptr;
  const int slowdown = simpleHeaderNumber(file, "Slowdown", "\tMissing slowdown (an integer).", 0);
  if (slowdown < 0) return nullptr;
  line = simpleHeaderLine(file, "\tMissing color (a string).");
  if (line.empty()) return nullptr;
  const int color = colorFromName(line);
  if (color < 0) {
    log().writeLog("RM::loadSimpleSprite(): Error line %d! Unrecognized color '%s'.", spriteFileLine(), line.c_str());
    log().writeLog("  Valid colors are: black, red, green, yellow,");
    log().writeLog("                    blue, magenta, cyan or white.");
    return nullptr;
  }
  log().writeLog(LOG_MANAGER, "\t      Frames: %d", frames);
  log().writeLog(LOG_MANAGER, "\t       Width: %d", width);
  log().writeLog(LOG_MANAGER, "\t      Height: %d", height);
  log().writeLog(LOG_MANAGER, "\t    Slowdown: %d", slowdown);
  log().writeLog(LOG_MANAGER, "\t       Color: %s", colorToString(static_cast<Color>(color)).c_str());
  return readSimpleFrames(file, frames, width, height, slowdown, static_cast<Color>(color));
}

std::unique_ptr<Sprite> ResourceManager::readSimpleFrames(std::ifstream &file, int frames, int width, int height,
                                                          int slowdown, Color color) {
  // Every frame takes at least height rows of width characters and a line
  // feed, so the file cannot hold more than this many; a larger header
  // count fails while reading, and room for it is never reserved.
  const long long frame_bytes = static_cast<long long>(height) * (static_cast<long long>(width) + 1);
  const long long fitting = m_file_size / frame_bytes + 1;
  std::unique_ptr<Sprite> sprite =
      emptySprite("loadSimpleSprite", static_cast<int>(std::min<long long>(frames, fitting)), width, height, slowdown);
  if (!sprite) return nullptr;
  sprite->setColor(color);
  sprite->setTransparency(0);
  for (int f = 0; f < frames; ++f) {
    log().writeLog(LOG_FRAME, "RM::loadSimpleSprite(): Reading frame %d of %d.", f, frames);
    std::string frame_str;
    for (int r = 0; r < height; ++r) {
      const std::string row = getLine(file, true);
      if (row.empty()) {
        log().writeLog("RM::loadSimpleSprite(): Error! Unexpected end of file.");
        log().writeLog("\tReading frame %d of %d, row %d of %d.", f + 1, frames, r + 1, height);
        return nullptr;
      }
      if (row.size() != static_cast<size_t>(width)) {
        log().writeLog("RM::loadSimpleSprite(): Error line %d!", spriteFileLine());
        log().writeLog("\tLine %2d: '%s'", spriteFileLine(), row.c_str());
        log().writeLog("\tWidth is %zu, expected %d.", row.size(), width);
        return nullptr;
      }
      log().writeLog(LOG_RECORD, "\tLine %2d: '%s'", spriteFileLine(), row.c_str());
      frame_str += row;
    }
    if (sprite->addFrame(Frame(width, height, frame_str)) != 0) {
      log().writeLog("RM::loadSimpleSprite(): Error! Cannot add Frame.");
      log().writeLog("\tFramecount is %d, max is %d.", sprite->getFrameCount() + 1, frames);
      return nullptr;
    }
  }
  // Nothing, not even an empty line, may follow the last row.
  std::string extra;
  std::getline(file, extra);
  ++spriteFileLine();
  if (file.eof() && extra.empty()) return sprite;
  if (!extra.empty() && extra.back() == '\r') extra.pop_back();
  log().writeLog("RM::loadSimpleSprite(): Error line %d!", spriteFileLine());
  log().writeLog("\tExtra file data: '%s'", extra.c_str());
  return nullptr;
}

std::unique_ptr<Sprite> ResourceManager::loadRobustSprite(std::ifstream &file, const std::string &filename) {
  if (!checkStarted()) return nullptr;
  Lines header = readData(file, "HEADER");
  if (header.empty()) return nullptr;
  // After the section: the lines read so far end with "</HEADER>".
  warnUnknownHeaderKeys(header, spriteFileLine() - static_cast<int>(header.size()), filename);
  log().writeLog(LOG_RECORD, "ResourceManager::loadRobustSprite(): After header, line number: '%d'", spriteFileLine());

  int values[3];
  const char *const keys[3] = {"frames", "width", "height"};
  for (int i = 0; i < 3; ++i) {
    values[i] = matchLineInt(header, keys[i]);
    if (values[i] == -1) {
      log().writeLog("RM::loadRobustSprite(): Error! Missing '%s' in header.", keys[i]);
      return nullptr;
    }
  }
  const int frames = values[0], width = values[1], height = values[2];

  std::string color_text = matchLineStr(header, "color");
  if (color_text.empty()) {
    log().writeLog(LOG_MANAGER, "RM::loadRobustSprite(): Warning! No '%s' in header.", "color");
    color_text = "default";
  }
  const std::string transparency_text = matchLineStr(header, "transparency");
  char transparency = 0;
  if (transparency_text == "\" \"") {
    log().writeLog(LOG_MANAGER, "RM::loadRobustSprite(): transparency is 'space'");
    transparency = ' ';
  } else if (!transparency_text.empty()) {
    transparency = transparency_text[0];
  } else {
    log().writeLog(LOG_MANAGER, "RM::loadRobustSprite(): Note! No '%s' in header.", "transparency");
  }
  int slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    log().writeLog(LOG_MANAGER, "RM::loadRobustSprite(): Note! No '%s' in header.", "slowdown");
    slowdown = 0;
  }
  if (!header.empty()) {
    log().writeLog(LOG_ROUTINE, "RM::loadRobustSprite(): Warning! Unused HEADER lines:");
    for (const std::string &line : header) log().writeLog(LOG_ROUTINE, "\t'%s'", line.c_str());
  }
  log().writeLog(LOG_MANAGER, "\t      Frames: %d", frames);
  log().writeLog(LOG_MANAGER, "\t       Width: %d", width);
  log().writeLog(LOG_MANAGER, "\t      Height: %d", height);
  log().writeLog(LOG_MANAGER, "\t    Slowdown: %d", slowdown);
  if (transparency)
    log().writeLog(LOG_MANAGER, "\tTransparency: '%c'", transparency);
  else
    log().writeLog(LOG_MANAGER, "\tTransparency: (none)");

  const int header_end = spriteFileLine();
  Lines body = readData(file, "BODY");
  if (body.empty()) return nullptr;
  log().writeLog(LOG_RECORD, "ResourceManager::loadRobustSprite(): After reading body: line number is '%d'",
                 spriteFileLine());

  // Every frame takes at least two body lines (a row and "end"), so a larger
  // header count fails in readFrame; room for it is never reserved.
  const int capacity = static_cast<int>(std::min<long long>(frames, static_cast<long long>(body.size())));
  std::unique_ptr<Sprite> sprite = emptySprite("loadRobustSprite", capacity, width, height, slowdown);
  if (!sprite) return nullptr;
  sprite->setTransparency(transparency);
  const int color = color_text == "default" ? COLOR_DEFAULT : colorFromName(color_text);
  if (color < 0) {
    log().writeLog("RM::loadRobustSprite(): Error! Unrecognized color '%s'.", color_text.c_str());
    log().writeLog("  Valid colors are: black, red, green, yellow,");
    log().writeLog("                    blue, magenta, cyan and white.");
    return nullptr;
  }
  sprite->setColor(static_cast<Color>(color));
  log().writeLog(LOG_MANAGER, "\t       Color: %s", colorToString(static_cast<Color>(color)).c_str());
  if (!readRobustFrames(body, frames, width, height, header_end, sprite.get()) || !readRobustFooter(file)) {
    return nullptr;
  }
  return sprite;
}

bool ResourceManager::readRobustFrames(Lines &body, int frames, int width, int height, int header_end,
                                       Sprite *sprite) const {
  for (int i = 0; i < frames; ++i) {
    const long long before = header_end + 1 + static_cast<long long>(i) * (static_cast<long long>(height) + 1);
    Frame frame = readFrame(body, width, height, clampToInt(before));
    if (frame.getString().empty()) {
      log().writeLog("RM::loadRobustSprite(): Error! No frame data to add.");
      return false;
    }
    if (sprite->addFrame(frame) != 0) {
      log().writeLog("RM::loadRobustSprite(): Error! Cannot add Frame.");
      log().writeLog("\tFramecount is %d, max is %d", sprite->getFrameCount() + 1, frames);
      return false;
    }
  }
  if (!body.empty()) {
    // The first extra line follows the last frame's "end" line.
    const long long first =
        header_end + 2 + static_cast<long long>(std::max(frames, 0)) * (static_cast<long long>(height) + 1);
    log().writeLog("RM::loadRobustSprite(): Error! Extra BODY:");
    for (size_t i = 0; i < body.size(); ++i)
      log().writeLog("\tLine %d: %s", clampToInt(first + static_cast<long long>(i)), body[i].c_str());
    return false;
  }
  return true;
}

bool ResourceManager::readRobustFooter(std::ifstream &file) const {
  Lines footer = readData(file, "FOOTER");
  if (footer.empty()) return false;
  if (matchLineStr(footer, "version").empty()) {
    log().writeLog("RM::loadRobustSprite(): Error! Missing '%s' in FOOTER (line %d).", "version", spriteFileLine());
    return false;
  }
  if (!footer.empty()) {
    log().writeLog(LOG_ROUTINE, "RM::loadRobustSprite(): Warning! Unused FOOTER lines:");
    for (const std::string &line : footer) log().writeLog(LOG_ROUTINE, "\t'%s'", line.c_str());
  }
  return true;
}

template <typename Resource>
int ResourceManager::loadAudio(LabelTable<Resource> &table, int (Resource::*load)(std::string),
                               const std::string &filename, const std::string &label, const char *failure_origin) {
  if (!checkStarted()) return -1;
  const char *kind = table.getKind().c_str();
  const char *lower_kind = table.getLowerKind().c_str();
  if (table.isFull()) {
    log().writeLog("RM::load%s(): Error! Unable to add more %ss (max is %d).", kind, lower_kind, table.getCapacity());
    return -1;
  }
  if (label.empty()) {
    log().writeLog("RM::load%s(): Error! Must provide label for %s.", kind, lower_kind);
    return -1;
  }
  auto resource = std::make_unique<Resource>();
  if (((*resource).*load)(filename) != 0) {
    log().writeLog("RM::%s(): Error! Cannot load %s from file '%s'.", failure_origin, lower_kind, filename.c_str());
    return -1;
  }
  resource->setLabel(label);
  log().writeLog(LOG_ROUTINE, "RM::load%s(): %s '%s' successfully loaded.", kind, kind, label.c_str());
  table.add(std::move(resource));
  return 0;
}

// The music line has always named "loadmusic" in lower case; log readers
// match it as it is.
int ResourceManager::loadMusic(std::string filename, std::string label) {
  return loadAudio(m_music, &Music::loadMusic, filename, label, "loadmusic");
}

Music *ResourceManager::getMusic(std::string label) { return m_music.find(label); }

int ResourceManager::loadSound(std::string filename, std::string label) {
  return loadAudio(m_sounds, &Sound::loadSound, filename, label, "loadSound");
}

Sound *ResourceManager::getSound(std::string label) { return m_sounds.find(label); }

}  // namespace ts
