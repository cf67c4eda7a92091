// AutoExec.NT belongs to the user: an edit adds or takes only the block, and a failure
// leaves the file as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/AppWorld.h"
#include "sysconfig/AutoexecNt.h"

namespace setup {
namespace {

using Texts = std::vector<std::string>;

const std::string kAutoexec = "C:\\WINNT\\system32\\AutoExec.NT";
const std::string kTemporary = "C:\\WINNT\\system32\\AutoTmp.$$$";
const std::string kBegin(kAutoexecBlock[0]), kLoad(kAutoexecBlock[1]), kEnd(kAutoexecBlock[2]);
const std::string kBlock = CrLfLines({kBegin, kLoad, kEnd});

class AutoexecNtTest : public ::testing::Test {
 protected:
  AutoexecNtTest() {
    world_.state->Catalogue.SetText(text::ERR_CFG_NOAUTOEXEC, "cannot open %s");
    world_.state->Catalogue.SetText(text::ERR_CANTWRITE, "cannot write %s");
  }
  int Insert() { return InsertAutoexecBlock(world_.services, *world_.state); }
  int Remove() { return RemoveAutoexecBlock(world_.services, *world_.state); }
  std::optional<std::string> Autoexec() const { return world_.files.FileBytes(kAutoexec); }
  Texts Messages() const { return world_.prompts.Texts(FakePrompts::Kind::Message); }

  AppWorld world_;
};

TEST_F(AutoexecNtTest, RoundTripAddsOnlyTheEmptyLineBeforeTheBlock) {
  const std::string odd =
      "x\ry\r\nsoft\xAF"
      "break  \r\nunix\nline\r\n" +
      std::string(300, 'L') + "\r\n" + kEnd + " \r\nlast";
  const struct {
    const char* name;
    std::string original, inserted, removed;  // removed: from the inserted file
  } cases[] = {
      {"last line open", "REM a\r\nlast", "REM a\r\nlast\r\n" + kBlock, "REM a\r\nlast\r\n"},
      {"odd bytes kept", odd, odd + "\r\n" + kBlock, odd + "\r\n"},
      // Whatever the case, the second line alone marks the block, and goes.
      {"load line alone", "A\r\nLH %systemroot%\\SYSTEM\\ISDNTSR.EXE\r\nB\r\n",
       "A\r\nLH %systemroot%\\SYSTEM\\ISDNTSR.EXE\r\nB\r\n", "A\r\nB\r\n"},
      {"foreign line inside the block",
       "A\r\n" + kBegin + "\r\nkeep\r\n" + kLoad + "\r\n" + kEnd + "\r\nB",
       "A\r\n" + kBegin + "\r\nkeep\r\n" + kLoad + "\r\n" + kEnd + "\r\nB", "A\r\nkeep\r\nB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    world_.files.PutFile(kAutoexec, c.original);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(Insert(), 1);
      EXPECT_EQ(Autoexec(), c.inserted);
    }
    EXPECT_EQ(Remove(), 1);
    EXPECT_EQ(Autoexec(), c.removed);
    EXPECT_EQ(world_.files.Attributes(kTemporary), std::nullopt);
  }
  EXPECT_TRUE(world_.prompts.shown().empty());
}

TEST_F(AutoexecNtTest, FailuresAreReportedAndLeaveTheFileAsItWas) {
  const std::string blocked = "A\r\n" + kBlock + "B\r\n";
  EXPECT_EQ(Insert(), 0);
  EXPECT_EQ(Remove(), 0);
  EXPECT_EQ(Autoexec(), std::nullopt) << "AutoExec.NT must never be created";

  world_.files.PutFile(kAutoexec, blocked);
  world_.files.SetAttributes(kAutoexec, Files::kReadOnly);
  EXPECT_EQ(Remove(), 0);
  world_.files.SetAttributes(kAutoexec, Files::kNormal);

  world_.files.MakeDirectories(kTemporary);  // the copy cannot be made
  EXPECT_EQ(Remove(), 0);
  world_.files.DeleteDirectory(kTemporary);

  world_.files.FailWrites(kTemporary);
  EXPECT_EQ(Remove(), 0);
  EXPECT_EQ(Autoexec(), blocked);
  EXPECT_EQ(world_.files.Attributes(kTemporary), std::nullopt);

  // Nothing to remove: no copy is written, so its failing writes do not matter.
  world_.files.PutFile(kAutoexec, "A\r\n");
  EXPECT_EQ(Remove(), 1);
  world_.files.FailWrites(kAutoexec);
  EXPECT_EQ(Insert(), 0);
  EXPECT_EQ(Autoexec(), "A\r\n");

  EXPECT_EQ(Messages(), (Texts{"cannot open " + kAutoexec, "cannot open " + kAutoexec,
                               "cannot open " + kAutoexec, "cannot write " + kAutoexec,
                               "cannot write " + kAutoexec, "cannot write " + kAutoexec}));
}

}  // namespace
}  // namespace setup
