#include "support/FakePrompts.h"
#include "support/contracts/PromptsContract.h"

namespace setup {
namespace {

class FakePromptsEnv {
 public:
  Prompts& prompts() { return prompts_; }

  void WillAnswer(Asked asked, int result) {
    if (asked == Asked::Message)
      prompts_.AnswerMessage(result);
    else
      prompts_.Answer(result);
  }
  void WillClose(Asked asked) { WillAnswer(asked, -1); }
  void WillCancelProgress(Confirm confirm) {
    prompts_.CancelProgressAfter(0, confirm != Confirm::No);
  }
  bool UserDone() const { return !prompts_.cancelPending(); }
  std::string ShownText() const { return prompts_.shown().back().text; }
  bool OfferedAll() const {
    return prompts_.shown().back().kind == FakePrompts::Kind::QuestionWithAll;
  }
  void Pump(WindowRef window) { prompts_.PumpMessages(window); }

 private:
  FakePrompts prompts_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, PromptsContract, FakePromptsEnv);

}  // namespace
}  // namespace setup
