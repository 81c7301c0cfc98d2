// Times path searches across random worlds (fixed seed): the engine's search
// (heap-ordered open set, a closed flag per node), asking the world for every
// blocked cell or remembering the answers while the world holds still (as the
// path manager runs it), against the same search with the open and closed
// sets kept as linear lists. Each search is timed several times and the
// fastest run counts, so that other work on a shared machine does not show.
//
//   build-path/bench/path_bench [runs per search] [--no-lists]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <tessera/core/LogManager.h>
#include <tessera/paths/PathFind.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>
#include "PathReference.h"

namespace {

const int SEARCHES_PER_WORLD = 3;

struct Figures {
  long nodes = 0;
  long queries = 0;
  double ms = 0;
  int found = 0;
};

// The fastest of the given number of runs, in milliseconds.
double fastestMilliseconds(int runs, const std::function<void()> &work) {
  double best = 1e300;
  for (int run = 0; run < runs; ++run) {
    auto before = std::chrono::steady_clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count());
  }
  return best;
}

// A fresh world of the given size with HARD single-cell rocks on about
// density percent of the cells, always the same for the same seed.
void buildWorld(int width, int height, int density, unsigned seed) {
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.shutDown();
  world.startUp();
  world.setBoundary(ts::Box(ts::Vector(0, 0), width, height));
  std::srand(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (std::rand() % 100 < density) (new ts::Object)->setPosition(ts::Vector(x, y));
}

// From near one corner to near the opposite one, a little apart each time.
void endsOf(int search, int width, int height, ts::PathNode &start, ts::PathNode &goal) {
  start = {search % 5, search % 3};
  goal = {width - 1 - search % 4, height - 1 - search % 2};
}

// Per search: nodes expanded, blocked-cell queries to the world (the list
// search does not count them), time, and nodes per millisecond.
void report(const char *what, const Figures &figures) {
  std::string queries = figures.queries ? std::to_string(figures.queries / SEARCHES_PER_WORLD) : "-";
  std::printf("  %-26s %7ld nodes %7s queries %10.2f ms/search %8.1f nodes/ms  (%d of %d found)\n", what,
              figures.nodes / SEARCHES_PER_WORLD, queries.c_str(), figures.ms / SEARCHES_PER_WORLD,
              figures.nodes / figures.ms, figures.found, SEARCHES_PER_WORLD);
}

// Times one engine search, with or without a still-world hold.
void timeEngineSearch(ts::Object *mover, ts::PathNode start, ts::PathNode goal, bool hold, int runs, Figures &figures,
                      ts::Path &path) {
  int64_t nodes = 0, queries = 0;
  int status = 0;
  figures.ms += fastestMilliseconds(runs, [&] {
    ts::PathFind search(mover, start, goal);
    if (hold) {
      ts::PathFind::StillWorld still;
      while ((status = search.cycleOnce()) == ts::PathFind::SEARCHING) {
      }
    } else {
      while ((status = search.cycleOnce()) == ts::PathFind::SEARCHING) {
      }
    }
    nodes = search.getExpandedCount();
    queries = search.getWorldQueryCount();
    path = search.getPath();
  });
  figures.nodes += nodes;
  figures.queries += queries;
  figures.found += status == ts::PathFind::FOUND;
}

void benchWorld(int width, int height, int density, int runs, bool with_lists) {
  buildWorld(width, height, density, 7);
  ts::Object *mover = new ts::Object;
  mover->setSolidness(ts::SPECTRAL);
  std::printf("%d x %d world, %d%% rocks, %d searches corner to corner\n", width, height, density, SEARCHES_PER_WORLD);
  Figures asked, remembered, lists;
  for (int i = 0; i < SEARCHES_PER_WORLD; ++i) {
    ts::PathNode start{}, goal{};
    endsOf(i, width, height, start, goal);
    ts::Path asked_path, remembered_path;
    timeEngineSearch(mover, start, goal, false, runs, asked, asked_path);
    timeEngineSearch(mover, start, goal, true, runs, remembered, remembered_path);
    if (asked_path.getWaypoints() != remembered_path.getWaypoints()) std::printf("  paths differ in search %d!\n", i);
    if (!with_lists) continue;
    long plain_nodes = 0;
    int plain_status = 0;
    std::vector<ts::Vector> plain_path;
    // The list search of a large world takes long enough to time once.
    lists.ms += fastestMilliseconds(width * height > 10000 ? 1 : runs, [&] {
      path_reference::ListPathFind plain(mover, start, goal);
      plain_status = plain.run();
      plain_nodes = plain.getExpandedCount();
      plain_path = plain.getPath();
    });
    lists.nodes += plain_nodes;
    lists.found += plain_status == ts::PathFind::FOUND;
    if (plain_path != asked_path.getWaypoints()) std::printf("  list search differs in search %d!\n", i);
  }
  report("heap, world asked", asked);
  report("heap, blocked remembered", remembered);
  if (with_lists) report("linear open/closed lists", lists);
}

}  // namespace

int main(int argc, char **argv) {
  int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  if (runs < 1) runs = 1;
  bool lists = !(argc > 2 && std::string(argv[2]) == "--no-lists");
  setenv("TESSERA_LOG", "/dev/null", 1);
  ts::LogManager::getInstance().startUp();
  benchWorld(80, 24, 20, runs, lists);
  benchWorld(500, 500, 20, runs, lists);
  benchWorld(500, 500, 30, runs, false);
  ts::WorldManager::getInstance().shutDown();
  return 0;
}
