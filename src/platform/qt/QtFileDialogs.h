#pragma once
// The open and save dialogs over QFileDialog. Paths are the program's
// single-byte text, passed to and from Qt as local 8-bit strings.

#include <QPointer>
#include <QWidget>

#include "platform/FileDialogs.h"

namespace ondaris {

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  // The window the dialogs belong to (the main window once it exists).
  void setParentWidget(QWidget* parent) { parent_ = parent; }

  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  // The program asks its own overwrite question, so the dialog does not.
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFolder(const FileDialogRequest& request) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace ondaris
