#include <windows.h>

#include <string>

#include "Scratch.h"
#include "support/contracts/ExpanderContract.h"
#include "win32/Win32Expander.h"
#include "win32/Win32Files.h"

namespace setup {
namespace {

// LZ32 on the SZDD files the build puts beside this test program.
class Win32Env {
 public:
  Expander& expander() { return expander_; }
  Files& files() { return files_; }
  const std::string& fixtures() const { return fixtures_; }
  const std::string& scratch() const { return scratch_.path(); }

 private:
  Win32Expander expander_;
  Win32Files files_;
  std::string fixtures_ = BesideThisProgram("szdd");
  ScratchFolder scratch_{"expander-contract"};
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, ExpanderContract, ::testing::Types<Win32Env>);

}  // namespace
}  // namespace setup
