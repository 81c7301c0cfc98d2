// Memory of the network manager when a peer never reads: 300 sends of 1 MB
// on one connection whose other end (a connection of the same manager) never
// takes a byte. Reports how many sends were accepted and refused, the
// backlog left, and the process's resident memory and its peak before and
// after the sends (from /proc/self/status).
#include <cstdio>
#include <vector>

#include <tessera/game/GameManager.h>
#include <tessera/network/NetworkManager.h>

#include "NetworkBench.h"

using network_bench::statusMegabytes;

int main() {
  const char *config = "/tmp/tessera-network-backlog.cfg";
  if (!network_bench::startServer(config)) return 1;
  ts::GameManager &game = ts::GameManager::getInstance();
  ts::NetworkManager &net = ts::NetworkManager::getInstance();
  const int reader = net.connect("127.0.0.1", net.getServerPort());  // never reads
  const int socket = network_bench::acceptOne();
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
