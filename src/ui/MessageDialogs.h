#pragma once

#include <span>
#include <string_view>

#include "platform/Dialog.h"
#include "script/StringCatalogue.h"

namespace setup {

// The static that shows the message or question.
inline constexpr int kMessageTextId = 109;

struct DialogButton {
  int id;
  int labelSlot;
  int result;
};

// One of the modal message dialogs: its template and what each of its buttons answers.
struct MessageLayout {
  const char* templateName;
  // A question is built while hidden, so that it never shows half-labelled.
  bool hideWhileBuilding;
  std::span<const DialogButton> buttons;
};

inline constexpr DialogButton kOkButtons[] = {{0, text::BUTTON_OK, 0}};
inline constexpr DialogButton kYesNoButtons[] = {
    {111, text::DLG_YNO_YES, 1}, {112, text::DLG_YNO_NO, 0}, {1, text::BUTTON_CANCEL, -1}};
inline constexpr DialogButton kYesAllNoButtons[] = {{111, text::DLG_YNO_YES, 1},
                                                    {113, text::DLG_YNO_ALL, 2},
                                                    {112, text::DLG_YNO_NO, 0},
                                                    {1, text::BUTTON_CANCEL, -1}};
inline constexpr DialogButton kAbortRetryIgnoreButtons[] = {
    {1, text::BUTTON_CANCEL, -1}, {114, text::DLG_ARI_RETRY, -2}, {115, text::DLG_ARI_IGNORE, -3}};

inline constexpr MessageLayout kMessageLayout{"DLG_msg", false, kOkButtons};
inline constexpr MessageLayout kQuestionLayout{"DLG_yesno", true, kYesNoButtons};
inline constexpr MessageLayout kQuestionWithAllLayout{"DLG_yesallno", true, kYesAllNoButtons};
inline constexpr MessageLayout kAbortRetryIgnoreLayout{"DLG_abortretryignore", true,
                                                       kAbortRetryIgnoreButtons};

// Shows one text with the buttons of its layout, labelled in the current language, and ends
// with the value of the button pressed, or -1 when closed from the system menu.
class MessageDialog : public Dialog {
 public:
  MessageDialog(const MessageLayout& layout, const StringCatalogue& catalogue,
                std::string_view text)
      : layout_(layout), catalogue_(catalogue), text_(text) {}

  void OnInit(DialogView& view) override;
  void OnCommand(DialogView& view, int id, int code) override;
  void OnClose(DialogView& view) override { view.End(-1); }

 private:
  const MessageLayout& layout_;
  const StringCatalogue& catalogue_;
  std::string_view text_;
};

// The dialog's result, or -1 when its template could not be loaded.
int RunMessageDialog(DialogHost& host, const MessageLayout& layout,
                     const StringCatalogue& catalogue, WindowRef owner, std::string_view text);

}  // namespace setup
