// Network event type names and label range.
#include <tessera/network/EventNetwork.h>
#include "TestSupport.h"

using namespace testing_support;

TEST(Event, NetworkTypeNamesAndLabelRange) {
  for (const char *name : {"ts-network", "ts-network-accept", "ts-network-game-over", "ts-mouse-network"})
    EXPECT_TRUE(ts::isNetworkEventType(name)) << name;
  for (const char *name : {"ts-step", "ts-collision", "network", ""})
    EXPECT_FALSE(ts::isNetworkEventType(name)) << name;
  EXPECT_EQ(ts::EventNetwork(1).getType(), "ts-network");
  StartedLog log;  // labels outside -1 to 3 are refused and logged
  EXPECT_EQ(ts::EventNetwork(-1).getLabel(), -1);
  EXPECT_EQ(ts::EventNetwork(3).getLabel(), 3);
  EXPECT_TRUE(log.messages().empty());
  EXPECT_EQ(ts::EventNetwork(4).getLabel(), -1);
  EXPECT_EQ(ts::EventNetwork(-2).getLabel(), -1);
  EXPECT_EQ(log.messages(), (std::vector<std::string>{"EventNetwork::setLabel(): Undefined type (4).",
                                                      "EventNetwork::setLabel(): Undefined type (-2)."}));
}
