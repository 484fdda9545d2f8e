#include "app/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>

namespace ondaris {

bool QtShell::open(const std::string& target, std::string& error) {
  const QString text = QString::fromLatin1(target.data(), static_cast<qsizetype>(target.size()));
  if (text.isEmpty()) {
    error = "Nothing to open.";
    return false;
  }
  // A path is opened as a file; anything with a scheme as an address.
  QUrl url;
  if (text.startsWith('/')) {
    if (!QFileInfo::exists(text)) {
      error = "Could not find " + target;
      return false;
    }
    url = QUrl::fromLocalFile(text);
  } else {
    url = QUrl(text, QUrl::TolerantMode);
    if (url.scheme().isEmpty()) url = QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
  }
  if (!QDesktopServices::openUrl(url)) {
    error = "The desktop could not open " + target;
    return false;
  }
  return true;
}

}  // namespace ondaris
