// Event classes: type names, defaults and the network label check.
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventNetwork.h"
#include "EventNetworkAccept.h"
#include "EventNetworkClose.h"
#include "EventOut.h"
#include "EventPath.h"
#include "EventStep.h"
#include "TestSupport.h"

using testing_support::LogCapture;

TEST(Event, TypesAndDefaults) {
  EXPECT_EQ(ts::Event().getType(), "ts-undefined");
  EXPECT_EQ(ts::EventStep(12).getType(), "ts-step");
  EXPECT_EQ(ts::EventStep(12).getStepCount(), 12);
  EXPECT_EQ(ts::EventOut().getType(), "ts-out");
  ts::EventKeyboard keyboard;
  EXPECT_EQ(keyboard.getType(), "ts-keyboard");
  EXPECT_EQ(keyboard.getKey(), -1);
  EXPECT_EQ(keyboard.getKeyboardAction(), -1);
  keyboard.setKey(ts::Keyboard::UPARROW);
  keyboard.setKeyboardAction(ts::KEY_PRESSED);
  EXPECT_EQ(keyboard.getKey(), 6);
  EXPECT_EQ(keyboard.getKeyboardAction(), 0);
  ts::EventMouse mouse;
  EXPECT_EQ(mouse.getType(), "ts-mouse");
  EXPECT_EQ(mouse.getMouseAction(), -1);
  EXPECT_EQ(mouse.getMouseButton(), -1);
  EXPECT_EQ(mouse.getMousePosition(), ts::Vector(0, 0));
  ts::EventCollision collision(nullptr, nullptr, ts::Vector(3, 4));
  EXPECT_EQ(collision.getType(), "ts-collision");
  EXPECT_EQ(collision.getPosition(), ts::Vector(3, 4));
  ts::EventPath path;
  EXPECT_EQ(path.getType(), "ts-path");
  EXPECT_TRUE(path.getPath().isDone());
  ts::Event custom;
  custom.setType("my-event");
  EXPECT_EQ(custom.getType(), "my-event");
}

TEST(Event, KeyNumbering) {
  EXPECT_EQ(ts::Keyboard::SPACE, 0);
  EXPECT_EQ(ts::Keyboard::RIGHTSHIFT, 23);
  EXPECT_EQ(ts::Keyboard::F1, 24);
  EXPECT_EQ(ts::Keyboard::F12, 35);
  EXPECT_EQ(ts::Keyboard::A, 36);
  EXPECT_EQ(ts::Keyboard::Z, 61);
  EXPECT_EQ(ts::Keyboard::NUM1, 62);
  EXPECT_EQ(ts::Keyboard::NUM0, 71);
  EXPECT_EQ(ts::Keyboard::BACKSPACE, 72);
  EXPECT_EQ(ts::Keyboard::LEFTBRACKET, 74);
  EXPECT_EQ(ts::Keyboard::RIGHTBRACKET, 75);
}

TEST(Event, NetworkLabelsOutsideTheRangeAreLogged) {
  LogCapture log;
  log.start();
  EXPECT_EQ(ts::EventNetwork(-1).getLabel(), -1);
  EXPECT_EQ(ts::EventNetwork(3).getLabel(), 3);
  EXPECT_TRUE(log.messages().empty());
  EXPECT_EQ(ts::EventNetwork(4).getLabel(), -1);
  EXPECT_EQ(ts::EventNetwork(-2).getLabel(), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"EventNetwork::setLabel(): Undefined type (4).",
                                                      "EventNetwork::setLabel(): Undefined type (-2)."}));
  ts::EventNetwork network(1);
  EXPECT_EQ(network.getType(), "ts-network");
  network.setLabel(9);
  EXPECT_EQ(network.getLabel(), -1);
}

TEST(Event, NetworkFamily) {
  ts::EventNetworkAccept accept(ts::NETWORK_ACCEPT);
  EXPECT_EQ(accept.getType(), "ts-network-accept");
  EXPECT_EQ(accept.getLabel(), 0);
  EXPECT_EQ(accept.getSocketIndex(), -1);
  EXPECT_EQ(accept.getBytes(), 0);
  EXPECT_EQ(accept.getMessage(), nullptr);
  ts::EventNetworkClose close(ts::NETWORK_CLOSE);
  EXPECT_EQ(close.getType(), "ts-network-close");
  EXPECT_EQ(close.getLabel(), 2);
  for (const char *name : {"ts-network", "ts-network-accept", "ts-network-close", "ts-network-connect",
                           "ts-network-create", "ts-network-delete", "ts-network-sync", "ts-network-game-over",
                           "ts-custom-network", "ts-keyboard-network", "ts-mouse-network"})
    EXPECT_TRUE(ts::isNetworkEventType(name)) << name;
  for (const char *name : {"ts-step", "ts-collision", "ts-view", "network", ""})
    EXPECT_FALSE(ts::isNetworkEventType(name)) << name;
}
