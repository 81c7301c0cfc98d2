// Engine utilities: the key-value parser, colour and enumeration texts,
// stream check and mask text, geometry and the collision normal.
#include <SFML/Graphics/Color.hpp>

#include "Clock.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "utility.h"

using testing_support::LogCapture;

TEST(Match, PiecesKeysAndValues) {
  EXPECT_EQ(ts::match(" a : 1 ,\tb:two words,\n", "b"), "twowords");
  EXPECT_EQ(ts::match("x:b:c,", "x"), "b");
  EXPECT_EQ(ts::match("novalue,", "novalue"), "");
  EXPECT_EQ(ts::match("k:first,k:second,", "k"), "first");
  EXPECT_EQ(ts::match("::k:v,", "k"), "v");          // leading colons skipped
  EXPECT_EQ(ts::match("x::b,", "x"), "b");           // empty fields skipped
  EXPECT_EQ(ts::match(",,,a:1,,", "a"), "1");        // empty pieces skipped
  EXPECT_EQ(ts::match("a:1,", "A"), "");             // case-sensitive
  EXPECT_EQ(ts::match("a:1,", ""), "");
}

TEST(Match, ColonOnlyPieceStopsParsing) {
  EXPECT_EQ(ts::match("a:1,:::,b:2,", "a"), "1");
  EXPECT_EQ(ts::match("a:1,:::,b:2,", "b"), "");
}

TEST(Match, EmptyTextSearchesThePreviousParse) {
  EXPECT_EQ(ts::match("", "a"), "");  // nothing parsed yet
  ts::match("a:1,b:2,", "a");
  EXPECT_EQ(ts::match("", "b"), "2");
  ts::match("c:3,", "c");
  EXPECT_EQ(ts::match("", "b"), "");  // replaced by the newer parse
  EXPECT_EQ(ts::match("", "c"), "3");
}

TEST(Match, DetailedLines) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(25);
  ts::match("a:1,b", "b");
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"match(\"a:1,b\", \"b\")",
                                                      "match(): number of elements allocated is 2",
                                                      "\titem number 0",
                                                      "\tkey a",
                                                      "\tval 1",
                                                      "\titem number 1",
                                                      "\tkey b",
                                                      "\tval ",
                                                      "match(): parsed.",
                                                      "match(): Looking for match 'b' among 2 items."}));
}

TEST(Colors, TableConversionsAndTexts) {
  unsigned char r = 1, g = 2, b = 3;
  ts::colorToRGB(ts::CUSTOM, r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));
  ts::colorToRGB(static_cast<ts::Color>(9), r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{1, 2, 3}));
  ts::colorToRGB(ts::MAGENTA, r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 0, 255}));
  ts::colorToRGB(ts::YELLOW, r, g, b);
  EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 0}));
  EXPECT_EQ(ts::colorToSFML(ts::CYAN), sf::Color(0, 255, 255, 255));
  EXPECT_EQ(ts::colorToSFML(ts::CUSTOM), sf::Color::White);
  EXPECT_EQ(ts::colorToSFML(static_cast<ts::Color>(-1)), sf::Color::White);
  EXPECT_EQ(ts::colorToString(ts::BLACK), "Black");
  EXPECT_EQ(ts::colorToString(ts::WHITE), "White");
  EXPECT_EQ(ts::colorToString(ts::CUSTOM), "Unknown color");
  EXPECT_EQ(ts::colorToString(static_cast<ts::Color>(42)), "Unknown color");
}

TEST(Colors, UnsupportedColourIsLoggedAtLevelFive) {
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(5);
  unsigned char r = 0, g = 0, b = 0;
  ts::colorToRGB(ts::CUSTOM, r, g, b);
  ts::colorToRGB(static_cast<ts::Color>(12), r, g, b);
  ts::colorToSFML(ts::CUSTOM);
  ts::colorToSFML(static_cast<ts::Color>(-3));
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"colorToRGB(): Color 12 not supported.",
                                                      "colorToSFML(): Color is CUSTOM.",
                                                      "colorToSFML(): Color -3 not supported."}));
}

TEST(Texts, EnumerationsKeysAndNumbers) {
  EXPECT_EQ(ts::solidnessToString(0), "hard");
  EXPECT_EQ(ts::solidnessToString(2), "spectral");
  EXPECT_EQ(ts::solidnessToString(3), "undefined");
  EXPECT_EQ(ts::solidnessToString(-1), "undefined");
  EXPECT_EQ(ts::locationToString(0), "top-left");
  EXPECT_EQ(ts::locationToString(4), "center-center");
  EXPECT_EQ(ts::locationToString(8), "bot-right");
  EXPECT_EQ(ts::locationToString(9), "unknown");
  std::string keys;
  for (int key = -1; key <= 77; ++key) keys += ts::keyToString(key);
  EXPECT_EQ(keys, " -+~.,/=\\*';ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890[]`");
  EXPECT_EQ(ts::toString(-12), "-12");
  EXPECT_EQ(ts::toString(0.1f), "0.1");
  EXPECT_EQ(ts::toString(1234567.0f), "1.23457e+06");
  EXPECT_EQ(ts::toString(2.5f), "2.5");
}

TEST(Texts, TimeStringFormat) {
  std::string time = ts::getTimeString();
  ASSERT_EQ(time.size(), 8u);
  EXPECT_EQ(time[2], ':');
  EXPECT_EQ(time[5], ':');
}

TEST(StreamCheck, MessagesAndMask) {
  LogCapture log;
  log.start();
  std::stringstream good;
  EXPECT_EQ(ts::streamCheck("Good()", good), 0);
  std::stringstream empty;
  int value;
  empty.read(reinterpret_cast<char *>(&value), sizeof value);
  EXPECT_EQ(ts::streamCheck("Read()", empty), -1);
  std::stringstream failed;
  failed.setstate(std::ios::failbit);
  EXPECT_EQ(ts::streamCheck("Write()", failed), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Read(): Error! Stream eof.", "Write(): Error! Stream fail."}));
  EXPECT_EQ(ts::maskToString(0x21), std::string(26, '0') + "100001");
  EXPECT_EQ(ts::maskToString(0x80000000u), "1" + std::string(31, '0'));
}

TEST(Geometry, BoxesAndPositions) {
  ts::Box unit(ts::Vector(0, 0), 1, 1);
  EXPECT_TRUE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(1, 0), 1, 1)));      // shared edge
  EXPECT_TRUE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(1, 1), 1, 1)));      // shared corner
  EXPECT_TRUE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(-1, -1), 1, 1)));
  EXPECT_FALSE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(1.01f, 0), 1, 1)));
  EXPECT_FALSE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(0, -1.01f), 1, 1)));
  EXPECT_TRUE(ts::boxIntersectsBox(ts::Box(ts::Vector(-5, -5), 20, 20), unit));  // containment
  EXPECT_TRUE(ts::boxIntersectsBox(unit, ts::Box(ts::Vector(-5, -5), 20, 20)));
  ts::Box box(ts::Vector(2, 3), 4, 5);
  for (ts::Vector corner : {ts::Vector(2, 3), ts::Vector(6, 3), ts::Vector(2, 8), ts::Vector(6, 8)})
    EXPECT_TRUE(ts::boxContainsPosition(box, corner)) << corner.toString();
  EXPECT_FALSE(ts::boxContainsPosition(box, ts::Vector(6.01f, 3)));
  EXPECT_TRUE(ts::valueInRange(1, 1, 1));
  EXPECT_FALSE(ts::valueInRange(2, 3, 1));
  EXPECT_FLOAT_EQ(ts::distance(ts::Vector(1, 1), ts::Vector(4, 5)), 5);
}

TEST(Geometry, WorldBoxesAndView) {
  ts::WorldManager::getInstance().startUp();
  ts::Object object;
  object.setPosition(ts::Vector(10, 20));
  EXPECT_EQ(ts::getWorldBox(&object), ts::Box(ts::Vector(9.5f, 19.5f), 0.99f, 0.99f));
  EXPECT_EQ(ts::getWorldBox(&object, ts::Vector(0, 0)), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  ts::WorldManager::getInstance().setView(ts::Box(ts::Vector(5, 2), 80, 24));
  EXPECT_EQ(ts::worldToView(ts::Vector(10, 20)), ts::Vector(5, 18));
  EXPECT_EQ(ts::viewToWorld(ts::Vector(5, 18)), ts::Vector(10, 20));
}

namespace {
// An obstacle of 2 x 2 cells around (10, 10) and a unit mover.
struct NormalCase {
  ts::Vector from;
  ts::Vector velocity;
  ts::Vector normal;
};
}  // namespace

TEST(Geometry, NormalFacesTheSideRunInto) {
  ts::WorldManager::getInstance().startUp();
  ts::Object obstacle;
  obstacle.setPosition(ts::Vector(10, 10));
  obstacle.setBox(ts::Box(ts::Vector(-1, -1), 2, 2));
  ts::Object mover;
  const NormalCase cases[] = {
      {ts::Vector(10, 7), ts::Vector(0, 2), ts::Vector(0, -1)},    // from above
      {ts::Vector(10, 13), ts::Vector(0, -2), ts::Vector(0, 1)},   // from below
      {ts::Vector(7, 10), ts::Vector(2, 0), ts::Vector(-1, 0)},    // from the left
      {ts::Vector(13, 10), ts::Vector(-2, 0), ts::Vector(1, 0)},   // from the right
      {ts::Vector(7, 7), ts::Vector(2, 2), ts::Vector(-1, -1)},    // exactly at the corner
      {ts::Vector(13, 13), ts::Vector(-1, -1), ts::Vector(1, 1)},
      {ts::Vector(9.2f, 7), ts::Vector(0, 2), ts::Vector(0, -1)},  // above and above left: straight side first
      {ts::Vector(7, 10.8f), ts::Vector(2, 0), ts::Vector(-1, 0)},  // left and below left
  };
  for (const NormalCase &c : cases) {
    mover.setPosition(c.from);
    mover.setVelocity(c.velocity);
    EXPECT_EQ(ts::getNormal(&mover, &obstacle), c.normal) << c.from.toString();
  }
}

TEST(Geometry, NormalForCornerAndForNoContact) {
  ts::WorldManager::getInstance().startUp();
  LogCapture log;
  log.start();
  ts::LogManager::getInstance().setLogLevel(1);
  ts::Object obstacle;
  obstacle.setPosition(ts::Vector(10, 10));
  obstacle.setBox(ts::Box(ts::Vector(0, 0), 1, 1));
  ts::Object mover;
  mover.setBox(ts::Box(ts::Vector(0, 0), 1, 1));
  // Only the lower right corner of the obstacle is touched.
  mover.setPosition(ts::Vector(11.5f, 11.5f));
  mover.setVelocity(ts::Vector(-0.5f, -0.5f));
  EXPECT_EQ(ts::getNormal(&mover, &obstacle), ts::Vector(1, 1));
  mover.setPosition(ts::Vector(50, 50));
  mover.setVelocity(ts::Vector(1, 0));
  EXPECT_EQ(ts::getNormal(&mover, &obstacle), ts::Vector(0, 0));
  EXPECT_TRUE(log.contains("getNormal(): No collision detected. Returning (0,0)."));
}

TEST(Platform, SleepReachesItsDeadlineAndTheClockRunsForward) {
  ts::Clock clock;
  int64_t deadline = ts::monotonicMicroseconds() + 2000;
  ts::sleepUntilMicroseconds(deadline);
  EXPECT_GE(ts::monotonicMicroseconds(), deadline);
  int32_t split = clock.split();
  EXPECT_GE(split, 2000);
  EXPECT_GE(clock.delta(), split);
  EXPECT_GE(clock.split(), 0);
  ts::sleepUntilMicroseconds(deadline - 5000);  // a past deadline returns at once
}
