// What the page headers of an Ogg file tell without decoding any sound: the
// channels and sample rate of its Vorbis stream, its length, and where the
// stream really ends. Data after the last page (junk a file was padded with)
// is left out, so the decoder never scans it looking for the end.
#ifndef TS_OGG_SCAN_H
#define TS_OGG_SCAN_H

#include <cstdint>
#include <string>

namespace ts {

class ReadOnlyFile;

class OggScan {
 public:
  // Music the game accepts: what the sound output mixes (mono or stereo) at
  // a rate a sound card could have.
  static constexpr int MIN_SAMPLE_RATE = 8000;
  static constexpr int MAX_SAMPLE_RATE = 192000;

  // Walks the pages from the start of the file.
  static OggScan of(const ReadOnlyFile &file);

  // False when the file does not start with an Ogg page.
  bool isOgg() const { return m_is_ogg; }
  // Why the stream cannot be played; empty when it can.
  const std::string &getProblem() const { return m_problem; }
  // The offset just past the stream's last page.
  int64_t getEnd() const { return m_end; }
  int getChannels() const { return m_channels; }
  long getSampleRate() const { return m_rate; }
  double getSeconds() const { return m_rate > 0 ? static_cast<double>(m_samples) / m_rate : 0.0; }

 private:
  bool readIdentification(const ReadOnlyFile &file, int64_t body);
  void check();

  bool m_is_ogg = false;
  std::string m_problem;
  int64_t m_end = 0;
  int m_channels = 0;
  long m_rate = 0;
  int64_t m_samples = 0;
};

}  // namespace ts

#endif
