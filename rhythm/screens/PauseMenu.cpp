#include "screens/PauseMenu.h"

#include <tessera/core/LogManager.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>
#include "app/NextRound.h"
#include "app/QuitRequest.h"
#include "play/FirstOfType.h"
#include "play/NoteSpawner.h"

namespace {
const char *const ITEM_NAMES[PauseMenu::ITEMS] = {"Resume", "Retry", "Song list", "Quit"};
// Above the hit zone, clear of the judgements under the lanes.
const int FIRST_ROW = 7;
const size_t BOX_WIDTH = 36;
}  // namespace

PauseMenu::PauseMenu() {
  setType("PauseMenu");
  setSolidness(ts::SPECTRAL);
  setAltitude(ts::MAX_ALTITUDE);
  registerInterest(ts::KEYBOARD_EVENT);
  registerInterest(ts::STEP_EVENT);
}

NoteSpawner *PauseMenu::spawner() { return firstOfType<NoteSpawner>("NoteSpawner"); }

int PauseMenu::eventHandler(const ts::Event *p_event) {
  if (p_event->getType() == ts::STEP_EVENT) {
    if (m_countdown_steps > 0 && --m_countdown_steps == 0) {
      NoteSpawner *p_spawner = spawner();
      if (p_spawner) p_spawner->resume();
    }
    return 1;
  }
  if (p_event->getType() != ts::KEYBOARD_EVENT) return 0;
  const ts::EventKeyboard *p_keyboard = dynamic_cast<const ts::EventKeyboard *>(p_event);
  if (!p_keyboard || p_keyboard->getKeyboardAction() != ts::KEY_PRESSED) return 0;
  const NoteSpawner *p_spawner = spawner();
  if (p_spawner && p_spawner->hasEndedSong()) return 0;
  handleKey(p_keyboard->getKey());
  return 1;
}

void PauseMenu::handleKey(ts::Keyboard::Key key) {
  if (key == ts::Keyboard::R) return NextRound::request(NextRound::RETRY);
  if (m_open) return handleMenuKey(key);
  if (key == ts::Keyboard::ESCAPE || key == ts::Keyboard::P) open();
}

void PauseMenu::handleMenuKey(ts::Keyboard::Key key) {
  switch (key) {
    case ts::Keyboard::UPARROW:
      m_choice = static_cast<Item>((m_choice + ITEMS - 1) % ITEMS);
      break;
    case ts::Keyboard::DOWNARROW:
      m_choice = static_cast<Item>((m_choice + 1) % ITEMS);
      break;
    case ts::Keyboard::RETURN:
      choose();
      break;
    case ts::Keyboard::P:
      m_choice = RESUME;
      choose();
      break;
    case ts::Keyboard::ESCAPE:
      NextRound::request(NextRound::SONG_LIST);
      break;
    default:
      break;
  }
}

// Holds the song (or keeps it held, when a countdown runs) and shows the menu.
void PauseMenu::open() {
  NoteSpawner *p_spawner = spawner();
  if (p_spawner) p_spawner->pause();
  m_open = true;
  m_choice = RESUME;
  m_countdown_steps = 0;
  ts::LogManager::getInstance().writeLog("PauseMenu: opened.");
}

void PauseMenu::choose() {
  switch (m_choice) {
    case RESUME:
      m_open = false;
      m_countdown_steps = 3 * STEPS_PER_COUNT;
      ts::LogManager::getInstance().writeLog("PauseMenu: resuming after a countdown.");
      break;
    case RETRY:
      NextRound::request(NextRound::RETRY);
      break;
    case SONG_LIST:
      NextRound::request(NextRound::SONG_LIST);
      break;
    case QUIT:
      QuitRequest::make();
      break;
  }
}

int PauseMenu::countdown() const { return (m_countdown_steps + STEPS_PER_COUNT - 1) / STEPS_PER_COUNT; }

std::vector<std::string> PauseMenu::lines() const {
  if (m_countdown_steps > 0) return {"", "Get ready: " + std::to_string(countdown()), ""};
  if (!m_open) return {};
  std::vector<std::string> shown = {"Paused", ""};
  for (int item = 0; item < ITEMS; ++item)
    shown.push_back(std::string(item == m_choice ? "> " : "  ") + ITEM_NAMES[item] + (item == m_choice ? " <" : "  "));
  shown.push_back("");
  shown.push_back("Up/Down, Enter: choose  R: retry");
  return shown;
}

int PauseMenu::draw() {
  const std::vector<std::string> shown = lines();
  const float middle = ts::WorldManager::getInstance().getBoundary().getHorizontal() / 2;
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  for (size_t i = 0; i < shown.size(); ++i) {
    std::string text = shown[i].substr(0, BOX_WIDTH);
    text.insert(0, (BOX_WIDTH - text.size()) / 2, ' ');
    text.resize(BOX_WIDTH, ' ');
    display.drawString(ts::Vector(middle, static_cast<float>(FIRST_ROW + static_cast<int>(i))), text,
                       ts::CENTER_JUSTIFIED, i == 0 ? ts::YELLOW : ts::WHITE);
  }
  return 0;
}
