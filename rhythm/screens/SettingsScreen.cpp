#include "screens/SettingsScreen.h"

#include <cstdio>

#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/system/Text.h>
#include <tessera/world/WorldManager.h>
#include "play/FirstOfType.h"
#include "screens/GameStart.h"

namespace {

// The first `count` characters of UTF-8 text: a title is never cut inside a
// character.
std::string firstCharacters(const std::string &text, int count) {
  size_t end = 0;
  for (int i = 0; i < count && end < text.size(); ++i) ts::nextCharacter(text, end);
  return text.substr(0, end);
}
const int FIRST_ROW = 5;
}

SettingsScreen::SettingsScreen(GameSettings settings, std::string path, std::string song_key, std::string title)
    : m_settings(std::move(settings)),
      m_path(std::move(path)),
      m_song_key(std::move(song_key)),
      m_title(std::move(title)) {
  setType("SettingsScreen");
  setSolidness(ts::SPECTRAL);
  setAltitude(ts::MAX_ALTITUDE);
  registerInterest(ts::KEYBOARD_EVENT);
  ts::LogManager::getInstance().writeLog("SettingsScreen: opened.");
}

int SettingsScreen::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 0;
  switch (p_keyboard->getKey()) {
    case ts::Keyboard::UPARROW:
      m_choice = static_cast<Item>((m_choice + ITEMS - 1) % ITEMS);
      break;
    case ts::Keyboard::DOWNARROW:
      m_choice = static_cast<Item>((m_choice + 1) % ITEMS);
      break;
    case ts::Keyboard::LEFTARROW:
      change(-1);
      break;
    case ts::Keyboard::RIGHTARROW:
      change(1);
      break;
    case ts::Keyboard::RETURN:
      save();
      break;
    case ts::Keyboard::ESCAPE:
      leave(false);
      break;
    default:
      break;
  }
  return 1;
}

void SettingsScreen::change(int direction) {
  switch (m_choice) {
    case SCROLL_SPEED:
      m_settings.setScrollSpeed(m_settings.getScrollSpeed() + direction * SPEED_STEP);
      break;
    case LANE_KEYS:
      m_settings.setLaneKeys(m_settings.getLaneKeys() == GameSettings::LaneKeys::ARROWS ? GameSettings::LaneKeys::DFJK
                                                                                         : GameSettings::LaneKeys::ARROWS);
      break;
    case SONG_OFFSET:
      if (!m_song_key.empty())
        m_settings.setSongOffsetMs(m_song_key, m_settings.getSongOffsetMs(m_song_key) + direction * OFFSET_STEP_MS);
      break;
    case HIT_ERROR_BAR:
      m_settings.setHitErrorBar(!m_settings.getHitErrorBar());
      break;
  }
}

void SettingsScreen::save() {
  if (!m_path.empty()) {
    // The file's own audio offset is kept: the one in use may come from
    // the command line, for this run only.
    GameSettings saved;
    saved.load(m_path);
    GameSettings changed = m_settings;
    changed.setOffsetMs(saved.getOffsetMs());
    changed.setRulesText(saved.getRules() == Rules::CLASSIC ? "classic" : "fair", "the settings file");
    if (changed.save(m_path) != 0) {
      m_problem = "Not saved: the settings file cannot be written (see the log).";
      return;
    }
  }
  leave(true);
}

void SettingsScreen::leave(bool saved) {
  ts::LogManager::getInstance().writeLog(saved ? "SettingsScreen: settings saved." : "SettingsScreen: left unsaved.");
  GameStart *p_start = firstOfType<GameStart>("GameStart");
  if (p_start) p_start->endSettings(saved ? std::optional<GameSettings>(m_settings) : std::nullopt);
  ts::WorldManager::getInstance().markForDelete(this);
}

std::vector<std::string> SettingsScreen::lines() const {
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.2f rows a step", m_settings.getScrollSpeed());
  const bool arrows = m_settings.getLaneKeys() == GameSettings::LaneKeys::ARROWS;
  const std::string offset =
      m_song_key.empty() ? "(no song selected)"
                         : std::to_string(m_settings.getSongOffsetMs(m_song_key)) + " ms for " + firstCharacters(m_title, 28);
  const std::string values[ITEMS] = {speed, arrows ? "arrows" : "D F J K", offset,
                                     m_settings.getHitErrorBar() ? "shown" : "hidden"};
  const char *const names[ITEMS] = {"Scroll speed", "Lane keys", "Song offset", "Hit-error bar"};
  std::vector<std::string> shown = {"Settings", ""};
  for (int item = 0; item < ITEMS; ++item) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %-14s < %s >", item == m_choice ? ">" : " ", names[item],
                  values[item].c_str());
    shown.push_back(text);
  }
  shown.push_back("");
  shown.push_back("Up/Down: choose   Left/Right: change");
  shown.push_back("Enter: save   Esc: back without saving");
  if (!m_problem.empty()) shown.push_back(m_problem);
  return shown;
}

int SettingsScreen::draw() {
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  const float middle = ts::WorldManager::getInstance().getBoundary().getHorizontal() / 2;
  const std::vector<std::string> shown = lines();
  for (size_t i = 0; i < shown.size(); ++i) {
    std::string text = shown[i];
    text.resize(64, ' ');
    display.drawString(ts::Vector(middle, static_cast<float>(FIRST_ROW + static_cast<int>(i))), text,
                       ts::CENTER_JUSTIFIED, i == 0 ? ts::YELLOW : i == 9 ? ts::RED : ts::WHITE);
  }
  return 0;
}
