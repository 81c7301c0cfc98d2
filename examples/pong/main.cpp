// Pong for two players over the network: one hosts, the other joins.
//
//   pong --host PORT                   host a match on PORT (0: any free
//                                      port; the log says which)
//   pong --join HOST PORT              join the match hosted there
//   ... --autopilot SCRIPT --steps N   play from a script (see Autopilot.h)
//                                      and end after N frames at the latest
// The arrow keys move your paddle; Escape leaves. The first to three wins.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tessera/core/LogManager.h>
#include <tessera/game/GameManager.h>
#include <tessera/network/NetworkManager.h>
#include "Autopilot.h"
#include "Court.h"

namespace {

struct Options {
  Court::Side side = Court::HOST;
  std::string host;
  int port = -1;
  std::string script;
  int steps = -1;
};

bool parseOptions(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--host" && i + 1 < argc) {
      options.side = Court::HOST;
      options.port = std::atoi(argv[++i]);
    } else if (argument == "--join" && i + 2 < argc) {
      options.side = Court::GUEST;
      options.host = argv[++i];
      options.port = std::atoi(argv[++i]);
    } else if (argument == "--autopilot" && i + 1 < argc) {
      options.script = argv[++i];
    } else if (argument == "--steps" && i + 1 < argc) {
      options.steps = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  return options.port >= 0;
}

// The host listens for one guest: the network manager then accepts it in
// the game loop and tells the court with an accept event.
bool host(int port) {
  ts::NetworkManager &network = ts::NetworkManager::getInstance();
  network.setMaxConnections(1);
  if (network.setServer("127.0.0.1", port) != 0) return false;
  ts::LogManager::getInstance().writeLog("Pong: hosting on port %d, waiting for a player", network.getServerPort());
  new Court(Court::HOST, -1);
  return true;
}

bool join(const std::string &host, int port) {
  const int socket = ts::NetworkManager::getInstance().connect(host, port);
  if (socket < 0) return false;
  ts::LogManager::getInstance().writeLog("Pong: joined the match at %s port %d", host.c_str(), port);
  new Court(Court::GUEST, socket);
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s --host PORT | --join HOST PORT [--autopilot SCRIPT] [--steps N]\n", argv[0]);
    return 2;
  }
  ts::GameManager &game_manager = ts::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    std::fprintf(stderr, "%s: the engine did not start; see its log\n", argv[0]);
    return 1;
  }
  const bool ready = options.side == Court::HOST ? host(options.port) : join(options.host, options.port);
  if (!ready) {
    std::fprintf(stderr, "%s: no network connection; see the log\n", argv[0]);
    game_manager.shutDown();
    return 1;
  }
  if (!options.script.empty() || options.steps >= 0) new Autopilot(options.script, options.steps);
  game_manager.run();
  game_manager.shutDown();
  return 0;
}
