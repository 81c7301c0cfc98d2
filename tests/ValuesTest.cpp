// Value types: Vector, Box, Frame, Sprite, Animation, Path and Shape,
// including their stream records.
#include <cstring>

#include "Animation.h"
#include "Box.h"
#include "Frame.h"
#include "Path.h"
#include "Shape.h"
#include "Sprite.h"
#include "TestSupport.h"
#include "Vector.h"

using testing_support::LogCapture;

namespace {

std::stringstream binaryStream() { return std::stringstream(std::ios::in | std::ios::out | std::ios::binary); }

template <typename T>
T rawAt(const std::string &bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

}  // namespace

TEST(Vector, ArithmeticAndText) {
  ts::Vector v(3, 4);
  EXPECT_EQ(v.getMagnitude(), 5.0f);
  EXPECT_EQ(ts::Vector(-3, 4).getMagnitude(), 5.0f);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
  ts::Vector zero;
  zero.normalize();
  EXPECT_EQ(zero, ts::Vector(0, 0));
  EXPECT_EQ(ts::Vector(0.0f, 1), ts::Vector(-0.0f, 1));
  EXPECT_FALSE(ts::Vector(0.0f, 1) != ts::Vector(-0.0f, 1));
  EXPECT_TRUE(ts::Vector(1, 2) != ts::Vector(1, 3));
  ts::Vector sum = ts::Vector(1, 2) + ts::Vector(3, 4);
  sum += ts::Vector(1, 1);
  EXPECT_EQ(sum, ts::Vector(5, 7));
  EXPECT_EQ(ts::Vector(1, 2) - ts::Vector(3, 5), ts::Vector(-2, -3));
  sum.scale(2);
  EXPECT_EQ(sum, ts::Vector(10, 14));
  EXPECT_EQ(ts::Vector(2, 0).toString(), "(2,0)");
  EXPECT_EQ(ts::Vector(0.25f, -1).toString(), "(0.25,-1)");
  EXPECT_EQ(ts::Vector(1, 2.5f).toString(), "(1,2.5)");
}

TEST(Vector, StreamRecordIsBitExact) {
  std::stringstream stream = binaryStream();
  ts::Vector v(-0.0f, 1.0e-30f);
  EXPECT_EQ(v.serialize(stream), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 8u);
  EXPECT_EQ(rawAt<uint32_t>(bytes, 0), 0x80000000u);
  ts::Vector back(5, 5);
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0);
}

TEST(Vector, ShortStreamReportsEof) {
  LogCapture log;
  log.start();
  std::stringstream stream = binaryStream();
  stream.write("123456", 6);
  ts::Vector v;
  EXPECT_EQ(v.deserialize(stream), -1);
  EXPECT_EQ(log.messages(), std::vector<std::string>{"Vector::deserialize(): Error! Stream eof."});
}

TEST(Box, EqualityTextAndRecord) {
  ts::Box box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  EXPECT_EQ(box.toString(), "(-0.5,-0.5) h: 0.99 v: 0.99");
  EXPECT_EQ(ts::Box().toString(), "(0,0) h: 0 v: 0");
  EXPECT_FALSE(box == ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 1));
  std::stringstream stream = binaryStream();
  EXPECT_EQ(box.serialize(stream), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(rawAt<float>(bytes, 0), -0.5f);
  EXPECT_EQ(rawAt<float>(bytes, 8), 0.99f);
  ts::Box back;
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_TRUE(back == box);
  LogCapture log;
  log.start();
  EXPECT_EQ(back.deserialize(stream), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Vector::deserialize(): Error! Stream eof.",
                                                      "Box::deserialize(): Error! Stream eof."}));
}

TEST(Sprite, FramesAndCapacity) {
  ts::Sprite sprite(2);
  EXPECT_EQ(sprite.getLabel(), "[Undefined]");
  EXPECT_EQ(sprite.getColor(), ts::WHITE);
  EXPECT_EQ(sprite.getSlowdown(), 1);
  EXPECT_EQ(sprite.getTransparency(), 0);
  EXPECT_EQ(sprite.addFrame(ts::Frame(2, 1, "ab")), 0);
  EXPECT_EQ(sprite.addFrame(ts::Frame(2, 1, "cd")), 0);
  EXPECT_EQ(sprite.addFrame(ts::Frame(2, 1, "ef")), -1);
  EXPECT_EQ(sprite.getFrameCount(), 2);
  EXPECT_EQ(sprite.getFrame(1).getString(), "cd");
  EXPECT_EQ(sprite.getFrame(2).getString(), "");
  EXPECT_EQ(sprite.getFrame(-1).getWidth(), 0);
  EXPECT_EQ(sprite.draw(5, ts::Vector(1, 1), 0), 0);  // empty frame draws nothing
  ts::Sprite none(0);
  EXPECT_EQ(none.addFrame(ts::Frame()), -1);
  ts::Sprite negative(-5);
  EXPECT_EQ(negative.getMaxFrameCount(), 0);
  EXPECT_EQ(negative.addFrame(ts::Frame()), -1);
}

TEST(Frame, ShortFrameStringIsNotRead) {
  // Built by hand with fewer characters than width x height: nothing is drawn.
  ts::Frame frame(4, 4, "ab");
  EXPECT_EQ(frame.draw(ts::Vector(1, 1), ts::WHITE, 0), 0);
  EXPECT_EQ(ts::Frame().draw(ts::Vector(1, 1), ts::WHITE, 0), 0);
}

TEST(Animation, AdvancesAtTheSpritesSlowdown) {
  ts::Sprite sprite(3);
  for (const char *text : {"a", "b", "c"}) sprite.addFrame(ts::Frame(1, 1, text));
  sprite.setSlowdown(2);
  sprite.setLabel("abc");
  ts::Animation animation;
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getName(), "abc");
  std::vector<int> shown;
  for (int i = 0; i < 6; ++i) {
    shown.push_back(animation.getIndex());
    animation.draw(ts::Vector(1, 1));  // nothing to draw on, but it still advances
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 1, 1, 2, 2}));
  EXPECT_EQ(animation.getIndex(), 0);

  sprite.setSlowdown(0);
  for (int i = 0; i < 2; ++i) animation.draw(ts::Vector(1, 1));
  EXPECT_EQ(animation.getIndex(), 2);

  animation.setSlowdownCount(-1);
  for (int i = 0; i < 5; ++i) animation.draw(ts::Vector(1, 1));
  EXPECT_EQ(animation.getIndex(), 2);
  EXPECT_EQ(animation.getSlowdownCount(), -1);

  animation.setSprite(nullptr);
  EXPECT_EQ(animation.getName(), "abc");  // a null sprite keeps the name
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.draw(ts::Vector(1, 1)), 0);
}

TEST(Animation, BoxAndText) {
  ts::Animation animation;
  EXPECT_EQ(animation.getBox(), ts::Box(ts::Vector(-0.5f, -0.5f), 0.99f, 0.99f));
  ts::Sprite sprite(1);
  sprite.setWidth(4);
  sprite.setHeight(2);
  sprite.setLabel("note_up");
  animation.setSprite(&sprite);
  EXPECT_EQ(animation.getBox(), ts::Box(ts::Vector(-2, -1), 4, 2));
  animation.setIndex(3);
  EXPECT_EQ(animation.toString(), "sprite note_up, frame_idx 3");
  animation.setIndex(-2);
  EXPECT_EQ(animation.toString(), "sprite note_up, frame_idx -2");
}

TEST(Animation, RecordRoundTrip) {
  ts::Sprite sprite(1);
  sprite.setLabel("star");
  ts::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(7);
  animation.setSlowdownCount(-1);
  std::stringstream stream = binaryStream();
  EXPECT_EQ(animation.serialize(stream), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 8u + 4u + 4u + 4u);
  EXPECT_EQ(rawAt<uint64_t>(bytes, 0), 4u);
  EXPECT_EQ(bytes.substr(8, 4), "star");
  EXPECT_EQ(rawAt<int32_t>(bytes, 12), 7);
  EXPECT_EQ(rawAt<int32_t>(bytes, 16), -1);
  ts::Animation back;
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(back.getName(), "star");
  EXPECT_EQ(back.getIndex(), 7);
  EXPECT_EQ(back.getSlowdownCount(), -1);
  EXPECT_EQ(back.getSprite(), nullptr);
}

TEST(Animation, LengthBeyondTheStreamIsRefused) {
  LogCapture log;
  log.start();
  std::stringstream stream = binaryStream();
  uint64_t length = 1000000000000ull;
  stream.write(reinterpret_cast<const char *>(&length), sizeof length);
  stream.write("abcd", 4);
  ts::Animation animation;
  EXPECT_EQ(animation.deserialize(stream), -1);
  EXPECT_TRUE(log.contains("Animation::deserialize(): Error! Cannot allocate -727379968 bytes."));
  std::stringstream truncated = binaryStream();
  truncated.write("\x02\x00", 2);
  EXPECT_EQ(animation.deserialize(truncated), -1);
  EXPECT_TRUE(log.contains("Animation::deserialize(): Error! Stream eof."));
}

TEST(Path, CursorAndText) {
  ts::Path path;
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.getWaypoint(), ts::Vector(0, 0));
  EXPECT_EQ(path.toString(), "");
  path.setWaypoints({ts::Vector(1, 2), ts::Vector(3, 4), ts::Vector(5, 6)});
  EXPECT_EQ(path.toString(), "(1,2)|(3,4)|(5,6)|");
  EXPECT_EQ(path.getWaypoint(), ts::Vector(1, 2));
  EXPECT_EQ(path.advance().getIndex(), 1);
  path.advance();
  path.advance();
  EXPECT_TRUE(path.isDone());
  EXPECT_EQ(path.advance().getIndex(), 3);
  EXPECT_EQ(path.getWaypoint(), ts::Vector(0, 0));
  path.setWaypoints({ts::Vector(1, 1), ts::Vector(2, 2), ts::Vector(3, 3), ts::Vector(4, 4)});
  EXPECT_EQ(path.getIndex(), 3);  // the cursor stays
  EXPECT_EQ(path.getWaypoint(), ts::Vector(4, 4));
}

TEST(Path, RecordKeepsTheReadersCursor) {
  ts::Path path;
  path.setWaypoints({ts::Vector(1, 2), ts::Vector(3, 4)});
  path.advance();
  std::stringstream stream = binaryStream();
  EXPECT_EQ(path.serialize(stream), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 8u + 2 * 8u);
  EXPECT_EQ(rawAt<uint64_t>(bytes, 0), 2u);
  EXPECT_EQ(rawAt<float>(bytes, 16), 3.0f);
  ts::Path back;
  back.setWaypoints({ts::Vector(9, 9), ts::Vector(9, 9), ts::Vector(9, 9)});
  back.advance();
  back.advance();
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(back.toString(), "(1,2)|(3,4)|");
  EXPECT_EQ(back.getIndex(), 2);
  EXPECT_TRUE(back.isDone());
}

TEST(Path, CountsTheStreamCannotHoldAreRefused) {
  LogCapture log;
  log.start();
  std::stringstream stream = binaryStream();
  uint64_t count = 0x7fffffffu;
  stream.write(reinterpret_cast<const char *>(&count), sizeof count);
  stream.write("12345678", 8);  // one waypoint's worth
  ts::Path path;
  path.setWaypoints({ts::Vector(1, 1)});
  EXPECT_EQ(path.deserialize(stream), -1);
  EXPECT_TRUE(path.toString().empty());
  EXPECT_TRUE(log.contains("Path::deserialize(): Error! Cannot allocate 2147483647 waypoints."));
  // A count that is negative as a 32-bit number reads no waypoint at all.
  std::stringstream negative = binaryStream();
  count = 0xffffffffu;
  negative.write(reinterpret_cast<const char *>(&count), sizeof count);
  EXPECT_EQ(path.deserialize(negative), 0);
  EXPECT_TRUE(path.toString().empty());
}

TEST(Shape, DefaultsTypeAndText) {
  ts::Shape shape;
  EXPECT_EQ(shape.getType(), ts::CIRCLE);
  EXPECT_EQ(shape.getColor(), ts::WHITE);
  EXPECT_EQ(shape.getOpacity(), 255);
  EXPECT_EQ(shape.getSize(), 24.0f);  // font scale 2 x the 12-pixel cell width
  EXPECT_EQ(shape.toString(), "circle, size 24.000000, White, 255");
  LogCapture log;
  log.start();
  shape.setType(3);
  shape.setType(-2);
  EXPECT_EQ(shape.getType(), ts::CIRCLE);
  shape.setType(-1);
  EXPECT_EQ(shape.getType(), ts::UNDEFINED_SHAPE);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"Shape::setType(): Unknown shape type 3. Ignoring.",
                                                      "Shape::setType(): Unknown shape type -2. Ignoring."}));
  EXPECT_EQ(shape.toString(), "undefined, size 24.000000, White, 255");
}

TEST(Shape, RecordIsThirteenBytesWithoutCustomBytes) {
  ts::Shape shape;
  shape.setType(ts::TRIANGLE);
  shape.setSize(7.5f);
  shape.setColor(ts::CUSTOM);
  shape.setRGB(10, 20, 30);
  shape.setOpacity(128);
  std::stringstream stream = binaryStream();
  EXPECT_EQ(shape.serialize(stream), 0);
  std::string bytes = stream.str();
  ASSERT_EQ(bytes.size(), 13u);
  EXPECT_EQ(rawAt<int32_t>(bytes, 0), 2);
  EXPECT_EQ(rawAt<float>(bytes, 4), 7.5f);
  EXPECT_EQ(rawAt<int32_t>(bytes, 8), 8);
  EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 128);
  ts::Shape back;
  back.setRGB(1, 2, 3);
  EXPECT_EQ(back.deserialize(stream), 0);
  EXPECT_EQ(back.getType(), ts::TRIANGLE);
  EXPECT_EQ(back.getSize(), 7.5f);
  EXPECT_EQ(back.getColor(), ts::CUSTOM);
  EXPECT_EQ(back.getOpacity(), 128);
  EXPECT_EQ(back.getR(), 1);
  EXPECT_EQ(back.toString(), "triangle, size 7.500000, Unknown color, 128");
}
