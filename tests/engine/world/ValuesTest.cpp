// Value types and their stream records.
#include <tessera/graphics/Animation.h>
#include <tessera/graphics/Shape.h>
#include <tessera/world/Path.h>
#include "TestSupport.h"

using namespace testing_support;

TEST(Vector, NormalizeCompareAndText) {
  ts::Vector v(-3, 4), zero;
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), -0.6f);
  zero.normalize();  // no division by zero
  EXPECT_EQ(zero, ts::Vector(0, 0));
  EXPECT_FALSE(ts::Vector(0.0f, 1) != ts::Vector(-0.0f, 1));
}

TEST(Vector, ScalingOnBothSidesAndDivisionByZero) {
  ts::Vector v(3, -1.5f);
  EXPECT_EQ(ts::Vector(6, -3), 2.0f * v);
  EXPECT_EQ(ts::Vector(1.5f, -0.75f), v / 2.0f);
  v *= -2.0f;
  EXPECT_EQ(ts::Vector(-6, 3), v);
  v /= 0.0f;
  EXPECT_EQ(ts::Vector(0, 0), v);
}

TEST(Box, TextAndRecordsOfBoxAndVector) {
  ts::Box box(ts::Vector(-0.0f, 1.0e-30f), 0.99f, 2.5f), back;
  EXPECT_EQ(box.toString(), "(-0,1e-30) h: 0.99 v: 2.5");
  std::string bytes = recordOf(box);
  std::stringstream stream(bytes), short_stream(bytes.substr(0, 6));
  ASSERT_EQ(bytes.size(), 16u);                       // corner x, y, horizontal, vertical
  EXPECT_EQ(rawAt<uint32_t>(bytes, 0), 0x80000000u);  // bit exact: -0 stays -0
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_TRUE(back == box);
  StartedLog log;
  EXPECT_EQ(back.deserialize(short_stream), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Vector::deserialize(): Error! Stream eof.",
                                                      "Box::deserialize(): Error! Stream eof."}));
}

TEST(Sprite, FrameCapacityAndShortFrames) {
  ts::Sprite sprite(1), negative(-5);
  EXPECT_EQ(sprite.addFrame(ts::Frame(2, 1, "ab")), 0);
  EXPECT_EQ(sprite.addFrame(ts::Frame(2, 1, "cd")), -1);
  EXPECT_EQ(negative.addFrame(ts::Frame()), -1);
  EXPECT_EQ(sprite.getFrame(1).draw(ts::Vector(1, 1), ts::WHITE, 0), 0);  // out of range: an empty frame
  // Built by hand with fewer characters than width x height: nothing is read.
  EXPECT_EQ(ts::Frame(4, 4, "ab").draw(ts::Vector(1, 1), ts::WHITE, 0), 0);
}

TEST(Animation, AdvancesAtTheSpritesSlowdownAndTakesItsBox) {
  ts::Animation animation;
  EXPECT_EQ(animation.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  ts::Sprite sprite(3);
  for (const char *text : {"a", "b", "c"}) sprite.addFrame(ts::Frame(1, 1, text));
  sprite.setSlowdown(2);
  sprite.setWidth(4);
  sprite.setHeight(2);
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getBox(), ts::Box(ts::Vector(-2, -1), 4, 2));
  auto drawTimes = [&](int times) {
    for (int i = 0; i < times; ++i) animation.draw(ts::Vector(1, 1));  // nothing to draw on, but it advances
  };
  std::vector<int> shown;
  for (int i = 0; i < 7; ++i, drawTimes(1)) shown.push_back(animation.getIndex());
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 2, 2, 0}));
  sprite.setSlowdown(0);
  drawTimes(2);
  EXPECT_EQ(animation.getIndex(), 2);
  animation.setSlowdownCount(-1);  // frozen
  drawTimes(5);
  EXPECT_EQ(animation.getIndex(), 2);
  animation.setSprite(nullptr);
  EXPECT_EQ(animation.draw(ts::Vector(1, 1)), 0);  // no sprite: nothing to draw, no crash
}

TEST(Animation, RecordRoundTripAndRefusedLengths) {
  ts::Sprite sprite(1);
  sprite.setLabel("star");
  ts::Animation animation, back;
  animation.setSprite(&sprite);
  animation.setIndex(7);
  animation.setSlowdownCount(-1);
  std::string bytes = recordOf(animation);
  std::stringstream stream(bytes);
  ASSERT_EQ(bytes.size(), 8u + 4u + 4u + 4u);  // name length, name, index, slowdown count
  EXPECT_EQ(bytes.substr(8, 4), "star");
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(back.toString(), "sprite star, frame_idx 7");
  EXPECT_EQ(back.getSlowdownCount(), -1);
  StartedLog log;
  std::stringstream hostile = streamOf(uint64_t{1000000000000ull}, int32_t{0});
  EXPECT_EQ(back.deserialize(hostile), -1);
  EXPECT_TRUE(log.contains("Animation::deserialize(): Error! Cannot allocate 1000000000000 bytes."));
  std::stringstream truncated("\x02", std::ios::in | std::ios::binary);
  EXPECT_EQ(back.deserialize(truncated), -1);
  EXPECT_TRUE(log.contains("Animation::deserialize(): Error! Stream eof."));
}

TEST(Path, CursorRecordAndHugeCounts) {
  ts::Path path, back;
  path.setWaypoints({ts::Vector(1, 2), ts::Vector(3, 4)});
  EXPECT_EQ(path.toString(), "(1,2)|(3,4)|");
  path.advance();
  std::string bytes = recordOf(path);
  std::stringstream stream(bytes);
  back.setWaypoints({ts::Vector(9, 9), ts::Vector(9, 9)});
  for (int i = 0; i < 2; ++i) back.advance();
  EXPECT_EQ(back.advance().getIndex(), 2);  // stops at the end
  EXPECT_EQ(back.getWaypoint(), ts::Vector(0, 0));
  EXPECT_EQ(back.deserialize(stream), 0);  // the reader's cursor stays
  EXPECT_EQ(back.toString(), "(1,2)|(3,4)|");
  EXPECT_TRUE(back.isDone());
  back.setWaypoints({ts::Vector(1, 1), ts::Vector(2, 2), ts::Vector(3, 3)});
  EXPECT_EQ(back.getWaypoint(), ts::Vector(3, 3));  // so does setWaypoints()'s
  StartedLog log;
  std::stringstream hostile = streamOf(uint64_t{0x7fffffff}, 1.0f, 2.0f);  // one waypoint's worth
  EXPECT_EQ(back.deserialize(hostile), -1);
  EXPECT_TRUE(back.toString().empty());
  EXPECT_TRUE(log.contains("Path::deserialize(): Error! Cannot allocate 2147483647 waypoints."));
  std::stringstream negative = streamOf(uint64_t{0xffffffff});  // negative as a 32-bit count: no waypoint
  EXPECT_EQ(back.deserialize(negative), 0);
  EXPECT_TRUE(back.toString().empty());
}

TEST(Shape, UnknownTypesAndThirteenByteRecord) {
  StartedLog log;
  ts::Shape shape, back;
  shape.setType(3);
  shape.setType(-2);  // -1 is the undefined shape, below it nothing
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Shape::setType(): Unknown shape type 3. Ignoring.",
                                                      "Shape::setType(): Unknown shape type -2. Ignoring."}));
  shape.setType(ts::TRIANGLE);
  shape.setSize(7.5f);
  shape.setColor(ts::CUSTOM);
  shape.setRGB(10, 20, 30);
  shape.setOpacity(128);
  std::string bytes = recordOf(shape);
  std::stringstream stream(bytes);
  ASSERT_EQ(bytes.size(), 13u);  // type, size, colour, opacity: no custom colour bytes
  back.setRGB(1, 2, 3);
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(back.getR(), 1);
  EXPECT_EQ(back.toString(), "triangle, size 7.500000, Unknown color, 128");
}
