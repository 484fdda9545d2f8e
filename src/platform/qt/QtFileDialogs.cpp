#include "platform/qt/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace ondaris {

namespace {

QString Local(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

// The station-list dialogs offer only their own filter.
void Prepare(QFileDialog& dialog, const FileDialogRequest& request) {
  if (!request.title.empty()) dialog.setWindowTitle(Local(request.title));
  if (!request.folder.empty()) dialog.setDirectory(Local(request.folder));
  dialog.setNameFilters(QStringList{Local(request.filter)});
  dialog.setDefaultSuffix(Local(request.defaultExtension));
}

std::optional<std::string> Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
  return QDir::cleanPath(files.front()).toLocal8Bit().toStdString();
}

}  // namespace

std::optional<std::string> QtFileDialogs::openFile(const FileDialogRequest& request) {
  QFileDialog dialog(parent_.data());
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Chosen(dialog);
}

std::optional<std::string> QtFileDialogs::saveFile(const FileDialogRequest& request) {
  QFileDialog dialog(parent_.data());
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!request.fileName.empty()) dialog.selectFile(Local(request.fileName));
  return Chosen(dialog);
}

std::optional<std::string> QtFileDialogs::chooseFolder(const FileDialogRequest& request) {
  QFileDialog dialog(parent_.data());
  if (!request.title.empty()) dialog.setWindowTitle(Local(request.title));
  if (!request.folder.empty()) dialog.setDirectory(Local(request.folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  return Chosen(dialog);
}

}  // namespace ondaris
