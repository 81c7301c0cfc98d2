// Sends every line the media library writes to its error stream into the
// engine log instead of the standard error stream. The display, the audio
// classes and the resource manager call it before their first use of the
// library; later calls do nothing.
#ifndef TS_MEDIA_LOG_H
#define TS_MEDIA_LOG_H

namespace ts {

void routeMediaLibraryMessagesToLog();

}  // namespace ts

#endif
