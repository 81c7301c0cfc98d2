// Memory of the network manager's message queues: 600 messages of 1 MB
// queued to a peer that never reads (sent as they fall due, one a frame),
// then 8,000 messages of 64 KB queued for a step that never comes. Reports
// how many were queued and refused, and the process's resident memory and
// its peak (from /proc/self/status).
#include <cstdio>
#include <vector>

#include <tessera/game/GameManager.h>
#include <tessera/network/NetworkManager.h>

#include "NetworkBench.h"

using network_bench::statusMegabytes;

namespace {

void report(const char *what, int queued, int refused, int socket) {
  ts::NetworkManager &net = ts::NetworkManager::getInstance();
  std::printf("%s: %d queued, %d refused, %d left in the queue, backlog %.1f MB; rss %.1f MB, peak %.1f MB\n", what,
              queued, refused, net.getQueuedCount(socket), net.getBacklogBytes(socket) / 1048576.0,
              statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
}

}  // namespace

int main() {
  const char *config = "/tmp/tessera-network-queue.cfg";
  if (!network_bench::startServer(config)) return 1;
  ts::GameManager &game = ts::GameManager::getInstance();
  ts::NetworkManager &net = ts::NetworkManager::getInstance();
  net.setMaxConnections(4);
  const int silent = net.connect("127.0.0.1", net.getServerPort());  // never reads
  const int to_silent = network_bench::acceptOne();
  const int waiting = net.connect("127.0.0.1", net.getServerPort());
  const int to_waiting = network_bench::acceptOne();
  if (silent < 0 || to_silent < 0 || waiting < 0 || to_waiting < 0) return 1;
  std::printf("before: rss %.1f MB, peak %.1f MB (bound %.1f MB a connection)\n", statusMegabytes("VmRSS:"),
              statusMegabytes("VmHWM:"), net.getMaxBacklogBytes() / 1048576.0);

  std::vector<char> megabyte(1 << 20, 'x');
  int queued = 0, refused = 0;
  for (int i = 0; i < 600; ++i) {
    (net.queueMessage(megabyte.data(), static_cast<int>(megabyte.size()), to_silent, 0) == 0 ? queued : refused)++;
    net.sendQueued();
  }
  report("600 x 1 MB to a silent peer", queued, refused, to_silent);

  std::vector<char> block(64 << 10, 'y');
  queued = refused = 0;
  for (int i = 0; i < 8000; ++i)
    (net.queueMessage(block.data(), static_cast<int>(block.size()), to_waiting, 2147483647) == 0 ? queued : refused)++;
  report("8000 x 64 KB for step 2147483647", queued, refused, to_waiting);
  game.shutDown();
  std::remove(config);
  return 0;
}
