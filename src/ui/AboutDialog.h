#pragma once
// "About Ondaris...": the program's name, its version and the receiver it serves.

#include <QDialog>

namespace ondaris {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace ondaris
