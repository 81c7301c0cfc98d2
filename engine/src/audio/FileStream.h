// A sound file handed to the media library as a stream, after the checks a
// file from the player's folders needs: a regular file (never waited on), at
// most the size given, and for Ogg a stream the sound output can play. The
// library sees the file only up to the Ogg stream's last page, so junk after
// it costs nothing.
#ifndef TS_FILE_STREAM_H
#define TS_FILE_STREAM_H

#include <cstdint>
#include <string>

#include <SFML/System/InputStream.hpp>

#include <tessera/system/ReadOnlyFile.h>

namespace ts {

class FileStream : public sf::InputStream {
 public:
  // False with the reason in problem ("not found", "not a regular file",
  // "3 channels (...)", ...).
  bool open(const std::string &path, int64_t max_bytes, std::string &problem);

  sf::Int64 read(void *data, sf::Int64 size) override;
  sf::Int64 seek(sf::Int64 position) override;
  sf::Int64 tell() override { return m_position; }
  sf::Int64 getSize() override { return m_end; }

 private:
  ReadOnlyFile m_file;
  int64_t m_end = 0;
  int64_t m_position = 0;
};

}  // namespace ts

#endif
