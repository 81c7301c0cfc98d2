/// @file
/// Helpers for the engine's byte streams (object records): raw values in the
/// machine's byte order, length-prefixed strings, and the check that ends
/// every write and read.
#ifndef TS_STREAM_H
#define TS_STREAM_H

#include <cstdint>
#include <sstream>
#include <string>

namespace ts {

template <typename T>
/// Appends value's bytes as they are in memory.
void writeRaw(std::stringstream &stream, const T &value) {
  stream.write(reinterpret_cast<const char *>(&value), sizeof(T));
}
template <typename T>
/// Reads sizeof(T) bytes into value; a short stream sets its error state.
void readRaw(std::stringstream &stream, T &value) {
  stream.read(reinterpret_cast<char *>(&value), sizeof(T));
}
/// Appends a 64-bit length, then the bytes of text.
void writeString(std::stringstream &stream, const std::string &text);
/// Bytes a stream still holds after its read position; 0 for a failed stream.
uint64_t bytesRemaining(std::stringstream &stream);

/// 0 if the stream is good, else -1 and one log line naming the label and
/// the trouble ("<label>: Error! Stream eof.", "... fail.", "... bad.").
int streamCheck(const std::string &label, const std::stringstream &stream);

// Raw values one after another, then streamCheck() under the label.
template <typename... Values>
/// Raw values one after another, then streamCheck() under the label.
int writeRecord(std::stringstream &stream, const char *label, const Values &...values) {
  (writeRaw(stream, values), ...);
  return streamCheck(label, stream);
}
template <typename... Values>
/// Reads raw values one after another, then streamCheck() under the label.
int readRecord(std::stringstream &stream, const char *label, Values &...values) {
  (readRaw(stream, values), ...);
  return streamCheck(label, stream);
}

}  // namespace ts

#endif
