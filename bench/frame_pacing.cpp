// Frame pacing of the game loop: runs 300 headless frames at the default
// frame time (networking off) and reports the mean frame period and the
// 99th percentile of the absolute deviation from the frame time, measured
// from the arrival times of the step events on the monotonic clock.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/Object.h>

namespace {

const int FRAMES = 300;

class StepTimer : public ts::Object {
 public:
  std::vector<double> arrivals_ms;
  StepTimer() { registerInterest(ts::STEP_EVENT); }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::STEP_EVENT) return 0;
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    arrivals_ms.push_back(std::chrono::duration<double, std::milli>(now).count());
    if (static_cast<const ts::EventStep *>(event)->getStepCount() == FRAMES)
      ts::GameManager::getInstance().setGameOver();
    return 1;
  }
};

}  // namespace

int main() {
  char config_name[] = "/tmp/tessera-bench-config-XXXXXX";
  close(mkstemp(config_name));
  std::ofstream(config_name) << "networking:false,\nheadless:true,\n";
  setenv("TESSERA_CONFIG", config_name, 1);
  setenv("TESSERA_LOG", "/tmp/tessera-bench-frame-pacing.log", 1);

  ts::GameManager &game = ts::GameManager::getInstance();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "engine failed to start\n");
    return 1;
  }
  auto *timer = new StepTimer;
  game.run();
  std::vector<double> arrivals = timer->arrivals_ms;  // the world deletes the timer
  const double frame_ms = game.getFrameTime();
  game.shutDown();
  std::remove(config_name);

  std::vector<double> deviations;
  double total = 0;
  for (size_t i = 1; i < arrivals.size(); ++i) {
    double period = arrivals[i] - arrivals[i - 1];
    total += period;
    deviations.push_back(std::fabs(period - frame_ms));
  }
  if (deviations.empty()) return 1;
  std::sort(deviations.begin(), deviations.end());
  double mean = total / static_cast<double>(deviations.size());
  size_t p99_index = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(deviations.size()))) - 1;
  std::printf("frames: %zu periods of %.0f ms\n", deviations.size(), frame_ms);
  std::printf("mean period: %.4f ms (%+.4f %%)\n", mean, (mean - frame_ms) / frame_ms * 100.0);
  std::printf("p50 |deviation|: %.4f ms, p90 %.4f ms\n", deviations[deviations.size() / 2],
              deviations[deviations.size() * 9 / 10]);
  std::printf("p99 |deviation|: %.4f ms, max %.4f ms\n", deviations[p99_index], deviations.back());
  return 0;
}
