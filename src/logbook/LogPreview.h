#pragma once
// "Log Export Preview" (TLogPreviewDlg) without its window: a title and the
// text to show, read-only, and "Copy to Clipboard". The exports and reports
// hand their text to Show; the window shows it modally.

#include <functional>
#include <string>

namespace ondaris {

class LogPreview {
 public:
  static constexpr const char* Caption = "Log Export Preview";

  // What the window shows: its caption and the memo's text.
  std::string title = Caption;
  std::string text;

  // Shows the window modally; returns once it has closed.
  std::function<void(LogPreview&)> show;
  // Puts text on the desktop's clipboard.
  std::function<void(const std::string&)> copyToClipboard;

  // Fills the memo (an empty title keeps the usual caption) and shows it.
  void Show(const std::string& caption, std::string memoText) {
    title = caption.empty() ? std::string(Caption) : caption;
    text = std::move(memoText);
    if (show) show(*this);
  }
  // "Copy to Clipboard": all of the memo's text.
  void ClipbrdCopyBtnClick() {
    if (copyToClipboard) copyToClipboard(text);
  }
};

}  // namespace ondaris
