// The network manager against real TCP peers on the loopback interface.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "EventNetwork.h"
#include "EventStep.h"
#include "GameManager.h"
#include "NetworkManager.h"
#include "Object.h"
#include "TestSupport.h"

using testing_support::LogCapture;

namespace {

// Records the network events it gets as "accept 5", "close 7", ...; runs
// on_step for step events.
class Listener : public ts::Object {
 public:
  std::vector<std::string> seen;
  std::function<void(int)> on_step;
  Listener() {
    registerInterest(ts::NETWORK_ACCEPT_EVENT);
    registerInterest(ts::NETWORK_CLOSE_EVENT);
  }
  int eventHandler(const ts::Event *event) override {
    if (auto step = dynamic_cast<const ts::EventStep *>(event)) on_step(step->getStepCount());
    if (auto network = dynamic_cast<const ts::EventNetwork *>(event))
      seen.push_back((network->getLabel() == ts::NETWORK_ACCEPT ? "accept " : "close ") +
                     std::to_string(network->getSocketIndex()));
    return 1;
  }
};

bool waitReadable(int fd) {
  pollfd waiting = {fd, POLLIN, 0};
  return poll(&waiting, 1, 5000) == 1;
}

// A blocking socket connected to (or, with listening, listening on) the port.
int loopbackSocket(int port, bool listening = false) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  auto where = reinterpret_cast<sockaddr *>(&address);
  EXPECT_EQ(listening ? bind(fd, where, sizeof address) + listen(fd, 1) : connect(fd, where, sizeof address), 0);
  return fd;
}

// The kernel may finish the handshake a moment after connect() returns.
int acceptPending(ts::NetworkManager &network) {
  for (int tries = 0; tries < 1000; ++tries) {
    int socket = network.accept();
    if (socket != -1) return socket;
    poll(nullptr, 0, 5);
  }
  return -1;
}

std::string readSome(int fd) {
  char buffer[64];
  ssize_t n = waitReadable(fd) ? recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) : -1;
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
}

class Network : public ::testing::Test {
 protected:
  void SetUp() override {
    std::signal(SIGPIPE, SIG_DFL);  // a stray SIGPIPE must end the test run
    log.start();
    ASSERT_EQ(network.startUp(), 0);
    ASSERT_EQ(network.setServer("127.0.0.1", 0), 0);
  }
  void TearDown() override {
    network.shutDown();
    for (int fd : clients) ::close(fd);
  }
  int client() {
    clients.push_back(loopbackSocket(network.getServerPort()));
    return clients.back();
  }

  LogCapture log;
  ts::NetworkManager &network = ts::NetworkManager::getInstance();
  Listener listener;
  std::vector<int> clients;
};

}  // namespace

TEST_F(Network, RefusesBadCallsWithClearLines) {
  EXPECT_EQ(network.startUp(), -1);
  EXPECT_TRUE(log.contains("NetworkManager::startup(): Warning! NetworkManager already started."));
  EXPECT_EQ(network.setServer("127.0.0.1", 0), -1);
  EXPECT_FALSE(network.isConnected(-1));
  EXPECT_EQ(network.send("x", 1, 7), -1);
  EXPECT_TRUE(log.contains("NetworkManager::isConnected(): Warning! Socket 7 not connected."));
  EXPECT_TRUE(log.contains("NetworkManager::send(): Error! Socket 7 not connected. Unable to send."));
  EXPECT_EQ(network.close(7), -1);
  EXPECT_TRUE(log.contains("NetworkManager::close(): Error! Socket 7 not found."));

  const int taken = network.getServerPort();
  network.shutDown();
  EXPECT_EQ(network.accept(), -2);
  EXPECT_TRUE(log.contains("NetworkManager::accept(): Error! Not setup as server."));
  const int holder = loopbackSocket(taken, true);
  network.startUp();
  EXPECT_EQ(network.setServer("127.0.0.1", taken), -1);
  EXPECT_TRUE(log.contains("NetworkManager::setServer(): Error! bind() returned:"));
  EXPECT_TRUE(log.contains("\t" + std::to_string(EADDRINUSE) + " - " + std::strerror(EADDRINUSE)));
  EXPECT_FALSE(network.isServer());
  ::close(holder);
}

TEST_F(Network, AcceptsUpToTheMaximum) {
  client();
  const int first = acceptPending(network);
  ASSERT_GE(first, 0);
  EXPECT_EQ(listener.seen, std::vector<std::string>{"accept " + std::to_string(first)});
  EXPECT_EQ(network.accept(), -1);  // nothing pending
  client();
  client();
  const int second = acceptPending(network);
  EXPECT_GE(acceptPending(network), 0);
  client();
  const size_t lines = log.messages().size();
  EXPECT_EQ(network.accept(), -1);  // at the maximum: only level-20 lines
  EXPECT_EQ(log.messages().size(), lines);
  EXPECT_EQ(network.close(second), 0);
  EXPECT_GE(acceptPending(network), 0);  // the fourth, once there is room
  client();
  EXPECT_EQ(network.accept(), -1);
  EXPECT_EQ(network.setMaxConnections(4), 0);
  EXPECT_GE(acceptPending(network), 0);
  EXPECT_EQ(network.getConnectionCount(), 4);
}

TEST_F(Network, CloseAllDeliversEventsInListOrder) {
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) client();
  for (int i = 0; i < 3; ++i) expected.push_back("close " + std::to_string(acceptPending(network)));
  listener.seen.clear();
  EXPECT_EQ(network.close(-1), 0);
  EXPECT_EQ(listener.seen, expected);
  EXPECT_FALSE(network.isConnected(-1));
  char byte;
  for (int fd : clients) EXPECT_TRUE(waitReadable(fd) && recv(fd, &byte, 1, 0) == 0);
}

// A peer that resets while a large send is under way: that connection is
// closed with its event, the process lives on, and the other peer still gets
// its queued message.
TEST_F(Network, PeerResetMidStreamClosesOnlyThatConnection) {
  const int doomed_peer = client();
  const int doomed = acceptPending(network);
  const int healthy_peer = client();
  const int healthy = acceptPending(network);
  int small = 4096;
  setsockopt(doomed, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  std::vector<char> big(1 << 20, 'x');
  EXPECT_EQ(network.send(big.data(), static_cast<int>(big.size()), doomed), 0);
  EXPECT_GT(network.getBacklogBytes(doomed), 0);
  EXPECT_EQ(network.queueMessage("after", 5, doomed, 0), 0);
  EXPECT_EQ(network.queueMessage("hello", 5, healthy, 0), 0);
  linger reset = {1, 0};
  setsockopt(doomed_peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  ::close(doomed_peer);
  clients.erase(clients.begin());
  pollfd gone = {doomed, POLLIN, 0};
  ASSERT_EQ(poll(&gone, 1, 5000), 1);  // the reset has arrived
  EXPECT_EQ(network.sendQueued(), -1);
  EXPECT_FALSE(network.isConnected(doomed));
  EXPECT_EQ(listener.seen.back(), "close " + std::to_string(doomed));
  EXPECT_TRUE(log.contains("NetworkManager::send(): Error! Return is -1."));
  EXPECT_EQ(readSome(healthy_peer), "hello");
  EXPECT_TRUE(network.isConnected(healthy));
}

// One megabyte through this manager as server and as client: the part the
// kernel cannot take at once waits in the backlog, and a later message goes
// only after it. The sender's close ends the receiving side with its event.
TEST_F(Network, MegabyteArrivesIntactAndInOrder) {
  const int receiver = network.connect("127.0.0.1", network.getServerPort());
  ASSERT_GE(receiver, 0);
  const int sender = acceptPending(network);
  int small = 4096;
  setsockopt(sender, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  std::string sent(1 << 20, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 % 251);
  EXPECT_EQ(network.send(sent.data(), static_cast<int>(sent.size()), sender), 0);
  EXPECT_GT(network.getBacklogBytes(sender), 0);
  EXPECT_EQ(network.send("tail", 4, sender), 0);
  sent += "tail";
  std::string received;
  std::vector<char> buffer(65536);
  // Waits for data to read or, while a backlog waits, for room to send:
  // acknowledgements free the sender's buffer without making anything readable.
  pollfd ends[2] = {{receiver, POLLIN, 0}, {sender, POLLOUT, 0}};
  while (received.size() < sent.size() && poll(ends, network.getBacklogBytes(sender) > 0 ? 2 : 1, 5000) > 0) {
    int n;
    while ((n = network.receive(buffer.data(), static_cast<int>(buffer.size()), receiver)) > 0)
      received.append(buffer.data(), static_cast<size_t>(n));
    EXPECT_EQ(network.sendQueued(), 0);
  }
  EXPECT_TRUE(received == sent);
  EXPECT_EQ(network.receive(buffer.data(), 1, receiver), 0);  // nothing more yet
  network.close(sender);
  ASSERT_TRUE(waitReadable(receiver));
  EXPECT_EQ(network.receive(buffer.data(), 1, receiver), -1);
  EXPECT_EQ(listener.seen.back(), "close " + std::to_string(receiver));
  EXPECT_EQ(network.connect("127.0.0.1", 0), -1);
  EXPECT_TRUE(log.contains("\t" + std::to_string(ECONNREFUSED) + " - " + std::strerror(ECONNREFUSED)));
}

TEST_F(Network, ExchangesWithNetcat) {
  std::string command = "printf ping | nc -N 127.0.0.1 " + std::to_string(network.getServerPort());
  FILE *peer = popen(command.c_str(), "r");
  ASSERT_NE(peer, nullptr);
  const int socket = acceptPending(network);
  ASSERT_TRUE(waitReadable(socket));
  char buffer[16] = {};
  EXPECT_EQ(network.receive(buffer, sizeof buffer, socket), 4);
  EXPECT_STREQ(buffer, "ping");
  EXPECT_EQ(network.send("pong", 4, socket), 0);
  ASSERT_TRUE(waitReadable(socket));  // nc has shut down its side
  EXPECT_EQ(network.receive(buffer, sizeof buffer, socket), -1);
  EXPECT_EQ(listener.seen.back(), "close " + std::to_string(socket));
  char reply[16] = {};
  EXPECT_EQ(std::fread(reply, 1, sizeof reply, peer), 4u);
  EXPECT_STREQ(reply, "pong");
  EXPECT_EQ(pclose(peer), 0);
}

// The game loop sends a queued message in the frame whose step count is its
// send-at step, and a due message behind it waits; another queue goes on.
TEST(NetworkLoop, QueuedMessageGoesAtItsStep) {
  LogCapture log;
  std::string config_path = log.path() + ".config";
  std::ofstream(config_path) << "networking:true,headless:true,frame_time:1,\n";
  setenv("TESSERA_CONFIG", config_path.c_str(), 1);
  ts::GameManager &game = ts::GameManager::getInstance();
  ASSERT_EQ(game.startUp(), 0);
  ts::NetworkManager &network = ts::NetworkManager::getInstance();
  ASSERT_EQ(network.setServer("127.0.0.1", 0), 0);
  const int peer_a = loopbackSocket(network.getServerPort());
  const int a = acceptPending(network);
  const int peer_b = loopbackSocket(network.getServerPort());
  const int b = acceptPending(network);
  char text[] = "ten";
  network.queueMessage(text, 3, a, 10);
  std::strcpy(text, "xyz");  // the queue keeps its own copy
  network.queueMessage("five", 4, a, 5);
  network.queueMessage("b5", 2, b, 5);

  // Each frame's step handler sees the queue lengths left by the frames before.
  auto *watcher = new Listener;
  std::vector<int> queued;
  watcher->on_step = [&](int step) {
    queued.push_back(network.getQueuedCount(a) * 10 + network.getQueuedCount(b));
    if (step == 11) game.setGameOver(true);
  };
  watcher->registerInterest(ts::STEP_EVENT);
  game.run();
  EXPECT_EQ(queued, (std::vector<int>{21, 21, 21, 21, 21, 21, 20, 20, 20, 20, 20, 0}));
  EXPECT_EQ(readSome(peer_b), "b5");
  std::string got_a;
  for (std::string part; got_a.size() < 7 && !(part = readSome(peer_a)).empty();) got_a += part;
  EXPECT_EQ(got_a, "tenfive");
  game.shutDown();
  ::close(peer_a);
  ::close(peer_b);
  std::remove(config_path.c_str());
}
