// The object record on a byte stream: exact bytes, round trips, the id
// counter rule and short or hostile streams.
#include <cstring>

#include "GameManager.h"
#include "EventStep.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

using testing_support::LogCapture;

namespace {

std::stringstream binaryStream() { return std::stringstream(std::ios::in | std::ios::out | std::ios::binary); }

template <typename T>
T rawAt(const std::string &bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

template <typename T>
void put(std::stringstream &stream, T value) {
  stream.write(reinterpret_cast<const char *>(&value), sizeof value);
}

void putString(std::stringstream &stream, const std::string &text) {
  put<uint64_t>(stream, text.size());
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

class SerializationTest : public testing::Test {
 protected:
  void SetUp() override {
    ts::WorldManager::getInstance().startUp();
    log.start();
  }
  LogCapture log;
};

}  // namespace

TEST_F(SerializationTest, PositionAndIdRecord) {
  ts::Object object;
  object.setPosition(ts::Vector(2.5f, -3));
  std::stringstream stream = binaryStream();
  EXPECT_EQ(object.serialize(stream, ts::POSITION_ATTR | ts::ID_ATTR), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(rawAt<uint32_t>(bytes, 0), 0x21u);
  EXPECT_EQ(rawAt<int32_t>(bytes, 4), object.getId());
  EXPECT_EQ(rawAt<float>(bytes, 8), 2.5f);
  EXPECT_EQ(rawAt<float>(bytes, 12), -3.0f);
  // Only the written bits are cleared.
  EXPECT_EQ(object.getModified(), 0x3FFFFu & ~0x21u);
}

TEST_F(SerializationTest, FullRecordLayoutThenOnlyTheMask) {
  ts::Object object;
  object.registerInterest("ts-step");
  std::stringstream stream = binaryStream();
  EXPECT_EQ(object.serialize(stream, 0), 0);
  EXPECT_EQ(object.getModified(), 0u);
  std::string bytes = stream.str();
  // mask, id, active, visible, events (count + "ts-step"), box, position,
  // type "(Undefined)", animation (empty name, index, slowdown), altitude,
  // solidness, no_soft, direction, speed, acceleration, shape, follow_path,
  // path (count 0), avoid_collisions.
  const size_t expected = 4 + 4 + 1 + 1 + (4 + 8 + 7) + 16 + 8 + (8 + 11) + (8 + 4 + 4) + 4 + 4 + 1 + 8 + 4 + 8 +
                          13 + 1 + 8 + 1;
  ASSERT_EQ(bytes.size(), expected);
  EXPECT_EQ(rawAt<uint32_t>(bytes, 0), 0x3FFFFu);
  EXPECT_EQ(bytes[8], 1);  // active
  EXPECT_EQ(rawAt<int32_t>(bytes, 10), 1);
  EXPECT_EQ(rawAt<uint64_t>(bytes, 14), 7u);
  EXPECT_EQ(bytes.substr(22, 7), "ts-step");
  EXPECT_EQ(rawAt<float>(bytes, 29), -0.5f);  // box corner x
  EXPECT_EQ(rawAt<float>(bytes, 45), 1.0f);   // position x
  EXPECT_EQ(bytes.substr(61, 11), "(Undefined)");
  EXPECT_EQ(rawAt<int32_t>(bytes, 88), 2);    // altitude
  EXPECT_EQ(rawAt<int32_t>(bytes, 92), 0);    // solidness
  EXPECT_EQ(rawAt<int32_t>(bytes, 117), -1);  // shape type
  EXPECT_EQ(rawAt<float>(bytes, 121), 24.0f);  // shape size
  std::stringstream second = binaryStream();
  EXPECT_EQ(object.serialize(second, 0), 0);
  EXPECT_EQ(second.str(), std::string(4, '\0'));
}

TEST_F(SerializationTest, DirectionBeforeSpeedAndFollowPathBeforePath) {
  ts::Object object;
  object.setVelocity(ts::Vector(0, 3));
  ts::Path path;
  path.setWaypoints({ts::Vector(7, 8)});
  object.setPath(path);
  std::stringstream stream = binaryStream();
  object.serialize(stream, ts::SPEED_ATTR | ts::DIRECTION_ATTR | ts::PATH_ATTR | ts::FOLLOW_PATH_ATTR);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 4u + 8 + 4 + 1 + 8 + 8);
  EXPECT_EQ(rawAt<float>(bytes, 8), 1.0f);   // direction y
  EXPECT_EQ(rawAt<float>(bytes, 12), 3.0f);  // speed
  EXPECT_EQ(bytes[16], 0);                   // follow_path
  EXPECT_EQ(rawAt<uint64_t>(bytes, 17), 1u);
  EXPECT_EQ(rawAt<float>(bytes, 25), 7.0f);
}

TEST_F(SerializationTest, RoundTripIntoAFreshObject) {
  ts::Object source;
  source.setType("Note");
  source.setActive(false);
  source.setVisible(false);
  source.registerInterest("ts-step");
  source.registerInterest("game-event");
  source.setBox(ts::Box(ts::Vector(-1, -2), 3, 4));
  source.setPosition(ts::Vector(5, 6));
  source.setAltitude(3);
  source.setSolidness(ts::SOFT);
  source.setNoSoft(true);
  source.setVelocity(ts::Vector(0.5f, 0));
  source.setAcceleration(ts::Vector(0, 0.25f));
  ts::Shape shape;
  shape.setType(ts::SQUARE);
  shape.setSize(9);
  source.setShape(shape);
  ts::Path path;
  path.setWaypoints({ts::Vector(1, 1), ts::Vector(2, 2)});
  source.setPath(path);
  source.setAvoidCollisions(true);
  std::stringstream stream = binaryStream();
  ASSERT_EQ(source.serialize(stream, 0), 0);

  ts::Object reader;
  reader.registerInterest("old-event");
  unsigned int mask = 0;
  EXPECT_EQ(reader.deserialize(stream, &mask), 0);
  EXPECT_EQ(mask, 0x3FFFFu);
  EXPECT_EQ(reader.getModified(), 0u);
  EXPECT_EQ(reader.getId(), source.getId());
  EXPECT_EQ(reader.getType(), "Note");
  EXPECT_FALSE(reader.isActive());
  EXPECT_FALSE(reader.isVisible());
  ASSERT_EQ(reader.getEventCount(), 2);
  EXPECT_EQ(reader.getEventName(0), "ts-step");
  EXPECT_EQ(reader.getEventName(1), "game-event");
  EXPECT_EQ(reader.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));  // the empty animation's box
  EXPECT_EQ(reader.getPosition(), ts::Vector(5, 6));
  EXPECT_EQ(reader.getAltitude(), 3);
  EXPECT_EQ(reader.getSolidness(), ts::SOFT);
  EXPECT_TRUE(reader.getNoSoft());
  EXPECT_EQ(reader.getVelocity(), ts::Vector(0.5f, 0));
  EXPECT_EQ(reader.getAcceleration(), ts::Vector(0, 0.25f));
  EXPECT_EQ(reader.getShape().toString(), "square, size 9.000000, White, 255");
  EXPECT_EQ(reader.getPath().toString(), "(1,1)|(2,2)|");
  EXPECT_FALSE(reader.getFollowPath());
  EXPECT_TRUE(reader.getAvoidCollisions());
  // The reader's registrations are those of the record, nothing else.
  ts::EventStep step(0);
  reader.setActive(true);
  EXPECT_EQ(ts::GameManager::getInstance().onEvent(&step), 1);
  ts::Event old;
  old.setType("old-event");
  EXPECT_EQ(ts::WorldManager::getInstance().onEvent(&old), 0);
}

TEST_F(SerializationTest, BoxOnlyRecordKeepsTheBox) {
  // A full record's animation resets the box to the animation's (see the
  // round trip); a record holding only the box keeps it.
  ts::Object source;
  source.setBox(ts::Box(ts::Vector(0, 0), 5, 5));
  std::stringstream stream = binaryStream();
  source.serialize(stream, ts::BOX_ATTR);
  ts::Object reader;
  EXPECT_EQ(reader.deserialize(stream), 0);
  EXPECT_EQ(reader.getBox(), ts::Box(ts::Vector(0, 0), 5, 5));
}

TEST_F(SerializationTest, IdCounterMovesPastAHigherId) {
  ts::Object reader;  // id 1
  std::stringstream stream = binaryStream();
  put<uint32_t>(stream, ts::ID_ATTR);
  put<int32_t>(stream, 500);
  EXPECT_EQ(reader.deserialize(stream), 0);
  EXPECT_EQ(reader.getId(), 500);
  ts::Object next;
  EXPECT_EQ(next.getId(), 501);
  std::stringstream lower = binaryStream();
  put<uint32_t>(lower, ts::ID_ATTR);
  put<int32_t>(lower, 7);
  EXPECT_EQ(reader.deserialize(lower), 0);
  EXPECT_EQ(reader.getId(), 7);
  ts::Object after;
  EXPECT_EQ(after.getId(), 502);
}

TEST_F(SerializationTest, EmptyTypeAndDetailedLines) {
  ts::LogManager::getInstance().setLogLevel(25);
  ts::Object reader;
  std::stringstream stream = binaryStream();
  put<uint32_t>(stream, ts::TYPE_ATTR | ts::ALTITUDE_ATTR);
  putString(stream, "");
  put<int32_t>(stream, 9);
  EXPECT_EQ(reader.deserialize(stream), 0);
  EXPECT_EQ(reader.getType(), "");
  EXPECT_EQ(reader.getAltitude(), 2);  // refused by the setter
  std::vector<std::string> lines = log.messages();
  auto has = [&](const std::string &line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(has("Object::deserialize(): attr 320 (" + std::string(23, '0') + "101000000)"));
  EXPECT_TRUE(has("\tTYPE: "));
  EXPECT_TRUE(has("Object::setAltitude(): Altitude 9 not in range [0,4].  Ignored."));
  EXPECT_TRUE(has("\tALTITUDE: 9"));
  EXPECT_TRUE(has("Object::deserialize(): done checking all types."));
}

TEST_F(SerializationTest, ShortStreamAppliesWhatWasReadAndReportsEof) {
  ts::Object source;
  source.setPosition(ts::Vector(3, 4));
  source.setAltitude(1);
  std::stringstream full = binaryStream();
  source.serialize(full, ts::ALTITUDE_ATTR | ts::POSITION_ATTR);
  std::string bytes = full.str();
  std::stringstream stream = binaryStream();
  stream.write(bytes.data(), 4 + 8 + 2);  // mask, position, half the altitude
  ts::Object reader;
  EXPECT_EQ(reader.deserialize(stream), -1);
  EXPECT_EQ(reader.getPosition(), ts::Vector(3, 4));
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Stream eof."));
}

TEST_F(SerializationTest, HostileLengthsAreRefusedWithoutAllocating) {
  ts::Object reader;
  // A type whose length exceeds the stream ends deserialization.
  std::stringstream type = binaryStream();
  put<uint32_t>(type, ts::TYPE_ATTR | ts::ALTITUDE_ATTR);
  put<uint64_t>(type, 0xFFFFFFFFFFFFFFF0ull);
  put<int32_t>(type, 3);
  EXPECT_EQ(reader.deserialize(type), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Cannot allocate -16 bytes."));
  EXPECT_EQ(reader.getType(), "(Undefined)");
  EXPECT_EQ(reader.getAltitude(), 2);

  // An event name that cannot be held is skipped; the loop still ends.
  std::stringstream events = binaryStream();
  put<uint32_t>(events, ts::EVENTS_ATTR);
  put<int32_t>(events, 0x7FFFFFFF);
  put<uint64_t>(events, 1000);
  putString(events, "ok-event");
  EXPECT_EQ(reader.deserialize(events), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Cannot allocate 1000 bytes."));

  // So is an animation name.
  std::stringstream animation = binaryStream();
  put<uint32_t>(animation, ts::ANIMATION_ATTR);
  put<uint64_t>(animation, 1u << 30);
  EXPECT_EQ(reader.deserialize(animation), -1);
  EXPECT_TRUE(log.contains("Animation::deserialize(): Error! Cannot allocate 1073741824 bytes."));

  // And a path with more waypoints than bytes.
  std::stringstream path = binaryStream();
  put<uint32_t>(path, ts::PATH_ATTR);
  put<uint64_t>(path, 100000000);
  EXPECT_EQ(reader.deserialize(path), -1);
  EXPECT_TRUE(reader.getPath().isDone());
}

TEST_F(SerializationTest, EventNamesAreRegisteredAndRefusalsLogged) {
  ts::Object reader;
  std::stringstream stream = binaryStream();
  put<uint32_t>(stream, ts::EVENTS_ATTR);
  put<int32_t>(stream, 3);
  putString(stream, "ts-step");
  putString(stream, "ts-collision");
  putString(stream, std::string("cut\0off", 7));
  EXPECT_EQ(reader.deserialize(stream), 0);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Register interest: ts-collision"));
  ASSERT_EQ(reader.getEventCount(), 2);
  EXPECT_EQ(reader.getEventName(0), "ts-step");
  EXPECT_EQ(reader.getEventName(1), "cut");
}
