// What the network memory benchmarks share: the engine started headless with
// networking on and a server on a free local port, connections accepted on
// it, and the process's memory figures.
#ifndef TESSERA_BENCH_NETWORK_BENCH_H
#define TESSERA_BENCH_NETWORK_BENCH_H

#include <cstdlib>
#include <fstream>
#include <string>

#include <tessera/game/GameManager.h>
#include <tessera/network/NetworkManager.h>

namespace network_bench {

// A "VmRSS:" or "VmHWM:" figure of /proc/self/status in megabytes.
inline double statusMegabytes(const std::string &field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, field.size(), field) == 0) return std::atof(line.c_str() + field.size()) / 1024.0;
  return -1;
}

// Starts the engine headless with networking, logging nowhere, through a
// configuration file at config_path, and opens a server on 127.0.0.1.
inline bool startServer(const char *config_path) {
  std::ofstream(config_path) << "networking:true,headless:true,\n";
  setenv("TESSERA_CONFIG", config_path, 1);
  setenv("TESSERA_LOG", "/dev/null", 1);
  return ts::GameManager::getInstance().startUp() == 0 &&
         ts::NetworkManager::getInstance().setServer("127.0.0.1", 0) == 0;
}

// The server's side of a connection just made to it, or -1.
inline int acceptOne() {
  int socket = -1;
  for (int tries = 0; socket < 0 && tries < 1000; ++tries) socket = ts::NetworkManager::getInstance().accept();
  return socket;
}

}  // namespace network_bench

#endif
