#include <tessera/core/GameLoop.h>

namespace ts {

namespace {
GameLoop *g_loop = nullptr;
// An end asked for before any loop was installed; the first loop gets it.
bool g_end_pending = false;
}  // namespace

void GameLoop::install(GameLoop *loop) {
  g_loop = loop;
  if (g_loop && g_end_pending) {
    g_end_pending = false;
    g_loop->setGameOver(true);
  }
}

void GameLoop::uninstall(GameLoop *loop) {
  if (g_loop == loop) g_loop = nullptr;
}

int GameLoop::stepCount() { return g_loop ? g_loop->getStepCount() : 0; }

int GameLoop::frameTime() { return g_loop ? g_loop->getFrameTime() : 0; }

void GameLoop::endGame() {
  if (g_loop)
    g_loop->setGameOver(true);
  else
    g_end_pending = true;
}

}  // namespace ts
