// Time to draw and show a full screen of cells (80 x 24 = 1920 characters)
// per frame, batched and the literal way (one rectangle and one text per
// cell). Needs an X display; run it under Xvfb:
//   tests/support/with-xvfb.sh build/bench/display_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include <tessera/core/Config.h>
#include <tessera/graphics/DisplayManager.h>
#include <tessera/world/WorldManager.h>

namespace {

void drawFullScreen(ts::DisplayManager &display, int frame) {
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 80; ++x)
      display.drawCh(ts::Vector(static_cast<float>(x), static_cast<float>(y)),
                     static_cast<char>(33 + (x + y + frame) % 94), static_cast<ts::Color>(1 + (x + y) % 7));
}

// Milliseconds per frame: median and mean over `frames` frames after a few
// warm-up frames.
void measure(ts::DisplayManager &display, const char *label, int frames) {
  for (int i = 0; i < 10; ++i) {
    drawFullScreen(display, i);
    display.swapBuffers();
  }
  std::vector<double> times;
  double drawing = 0;
  for (int i = 0; i < frames; ++i) {
    auto start = std::chrono::steady_clock::now();
    drawFullScreen(display, i);
    auto drawn = std::chrono::steady_clock::now();
    display.swapBuffers();
    auto end = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    drawing += std::chrono::duration<double, std::milli>(drawn - start).count();
  }
  double total = 0;
  for (double t : times) total += t;
  std::sort(times.begin(), times.end());
  std::printf(
      "%-8s 1920 cells + swap: median %.2f ms, mean %.2f ms, 90th percentile %.2f ms (%d frames); "
      "mean before the swap %.2f ms\n",
      label, times[times.size() / 2], total / static_cast<double>(times.size()), times[times.size() * 9 / 10], frames,
      drawing / static_cast<double>(frames));
}

}  // namespace

int main() {
  ts::Config::getInstance().loadConfig("window_title:tessera-display-bench,");
  ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(0, 0), 80, 24));
  ts::DisplayManager &display = ts::DisplayManager::getInstance();
  if (display.startUp() != 0) {
    std::fprintf(stderr, "display_bench: the display did not start (no X display or no ts-font.ttf?)\n");
    return 1;
  }
  measure(display, "batched", 300);
  display.setBatching(false);
  measure(display, "literal", 30);
  display.shutDown();
  return 0;
}
