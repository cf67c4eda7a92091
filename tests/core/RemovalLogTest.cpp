#include <gtest/gtest.h>

#include "support/AppWorld.h"
#include "sysconfig/RemovalLog.h"

namespace setup {
namespace {

constexpr char kLog[] = "C:\\VELMAR\\removed.kvx";
constexpr char kHeader[] =
    "KVX Velmar Setup --- *** DON'T TOUCH THIS FILE!!!***\r\nDeleted Objects:\r\n\r\n";

class RemovalLogTest : public ::testing::Test {
 protected:
  RemovalLogTest() {
    world_.state->SourceDir.Assign("C:\\VELMAR");
    world_.files.MakeDirectories("C:\\VELMAR");
  }
  int Log(std::string_view object) {
    return LogRemovedObject(world_.services, *world_.state, object);
  }
  int Logged(std::string_view object) {
    return IsLoggedAsRemoved(world_.services, *world_.state, object);
  }

  AppWorld world_;
};

TEST_F(RemovalLogTest, LogsEachObjectOnceUnderOneHeaderAndFindsWholeLinesIgnoringCase) {
  const std::string longKey = "SYSTEM\\CurrentControlSet\\Services\\" + std::string(220, 'K');
  EXPECT_EQ(Logged("C:\\VELMAR\\VMDSS1.SYS"), 0);  // no log yet
  EXPECT_EQ(Log("C:\\VELMAR\\VMDSS1.SYS"), 1);
  EXPECT_EQ(Log(longKey), 1);
  EXPECT_EQ(world_.files.FileBytes(kLog),
            std::string(kHeader) + "C:\\VELMAR\\VMDSS1.SYS\r\n" + longKey + "\r\n");
  EXPECT_EQ(world_.files.Attributes(kLog), Files::kHidden);
  for (const auto& [object, found] :
       {std::pair{"c:\\velmar\\vmdss1.sys", 1}, {"C:\\VELMAR\\VMDSS1", 0}, {longKey.c_str(), 1}})
    EXPECT_EQ(Logged(object), found) << object;

  // Edited by hand or mangled on the way: the line found before stays found, and the one
  // logged after it is found whole, with every byte.
  const std::string x300(300, 'x'), soft = "C:\\VELMAR\\\xAF.SYS";
  for (const auto& [tail, next] : {std::pair<std::string, std::string>{"A\rB\r", "NEXT"},
                                   {"A", "NEXT"},
                                   {soft + "\r\n", x300},
                                   {x300 + "\r\n", soft}}) {
    world_.files.PutFile(kLog, kHeader + tail);
    EXPECT_EQ(Log(next), 1);
    EXPECT_EQ(Logged(tail.substr(0, tail.find('\r'))) + Logged(next), 2) << tail;
  }
  EXPECT_EQ(Logged(x300.substr(0, 259)), 0);

  DeleteRemovalLog(world_.services, world_.state->SourceDir.view());
  EXPECT_FALSE(world_.files.FileBytes(kLog));

  // Where the log's name does not fit, no other file takes its place.
  const std::string deep = "C:\\" + std::string(245, 'd'), other = deep + "\\removed.kv";
  world_.files.PutFile(other, "another file");
  world_.state->SourceDir.Assign(deep);
  EXPECT_EQ(Log("X") + Logged("X"), 0);
  DeleteRemovalLog(world_.services, deep);
  EXPECT_EQ(world_.files.FileBytes(other), "another file");
}

}  // namespace
}  // namespace setup
