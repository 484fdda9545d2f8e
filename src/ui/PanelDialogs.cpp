#include "ui/PanelDialogs.h"

#include "app/FrontPanel.h"
#include "ui/AddEditDialog.h"
#include "ui/BandScanDialogView.h"
#include "ui/DataProgramDialogView.h"
#include "ui/EibiImportDialogView.h"
#include "ui/LimitScanDialogView.h"
#include "ui/LogbookOptionsPage.h"
#include "ui/LookupDialog.h"
#include "ui/RigctlOptionsPage.h"
#include "ui/SkedDialogView.h"
#include "ui/TagDialogView.h"
#include "ui/UserOptionsDialogView.h"

namespace ondaris {

PanelDialogs::PanelDialogs(FrontPanel& panel, QWidget* parent) : panel_(panel) {
  auto report = [&panel](const std::string& text) { panel.ReportError(text); };

  limitScan_ = new LimitScanDialogView(parent);
  limitScan_->onError = report;
  panel.limitDialog.show = [dialog = limitScan_](LimitScanDialog& model) {
    if (dialog) dialog->run(model);
  };

  tagEntry_ = new TagDialogView(TagDialogView::Kind::MemoryTag, parent);
  panel.scratch.showTagEntryDialog = [dialog = tagEntry_](TagEntryDialog& model) {
    if (dialog) dialog->run(model);
  };
  bankTag_ = new TagDialogView(TagDialogView::Kind::BankTag, parent);
  panel.scratch.showBankTagDialog = [dialog = bankTag_](BankTagDialog& model) {
    if (dialog) dialog->run(model);
  };

  // These hand themselves to their part and take themselves back.
  addEdit_ = new AddEditDialog(panel.editor, parent);
  addEdit_->onError = report;
  bandScan_ = new BandScanDialogView(parent);
  bandScan_->attach(panel.bandDialog);
  lookup_ = new LookupDialog(panel.lookup, parent);
  lookup_->onError = report;

  userOptions_ = new UserOptionsDialogView(parent);
  userOptions_->onError = report;
  AddLogbookOptionsPage(*userOptions_, panel.logbookOptions);
  AddRigctlOptionsPage(*userOptions_, panel.rigctlOptions);
  panel.options.show = [dialog = userOptions_](UserOptionsDialog& model) {
    if (dialog) dialog->run(model);
  };
  dataProgram_ = new DataProgramDialogView(parent);
  dataProgram_->onError = report;
  panel.dataModes.show = [dialog = dataProgram_](DataProgramDialog& model) {
    if (dialog) dialog->run(model);
  };
  scheduler_ = new SkedDialogView(panel.skedDialog, parent);
  scheduler_->onError = report;
  eibiImport_ = new EibiImportDialogView(parent);
  eibiImport_->onError = report;
  panel.eibiImport.show = [dialog = eibiImport_](EibiImport& model) {
    if (dialog) dialog->run(model);
  };
}

PanelDialogs::~PanelDialogs() {
  panel_.limitDialog.show = nullptr;
  panel_.scratch.showTagEntryDialog = nullptr;
  panel_.scratch.showBankTagDialog = nullptr;
  panel_.options.show = nullptr;
  panel_.dataModes.show = nullptr;
  panel_.eibiImport.show = nullptr;
  delete limitScan_.data();
  delete tagEntry_.data();
  delete bankTag_.data();
  delete addEdit_.data();
  delete bandScan_.data();
  delete lookup_.data();
  delete userOptions_.data();
  delete dataProgram_.data();
  delete scheduler_.data();
  delete eibiImport_.data();
}

TagDialogView* PanelDialogs::tagEntry() const { return tagEntry_.data(); }
TagDialogView* PanelDialogs::bankTag() const { return bankTag_.data(); }
LimitScanDialogView* PanelDialogs::limitScan() const { return limitScan_.data(); }
BandScanDialogView* PanelDialogs::bandScan() const { return bandScan_.data(); }
AddEditDialog* PanelDialogs::addEdit() const { return addEdit_.data(); }
LookupDialog* PanelDialogs::lookup() const { return lookup_.data(); }
UserOptionsDialogView* PanelDialogs::userOptions() const { return userOptions_.data(); }
DataProgramDialogView* PanelDialogs::dataProgram() const { return dataProgram_.data(); }
SkedDialogView* PanelDialogs::scheduler() const { return scheduler_.data(); }
EibiImportDialogView* PanelDialogs::eibiImport() const { return eibiImport_.data(); }

}  // namespace ondaris
