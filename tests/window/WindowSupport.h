// Helpers for tests in a real window: screenshots, X tools and the close
// request a window manager would send.
#ifndef TESSERA_WINDOW_SUPPORT_H
#define TESSERA_WINDOW_SUPPORT_H

#include <X11/Xlib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <SFML/Graphics.hpp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace window_support {

// An RGB picture read back from the X server.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;

  sf::Color at(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
    return sf::Color(rgb[i], rgb[i + 1], rgb[i + 2]);
  }
};

inline std::string hexId(sf::WindowHandle handle) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(handle));
  return text;
}

inline int run(const std::string &command) { return std::system(command.c_str()); }

// Makes sure the X server has handled every request the window sent so far
// (getPosition() waits for the server's answer).
inline void syncWithServer(const sf::RenderWindow &window) { (void)window.getPosition(); }

// Reads a binary PPM (P6, maxval 255).
inline Image readPpm(const std::string &path) {
  Image image;
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> image.width >> image.height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255 || image.width <= 0 || image.height <= 0) return Image();
  image.rgb.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 3);
  in.read(reinterpret_cast<char *>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size()));
  if (!in) return Image();
  return image;
}

// Screenshot of the window's contents as the X server shows them.
inline Image capture(const sf::RenderWindow &window) {
  syncWithServer(window);
  char path[] = "/tmp/tessera-shot-XXXXXX";
  int fd = mkstemp(path);
  if (fd >= 0) ::close(fd);
  std::string command = "import -window " + hexId(window.getSystemHandle()) + " -depth 8 ppm:" + path;
  EXPECT_EQ(0, run(command));
  Image image = readPpm(path);
  std::remove(path);
  return image;
}

// Sends the close request a window manager sends when the user closes a
// window (WM_DELETE_WINDOW), through a connection of its own.
inline void requestClose(sf::WindowHandle handle) {
  Display *display = XOpenDisplay(nullptr);
  ASSERT_NE(nullptr, display);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = handle;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, handle, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
}

}  // namespace window_support

#endif
