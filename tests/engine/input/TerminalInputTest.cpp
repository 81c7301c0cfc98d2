// Terminal input without a terminal: the key decoder on the byte sequences
// terminals send, whole and split at every byte, and garbage; the per-frame
// reader on presses, releases (real or made up), held keys and buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <tessera/system/Clock.h>

#include "input/KeyDecoder.h"
#include "input/TerminalReader.h"

namespace {

using ts::TerminalInput;
namespace Keyboard = ts::Keyboard;

// "KEY 6 0" (key, action), "MOUSE 0 0 10 2" (action, button, column, row),
// "IGNORED", "INTERRUPT", "CLOSED", "PROTOCOL 11".
std::string describe(const TerminalInput &input) {
  if (input.kind == TerminalInput::KEY)
    return "KEY " + std::to_string(input.key) + " " + std::to_string(input.key_action);
  if (input.kind == TerminalInput::MOUSE)
    return "MOUSE " + std::to_string(input.mouse_action) + " " + std::to_string(input.button) + " " +
           std::to_string(input.column) + " " + std::to_string(input.row);
  if (input.kind == TerminalInput::KEYBOARD_PROTOCOL) return "PROTOCOL " + std::to_string(input.flags);
  if (input.kind == TerminalInput::INTERRUPT) return "INTERRUPT";
  return input.kind == TerminalInput::CLOSED ? "CLOSED" : "IGNORED";
}

std::vector<std::string> describeAll(const std::vector<TerminalInput> &inputs) {
  std::vector<std::string> lines;
  for (const TerminalInput &input : inputs) lines.push_back(describe(input));
  return lines;
}

// Whole, then in pieces of one byte; ended by a frame without bytes.
std::vector<std::string> decode(const std::string &bytes, bool byte_by_byte = false) {
  ts::KeyDecoder decoder;
  std::vector<TerminalInput> out;
  if (byte_by_byte)
    for (char byte : bytes) decoder.feed(&byte, 1, out);
  else
    decoder.feed(bytes.data(), bytes.size(), out);
  decoder.expire(out);
  return describeAll(out);
}

std::string press(int key) { return "KEY " + std::to_string(key) + " 0"; }

TEST(KeyDecoder, EveryKeySequenceWholeOrSplit) {
  struct Case {
    std::string bytes;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"\x1b[A\x1b[B\x1b[C\x1b[D",
       {press(Keyboard::UPARROW), press(Keyboard::DOWNARROW), press(Keyboard::RIGHTARROW), press(Keyboard::LEFTARROW)}},
      {"\x1bOA\x1bOD", {press(Keyboard::UPARROW), press(Keyboard::LEFTARROW)}},  // application cursor keys
      {"\x1b[1;5A", {press(Keyboard::UPARROW)}},                                 // with control
      {"12cZ", {press(Keyboard::NUM1), press(Keyboard::NUM2), press(Keyboard::C), press(Keyboard::Z)}},
      {"\x1b", {press(Keyboard::ESCAPE)}},
      {"\x1b\x1b", {press(Keyboard::ESCAPE), press(Keyboard::ESCAPE)}},
      {"\r \t\x7f",
       {press(Keyboard::RETURN), press(Keyboard::SPACE), press(Keyboard::TAB), press(Keyboard::BACKSPACE)}},
      {"\x1bOP\x1b[15~\x1b[24~", {press(Keyboard::F1), press(Keyboard::F5), press(Keyboard::F12)}},
      {"\x1b[3~", {press(Keyboard::UNDEFINED_KEY)}},  // Delete: no engine key
      {"\x03", {"INTERRUPT"}},
      // The keyboard protocol: Escape, 'a' pressed, repeated, released; up released; the answer.
      {"\x1b[27u\x1b[97u\x1b[97;1:2u\x1b[97;1:3u\x1b[1;1:3A\x1b[?11u",
       {press(Keyboard::ESCAPE), press(Keyboard::A), "KEY 36 2", "KEY 36 1", "KEY 6 1", "PROTOCOL 11"}},
      // Mouse: left click at column 11 row 3, release, move, wheel (nothing).
      {"\x1b[<0;11;3M\x1b[<0;11;3m\x1b[<35;20;5M\x1b[<64;1;1M",
       {"MOUSE 0 0 10 2", "MOUSE -1 0 10 2", "MOUSE 2 -1 19 4"}},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(decode(c.bytes), c.expected) << "bytes: " << ts::printableBytes(c.bytes);
    EXPECT_EQ(decode(c.bytes, true), c.expected) << "split bytes: " << ts::printableBytes(c.bytes);
  }
}

TEST(KeyDecoder, GarbageIsSkippedAndWhatFollowsStillReads) {
  // A sequence broken by a control byte, an unknown sequence, a stray UTF-8
  // continuation byte, then an arrow.
  EXPECT_EQ(decode("\x1b[12\x01\x1b[9q\x80\x1b[A"),
            (std::vector<std::string>{"IGNORED", press(Keyboard::A), "IGNORED", "IGNORED", press(Keyboard::UPARROW)}));
  // An endless sequence is dropped once it is longer than any real one.
  ts::KeyDecoder decoder;
  std::vector<TerminalInput> out;
  std::string endless = "\x1b[" + std::string(10000, '1');
  decoder.feed(endless.data(), endless.size(), out);
  decoder.feed("\x1b[B", 3, out);
  EXPECT_EQ(describeAll(out), (std::vector<std::string>{"IGNORED", press(Keyboard::DOWNARROW)}));
  // Random bytes: no crash, nothing kept beyond the bound.
  std::srand(5);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int i = std::rand() % 40; i > 0; --i) bytes += static_cast<char>(std::rand() % 4 ? std::rand() % 256 : 0x1b);
    decoder.feed(bytes.data(), bytes.size(), out);
    ASSERT_LE(out.size(), 100000u);
    if (out.size() > 50000) out.clear();
  }
}

using Frames = std::vector<std::vector<std::string>>;

// A reader given one string of bytes per frame, then one frame without
// bytes, which ends the input if closed_after.
Frames runFrames(const std::vector<std::string> &frames, bool closed_after = false) {
  ts::TerminalReader reader({Keyboard::UPARROW, Keyboard::A, Keyboard::NUM1});
  Frames result;
  for (size_t i = 0; i <= frames.size(); ++i) {
    bool given = false;
    result.push_back(describeAll(reader.readFrame([&](char *buffer, size_t size, std::string &error) -> long {
      if (i == frames.size() && closed_after) error = "end of input";
      if (i == frames.size() || given) return closed_after && i == frames.size() ? -1 : 0;
      given = true;
      EXPECT_LE(frames[i].size(), size);
      return static_cast<long>(frames[i].copy(buffer, frames[i].size()));
    })));
  }
  return result;
}

TEST(TerminalReader, WithoutReleasesAKeyIsReleasedOnTheNextFrameUnlessRepeated) {
  // Frame 0: up pressed. Frame 1: the terminal repeats it (still held).
  // Frame 2: nothing (released). Frame 3: 'a' and F12 (not a held key).
  EXPECT_EQ(runFrames({"\x1b[A", "\x1b[A", "", "a\x1b[24~"}), (Frames{{"KEY 6 0", "KEY 6 2"},
                                                                      {"KEY 6 2"},
                                                                      {"KEY 6 1"},
                                                                      {"KEY 36 0", "KEY 35 0", "KEY 36 2"},
                                                                      {"KEY 35 1", "KEY 36 1"}}));
}

TEST(TerminalReader, WithReleasesKeysStayHeldUntilReleased) {
  EXPECT_EQ(runFrames({"\x1b[?11u\x1b[1u" /* nothing known */, "\x1b[97u", "\x1b[97;1:2u", "", "\x1b[97;1:3u"}),
            (Frames{{"KEY -1 0"}, {"KEY 36 0", "KEY 36 2"}, {"KEY 36 2"}, {"KEY 36 2"}, {"KEY 36 1"}, {}}));
}

TEST(TerminalReader, HeldButtonsClosedTerminalAndInterrupt) {
  EXPECT_EQ(runFrames({"\x1b[<0;5;6M", "\x1b[<32;7;8M", "\x1b[<0;7;8m"}, true),
            (Frames{{"MOUSE 0 0 4 5", "MOUSE 1 0 4 5"}, {"MOUSE 2 -1 6 7", "MOUSE 1 0 6 7"}, {}, {"CLOSED"}}));
  // The interrupt key ends the frame: nothing after it is delivered.
  EXPECT_EQ(runFrames({"1\x03"
                       "2"})[0],
            (std::vector<std::string>{"KEY 62 0", "INTERRUPT"}));
}

// Bytes read while the loop sleeps: delivered by the next frame before what
// is pending then, in the order they came, each input stamped with the read
// that brought its last byte; frames, not reads, still decide when an
// unrepeated key is released and when a lone Escape is complete.
TEST(TerminalReader, SampledInputComesFirstStampedWithItsLastRead) {
  ts::TerminalReader reader({Keyboard::UPARROW, Keyboard::A});
  std::string pending;
  const ts::TerminalReader::ByteSource source = [&](char *buffer, size_t size, std::string &) -> long {
    const size_t count = pending.copy(buffer, size);
    pending.erase(0, count);
    return static_cast<long>(count);
  };
  auto readNow = [&](const std::string &bytes) {
    pending = bytes;
    reader.sample(source);
    return ts::monotonicMicroseconds();
  };
  struct Stamped {
    std::string what;
    int64_t from, to;
  };
  auto expectFrame = [&](const std::vector<Stamped> &expected, const char *which) {
    const std::vector<TerminalInput> got = reader.readFrame(source);
    const int64_t end = ts::monotonicMicroseconds();
    ASSERT_EQ(describeAll(got).size(), expected.size()) << which;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(describe(got[i]), expected[i].what) << which << ", input " << i;
      EXPECT_GE(got[i].time, expected[i].from) << which << ", input " << i;
      EXPECT_LE(got[i].time, expected[i].to ? expected[i].to : end) << which << ", input " << i;
    }
  };

  pending = "a";
  const int64_t t0 = ts::monotonicMicroseconds();
  expectFrame({{"KEY 36 0", t0, 0}, {"KEY 36 2", t0, 0}}, "frame 1");
  const int64_t t1 = readNow("\x1b[");  // the first half of an arrow
  const int64_t t2 = readNow("A1");     // its end, and '1'
  readNow("");
  const int64_t t3 = readNow("\x1b[<0;5;6M");  // a click
  pending = "\x1b[B";                          // still pending at the frame
  // 'a' was not repeated: released at this frame, as without sampling.
  expectFrame({{"KEY 36 1", t3, 0},
               {"KEY 6 0", t1, t2},
               {"KEY 62 0", t1, t2},
               {"MOUSE 0 0 4 5", t2, t3},
               {"KEY 7 0", t3, 0},
               {"MOUSE 1 0 4 5", t3, 0},
               {"KEY 6 2", t3, 0}},
              "frame 2");
  // A lone Escape read during the sleep is complete only after a frame
  // without bytes, and then carries the time it came.
  const int64_t t4 = ts::monotonicMicroseconds();
  const int64_t t5 = readNow("\x1b");
  readNow("");
  expectFrame({{"KEY 6 1", t5, 0}, {"KEY 7 1", t5, 0}, {"KEY 62 1", t5, 0}, {"MOUSE 1 0 4 5", t5, 0}}, "frame 3");
  expectFrame({{"KEY 2 0", t4, t5}, {"MOUSE 1 0 4 5", t5, 0}}, "frame 4");
}

}  // namespace
