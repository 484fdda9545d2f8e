#pragma once
// TUserOptionDlg, "User Options Setup", as a window over UserOptionsDialog.
// The fields carry the names the rest of the program uses (ComPortBox,
// DirEdit, CWToneEdit, ...). Other parts add their own pages with
// addSectionView; the checks and what OK does live in the model.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace ondaris {

class UserOptionsDialog;

class UserOptionsDialogView : public QDialog {
  Q_OBJECT
 public:
  explicit UserOptionsDialogView(QWidget* parent = nullptr);

  // Shows `model` modally and returns when it has closed.
  void run(UserOptionsDialog& model);

  // A page of another part of the program: `show` puts its model's fields
  // into its widgets, `take` writes the edited ones back (before OK).
  void addSectionView(QWidget* page, const QString& title, std::function<void()> show, std::function<void()> take);

  // An error that ended OK (for example the receiver's port failing).
  std::function<void(const std::string&)> onError;

  void okClicked();
  void browseClicked();

 private:
  struct SectionView {
    std::function<void()> show;
    std::function<void()> take;
  };
  void showModel();
  void takeFields();

  UserOptionsDialog* model_ = nullptr;
  QTabWidget* pages_ = nullptr;
  QComboBox* port_ = nullptr;
  QLineEdit* dir_ = nullptr;
  QLineEdit* cwTone_ = nullptr;
  QLineEdit* meter_ = nullptr;
  QLineEdit* loFreq_ = nullptr;
  QLineEdit* loErr_ = nullptr;
  QLineEdit* hiFreq_ = nullptr;
  QLineEdit* hiErr_ = nullptr;
  QComboBox* boxes_[6] = {};  // AM filter, AM step, SSB filter, SSB step, CW filter, CW step
  QCheckBox* checks_[6] = {};  // 9 kHz, mute, mute together, default filters, default steps, hints
  std::vector<SectionView> sections_;
};

}  // namespace ondaris
