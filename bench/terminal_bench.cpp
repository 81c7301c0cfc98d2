// The terminal display's frame writing: the bytes for a frame of cells
// (only what changed since the frame on screen) and their one write, here
// to /dev/null so that the terminal's own drawing is not measured.
//
//   full screen, 1 920 coloured cells, every cell a colour of its own (a
//   colour sequence per cell, the worst case), written whole or as a diff;
//   full screen in the engine's seven colours, in runs;
//   a frame in which 5 cells changed.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "graphics/CellBuffer.h"
#include "graphics/TerminalWriter.h"

namespace {

const int WIDTH = 80, HEIGHT = 24;
const ts::Rgb BLACK{0, 0, 0};
const ts::Rgb ENGINE_COLORS[] = {{255, 0, 0},   {0, 255, 0},   {255, 255, 0},  {0, 0, 255},
                                 {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// Every cell a printable character; `seed` changes every cell.
void drawScreen(ts::CellBuffer &frame, int seed, bool own_colors) {
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < WIDTH; ++x) {
      const int n = x + y * WIDTH + seed;
      const ts::Rgb color = own_colors ? ts::Rgb{static_cast<unsigned char>(n * 7), static_cast<unsigned char>(n * 13),
                                                 static_cast<unsigned char>(n * 29 + seed)}
                                       : ENGINE_COLORS[(x / 6 + y) % 7];
      frame.set(x, y, ts::Cell{static_cast<unsigned char>(33 + n % 94), color, BLACK});
    }
}

struct Sink {
  Sink() : fd(open("/dev/null", O_WRONLY)) {}
  ~Sink() { close(fd); }
  void write(const std::string &bytes) const { benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size())); }
  int fd;
};

void frames(benchmark::State &state, bool full, bool own_colors) {
  ts::CellBuffer shown, next;
  shown.resize(WIDTH, HEIGHT, BLACK);
  next.resize(WIDTH, HEIGHT, BLACK);
  ts::TerminalWriter writer;
  Sink sink;
  std::string out;
  int seed = 0;
  size_t bytes = 0;
  for (auto _ : state) {
    drawScreen(next, ++seed, own_colors);
    out.clear();
    writer.writeFrame(shown, next, full, out);
    sink.write(out);
    std::swap(shown, next);
    bytes = out.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_FullScreenOwnColorsWhole(benchmark::State &state) { frames(state, true, true); }
void BM_FullScreenOwnColorsDiff(benchmark::State &state) { frames(state, false, true); }
void BM_FullScreenEngineColorsDiff(benchmark::State &state) { frames(state, false, false); }

void BM_FiveCellsChanged(benchmark::State &state) {
  ts::CellBuffer shown, next;
  shown.resize(WIDTH, HEIGHT, BLACK);
  next.resize(WIDTH, HEIGHT, BLACK);
  drawScreen(shown, 0, false);
  ts::TerminalWriter writer;
  Sink sink;
  std::string out;
  writer.writeFrame(shown, shown, true, out);
  int seed = 0;
  for (auto _ : state) {
    drawScreen(next, 0, false);
    ++seed;
    for (int i = 0; i < 5; ++i)
      next.set((seed + i * 17) % WIDTH, (seed + i * 5) % HEIGHT, ts::Cell{'#', ENGINE_COLORS[i], BLACK});
    out.clear();
    writer.writeFrame(shown, next, false, out);
    sink.write(out);
    std::swap(shown, next);
  }
  state.counters["bytes"] = static_cast<double>(out.size());
}

}  // namespace

BENCHMARK(BM_FullScreenOwnColorsWhole);
BENCHMARK(BM_FullScreenOwnColorsDiff);
BENCHMARK(BM_FullScreenEngineColorsDiff);
BENCHMARK(BM_FiveCellsChanged);
BENCHMARK_MAIN();
