// The object record: exact bytes, round trip, id counter, short or hostile streams.
#include <tessera/core/EventStep.h>
#include <tessera/game/GameManager.h>
#include <tessera/world/WorldManager.h>
#include "TestSupport.h"

using namespace testing_support;

namespace {

class SerializationTest : public testing::Test {
 protected:
  // Deserializes a stream of raw values (a mask first) into the reader.
  template <typename... Values>
  static int readInto(ts::Object &reader, const Values &...values) {
    std::stringstream stream = streamOf(values...);
    return reader.deserialize(stream);
  }
  StartedLog log;
  int world_started = ts::WorldManager::getInstance().startUp();
};

}  // namespace

TEST_F(SerializationTest, PartialRecordsInStreamOrder) {
  ts::Object object;
  object.setPosition(ts::Vector(2.5f, -3));
  std::string bytes = recordOf(object, ts::POSITION_ATTR | ts::ID_ATTR);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(rawAt<uint32_t>(bytes, 0), 0x21u);
  EXPECT_EQ(rawAt<int32_t>(bytes, 4), object.getId());
  EXPECT_EQ(rawAt<float>(bytes, 12), -3.0f);
  EXPECT_EQ(object.getModified(), ts::ALL_OBJECT_ATTR & ~0x21u);  // only the written bits are cleared
}

// Every field with a value of its own (active false, visible true), so that
// two fields trading places in the record cannot go unnoticed; a fresh object
// that reads the record writes the very same bytes back, so every attribute
// reached its own field.
TEST_F(SerializationTest, FullRecordHoldsEveryFieldInStreamOrderAndRoundTrips) {
  ts::Object object;
  object.setType("Note");
  object.setActive(false);
  object.registerInterest("ts-step");
  object.registerInterest("game-event");
  object.setPosition(ts::Vector(5, 6));
  object.setAltitude(3);
  object.setSolidness(ts::SOFT);
  object.setNoSoft(true);
  object.setVelocity(ts::Vector(0.5f, 0));
  object.setAcceleration(ts::Vector(0, 0.25f));
  ts::Shape shape;
  shape.setType(ts::SQUARE);
  object.setShape(shape);
  object.setBox(ts::Box(ts::Vector(-1, -2), 3, 4));  // after the shape, which sets a box of its own
  ts::Path path;
  path.setWaypoints({ts::Vector(1, 1), ts::Vector(2, 2)});
  object.setPath(path);
  object.setAvoidCollisions(true);
  const ts::Animation animation = object.getAnimation();
  const std::string record = recordOf(object, 0);  // a new object has every attribute modified
  EXPECT_EQ(record,
            streamOf(ts::ALL_OBJECT_ATTR, int32_t{object.getId()}, false, true, int32_t{2}, std::string("ts-step"),
                     std::string("game-event"), -1.0f, -2.0f, 3.0f, 4.0f, 5.0f, 6.0f, std::string("Note"),
                     animation.getName(), int32_t{animation.getIndex()}, int32_t{animation.getSlowdownCount()},
                     int32_t{3}, int32_t{ts::SOFT}, true, 1.0f, 0.0f, 0.5f, 0.0f, 0.25f, int32_t{ts::SQUARE},
                     shape.getSize(), static_cast<int32_t>(shape.getColor()), shape.getOpacity(), false, uint64_t{2},
                     1.0f, 1.0f, 2.0f, 2.0f, true)
                .str());
  EXPECT_EQ(recordOf(object, 0), std::string(4, '\0'));  // nothing modified since: only the mask

  // A reader takes the box of the record's animation, so the round trip keeps that box.
  object.setBox(animation.getBox());
  const std::string round_trip = recordOf(object, ts::ALL_OBJECT_ATTR);
  std::stringstream stream(round_trip);
  ts::Object reader;
  reader.registerInterest("old-event");
  unsigned int mask = 0;
  EXPECT_EQ(reader.deserialize(stream, &mask), 0);
  EXPECT_EQ(mask, ts::ALL_OBJECT_ATTR);
  EXPECT_EQ(reader.getModified(), 0u);
  EXPECT_EQ(recordOf(reader, ts::ALL_OBJECT_ATTR), round_trip);
  // The reader's registrations are those of the record, nothing else.
  ts::EventStep step(0);
  reader.setActive(true);
  EXPECT_EQ(ts::GameManager::getInstance().onEvent(&step), 1);
  ts::Event old;
  old.setType("old-event");
  EXPECT_EQ(ts::WorldManager::getInstance().onEvent(&old), 0);
}

TEST_F(SerializationTest, IdCounterMovesPastAHigherId) {
  ts::Object reader;  // id 1
  EXPECT_EQ(readInto(reader, ts::ID_ATTR, int32_t{500}), 0);
  EXPECT_EQ(reader.getId(), 500);
  EXPECT_EQ(ts::Object().getId(), 501);
  EXPECT_EQ(readInto(reader, ts::ID_ATTR, int32_t{7}), 0);
  EXPECT_EQ(reader.getId(), 7);
  EXPECT_EQ(ts::Object().getId(), 502);
}

TEST_F(SerializationTest, PartialAndShortStreamsApplyWhatWasRead) {
  ts::Object reader;
  EXPECT_EQ(readInto(reader, ts::BOX_ATTR, 0.0f, 0.0f, 5.0f, 5.0f), 0);
  EXPECT_EQ(reader.getBox(), ts::Box(ts::Vector(0, 0), 5, 5));  // no animation in the record to reset it
  EXPECT_EQ(readInto(reader, ts::TYPE_ATTR | ts::ALTITUDE_ATTR, uint64_t{0}, int32_t{9}), 0);
  EXPECT_EQ(reader.getType(), "");     // an empty type is taken
  EXPECT_EQ(reader.getAltitude(), 2);  // refused by the setter
  EXPECT_EQ(readInto(reader, ts::POSITION_ATTR | ts::ALTITUDE_ATTR, 3.0f, 4.0f, int16_t{1}), -1);
  EXPECT_EQ(reader.getPosition(), ts::Vector(3, 4));
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Stream eof."));
}

TEST_F(SerializationTest, HostileLengthsAreRefusedWithoutAllocating) {
  ts::Object reader;
  // A type whose length exceeds the stream ends deserialization.
  EXPECT_EQ(readInto(reader, ts::TYPE_ATTR | ts::ALTITUDE_ATTR, uint64_t{0xFFFFFFFFFFFFFFF0ull}, int32_t{3}), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Cannot allocate 18446744073709551600 bytes."));
  EXPECT_EQ(reader.getType(), "(Undefined)");
  EXPECT_EQ(reader.getAltitude(), 2);
  // An event name that cannot be held is skipped; the loop over the huge count still ends.
  EXPECT_EQ(readInto(reader, ts::EVENTS_ATTR, int32_t{0x7FFFFFFF}, uint64_t{1000}, std::string("ok-event")), -1);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Cannot allocate 1000 bytes."));
  EXPECT_EQ(readInto(reader, ts::ANIMATION_ATTR, uint64_t{1u << 30}), -1);
  EXPECT_EQ(readInto(reader, ts::PATH_ATTR, uint64_t{100000000}), -1);  // more waypoints than bytes
  EXPECT_TRUE(reader.getPath().isDone());
}

TEST_F(SerializationTest, EventNamesAreRegisteredAndRefusalsLogged) {
  ts::Object reader;
  EXPECT_EQ(readInto(reader, ts::EVENTS_ATTR, int32_t{3}, std::string("ts-step"), std::string("ts-collision"),
                     std::string("cut\0off", 7)),
            0);
  EXPECT_TRUE(log.contains("Object::deserialize(): Error! Register interest: ts-collision"));
  ASSERT_EQ(reader.getEventCount(), 2);
  EXPECT_EQ(reader.getEventName(0), "ts-step");
  EXPECT_EQ(reader.getEventName(1), "cut");
}
