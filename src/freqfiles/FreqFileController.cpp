#include "freqfiles/FreqFileController.h"

#include <optional>

#include "common/AtomicFile.h"
#include "common/FileLines.h"
#include "common/TextHelpers.h"
#include "platform/FileDialogs.h"
#include "radio/StateFiles.h"

namespace ondaris {

std::string EmptyFileMessage(const std::string& name) { return "Aborting:  Empty file - " + name; }

std::string OverwriteQuestion(const std::string& name) {
  return "There is a file named " + name + " in the directory.  Do you want to overwrite it?";
}

FreqFileController::FreqFileController(PanelContext& context, StationGrid& stations, FileDialogs& dialogs,
                                       std::string programDir)
    : ctx_(context), stations_(stations), list_(stations.list), dialogs_(dialogs), programDir_(std::move(programDir)) {}

std::string FreqFileController::FreqFileFolder() const {
  return ResolveFreqFileDir(ctx_.state.FreqFileDir, programDir_);
}

std::string FreqFileController::FreqFilePath() const { return FreqFileFolder() + ctx_.state.LastFreqFile; }

void FreqFileController::SetStatus(const std::string& text) { ctx_.panel.setCaption(Ctl::StatusPanel, text); }

// ---- Start-up and exit -------------------------------------------------------

void FreqFileController::LoadLastFrequencyFile() {
  RadioState& s = ctx_.state;
  if (s.LastFreqFile.empty()) {
    s.FreqFileRecordCount = 0;
    ctx_.panel.setEnabled(Ctl::Grid, false);
    return;
  }
  const std::string path = FreqFilePath();
  if (!FileExists(path)) {
    ctx_.messages.showMessage(MissingLastFreqFileMessage);
    s.LastFreqFile.clear();
    s.FreqFileRecordCount = 0;
    return;
  }
  if (addToRecentFiles) addToRecentFiles(path);
  list_.FileLines.clear();
  stations_.ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::AskToSaveAtExit() {
  if (!list_.Changed || list_.RecordCount() < 1) return;
  if (ctx_.messages.askYesNo(SaveChangesQuestion)) SaveFrequencyFile();
}

// ---- Loading -----------------------------------------------------------------

void FreqFileController::OpenFrequencyFile() {
  const std::optional<std::string> bytes = ReadWholeFile(FreqFilePath());
  std::string content = bytes ? *bytes : std::string();
  if (SplitFileLines(content).empty()) {
    ctx_.messages.showMessage(EmptyFileMessage(ctx_.state.LastFreqFile));
    list_.FileLines.clear();
    return;
  }
  stations_.BuildFrequencyList(std::move(content));
  stations_.EnableFileCommands();
  ctx_.panel.setEnabled(Ctl::Grid, true);
  stations_.RefreshFrequencyGrid();
}

// ---- Commands ------------------------------------------------------------------

void FreqFileController::AskToSaveChanges() {
  if (ctx_.messages.askYesNo(SaveChangesQuestion))
    SaveFrequencyFile();
  else
    ctx_.panel.setFont(Ctl::FileOpBtn1, Colour::Black, false);
}

bool FreqFileController::CanTakeFileName(const std::string& path) {
  const std::string folder = ExtractDirectoryPart(path);
  const std::string name = ExtractFileNamePart(path);
  if (!FreqFileDirFits(folder, programDir_)) {
    ctx_.messages.showMessage(FreqFileDirTooLongMessage(folder));
    return false;
  }
  if (name.size() > LastFreqFileCapacity) {
    ctx_.messages.showMessage(FreqFileNameTooLongMessage(name));
    return false;
  }
  return true;
}

void FreqFileController::TakeFileName(const std::string& path) {
  ctx_.state.FreqFileDir = StoredFreqFileDir(ExtractDirectoryPart(path), programDir_);
  ctx_.state.LastFreqFile = ExtractFileNamePart(path);
}

void FreqFileController::NewFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  try {
    if (list_.Changed && list_.RecordCount() > 0) AskToSaveChanges();
    if (list_.OnAirView) stations_.LeaveOnAirView();
    list_.FileLines.clear();
    ctx_.state.LastFreqFile.clear();
    ctx_.state.FreqFileRecordCount = 0;
    SetStatus("");
    list_.Changed = false;
    list_.Clear();
    stations_.ClearGrid();
    ctx_.panel.setEnabled(Ctl::Grid, false);
    stations_.DisableFileCommands();
    stations_.ShowSaveButtonLook();
    stations_.NotifyRecordsChanged();
  } catch (...) {
    ctx_.messages.showMessage(NewFileFailedMessage);
  }
}

void FreqFileController::LoadFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  if (list_.Changed) AskToSaveChanges();
  const std::optional<std::string> chosen =
      dialogs_.openFile(FileDialogRequest{"Open Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen || !CanTakeFileName(*chosen)) return;
  if (list_.OnAirView) stations_.LeaveOnAirView();
  list_.FileLines.clear();
  TakeFileName(*chosen);
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  stations_.ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::ReopenFile(const std::string& path) {
  if (ctx_.scan.ScanState == 1) return;
  if (list_.Changed) AskToSaveChanges();
  if (list_.OnAirView) stations_.LeaveOnAirView();
  if (!FileExists(path)) {
    ctx_.messages.showMessage(ReopenMissingMessage);
    return;
  }
  if (!CanTakeFileName(path)) return;
  TakeFileName(path);
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  list_.FileLines.clear();
  stations_.ClearFrequencyList();
  OpenFrequencyFile();
}

void FreqFileController::AppendFileItemClick() {
  if (ctx_.scan.ScanState == 1) return;
  const std::optional<std::string> chosen =
      dialogs_.openFile(FileDialogRequest{"Append Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen) return;
  const std::optional<std::string> bytes = ReadWholeFile(*chosen);
  const std::string content = bytes ? *bytes : std::string();
  if (list_.OnAirView) stations_.LeaveOnAirView();
  if (SplitFileLines(content).empty()) {
    ctx_.messages.showMessage(EmptyFileMessage(ExtractFileNamePart(*chosen)));
    return;
  }
  const bool wasEmpty = list_.RecordCount() == 0;
  list_.AppendFile(content, ctx_.decimalSeparator,
                   [this](const std::string& message) { ctx_.messages.showMessage(message); });
  FinishAppend(wasEmpty);
}

void FreqFileController::AppendRecords(const std::vector<FrequencyRecord>& records) {
  if (records.empty()) return;
  if (list_.OnAirView) stations_.LeaveOnAirView();
  const bool wasEmpty = list_.RecordCount() == 0;
  for (const FrequencyRecord& record : records) list_.AppendRecord(record);
  FinishAppend(wasEmpty);
}

void FreqFileController::FinishAppend(bool wasEmpty) {
  list_.OnAirView = false;
  list_.ResetRowOrders();
  list_.Changed = true;
  // The merged list is no longer any one file: it must be saved under a new name.
  ctx_.state.LastFreqFile.clear();
  // A list that began with these entries needs its commands to be saved at all.
  if (wasEmpty && list_.RecordCount() > 0) {
    stations_.EnableFileCommands();
    ctx_.panel.setEnabled(Ctl::Grid, true);
  }
  stations_.RefreshFrequencyGrid();
  SetStatus(ctx_.state.LastFreqFile + ":  " + std::to_string(list_.RecordCount()) + " records");
  stations_.NotifyRecordsChanged();
}

void FreqFileController::WriteList() {
  WriteFileAtomically(FreqFilePath(), list_.FileText(list_.RowOrder, ctx_.decimalSeparator));
  list_.Changed = false;
  stations_.ShowSaveButtonLook();
  SetStatus(ctx_.state.LastFreqFile + " - Saved");
}

bool FreqFileController::SaveFrequencyFile() {
  RadioState& s = ctx_.state;
  if (list_.RecordCount() == 0) {
    ctx_.messages.showMessage(EmptySaveMessage);
    list_.Changed = false;
    stations_.ShowSaveButtonLook();
    return false;
  }
  if (!s.LastFreqFile.empty()) {
    WriteList();
    return true;
  }
  const std::optional<std::string> chosen =
      dialogs_.saveFile(FileDialogRequest{"Save Frequency File", FreqFileFolder(), "", FrequencyFileFilter,
                                          FrequencyFileExtension});
  if (!chosen) return false;
  const std::string oldDir = s.FreqFileDir;
  const std::string oldName = s.LastFreqFile;
  if (!CanTakeFileName(*chosen)) return false;
  TakeFileName(*chosen);
  if (FileExists(FreqFilePath()) && !ctx_.messages.askYesNo(OverwriteQuestion(s.LastFreqFile))) {
    // The listener kept that file: the list keeps the name it had, so that
    // no later Save writes over it.
    s.FreqFileDir = oldDir;
    s.LastFreqFile = oldName;
    return false;
  }
  WriteList();
  return true;
}

void FreqFileController::SaveOrSaveAs() {
  if (list_.RecordCount() < 1) return;
  if (!ctx_.state.LastFreqFile.empty())
    SaveFrequencyFile();
  else
    SaveFileAsItemClick();
}

void FreqFileController::SaveFileAsItemClick() {
  RadioState& s = ctx_.state;
  if (list_.RecordCount() < 1 || ctx_.scan.ScanState == 1) return;
  const std::optional<std::string> chosen =
      dialogs_.saveFile(FileDialogRequest{"Save Frequency File As", FreqFileFolder(), s.LastFreqFile,
                                          FrequencyFileFilter, FrequencyFileExtension});
  if (!chosen) return;
  const std::string oldDir = s.FreqFileDir;
  const std::string oldName = s.LastFreqFile;
  if (!CanTakeFileName(*chosen)) return;
  TakeFileName(*chosen);
  if (FileExists(FreqFilePath()) && !ctx_.messages.askYesNo(OverwriteQuestion(s.LastFreqFile))) {
    // Declined: the list keeps its old name, so the next Save does not
    // overwrite the file the listener chose to keep.
    s.FreqFileDir = oldDir;
    s.LastFreqFile = oldName;
    return;
  }
  if (addToRecentFiles) addToRecentFiles(FreqFilePath());
  SaveFrequencyFile();
}

bool FreqFileController::CtrlKeyUp(char key) {
  switch (key) {
    case 'N':
      if (ctx_.panel[Ctl::NewFileItem].enabled) NewFileItemClick();
      return true;
    case 'O':
      if (ctx_.panel[Ctl::LoadFileItem].enabled) LoadFileItemClick();
      return true;
    case 'S':
      if (!stations_.SortInProgress) SaveOrSaveAs();
      return true;
    case 'A':
      if (!stations_.SortInProgress) SaveFileAsItemClick();
      return true;
    default:
      return false;
  }
}

}  // namespace ondaris
