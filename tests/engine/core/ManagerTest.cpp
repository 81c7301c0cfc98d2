// ObjectList, the manager base's event interest and dispatch, and the routing of interest to the managers.
#include <stdexcept>

#include <tessera/input/EventMouse.h>
#include <tessera/input/InputManager.h>
#include <tessera/world/ObjectList.h>
#include <tessera/world/ObjectListIterator.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

namespace {

// Counts the events it receives and runs an optional action in the handler.
struct Listener : ts::Object {
  std::function<void()> on_event;
  int events = 0;
  int eventHandler(const ts::Event *) override {
    ++events;
    if (on_event) on_event();
    return 1;
  }
};

ts::Object *fake(long n) { return reinterpret_cast<ts::Object *>(n * 16); }

}  // namespace

TEST(ObjectList, InsertRemoveCopyAndIterate) {
  ts::ObjectList list;
  EXPECT_EQ(list.insert(nullptr), -1);
  for (long i = 1; i <= 10; ++i) EXPECT_EQ(list.insert(fake(i)), 0);  // grows past its first capacity
  EXPECT_EQ(list.remove(fake(3)), 0);
  EXPECT_EQ(list.remove(fake(3)), -1);
  EXPECT_EQ(list[2], fake(4));  // order kept
  EXPECT_THROW(list[9], std::out_of_range);
  ts::ObjectList copy = list;
  list.clear();
  copy = copy;
  ts::ObjectList sum = copy + copy;
  EXPECT_EQ(sum.getCount(), 18);
  EXPECT_EQ(sum[9], fake(1));
  // An iterator sees removals made during its walk.
  ts::ObjectListIterator it(&copy);
  int visited = 0;
  for (it.first(); !it.isDone(); it.next())
    if (++visited == 2) copy.remove(fake(10));
  EXPECT_EQ(visited, 8);
}

TEST(Manager, HundredFirstEventTypeIsRefused) {
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  Listener listener;
  for (int i = 0; i < ts::MAX_EVENTS; ++i)
    ASSERT_EQ(world.registerInterest(&listener, "custom-" + std::to_string(i)), 0);
  EXPECT_EQ(world.registerInterest(&listener, "one-too-many"), -1);
  EXPECT_EQ(world.unregisterInterest(&listener, "custom-0"), 0);
  EXPECT_EQ(world.registerInterest(&listener, "one-too-many"), 0);
}

// Handlers change interest and destroy objects while a dispatch runs:
// objects registered during the dispatch wait for the next one, an object
// that an earlier handler destroyed is never called, and a type withdrawn
// and registered again (its entry moves behind the others) is not met twice.
TEST(Manager, DispatchSurvivesReentrantChanges) {
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  auto *victim = new Listener;
  Listener first, late, other_type;
  first.registerInterest("alpha");
  victim->registerInterest("alpha");
  other_type.registerInterest("beta");
  first.on_event = [&] {
    if (!victim) return;
    delete victim;  // registered after first: not yet called
    victim = nullptr;
    first.unregisterInterest("alpha");  // the last interest: the type's entry goes
    first.registerInterest("alpha");
    late.registerInterest("alpha");
  };
  ts::Event alpha;
  alpha.setType("alpha");
  EXPECT_EQ(world.onEvent(&alpha), 1);
  EXPECT_EQ(first.events, 1);
  EXPECT_EQ(late.events, 0);
  EXPECT_EQ(other_type.events, 0);
  EXPECT_EQ(world.onEvent(&alpha), 2);
  EXPECT_EQ(late.events, 1);
}

// Interest in a type whose manager does not exist yet waits for it and
// moves to it when it is made; withdrawn meanwhile, it is gone.
TEST(EventRegistry, InterestWaitsForItsManager) {
  Listener first, withdrawn, second;
  for (Listener *listener : {&first, &withdrawn, &second}) ASSERT_EQ(listener->registerInterest(ts::MOUSE_EVENT), 0);
  ASSERT_EQ(withdrawn.unregisterInterest(ts::MOUSE_EVENT), 0);
  ts::EventMouse mouse;
  EXPECT_EQ(ts::InputManager::getInstance().onEvent(&mouse), 2);
  EXPECT_EQ(first.events + second.events, 2);
  EXPECT_EQ(ts::WorldManager::getInstance().onEvent(&mouse), 0);  // not the world's
}

// An event that reaches no one is logged once per manager and type: no
// type, a type the manager does not keep, a type nobody listens to.
TEST(Manager, EventsThatReachNoOneAreLoggedOncePerType) {
  testing_support::StartedLog log;
  ts::WorldManager &world = ts::WorldManager::getInstance();
  world.startUp();
  Listener listener;
  listener.registerInterest("heard");
  ts::Event untyped, custom, heard, unheard;
  custom.setType("power-up");
  heard.setType("heard");
  unheard.setType("nobody");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(0, world.onEvent(&untyped));
    EXPECT_EQ(0, ts::InputManager::getInstance().onEvent(&custom));
    EXPECT_EQ(1, world.onEvent(&heard));
    EXPECT_EQ(0, world.onEvent(&unheard));
  }
  const std::vector<std::string> expected = {
      "Manager(WorldManager)::onEvent(): Warning! Event 'ts-undefined' went to no one: it has no type (setType() was "
      "never called).",
      "Manager(InputManager)::onEvent(): Warning! Event 'power-up' went to no one: this manager keeps no interest in "
      "it (a game's own types go through the WorldManager).",
      "Manager(WorldManager)::onEvent(): Warning! Event 'nobody' went to no one: no object is interested in it."};
  EXPECT_EQ(expected, log.messages());
}
