#pragma once
// Message boxes over QMessageBox: an information box with OK, and a Yes/No
// question. Texts are the program's single-byte text, shown as Latin-1.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/MessageBoxes.h"

namespace ondaris {

class QtMessageBoxes : public MessageBoxes {
 public:
  // An empty title uses the application's display name.
  explicit QtMessageBoxes(QWidget* parent = nullptr, QString title = {});

  // The window the boxes are centred on (the main window once it exists).
  void setParentWidget(QWidget* parent) { parent_ = parent; }

  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text) override;

 private:
  QString title() const;

  QPointer<QWidget> parent_;
  QString title_;
};

}  // namespace ondaris
