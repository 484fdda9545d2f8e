#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ondaris {

QtMessageBoxes::QtMessageBoxes(QWidget* parent, QString title) : parent_(parent), title_(std::move(title)) {}

QString QtMessageBoxes::title() const {
  return title_.isEmpty() ? QApplication::applicationDisplayName() : title_;
}

void QtMessageBoxes::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, title(),
                  QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok,
                  parent_.data());
  box.exec();
}

bool QtMessageBoxes::askYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, title(),
                  QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Yes | QMessageBox::No, parent_.data());
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace ondaris
