#include "audio/OggScan.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <tessera/system/ReadOnlyFile.h>

namespace ts {

namespace {

// A page header: "OggS", version, flags, granule position (8 bytes), serial
// number, page number, checksum (4 bytes each), the number of segments and
// then one length byte per segment.
const int HEADER_BYTES = 27;
const int MAX_SEGMENTS = 255;
const unsigned char END_OF_STREAM = 0x04;

uint32_t little32(const unsigned char *bytes) {
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

int64_t little64(const unsigned char *bytes) {
  return static_cast<int64_t>(little32(bytes) | (static_cast<uint64_t>(little32(bytes + 4)) << 32));
}

// Reads the file through a block of its own: a file of tiny pages would
// otherwise cost a system call for each page header.
class BlockReader {
 public:
  explicit BlockReader(const ReadOnlyFile &file) : m_file(file), m_block(BLOCK_BYTES), m_start(0), m_length(0) {}

  // Like ReadOnlyFile::readAt: the bytes read, fewer at the file's end.
  long readAt(int64_t position, unsigned char *out, size_t size) {
    if (position < m_start || position + static_cast<int64_t>(size) > m_start + m_length) {
      const long got = m_file.readAt(position, m_block.data(), m_block.size());
      m_start = position;
      m_length = got > 0 ? got : 0;
    }
    const int64_t available = m_start + m_length - position;
    if (available <= 0) return 0;
    const size_t count = std::min(size, static_cast<size_t>(available));
    std::memcpy(out, m_block.data() + (position - m_start), count);
    return static_cast<long>(count);
  }

 private:
  static const size_t BLOCK_BYTES = 64 * 1024;
  const ReadOnlyFile &m_file;
  std::vector<char> m_block;
  int64_t m_start;
  int64_t m_length;
};

}  // namespace

OggScan OggScan::of(const ReadOnlyFile &file) {
  OggScan scan;
  scan.m_end = file.getSize();
  BlockReader reader(file);
  unsigned char page[HEADER_BYTES + MAX_SEGMENTS];
  int64_t position = 0;
  uint32_t serial = 0;
  for (;;) {
    const long got = reader.readAt(position, page, sizeof page);
    if (got < HEADER_BYTES || std::memcmp(page, "OggS", 4) != 0 || page[4] != 0 || got < HEADER_BYTES + page[26]) {
      // Anything but a page after the first one is where the stream ends.
      if (position > 0) scan.m_end = position;
      break;
    }
    int64_t body = 0;
    for (int i = 0; i < page[26]; ++i) body += page[HEADER_BYTES + i];
    const int64_t next = position + HEADER_BYTES + page[26] + body;
    if (position == 0) {
      scan.m_is_ogg = true;
      serial = little32(page + 14);
      if (!scan.readIdentification(file, position + HEADER_BYTES + page[26])) break;
    }
    const bool own = little32(page + 14) == serial;
    const int64_t granule = little64(page + 6);
    if (own && granule > 0) scan.m_samples = granule;
    if (next >= file.getSize() || (own && (page[5] & END_OF_STREAM))) {
      scan.m_end = next < file.getSize() ? next : file.getSize();
      break;
    }
    position = next;
  }
  if (scan.m_is_ogg && scan.m_problem.empty()) scan.check();
  return scan;
}

// The first packet of a Vorbis stream: type 1, "vorbis", the version (4
// bytes), the channels (1 byte) and the sample rate (4 bytes).
bool OggScan::readIdentification(const ReadOnlyFile &file, int64_t body) {
  unsigned char packet[16];
  if (file.readAt(body, reinterpret_cast<char *>(packet), sizeof packet) != sizeof packet || packet[0] != 1 ||
      std::memcmp(packet + 1, "vorbis", 6) != 0) {
    m_problem = "an Ogg file without Vorbis sound";
    return false;
  }
  m_channels = packet[11];
  m_rate = static_cast<long>(little32(packet + 12));
  return true;
}

void OggScan::check() {
  if (m_channels < 1 || m_channels > 2)
    m_problem = std::to_string(m_channels) + " channels (music must have 1 or 2)";
  else if (m_rate < MIN_SAMPLE_RATE || m_rate > MAX_SAMPLE_RATE)
    m_problem = "a sample rate of " + std::to_string(m_rate) + " Hz (music must have " +
                std::to_string(MIN_SAMPLE_RATE) + " to " + std::to_string(MAX_SAMPLE_RATE) + ")";
}

}  // namespace ts
