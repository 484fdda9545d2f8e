#pragma once
// The dialogs of the front panel, created once after the main window and
// shown modally when their part asks for them: the limit-scan setup, the
// scratchpad's two tag dialogs, the add/edit dialog of the station list, the
// band-scan setup, the master-list lookup, the user options, the
// data-mode programming dialog, the scheduler and the options of the EiBi
// import. Creating this object hands each part its dialog;
// destroying it takes them back (the dialogs belong to the parent window and
// may also go with it).

#include <QPointer>

class QWidget;

namespace ondaris {

class AddEditDialog;
class BandScanDialogView;
class DataProgramDialogView;
class EibiImportDialogView;
class FrontPanel;
class LimitScanDialogView;
class LookupDialog;
class TagDialogView;
class SkedDialogView;
class UserOptionsDialogView;

class PanelDialogs {
 public:
  PanelDialogs(FrontPanel& panel, QWidget* parent);
  ~PanelDialogs();
  PanelDialogs(const PanelDialogs&) = delete;
  PanelDialogs& operator=(const PanelDialogs&) = delete;

  // The dialogs; nullptr once their window has taken them away.
  TagDialogView* tagEntry() const;
  TagDialogView* bankTag() const;
  LimitScanDialogView* limitScan() const;
  BandScanDialogView* bandScan() const;
  AddEditDialog* addEdit() const;
  LookupDialog* lookup() const;
  UserOptionsDialogView* userOptions() const;
  DataProgramDialogView* dataProgram() const;
  SkedDialogView* scheduler() const;
  EibiImportDialogView* eibiImport() const;

 private:
  FrontPanel& panel_;
  QPointer<TagDialogView> tagEntry_;
  QPointer<TagDialogView> bankTag_;
  QPointer<LimitScanDialogView> limitScan_;
  QPointer<BandScanDialogView> bandScan_;
  QPointer<AddEditDialog> addEdit_;
  QPointer<LookupDialog> lookup_;
  QPointer<UserOptionsDialogView> userOptions_;
  QPointer<DataProgramDialogView> dataProgram_;
  QPointer<SkedDialogView> scheduler_;
  QPointer<EibiImportDialogView> eibiImport_;
};

}  // namespace ondaris
