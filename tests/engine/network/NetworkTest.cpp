// The network manager against real TCP peers on the loopback interface,
// driven by the game manager. Each test's process ends its sockets.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <csignal>
#include <cstring>
#include <functional>

#include <tessera/game/GameManager.h>
#include <tessera/network/EventNetwork.h>
#include <tessera/network/NetworkManager.h>
#include <tessera/world/Object.h>
#include "TestSupport.h"

namespace {

ts::NetworkManager &net() { return ts::NetworkManager::getInstance(); }

// Records the sockets of the accept and close events it gets; runs on_step
// at every step.
struct Listener : ts::Object {
  std::vector<int> accepted, closed;
  std::function<void()> on_step = [] {};
  Listener() {
    for (const std::string &type : {ts::NETWORK_ACCEPT_EVENT, ts::NETWORK_CLOSE_EVENT, ts::STEP_EVENT})
      registerInterest(type);
  }
  int eventHandler(const ts::Event *event) override {
    if (event->getType() == ts::STEP_EVENT) return on_step(), 1;
    const int socket = static_cast<const ts::EventNetwork *>(event)->getSocketIndex();
    (event->getType() == ts::NETWORK_ACCEPT_EVENT ? accepted : closed).push_back(socket);
    return 1;
  }
};

bool waitReadable(int fd) {
  pollfd waiting = {fd, POLLIN, 0};
  return poll(&waiting, 1, 5000) == 1;
}

// A blocking socket connected to (or only bound to) the port.
int loopbackSocket(int port = net().getServerPort(), bool bind_only = false) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
  auto where = reinterpret_cast<sockaddr *>(&address);
  EXPECT_EQ(bind_only ? bind(fd, where, sizeof address) : connect(fd, where, sizeof address), 0);
  return fd;
}

// The kernel may finish the handshake a moment after connect() returns.
int acceptPending() {
  int socket;
  for (int tries = 0; (socket = net().accept()) == -1 && tries < 1000; ++tries) poll(nullptr, 0, 5);
  return socket;
}

// A netcat client that sends input, shuts down its sending side and prints
// what it receives until its connection is closed.
FILE *netcat(const std::string &input) {
  return popen(("printf '" + input + "' | nc -N 127.0.0.1 " + std::to_string(net().getServerPort())).c_str(), "r");
}

std::string outputOf(FILE *netcat) {
  char buffer[64];
  const size_t n = std::fread(buffer, 1, sizeof buffer, netcat);
  return pclose(netcat) == 0 ? std::string(buffer, n) : "netcat failed";
}

// The configuration goes into the log's file: the game manager reads it
// before the log manager starts and truncates that file.
class Network : public ::testing::Test {
 protected:
  void SetUp() override {
    std::signal(SIGPIPE, SIG_DFL);  // a stray SIGPIPE must end the test run
    std::ofstream(log.path()) << "networking:true,headless:true,frame_time:1,\n";
    setenv("TESSERA_CONFIG", log.path().c_str(), 1);
    ASSERT_EQ(ts::GameManager::getInstance().startUp(), 0);
    ASSERT_EQ(net().setServer("127.0.0.1", 0), 0);
  }
  void TearDown() override { ts::GameManager::getInstance().shutDown(); }

  testing_support::LogCapture log;
  Listener listener;
};

}  // namespace

TEST_F(Network, RefusesBadCallsWithClearLines) {
  EXPECT_EQ(net().send("x", 1, 7), -1);
  EXPECT_TRUE(log.contains("NetworkManager::send(): Error! Socket 7 not connected. Unable to send."));
  // A port already in use: no server, so accept() fails.
  const int taken = net().getServerPort();
  net().shutDown();
  loopbackSocket(taken, true);
  net().startUp();
  EXPECT_EQ(net().setServer("127.0.0.1", taken), -1);
  EXPECT_TRUE(log.contains("\t" + std::to_string(EADDRINUSE) + " - " + std::strerror(EADDRINUSE)));
  EXPECT_EQ(net().accept(), -2);
}

// Three connections, each with its accept event; a fourth waits quietly
// until closing all (events in list order) makes room.
TEST_F(Network, AcceptsUpToTheMaximumAndClosesAllInOrder) {
  EXPECT_EQ(net().accept(), -1);  // nothing pending
  int peers[4];
  for (int &peer : peers) peer = loopbackSocket();
  std::vector<int> sockets;
  for (int i = 0; i < 3; ++i) sockets.push_back(acceptPending());
  EXPECT_EQ(listener.accepted, sockets);
  const size_t lines = log.messages().size();
  EXPECT_EQ(net().accept(), -1);  // at the maximum: only level-20 lines
  EXPECT_EQ(log.messages().size(), lines);
  EXPECT_EQ(net().close(-1), 0);
  EXPECT_EQ(listener.closed, sockets);
  char byte;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(waitReadable(peers[i]) && recv(peers[i], &byte, 1, 0) == 0);
  EXPECT_GE(acceptPending(), 0);
}

// This manager as client and as server sends 300 messages of 1 MB to a peer
// that reads nothing yet, while a second peer resets in the middle of its
// own megabyte. What the kernel cannot take waits in the backlog up to its
// bound; a send that might not fit is refused whole with its line, and one
// that fits goes only after the backlog. The reset closes only its
// connection, with its event, without a signal. When the peer reads at
// last, exactly the accepted messages arrive, intact and in order.
TEST_F(Network, BackloggedMegabytesArriveIntactWhileAnotherPeerResets) {
  const int receiver = net().connect("127.0.0.1", net().getServerPort());
  const int sender = acceptPending();
  const int doomed_peer = loopbackSocket();
  const int doomed = acceptPending();
  const int megabyte = 1 << 20;
  std::vector<char> message(megabyte);
  for (int i = 0; i < megabyte; ++i) message[i] = static_cast<char>(i * 7 % 251);
  int small = 4096;
  setsockopt(doomed, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  EXPECT_EQ(net().send(message.data(), megabyte, doomed), 0);
  EXPECT_GT(net().getBacklogBytes(doomed), 0);
  std::string accepted;  // the first byte of each accepted message
  for (int i = 0; i < 300; ++i) {
    message[0] = static_cast<char>(i);
    if (net().send(message.data(), megabyte, sender) == 0) accepted += static_cast<char>(i);
    EXPECT_LE(net().getBacklogBytes(sender), ts::NetworkManager::DEFAULT_MAX_BACKLOG_BYTES);
  }
  EXPECT_GE(accepted.size(), 4u);  // a full backlog, and what the kernel took
  const std::string refusal =
      "NetworkManager::send(): Error! 1048576 bytes would take socket " + std::to_string(sender) + "'s backlog of ";
  int refusals = 0;
  for (const std::string &line : log.messages())
    refusals +=
        line.compare(0, refusal.size(), refusal) == 0 && line.find(" bytes past 4194304. Not sent.") != line.npos;
  EXPECT_EQ(refusals, 300 - static_cast<int>(accepted.size()));
  linger reset = {1, 0};
  setsockopt(doomed_peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  ::close(doomed_peer);
  ASSERT_TRUE(waitReadable(doomed));  // the reset has arrived
  EXPECT_EQ(net().sendQueued(), -1);
  EXPECT_EQ(listener.closed, std::vector<int>{doomed});

  // Waits for data or, while a backlog waits, for room to send.
  std::vector<char> buffer(65536);
  std::string received;  // the first byte of each message that arrived
  size_t bytes = 0;
  bool intact = true;
  pollfd ends[2] = {{receiver, POLLIN, 0}, {sender, POLLOUT, 0}};
  while (bytes < accepted.size() * megabyte && poll(ends, net().getBacklogBytes(sender) > 0 ? 2 : 1, 5000) > 0) {
    EXPECT_EQ(net().sendQueued(), 0);
    for (int n; (n = net().receive(buffer.data(), static_cast<int>(buffer.size()), receiver)) > 0; bytes += n)
      for (int k = 0; k < n; ++k) {
        const size_t at = (bytes + k) % megabyte;
        if (at == 0)
          received += buffer[k];
        else
          intact &= buffer[k] == message[at];
      }
  }
  EXPECT_EQ(bytes, accepted.size() * megabyte);
  EXPECT_EQ(received, accepted);
  EXPECT_TRUE(intact);
  EXPECT_EQ(net().receive(buffer.data(), 1, receiver), 0);  // nothing more yet
}

// The game loop sends a queued message in the frame whose step count is its
// send-at step, and a due message behind it waits; another queue goes on. A
// peer that shuts down its side is closed here, with its event.
TEST_F(Network, GameLoopSendsQueuedMessagesAtTheirStep) {
  FILE *peer_a = netcat("");
  const int a = acceptPending();
  FILE *peer_b = netcat("ping");
  const int b = acceptPending();
  char text[] = "ten";
  net().queueMessage(text, 3, a, 10);
  text[0] = 'x';  // the queue keeps its own copy
  net().queueMessage("five", 4, a, 5);
  net().queueMessage("b5", 2, b, 5);
  // Each frame's step handler sees the queue lengths left by the frames before.
  ts::GameManager &game = ts::GameManager::getInstance();
  std::vector<int> queued;
  listener.on_step = [&] {
    queued.push_back(net().getQueuedCount(a) * 10 + net().getQueuedCount(b));
    if (game.getStepCount() == 11) game.setGameOver(true);
  };
  game.run();
  EXPECT_EQ(queued, (std::vector<int>{21, 21, 21, 21, 21, 21, 20, 20, 20, 20, 20, 0}));
  char ping[8] = {};
  ASSERT_TRUE(waitReadable(b));
  EXPECT_EQ(net().receive(ping, sizeof ping, b), 4);
  EXPECT_STREQ(ping, "ping");
  ASSERT_TRUE(waitReadable(b));
  EXPECT_EQ(net().receive(ping, sizeof ping, b), -1);
  EXPECT_EQ(listener.closed, std::vector<int>{b});
  net().close(a);
  EXPECT_EQ(outputOf(peer_a), "tenfive");
  EXPECT_EQ(outputOf(peer_b), "b5");
}

// The queue counts against the backlog's bound, with what the backlog holds:
// messages for a step that never comes are refused past it with a line, and
// a queued message that went out gives its room back. Each queued message is
// charged its bytes and a fixed overhead.
TEST_F(Network, QueueSharesTheBacklogBound) {
  ASSERT_EQ(net().setMaxConnections(4), 0);
  const int silent = net().connect("127.0.0.1", net().getServerPort());  // never reads
  const int far = acceptPending();
  const int other_end = net().connect("127.0.0.1", net().getServerPort());
  const int due = acceptPending();
  ASSERT_GE(far, 0);
  ASSERT_GE(due, 0);
  ASSERT_EQ(net().setMaxBacklogBytes(10000), 0);
  std::vector<char> block(6000, 'q');
  const int overhead = ts::NetworkManager::MESSAGE_OVERHEAD_BYTES;
  const int last = 10000 - 2 * (4000 + overhead) - overhead;  // fills the bound exactly
  EXPECT_EQ(net().queueMessage(block.data(), 4000, far, 2147483647), 0);
  EXPECT_EQ(net().queueMessage(block.data(), 4000, far, 2147483647), 0);
  EXPECT_EQ(net().queueMessage(block.data(), 4000, far, 2147483647), -1);
  EXPECT_EQ(net().queueMessage(block.data(), last, far, 2147483647), 0);
  EXPECT_EQ(net().queueMessage(block.data(), 1, far, 2147483647), -1);
  EXPECT_EQ(net().getQueuedCount(far), 3);
  EXPECT_EQ(
      log.count("NetworkManager::queueMessage(): Error! 4000 bytes would take socket " + std::to_string(far) +
                "'s queue and backlog of " + std::to_string(2 * (4000 + overhead)) + " bytes past 10000. Not queued."),
      1);
  // What waits in the queue counts against a send, too.
  EXPECT_EQ(net().send(block.data(), 1, far), -1);

  EXPECT_EQ(net().queueMessage(block.data(), 6000, due, 0), 0);
  EXPECT_EQ(net().queueMessage(block.data(), 6000, due, 0), -1);
  EXPECT_EQ(net().sendQueued(), 0);
  EXPECT_EQ(net().getQueuedCount(due), 0);
  EXPECT_EQ(net().queueMessage(block.data(), 6000, due, 0), 0);

  // A backlog left by a send takes its share of the bound.
  const int kept = 300000;
  ASSERT_EQ(net().setMaxBacklogBytes(2 * kept), 0);
  int small = 4096;
  setsockopt(silent, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  setsockopt(far, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  net().close(due);
  std::vector<char> big(kept, 'b');
  const int queued = 10000;
  ASSERT_EQ(net().send(big.data(), kept, far), 0);
  const int backlog = net().getBacklogBytes(far);
  ASSERT_GT(backlog, 0);
  const int room = 2 * kept - backlog - queued - overhead;
  std::vector<char> rest(room + 1, 'r');
  EXPECT_EQ(net().queueMessage(rest.data(), room + 1, far, 2147483647), -1);
  EXPECT_EQ(net().queueMessage(rest.data(), room, far, 2147483647), 0);
  net().close(other_end);
  net().close(silent);
}

// With the descriptor table full, accept() fails every frame: its two lines
// come once, and one line with the count when a descriptor is free again.
TEST_F(Network, FullDescriptorTableIsLoggedOnceThenCounted) {
  const int peer = loopbackSocket();  // waits to be accepted
  rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
  rlimit low = before;
  const int lowest_free = fcntl(peer, F_DUPFD, 0);
  ::close(lowest_free);
  low.rlim_cur = static_cast<rlim_t>(lowest_free) + 16;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  std::vector<int> fillers;
  for (int fd; (fd = open("/dev/null", O_RDONLY)) >= 0;) fillers.push_back(fd);
  for (int frame = 0; frame < 5; ++frame) EXPECT_EQ(net().accept(), -2);
  for (int fd : fillers) ::close(fd);
  EXPECT_GE(acceptPending(), 0);
  setrlimit(RLIMIT_NOFILE, &before);
  EXPECT_EQ(log.count("NetworkManager::accept(): Error! accept() returned:"), 1);
  EXPECT_EQ(log.count("NetworkManager::accept(): Error! accept() failed 4 more times with the same error."), 1);
  ::close(peer);
}
