// Ogg files made from the tests' tone (tests/support/data/tone.ogg) for the
// music checks: with other channel counts or rates written into its first
// page (checksum recomputed, so only the checks can tell), or padded with
// zeros after its last page (a sparse file: made at once, whatever its size).
#ifndef TESSERA_TESTS_OGG_FILES_H
#define TESSERA_TESTS_OGG_FILES_H

#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace testing_support {

inline const std::string TONE_OGG = TESSERA_SOURCE_DIR "/tests/support/data/tone.ogg";

inline std::string toneBytes() {
  std::ifstream file(TONE_OGG, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The page checksum: CRC-32 with polynomial 0x04c11db7, no reflection, over
// the page with its checksum field zeroed.
inline uint32_t oggChecksum(const std::string &page) {
  uint32_t crc = 0;
  for (unsigned char byte : page) {
    crc ^= static_cast<uint32_t>(byte) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
  }
  return crc;
}

// The tone with the channel count and sample rate of its identification
// header replaced, written to path.
inline void writeToneWith(const std::string &path, int channels, uint32_t rate) {
  std::string bytes = toneBytes();
  const size_t segments = static_cast<unsigned char>(bytes[26]);
  const size_t body = 27 + segments;  // the identification packet starts the first page's body
  size_t page_length = body;
  for (size_t i = 0; i < segments; ++i) page_length += static_cast<unsigned char>(bytes[27 + i]);
  bytes[body + 11] = static_cast<char>(channels);
  for (int i = 0; i < 4; ++i) bytes[body + 12 + i] = static_cast<char>((rate >> (8 * i)) & 0xff);
  for (int i = 0; i < 4; ++i) bytes[22 + i] = 0;
  const uint32_t crc = oggChecksum(bytes.substr(0, page_length));
  for (int i = 0; i < 4; ++i) bytes[22 + i] = static_cast<char>((crc >> (8 * i)) & 0xff);
  std::ofstream(path, std::ios::binary) << bytes;
}

// The tone followed by zero_bytes of zeros.
inline void writePaddedTone(const std::string &path, long long zero_bytes) {
  std::ofstream(path, std::ios::binary) << toneBytes();
  if (::truncate(path.c_str(), static_cast<off_t>(toneBytes().size() + zero_bytes)) != 0) std::remove(path.c_str());
}

}  // namespace testing_support

#endif
