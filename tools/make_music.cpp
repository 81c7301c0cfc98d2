// Writes the game's three music tracks and the calibration's click track as
// Ogg Vorbis files.
//
// The two game tracks take their beats and lengths from the game's own chart
// files (charts/star.chart, charts/la-campanella.chart): every chart entry gets a struck melody note exactly
// when its note crosses the middle of the "Perfect!" rows, so a player who
// hits on the beat scores "Perfect!". The start track is an eight-second
// loop whose every partial completes a whole number of cycles and whose
// struck notes have died away before the loop point, so it repeats
// without a click.
//
// Usage: make_music <sound directory> [<chart directory, default "charts">]
//        make_music --example <directory>   the sound example's loop and blip
// The output is deterministic: the same source gives the same files.

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "play/Beat.h"
#include "songs/Chart.h"
#include "songs/ClickTrack.h"
#include "songs/SongLibrary.h"

namespace {

const int SAMPLE_RATE = 44100;
const double PI = 3.14159265358979323846;

double midiToHertz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// A mono sample buffer with simple instruments that add into it.
class Mix {
 public:
  explicit Mix(double seconds, int rate = SAMPLE_RATE)
      : m_rate(rate), m_samples(static_cast<size_t>(seconds * rate), 0.0f) {}

  int rate() const { return m_rate; }
  size_t size() const { return m_samples.size(); }
  const std::vector<float> &samples() const { return m_samples; }
  std::vector<float> &samples() { return m_samples; }

  // A struck tone: fast attack, exponential decay, a short release that
  // brings it to exactly zero at the end of its duration.
  void pluck(double start, double duration, double midi, double amplitude, double decay = 2.5) {
    const double hz = midiToHertz(midi);
    const double attack = 0.006, release = std::min(0.05, duration * 0.3);
    add(start, duration, [&](double t) {
      double envelope = std::exp(-decay * t);
      if (t < attack) envelope *= t / attack;
      if (t > duration - release) envelope *= std::max(0.0, (duration - t) / release);
      const double phase = 2.0 * PI * hz * t;
      // A few soft harmonics give a bell-like, piano-ish colour.
      const double tone = std::sin(phase) + 0.35 * std::sin(2.0 * phase) * std::exp(-3.0 * t) +
                          0.12 * std::sin(3.0 * phase) * std::exp(-6.0 * t);
      return amplitude * envelope * tone;
    });
  }

  // A soft sustained chord tone with slow swells in and out.
  void pad(double start, double duration, double midi, double amplitude) {
    const double hz = midiToHertz(midi);
    const double ramp = std::min(0.4, duration * 0.4);
    add(start, duration, [&](double t) {
      double envelope = 1.0;
      if (t < ramp) envelope = t / ramp;
      if (t > duration - ramp) envelope = std::min(envelope, (duration - t) / ramp);
      const double phase = 2.0 * PI * hz * t;
      return amplitude * envelope * (std::sin(phase) + 0.2 * std::sin(2.0 * phase));
    });
  }

  // A low thump that falls in pitch, marking a beat.
  void kick(double start, double amplitude) {
    double phase = 0.0;
    add(start, 0.18, [&](double t) {
      const double hz = 45.0 + 90.0 * std::exp(-30.0 * t);
      phase += 2.0 * PI * hz / m_rate;
      const double envelope = std::exp(-18.0 * t) * std::min(1.0, t / 0.002);
      return amplitude * envelope * std::sin(phase);
    });
  }

  // A short bright tick of filtered noise, for off-beats.
  void tick(double start, double amplitude) {
    float previous = 0.0f;
    add(start, 0.04, [&](double t) {
      const float noise = nextNoise();
      const float bright = noise - previous;  // first difference: a high-pass
      previous = noise;
      return amplitude * std::exp(-90.0 * t) * bright;
    });
  }

  // A metronome click: a tone with a touch of noise that starts at full
  // strength on its very first sample, so the moment it sounds is exact,
  // and dies away within 40 ms.
  void click(double start, double hz, double amplitude) {
    add(start, 0.04, [&](double t) {
      const double tone = std::sin(2.0 * PI * hz * t) + 0.3 * nextNoise();
      const double release = std::min(1.0, (0.04 - t) / 0.01);
      return amplitude * std::exp(-120.0 * t) * release * tone;
    });
  }

  // Scales the whole buffer to a peak of 0.85 and fades the last part out.
  void finish(double fade_seconds) {
    float peak = 0.0f;
    for (float s : m_samples) peak = std::max(peak, std::fabs(s));
    const float gain = peak > 0.0f ? 0.85f / peak : 1.0f;
    const size_t fade = std::min(m_samples.size(), toSample(fade_seconds));
    for (size_t i = 0; i < m_samples.size(); ++i) {
      float s = m_samples[i] * gain;
      const size_t from_end = m_samples.size() - i;
      if (from_end <= fade) s *= static_cast<float>(from_end - 1) / static_cast<float>(fade);
      m_samples[i] = s;
    }
  }

 private:
  size_t toSample(double seconds) const { return static_cast<size_t>(std::llround(seconds * m_rate)); }

  // Mixes in a sound of the given length from start, one sample at a time in
  // order: voice(t) is its value t seconds in. What would fall past the end
  // of the track is left out.
  template <typename Voice>
  void add(double start, double seconds, Voice voice) {
    const size_t first = toSample(start);
    const size_t count = toSample(seconds);
    for (size_t i = 0; i < count && first + i < m_samples.size(); ++i)
      m_samples[first + i] += static_cast<float>(voice(static_cast<double>(i) / m_rate));
  }

  float nextNoise() {
    m_noise_state = m_noise_state * 1664525u + 1013904223u;
    return static_cast<float>(m_noise_state >> 8) / static_cast<float>(1u << 24) * 2.0f - 1.0f;
  }

  int m_rate;
  std::vector<float> m_samples;
  uint32_t m_noise_state = 12345u;
};

// A chord as MIDI notes: root, third, fifth.
struct Chord {
  int root;
  int third;
  int fifth;
};

std::vector<double> beatsOf(const Chart &chart) {
  std::vector<double> beats;
  for (int32_t entry : chart.getSteps()) beats.push_back(beat::secondsOf(entry));
  return beats;
}

// "Star": a bright tune in D major, one melody note on each of its 48 beats.
Mix composeStar(const Chart &chart) {
  const std::vector<double> beats = beatsOf(chart);
  const double song_length = chart.getSeconds();
  Mix mix(song_length);
  const Chord chords[4] = {{50, 54, 57}, {47, 50, 54}, {43, 47, 50}, {45, 49, 52}};  // D Bm G A
  // D major scale from D4 upwards: D E F# G A B C# D E F# G A.
  const int scale[] = {62, 64, 66, 67, 69, 71, 73, 74, 76, 78, 79, 81};
  const int melody[48] = {4, 2, 4, 7, 5, 4, 2, 1, 3, 4, 5, 7,  6, 4, 1, 4,  //
                          7, 9, 8, 7, 5, 8, 7, 5, 3, 5, 7, 8,  6, 5, 4, 1,  //
                          4, 2, 4, 7, 8, 7, 5, 2, 3, 5, 7, 10, 8, 6, 4, 7};
  const double beat_length = beats[1] - beats[0];
  for (size_t i = 0; i < beats.size(); ++i) {
    const double t = beats[i];
    const bool last = i + 1 == beats.size();
    mix.pluck(t, last ? 0.9 : beat_length * 0.95, scale[melody[i]], 0.30, last ? 1.2 : 3.0);
    // A quiet answering note half a beat later, except at the end.
    if (i % 4 == 1 && !last) mix.pluck(t + beat_length * 0.5, beat_length * 0.45, scale[melody[i]] + 7, 0.08);
    if (i % 2 == 0) mix.kick(t, 0.35);
    mix.tick(t + beat_length * 0.5, 0.05);
    if (i % 4 == 0) {
      const Chord &c = chords[(i / 4) % 4];
      const double length = last ? 1.0 : beat_length * 4.0;
      mix.pluck(t, length, c.root - 12, 0.22, 1.0);
      mix.pad(t, length, c.root, 0.05);
      mix.pad(t, length, c.third, 0.04);
      mix.pad(t, length, c.fifth, 0.04);
    }
  }
  // The final chord rings out under the last note.
  const double end = beats.back();
  for (int note : {50, 57, 62, 66}) mix.pluck(end, song_length - end, note, 0.10, 1.5);
  mix.finish(0.3);
  return mix;
}

// The second track: a slow bell theme in A minor on the first seventeen
// beats, a held dominant chord over the pause in the chart, then racing
// sixteenth-note arpeggios, one per chart entry.
Mix composeCampanella(const Chart &chart) {
  const std::vector<double> beats = beatsOf(chart);
  Mix mix(chart.getSeconds());
  const size_t theme_notes = 17;
  // Bell theme: A minor, high register.
  const int theme[theme_notes] = {81, 76, 81, 84, 83, 81, 79, 76, 77, 76, 74, 72, 71, 72, 74, 76, 69};
  const Chord theme_chords[5] = {{45, 48, 52}, {41, 45, 48}, {43, 47, 50}, {40, 44, 47}, {45, 48, 52}};
  for (size_t i = 0; i < theme_notes; ++i) {
    const double length = (i + 1 < theme_notes) ? beats[i + 1] - beats[i] : 1.2;
    mix.pluck(beats[i], length * 0.98, theme[i], 0.28, 2.0);
    mix.pluck(beats[i], length * 0.98, theme[i] + 12, 0.05, 4.0);
    if (i % 4 == 0) {
      const Chord &c = theme_chords[std::min<size_t>(i / 4, 4)];
      const double chord_end = (i + 4 < theme_notes) ? beats[i + 4] : beats[theme_notes - 1] + 1.2;
      mix.pluck(beats[i], chord_end - beats[i], c.root - 12, 0.2, 1.2);
      mix.pad(beats[i], chord_end - beats[i], c.third, 0.04);
      mix.pad(beats[i], chord_end - beats[i], c.fifth, 0.04);
    }
  }
  // The held dominant (E7) between the theme and the run.
  const double hold_start = beats[theme_notes - 1] + 0.6;
  const double hold_end = beats[theme_notes];
  for (int note : {40, 52, 56, 59, 62}) mix.pad(hold_start, hold_end - hold_start, note, 0.05);

  // The run: eight notes per chord, up and down through its tones.
  const Chord run_chords[8] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62},
                               {50, 53, 57}, {52, 56, 59}, {57, 60, 64}, {52, 56, 59}};
  const int shape[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  const size_t run_notes = beats.size() - theme_notes;
  for (size_t j = 0; j < run_notes; ++j) {
    const size_t i = theme_notes + j;
    const size_t chord_index = j / 8;
    const bool last = i + 1 == beats.size();
    // The last chord of the run comes home to A minor.
    const Chord &c = (j / 8 == (run_notes - 1) / 8) ? run_chords[0] : run_chords[chord_index % 8];
    const int tones[5] = {c.root, c.third, c.fifth, c.root + 12, c.third + 12};
    const double length = last ? 1.5 : beats[i + 1] - beats[i];
    mix.pluck(beats[i], length * 0.97, tones[shape[j % 8]] + 12, 0.22, last ? 1.0 : 5.0);
    if (j % 4 == 0) mix.kick(beats[i], 0.3);
    if (j % 4 == 2) mix.tick(beats[i], 0.04);
    if (j % 8 == 0 && !last) {
      const double chord_length = 8.0 * length;
      mix.pluck(beats[i], chord_length, c.root - 12, 0.22, 1.0);
      mix.pad(beats[i], chord_length, c.third, 0.03);
    }
  }
  const double end = beats.back();
  for (int note : {45, 57, 60, 64, 69}) mix.pluck(end, 40.0 - end, note, 0.09, 1.2);
  mix.finish(0.3);
  return mix;
}

// The start screen's loop: eight seconds of a calm pad and a slow
// arpeggio. Every pad partial is a whole multiple of 1/8 Hz, so it
// completes whole cycles in the loop and starts and ends at zero, and
// every struck note has ended before the loop point.
Mix composeStartLoop() {
  const double loop_seconds = 8.0;
  Mix mix(loop_seconds);
  const size_t n = mix.size();
  auto loopFrequency = [&](double midi) { return std::round(midiToHertz(midi) * loop_seconds) / loop_seconds; };
  // Pad: C major 7 voicing, each partial with a swell that also repeats
  // exactly once per loop.
  const double pad_notes[] = {48, 55, 59, 64};
  for (size_t k = 0; k < 4; ++k) {
    const double hz = loopFrequency(pad_notes[k]);
    for (size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / mix.rate();
      const double swell = 0.75 + 0.25 * std::cos(2.0 * PI * (t / loop_seconds) * (k % 2 + 1));
      mix.samples()[i] += static_cast<float>(0.06 * swell * std::sin(2.0 * PI * hz * t));
    }
  }
  // Arpeggio: sixteen notes, half a second apart, the last ending early.
  const int arpeggio[16] = {60, 64, 67, 71, 72, 71, 67, 64, 57, 60, 64, 67, 65, 64, 62, 59};
  for (int i = 0; i < 16; ++i) {
    const double start = 0.05 + 0.5 * i;
    const double length = std::min(0.9, loop_seconds - 0.05 - start);
    mix.pluck(start, length, arpeggio[i] + 12, 0.18, 3.0);
  }
  mix.finish(0.0);
  return mix;
}

// The calibration's click track: soft, low count-in clicks, then the bright
// clicks the player taps along with (rhythm/songs/ClickTrack.h).
Mix composeClickTrack() {
  Mix mix(click_track::LENGTH_SECONDS);
  for (int k = 0; k < click_track::COUNT_IN_CLICKS; ++k)
    mix.click((click_track::FIRST_COUNT_IN_MS + k * click_track::INTERVAL_MS) / 1000.0, 1000.0, 0.5);
  for (double click_ms : click_track::tappedClicksMs()) mix.click(click_ms / 1000.0, 2000.0, 1.0);
  mix.finish(0.0);
  return mix;
}

// The sound example's two files (examples/sound/data), kept small: a low
// rate and little length.
const int EXAMPLE_RATE = 11025;

// A loop of a second and a half: a soft chord whose partials complete whole
// cycles in the loop (the start loop's way of joining without a click), and
// three struck notes that have died away before the loop point.
Mix composeExampleLoop() {
  const double loop_seconds = 1.5;
  Mix mix(loop_seconds, EXAMPLE_RATE);
  for (double midi : {57.0, 64.0, 69.0}) {
    const double hz = std::round(midiToHertz(midi) * loop_seconds) / loop_seconds;
    for (size_t i = 0; i < mix.size(); ++i)
      mix.samples()[i] += static_cast<float>(0.08 * std::sin(2.0 * PI * hz * static_cast<double>(i) / mix.rate()));
  }
  const int melody[3] = {81, 85, 88};
  for (int k = 0; k < 3; ++k) mix.pluck(0.02 + 0.5 * k, 0.45, melody[k], 0.25, 4.0);
  mix.finish(0.0);
  return mix;
}

// A short high blip for the example's sound effect.
Mix composeExampleBlip() {
  Mix mix(0.15, EXAMPLE_RATE);
  mix.pluck(0.0, 0.15, 84, 0.5, 20.0);
  mix.finish(0.0);
  return mix;
}

bool writeOgg(const Mix &mix, const std::string &path, const char *title, int serial) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "make_music: cannot write '%s'\n", path.c_str());
    return false;
  }
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, mix.rate(), 0.3f) != 0) {
    std::fprintf(stderr, "make_music: encoder set-up failed\n");
    std::fclose(file);
    return false;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", title);
  vorbis_comment_add_tag(&comment, "ARTIST", "Tessera rhythm game");
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial);

  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) != 0) {
    std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file);
    std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file);
  }

  const std::vector<float> &samples = mix.samples();
  const size_t chunk = 4096;
  bool end_of_stream = false;
  for (size_t offset = 0; offset <= samples.size() && !end_of_stream;) {
    const size_t count = std::min(chunk, samples.size() - offset);
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // no more input: flush the encoder
    } else {
      float **buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      std::copy(samples.begin() + static_cast<long>(offset), samples.begin() + static_cast<long>(offset + count),
                buffer[0]);
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (!end_of_stream && ogg_stream_pageout(&stream, &page) != 0) {
          std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file);
          std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file);
          if (ogg_page_eos(&page)) end_of_stream = true;
        }
      }
    }
    if (count == 0) break;
    offset += count;
  }

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  const bool ok = std::fclose(file) == 0;
  if (ok) std::printf("wrote %s (%.2f s)\n", path.c_str(), static_cast<double>(samples.size()) / mix.rate());
  return ok;
}

// A game chart, which must give its length; false after saying why not.
bool readChart(const std::string &path, Chart &chart) {
  chart = Chart::readFile(path);
  const std::string problem = !chart.isValid() ? chart.getError() : chart.getSeconds() == 0 ? "no seconds given" : "";
  if (!problem.empty()) std::fprintf(stderr, "make_music: %s: %s\n", path.c_str(), problem.c_str());
  return problem.empty();
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make_music <sound directory> [<chart directory>] | --example <directory>\n");
    return 2;
  }
  if (std::string(argv[1]) == "--example" && argc == 3) {
    const std::string dir = argv[2];
    const bool ok = writeOgg(composeExampleLoop(), dir + "/loop.ogg", "Loop", 201);
    return writeOgg(composeExampleBlip(), dir + "/blip.ogg", "Blip", 202) && ok ? 0 : 1;
  }
  const std::string dir = argv[1];
  const std::string chart_dir = argc == 3 ? argv[2] : SongLibrary::GAME_FOLDER;
  Chart star, campanella;
  if (!readChart(chart_dir + "/star.chart", star) || !readChart(chart_dir + "/la-campanella.chart", campanella))
    return 1;
  bool ok = writeOgg(composeStartLoop(), dir + "/BGM_Start.ogg", "Start", 101);
  ok = writeOgg(composeStar(star), dir + "/BGM1_Star.ogg", "Star", 102) && ok;
  ok = writeOgg(composeCampanella(campanella), dir + "/BGM2_La Campanella.ogg", "La Campanella", 103) && ok;
  ok = writeOgg(composeClickTrack(), dir + "/Click_Track.ogg", "Click track", 104) && ok;
  return ok ? 0 : 1;
}
