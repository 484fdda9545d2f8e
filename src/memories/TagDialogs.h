#pragma once
// What the two small tag dialogs of the scratchpad do, without their
// windows. A window shows the caption, the label and the edit with `text`,
// writes the edited text back into `text` and calls OKBtnClick or
// CancelBtnClick; the model applies the result and says it is closed.
//
//   TTagEntryDlg  "Scratchpad Memory Tag Entry"  edit TagEdit      "Enter Tag:"
//   TBankTagDlg   "Bank Tag  Entry"              edit BankTagEdit  "Bank Tag:"

#include <cstddef>
#include <functional>
#include <string>

namespace ondaris {

class TagDialogModel {
 public:
  TagDialogModel(const char* caption, const char* label) : caption_(caption), label_(label) {}

  const char* caption() const { return caption_; }
  const char* label() const { return label_; }
  static constexpr const char* OKCaption = "OK";
  static constexpr const char* CancelCaption = "Cancel";

  // The edit's text: filled before the dialog is shown, edited by the listener.
  std::string text;

  // Called with `text` when OK is clicked (set by the scratchpad).
  std::function<void(const std::string&)> onOK;

  // Prepares the dialog for showing with `initial` in the edit.
  void Open(const std::string& initial) {
    text = initial;
    open_ = true;
  }
  bool isOpen() const { return open_; }

  void OKBtnClick() {
    if (!open_) return;
    open_ = false;
    if (onOK) onOK(text);
  }
  void CancelBtnClick() { open_ = false; }

 private:
  const char* caption_;
  const char* label_;
  bool open_ = false;
};

// TTagEntryDlg: the tag of one scratchpad memory.
class TagEntryDialog : public TagDialogModel {
 public:
  TagEntryDialog() : TagDialogModel("Scratchpad Memory Tag Entry", "Enter Tag:") {}
};

// TBankTagDlg: the tag of the current bank.
class BankTagDialog : public TagDialogModel {
 public:
  BankTagDialog() : TagDialogModel("Bank Tag  Entry", "Bank Tag:") {}
};

}  // namespace ondaris
