#pragma once
// TLogPreviewDlg, "Log Export Preview": the read-only memo PreviewMemo in a
// fixed-pitch font, ClipbrdCopyBtn ("Copy to Clipboard") and OKBtn ("Close").

#include <QDialog>

class QPlainTextEdit;

namespace ondaris {

class LogPreview;

class LogPreviewView : public QDialog {
  Q_OBJECT
 public:
  // Becomes `model`'s show and clipboard hooks (the destructor lets go).
  LogPreviewView(LogPreview& model, QWidget* parent = nullptr);
  ~LogPreviewView() override;

  QPlainTextEdit* memo() const { return memo_; }
  void copyClicked();

 private:
  LogPreview& model_;
  QPlainTextEdit* memo_ = nullptr;
};

}  // namespace ondaris
