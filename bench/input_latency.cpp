// How late the engine stamps a key event after the X server was asked to
// send it: opens the engine's window (run it under Xvfb), and a child process
// sends presses of X with the XTest extension at random phases of the frame,
// noting the monotonic time just before each request. Reports min, median,
// 99th percentile and max of (event's getTime() - send time), and of
// (delivery to the game - send time) for comparison, in microseconds.
// Usage: input_latency [presses, default 300]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <tessera/core/Config.h>
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/input/EventKeyboard.h>
#include <tessera/system/Clock.h>
#include <tessera/world/Object.h>
// Last: the X headers define macros that would clash with names above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

const char *const TITLE = "tessera-input-latency";

// Collects the presses of X: when the engine stamped them and when the game
// got them; ends the game after the last one (or far too many frames).
class PressRecorder : public ts::Object {
 public:
  explicit PressRecorder(int presses) : m_presses(presses) {
    registerInterest(ts::KEYBOARD_EVENT);
    registerInterest(ts::STEP_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (auto *step = dynamic_cast<const ts::EventStep *>(event)) {
      if (step->getStepCount() > 10 * m_presses + 300) ts::GameManager::getInstance().setGameOver();
      return 1;
    }
    auto *key = dynamic_cast<const ts::EventKeyboard *>(event);
    if (!key || key->getKeyboardAction() != ts::KEY_PRESSED || key->getKey() != ts::Keyboard::X) return 0;
    stamps.push_back(key->getTime());
    deliveries.push_back(ts::monotonicMicroseconds());
    if (static_cast<int>(stamps.size()) == m_presses) ts::GameManager::getInstance().setGameOver();
    return 1;
  }
  std::vector<int64_t> stamps, deliveries;

 private:
  int m_presses;
};

// The child: presses and releases X at random moments, writing each send
// time to the pipe.
void sendPresses(int presses, int out) {
  Display *display = XOpenDisplay(nullptr);
  if (!display) _exit(2);
  const KeyCode code = XKeysymToKeycode(display, XK_x);
  std::srand(20);
  usleep(500000);  // the loop is running by then
  for (int i = 0; i < presses; ++i) {
    // 40 to 73 ms apart: every phase of the 33 ms frame, one press a frame at most.
    usleep(static_cast<useconds_t>(40000 + std::rand() % 33000));
    const int64_t sent = ts::monotonicMicroseconds();
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XFlush(display);
    if (write(out, &sent, sizeof sent) != sizeof sent) _exit(3);
    usleep(static_cast<useconds_t>(3000 + std::rand() % 5000));
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
  }
  XCloseDisplay(display);
  _exit(0);
}

void report(const char *what, std::vector<int64_t> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const size_t within = static_cast<size_t>(std::upper_bound(values.begin(), values.end(), 2000) - values.begin());
  std::printf("%-28s min %6lld  median %6lld  p99 %6lld  max %6lld us  within 2 ms %5.1f %%  (%zu presses)\n", what,
              static_cast<long long>(values.front()), static_cast<long long>(values[n / 2]),
              static_cast<long long>(values[(n * 99 + 99) / 100 - 1]), static_cast<long long>(values.back()),
              100.0 * static_cast<double>(within) / static_cast<double>(n), n);
}

}  // namespace

int main(int argc, char **argv) {
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  setenv("TESSERA_CONFIG", "/dev/null", 0);
  setenv("TESSERA_LOG", "/dev/null", 0);
  ts::Config::getInstance().loadConfig(std::string("window_title:") + TITLE + ",networking:false,");
  ts::GameManager &game = ts::GameManager::getInstance();
  if (game.startUp() != 0) {
    std::fprintf(stderr, "input_latency: the engine did not start (run it under Xvfb)\n");
    return 1;
  }
  if (std::system((std::string("xdotool search --sync --name ") + TITLE + " windowfocus --sync").c_str()) != 0)
    std::fprintf(stderr, "input_latency: could not focus the window; presses may go elsewhere\n");
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return 1;
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    sendPresses(presses, pipe_ends[1]);
  }
  close(pipe_ends[1]);
  auto *recorder = new PressRecorder(presses);
  game.run();
  std::vector<int64_t> sent;
  int64_t time = 0;
  while (read(pipe_ends[0], &time, sizeof time) == sizeof time) sent.push_back(time);
  int status = 0;
  waitpid(child, &status, 0);
  std::vector<int64_t> stamped, delivered;
  const size_t n = std::min(sent.size(), recorder->stamps.size());
  for (size_t i = 0; i < n; ++i) {
    stamped.push_back(recorder->stamps[i] - sent[i]);
    delivered.push_back(recorder->deliveries[i] - sent[i]);
  }
  game.shutDown();
  if (n == 0 || sent.size() != recorder->stamps.size()) {
    std::fprintf(stderr, "input_latency: %zu presses sent, %zu received\n", sent.size(), n);
    if (n == 0) return 1;
  }
  report("stamp - send:", stamped);
  report("delivery to the game - send:", delivered);
  return 0;
}
