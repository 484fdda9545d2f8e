#pragma once
// "About Ondaris...": the program's name, its version, the receiver it
// serves, the licence and where the help pages are, with an OK button.

#include <QDialog>

namespace ondaris {

// The licence the program is distributed under, as the about box states it.
inline constexpr const char* ProgramLicence =
    "Free software under the GNU General Public License, version 3 or later.";

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  // `helpPage`: where the help pages were found; empty when they were not.
  explicit AboutDialog(const QString& helpPage = QString(), QWidget* parent = nullptr);
};

}  // namespace ondaris
