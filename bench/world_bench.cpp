// One frame of the world (update plus draw) with N moving solid objects, in
// a screen-sized 80 x 24 world and in a 1000 x 1000 world, and the collision
// queries of such a frame answered by the grid and by testing every pair.
//
// Headless: no display is started, so drawing an object costs only the view
// test and the call. Objects that leave the world turn round, so the crowd
// stays put however many frames a benchmark runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <vector>

#include <tessera/core/Geometry.h>
#include <tessera/core/LogManager.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>

namespace {

class Mover : public ts::Object {
 public:
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::OUT_EVENT) return 0;
    ts::Vector velocity = getVelocity();
    velocity.scale(-1);
    setVelocity(velocity);
    return 1;
  }
};

const float WORLD_SIZES[][2] = {{80, 24}, {1000, 1000}};

// Starts the world with the given size and n HARD movers at random places,
// each with a random heading at 0.25 to 1 cell per frame.
std::vector<ts::Object *> populate(int world_index, int n) {
  static bool log_started = false;
  if (!log_started) {
    setenv("TESSERA_LOG", "/dev/null", 1);
    ts::LogManager::getInstance().startUp();
    log_started = true;
  }
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  float width = WORLD_SIZES[world_index][0];
  float height = WORLD_SIZES[world_index][1];
  world.setBoundary(ts::Box(ts::Vector(0, 0), width, height));
  world.setView(ts::Box(ts::Vector(0, 0), 80, 24));
  std::mt19937 random(42);
  std::uniform_real_distribution<float> x(0, width - 1), y(0, height - 1), turn(-1, 1), speed(0.25f, 1);
  std::vector<ts::Object *> objects;
  objects.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    auto *mover = new Mover;
    mover->setPosition(ts::Vector(x(random), y(random)));
    ts::Vector heading(turn(random), turn(random));
    heading.normalize();
    heading.scale(speed(random));
    mover->setVelocity(heading);
    objects.push_back(mover);
  }
  return objects;
}

void label(benchmark::State &state) {
  int world_index = static_cast<int>(state.range(0));
  state.SetLabel(world_index == 0 ? "80x24" : "1000x1000");
}

void BM_UpdateAndDraw(benchmark::State &state) {
  populate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  ts::WorldManager &world = ts::WorldManager::getInstance();
  for (auto _ : state) {
    world.update();
    world.draw();
  }
  world.shutDown();
  label(state);
}

// The collision question of one frame, every object at its next position,
// answered by the grid.
void BM_GridCollisions(benchmark::State &state) {
  std::vector<ts::Object *> objects = populate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  ts::WorldManager &world = ts::WorldManager::getInstance();
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    for (ts::Object *object : objects) hits += world.getCollisions(object, object->predictPosition()).getCount();
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
  world.shutDown();
  label(state);
}

// The same question answered by testing every object against every other.
void BM_BruteForceCollisions(benchmark::State &state) {
  std::vector<ts::Object *> objects = populate(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  int64_t hits = 0;
  for (auto _ : state) {
    hits = 0;
    for (ts::Object *object : objects) {
      ts::Box box = ts::getWorldBox(object, object->predictPosition());
      for (ts::Object *other : objects)
        if (other != object && ts::boxIntersectsBox(box, ts::getWorldBox(other))) ++hits;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = static_cast<double>(hits);
  ts::WorldManager::getInstance().shutDown();
  label(state);
}

void sizes(benchmark::internal::Benchmark *bench) {
  for (int world_index : {0, 1})
    for (int n : {100, 1000, 10000}) bench->Args({world_index, n});
  bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_UpdateAndDraw)->Apply(sizes);
BENCHMARK(BM_GridCollisions)->Apply(sizes);
BENCHMARK(BM_BruteForceCollisions)->Apply(sizes);

BENCHMARK_MAIN();
