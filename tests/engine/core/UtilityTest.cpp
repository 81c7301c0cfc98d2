// Engine utilities: parser, texts, colours, stream check, geometry, clock.
#include <SFML/Graphics/Color.hpp>

#include <tessera/core/Color.h>
#include <tessera/core/Config.h>
#include <tessera/core/Geometry.h>
#include <tessera/core/Stream.h>
#include <tessera/system/Clock.h>
#include <tessera/system/Text.h>
#include <tessera/world/Object.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"
#include "graphics/SfmlColor.h"

using namespace testing_support;

TEST(Match, PiecesKeysAndValues) {
  const char *cases[][3] = {
      {" a : 1 ,\tb:two words,\n", "b", "twowords"},
      {"x:b:c,", "x", "b"},
      {"novalue,", "novalue", ""},
      {"k:first,k:second,", "k", "first"},
      {"::k:v,", "k", "v"},
      {"x::b,", "x", "b"},  // empty fields skipped
      {",,,a:1,,", "a", "1"},
      {"a:1,", "A", ""},  // case-sensitive
      {"a:1,", "", ""},
      {"a:1,:::,b:2,", "a", "1"},
      {"a:1,:::,b:2,", "b", ""},  // a piece of colons only stops parsing
  };
  for (const auto &c : cases) EXPECT_EQ(ts::match(c[0], c[1]), c[2]) << c[0] << " / " << c[1];
}

TEST(Match, EmptyTextSearchesThePreviousParse) {
  EXPECT_EQ(ts::match("", "a"), "");  // nothing parsed yet
  ts::match("a:1,b:2,", "a");
  EXPECT_EQ(ts::match("", "b"), "2");
  ts::match("c:3,", "c");
  EXPECT_EQ(ts::match("", "b"), "");  // replaced by the newer parse
  EXPECT_EQ(ts::match("", "c"), "3");
}

TEST(Colors, ConversionsAndUnsupportedColours) {
  StartedLog log;
  ts::LogManager::getInstance().setLogLevel(5);
  unsigned char r = 1, g = 2, b = 3;
  ts::colorToRGB(static_cast<ts::Color>(12), r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));  // left alone
  EXPECT_EQ(ts::colorToSFML(ts::MAGENTA), sf::Color(255, 0, 255, 255));
  EXPECT_EQ(ts::colorToSFML(ts::CUSTOM), sf::Color::White);
  EXPECT_EQ(ts::colorToSFML(static_cast<ts::Color>(-3)), sf::Color::White);
  EXPECT_EQ(log.messages(),
            (std::vector<std::string>{"colorToRGB(): Color 12 not supported.", "colorToSFML(): Color is CUSTOM.",
                                      "colorToSFML(): Color -3 not supported."}));
}

TEST(Texts, KeysNumbersMasksAndStreamChecks) {
  std::string keys;
  for (int key = -1; key <= 77; ++key) keys += ts::keyToString(key);
  EXPECT_EQ(keys, " -+~.,/=\\*';ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890[]`");
  EXPECT_EQ(ts::toString(1234567.0f), "1.23457e+06");
  EXPECT_EQ(ts::maskToString(0x80000021u), "1" + std::string(25, '0') + "100001");
  StartedLog log;
  std::stringstream good, empty, failed;
  EXPECT_EQ(ts::streamCheck("Good()", good), 0);
  empty.get();  // eof and fail
  EXPECT_EQ(ts::streamCheck("Read()", empty), -1);
  failed.setstate(std::ios::failbit);
  EXPECT_EQ(ts::streamCheck("Write()", failed), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Read(): Error! Stream eof.", "Write(): Error! Stream fail."}));
}

TEST(Geometry, BoxesPositionsAndView) {
  ts::Box unit(ts::Vector(0, 0), 1, 1);
  const std::pair<ts::Box, bool> others[] = {
      {ts::Box(ts::Vector(1, 0), 1, 1), true},       {ts::Box(ts::Vector(1, 1), 1, 1), true},  // edge, corner
      {ts::Box(ts::Vector(-1, -1), 1, 1), true},     {ts::Box(ts::Vector(1.01f, 0), 1, 1), false},
      {ts::Box(ts::Vector(0, -1.01f), 1, 1), false}, {ts::Box(ts::Vector(-5, -5), 20, 20), true},  // containment
  };
  for (const auto &other : others) {
    EXPECT_EQ(ts::boxIntersectsBox(unit, other.first), other.second) << other.first.toString();
    EXPECT_EQ(ts::boxIntersectsBox(other.first, unit), other.second) << other.first.toString();
  }
  ts::Box box(ts::Vector(2, 3), 4, 5);
  for (ts::Vector corner : {ts::Vector(2, 3), ts::Vector(6, 3), ts::Vector(2, 8), ts::Vector(6, 8)})
    EXPECT_TRUE(ts::boxContainsPosition(box, corner)) << corner.toString();
  EXPECT_FALSE(ts::boxContainsPosition(box, ts::Vector(6.01f, 3)));
  ts::WorldManager::getInstance().startUp();
  ts::Object object;
  object.setPosition(ts::Vector(10, 20));
  EXPECT_EQ(ts::getWorldBox(&object), ts::Box(ts::Vector(9.5f, 19.5f), 0.99f, 0.99f));
  EXPECT_EQ(ts::getWorldBox(&object, ts::Vector(0, 0)), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(5, 2), 80, 24));
  EXPECT_EQ(ts::worldToView(ts::Vector(10, 20)), ts::Vector(5, 18));
  EXPECT_EQ(ts::viewToWorld(ts::Vector(5, 18)), ts::Vector(10, 20));
}

// A mover running into an obstacle gets the normal of the side it hits.
TEST(Geometry, NormalFacesTheSideRunInto) {
  ts::WorldManager::getInstance().startUp();
  ts::Object obstacle, mover;
  obstacle.setPosition(ts::Vector(10, 10));
  obstacle.setBox(ts::Box(ts::Vector(-1, -1), 2, 2));
  const ts::Vector cases[][3] = {
      // from, velocity, normal
      {{10, 7}, {0, 2}, {0, -1}},    {{10, 13}, {0, -2}, {0, 1}},  {{7, 10}, {2, 0}, {-1, 0}},
      {{13, 10}, {-2, 0}, {1, 0}},   {{7, 7}, {2, 2}, {-1, -1}},    // exactly at the corner
      {{13, 13}, {-1, -1}, {1, 1}},  {{9.2f, 7}, {0, 2}, {0, -1}},  // straight side before the corner
      {{7, 10.8f}, {2, 0}, {-1, 0}}, {{50, 50}, {1, 0}, {0, 0}},    // no contact at all
  };
  for (const auto &c : cases) {
    mover.setPosition(c[0]);
    mover.setVelocity(c[1]);
    EXPECT_EQ(ts::getNormal(&mover, &obstacle), c[2]) << c[0].toString();
  }
  // Only the lower right corner of a unit obstacle is touched.
  obstacle.setBox(ts::Box(ts::Vector(0, 0), 1, 1));
  mover.setBox(ts::Box(ts::Vector(0, 0), 1, 1));
  mover.setPosition(ts::Vector(11.5f, 11.5f));
  mover.setVelocity(ts::Vector(-0.5f, -0.5f));
  EXPECT_EQ(ts::getNormal(&mover, &obstacle), ts::Vector(1, 1));
}

TEST(Platform, SleepReachesItsDeadlineAndTheClockRunsForward) {
  ts::Clock clock;
  int64_t deadline = ts::monotonicMicroseconds() + 2000;
  ts::sleepUntilMicroseconds(deadline);
  EXPECT_GE(ts::monotonicMicroseconds(), deadline);
  int32_t split = clock.split();
  EXPECT_GE(split, 2000);
  EXPECT_GE(clock.delta(), split);
  ts::sleepUntilMicroseconds(deadline - 5000);  // a past deadline returns at once
}
