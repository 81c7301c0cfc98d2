// Memory of the network manager when a peer never reads: 300 sends of 1 MB
// on one connection whose other end (a connection of the same manager) never
// takes a byte. Reports how many sends were accepted and refused, the
// backlog left, and the process's resident memory and its peak before and
// after the sends (from /proc/self/status).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <tessera/game/GameManager.h>
#include <tessera/network/NetworkManager.h>

namespace {

// A "VmRSS:" or "VmHWM:" figure in megabytes.
double statusMegabytes(const std::string &field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.compare(0, field.size(), field) == 0) return std::atof(line.c_str() + field.size()) / 1024.0;
  return -1;
}

}  // namespace

int main() {
  const char *config = "/tmp/tessera-network-backlog.cfg";
  std::ofstream(config) << "networking:true,headless:true,\n";
  setenv("TESSERA_CONFIG", config, 1);
  setenv("TESSERA_LOG", "/dev/null", 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ts::NetworkManager &net = ts::NetworkManager::getInstance();
  if (game.startUp() != 0 || net.setServer("127.0.0.1", 0) != 0) return 1;
  const int reader = net.connect("127.0.0.1", net.getServerPort());  // never reads
  int socket = -1;
  for (int tries = 0; socket < 0 && tries < 1000; ++tries) socket = net.accept();
  if (reader < 0 || socket < 0) return 1;

  const int megabyte = 1 << 20;
  std::vector<char> message(megabyte, 'x');
  std::printf("before: rss %.1f MB, peak %.1f MB\n", statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
  int accepted = 0, refused = 0;
  for (int i = 0; i < 300; ++i) (net.send(message.data(), megabyte, socket) == 0 ? accepted : refused)++;
  std::printf("after 300 sends of 1 MB: %d accepted, %d refused, backlog %.1f MB (bound %.1f MB)\n", accepted, refused,
              net.getBacklogBytes(socket) / 1048576.0, net.getMaxBacklogBytes() / 1048576.0);
  std::printf("after: rss %.1f MB, peak %.1f MB\n", statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
  game.shutDown();
  std::remove(config);
  return 0;
}
