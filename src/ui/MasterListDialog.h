#pragma once
// TMFLViewDlg, "Master Frequency List Viewer": the master list in a
// three-column table with Find-Sort, Match Case, Open File and Exit. The
// lines, their sorts and the search live in MasterListViewer; this window
// only shows them and passes the listener's actions on.

#include <QAbstractTableModel>
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "freqfiles/MasterListViewer.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ondaris {

class FreqFileController;
class MessageBoxes;
struct PanelContext;

// The viewer's lines for the table; the view asks only for the cells it
// shows.
class MasterListTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit MasterListTableModel(MasterListViewer& viewer, QObject* parent = nullptr)
      : QAbstractTableModel(parent), viewer_(viewer) {}

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The lines were reordered or replaced.
  void reload();
  // OKBtnClick: the viewer lets go of its lines.
  void releaseLines();
  // Only the match marks changed.
  void marksChanged();

 private:
  MasterListViewer& viewer_;
};

class MasterListDialog : public QDialog {
  Q_OBJECT
 public:
  // `freqFileDir` is the frequency-file folder (with its trailing '/').
  MasterListDialog(MasterListViewer& viewer, std::string freqFileDir, MasterListOpenHost host,
                   MessageBoxes& messages, QWidget* parent = nullptr);

  // An error that ended an action of the viewer (opening a file). Unset: it
  // is shown in a message box.
  std::function<void(const std::string&)> onError;

  QTableView* table() const { return table_; }
  MasterListTableModel* tableModel() const { return model_; }

  // The Find-Sort, Open File and Exit buttons, as the listener presses them.
  void findSortClicked();
  void openClicked();
  void exitClicked();

  // MFLViewItemClick: reads the master list of the program folder and shows
  // the viewer modally; a missing or empty list is announced instead.
  static void ShowViewer(QWidget* parent, const std::string& programDir, const std::string& freqFileDir,
                         char separator, MessageBoxes& messages, MasterListOpenHost host,
                         std::function<void(const std::string&)> onError = {});
  // The same for the program's loaded station list: its folder, the file
  // scan that blocks opening, and its Reopen path for the chosen file.
  static void ShowViewer(QWidget* parent, FreqFileController& files, PanelContext& context,
                         std::function<void(const std::string&)> onError = {});

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::array<int, MasterColumnCount> columnWidths() const;
  // The grid's own x of a point of the header (from 1, a pixel between
  // columns), as the header zones are measured.
  int headerGridX(int headerX) const;
  void showFromTop();
  void reportError(const std::string& text);

  MasterListViewer& viewer_;
  std::string freqFileDir_;
  MasterListOpenHost host_;
  MessageBoxes& messages_;
  MasterListTableModel* model_ = nullptr;
  QTableView* table_ = nullptr;
  QLineEdit* input_ = nullptr;
  QCheckBox* upper_ = nullptr;
  QPushButton* findSort_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* exit_ = nullptr;
  bool widthsSet_ = false;
};

}  // namespace ondaris
