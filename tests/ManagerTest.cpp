// ObjectList and the manager base's event interest and dispatch.
#include <stdexcept>

#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

// Records every step it receives and runs an optional action inside the handler.
class Recorder : public ts::Object {
 public:
  std::function<void()> on_step;
  int steps = 0;
  int eventHandler(const ts::Event *event) override {
    if (event->getType() != ts::STEP_EVENT) return 0;
    ++steps;
    if (on_step) on_step();
    return 1;
  }
};

ts::Object *fake(long n) { return reinterpret_cast<ts::Object *>(n * 16); }

}  // namespace

TEST(ObjectList, InsertRemoveKeepOrderAndGrow) {
  ts::ObjectList list;
  EXPECT_TRUE(list.isEmpty());
  EXPECT_THROW(list[0], std::out_of_range);
  EXPECT_EQ(list.insert(nullptr), -1);
  for (long i = 1; i <= 10; ++i) EXPECT_EQ(list.insert(fake(i)), 0);
  EXPECT_EQ(list.getCount(), 10);
  EXPECT_EQ(list.remove(fake(3)), 0);
  EXPECT_EQ(list.remove(fake(3)), -1);
  EXPECT_EQ(list[2], fake(4));
  EXPECT_EQ(list[8], fake(10));
  try {
    list[9];
    FAIL();
  } catch (const std::out_of_range &error) {
    EXPECT_STREQ(error.what(), "Invalid index!");
  }
  ts::ObjectList copy = list;
  list.clear();
  EXPECT_EQ(copy.getCount(), 9);
  ts::ObjectList sum = copy + copy;
  EXPECT_EQ(sum.getCount(), 18);
  EXPECT_EQ(sum[9], fake(1));
  copy = copy;
  EXPECT_EQ(copy.getCount(), 9);
}

TEST(ObjectList, IteratorSeesRemovalsDuringWalk) {
  ts::ObjectList list;
  for (long i = 1; i <= 4; ++i) list.insert(fake(i));
  ts::ObjectListIterator it(&list);
  int visited = 0;
  for (it.first(); !it.isDone(); it.next()) {
    ++visited;
    if (it.currentObject() == fake(2)) list.remove(fake(4));
  }
  EXPECT_EQ(visited, 3);
  EXPECT_EQ(it.currentObject(), nullptr);
  it.next();
  EXPECT_TRUE(it.isDone());
}

TEST(Manager, StartAndStopWarnings) {
  LogCapture log;
  log.start();
  ts::Manager manager;
  EXPECT_EQ(manager.getType(), "Manager");
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_TRUE(manager.isStarted());
  manager.shutDown();
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  EXPECT_FALSE(manager.isValid("ts-step"));
}

TEST(Manager, RegistrationRules) {
  LogCapture log;
  log.start();
  ts::WorldManager::getInstance().startUp();  // objects must be in the world to be deactivated
  ts::GameManager &game = ts::GameManager::getInstance();
  Recorder a, b;
  EXPECT_EQ(game.registerInterest(&a, "ts-keyboard"), -1);
  EXPECT_TRUE(log.contains("Manager(GameManager)::registerInterest(): Event 'ts-keyboard' not valid for this Manager"));
  EXPECT_EQ(a.registerInterest(ts::STEP_EVENT), 0);
  EXPECT_EQ(game.registerInterest(&a, ts::STEP_EVENT), 0);  // twice: a warning, still one entry
  EXPECT_EQ(b.registerInterest(ts::STEP_EVENT), 0);
  ts::EventStep step(7);
  EXPECT_EQ(game.onEvent(&step), 2);
  EXPECT_EQ(a.steps, 1);
  b.setActive(false);
  EXPECT_EQ(game.onEvent(&step), 1);
  EXPECT_EQ(a.unregisterInterest(ts::STEP_EVENT), 0);
  EXPECT_EQ(b.unregisterInterest(ts::STEP_EVENT), 0);
  EXPECT_EQ(game.unregisterInterest(&a, ts::STEP_EVENT), -1);
  EXPECT_EQ(a.unregisterInterest(ts::STEP_EVENT), -1);
  EXPECT_TRUE(log.contains("Object::unregisterInterest(): event 'ts-step' not previously registered"));
}

TEST(Manager, UndefinedAndInvalidEventsAreDropped) {
  ts::Manager manager;
  ts::Event undefined;
  EXPECT_EQ(manager.onEvent(&undefined), 0);
  ts::EventStep step(0);
  EXPECT_EQ(manager.onEvent(&step), 0);
}

TEST(Manager, HundredFirstEventTypeIsRefused) {
  ts::WorldManager::getInstance().startUp();
  ts::WorldManager &world = ts::WorldManager::getInstance();
  std::vector<std::unique_ptr<Recorder>> objects;
  for (int i = 0; i < ts::MAX_EVENTS; ++i) {
    objects.push_back(std::make_unique<Recorder>());
    ASSERT_EQ(world.registerInterest(objects.back().get(), "custom-" + std::to_string(i)), 0);
  }
  Recorder extra;
  EXPECT_EQ(world.registerInterest(&extra, "one-too-many"), -1);
  EXPECT_EQ(world.unregisterInterest(objects[0].get(), "custom-0"), 0);
  EXPECT_EQ(world.registerInterest(&extra, "one-too-many"), 0);
  for (auto &object : objects) world.unregisterInterest(object.get(), "custom-0");
  world.unregisterInterest(&extra, "one-too-many");
}

// Handlers change interest and destroy objects while a dispatch runs: objects
// registered during the dispatch wait for the next one, and an object that
// an earlier handler destroyed is never called.
TEST(Manager, DispatchSurvivesReentrantChanges) {
  ts::GameManager &game = ts::GameManager::getInstance();
  auto *first = new Recorder;
  auto *victim = new Recorder;
  Recorder late;
  first->registerInterest(ts::STEP_EVENT);
  victim->registerInterest(ts::STEP_EVENT);
  first->on_step = [&] {
    late.registerInterest(ts::STEP_EVENT);
    first->unregisterInterest(ts::STEP_EVENT);
    delete victim;
  };
  ts::EventStep step(0);
  EXPECT_EQ(game.onEvent(&step), 1);
  EXPECT_EQ(first->steps, 1);
  EXPECT_EQ(late.steps, 0);
  EXPECT_EQ(game.onEvent(&step), 1);
  EXPECT_EQ(late.steps, 1);
  EXPECT_EQ(first->steps, 1);
  delete first;
}

namespace {
// Counts the events of any type it receives and runs an optional action.
class Listener : public ts::Object {
 public:
  std::function<void()> on_event;
  int events = 0;
  int eventHandler(const ts::Event *) override {
    ++events;
    if (on_event) on_event();
    return 1;
  }
};
}  // namespace

// A handler that withdraws the last interest in a type and registers it again
// moves the type's entry behind the others; the dispatch must not meet it
// there a second time.
TEST(Manager, TypeReregisteredDuringDispatchIsNotDispatchedTwice) {
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  Listener a, b, newcomer;
  a.registerInterest("alpha");
  b.registerInterest("beta");
  a.on_event = [&] {
    a.unregisterInterest("alpha");
    a.registerInterest("alpha");
    newcomer.registerInterest("alpha");
  };
  ts::Event alpha;
  alpha.setType("alpha");
  EXPECT_EQ(world.onEvent(&alpha), 1);
  EXPECT_EQ(a.events, 1);
  EXPECT_EQ(newcomer.events, 0);
  EXPECT_EQ(b.events, 0);
}
