#pragma once
// The File commands for frequency files: New, Open, Append, Save, Save As
// and Reopen, their questions and messages, the start-up reload of the last
// file and the question at exit. They fill and save the list of the
// StationGrid, which shows it.
//
// Everything here runs on the user-interface thread.

#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/StationGrid.h"

namespace ondaris {

class FileDialogs;

inline constexpr const char* SaveChangesQuestion = "Your frequency file has been changed.  Do you want to save it?";
inline constexpr const char* MissingLastFreqFileMessage = "The previously-loaded frequency file is missing.";
inline constexpr const char* EmptySaveMessage = "Empty file - aborting Save operation";
inline constexpr const char* NewFileFailedMessage = "Unknown exception in New File routine... continuing..";
inline constexpr const char* ReopenMissingMessage = "Could not find the requested frequency file";
// "Aborting:  Empty file - " + name.
std::string EmptyFileMessage(const std::string& name);
// "There is a file named " + name + " in the directory.  Do you want to overwrite it?"
std::string OverwriteQuestion(const std::string& name);

class FreqFileController {
 public:
  FreqFileController(PanelContext& context, StationGrid& stations, FileDialogs& dialogs, std::string programDir);
  FreqFileController(const FreqFileController&) = delete;
  FreqFileController& operator=(const FreqFileController&) = delete;

  // Enters a full path at the top of the recent-file list (Open, Save As,
  // Reopen and the start-up reload call it).
  std::function<void(const std::string& path)> addToRecentFiles;

  // ---- Start-up and exit ----
  // Start-up, after the first tuning: reloads FreqFileDir + LastFreqFile, or
  // shows MissingLastFreqFileMessage and forgets the name; without a name
  // the record count is 0 and the grid is disabled.
  void LoadLastFrequencyFile();
  // Exit, before the data files are written: a changed list with records
  // asks SaveChangesQuestion; Yes saves (a save dialog when it has no name).
  void AskToSaveAtExit();

  // ---- File menu, FileOpBtn1 and the Ctrl keys ----
  void NewFileItemClick();
  void LoadFileItemClick();
  void AppendFileItemClick();
  void SaveOrSaveAs();  // SaveFileItem, FileOpBtn1, Ctrl+S
  void SaveFileAsItemClick();
  // Adds entries behind the list the way Append adds a file's: the full
  // view with both row orders the identity, Changed set, the list unnamed
  // (it must be saved under a new name), the grid refreshed and the new
  // total shown. Nothing happens for no entries.
  void AppendRecords(const std::vector<FrequencyRecord>& records);
  // Ctrl+N, Ctrl+O (while their items are enabled), Ctrl+S, Ctrl+A (while no
  // sort runs). Returns false for any other key.
  bool CtrlKeyUp(char key);
  // A recent-file entry: asks to save changes, then loads the file, or shows
  // ReopenMissingMessage when it is gone. Not during a file scan.
  void ReopenFile(const std::string& path);

  // ---- Routines the other parts call ----
  // Loads FreqFileDir + LastFreqFile into the list (shows the empty-file
  // message when it has no lines).
  void OpenFrequencyFile();
  // Saves to FreqFileDir + LastFreqFile in the full view's order, or asks
  // for a name first. True when the file was written. Throws FileError when
  // it cannot be written (the list stays changed).
  bool SaveFrequencyFile();

  // The folder of the list (absolute) and the full path of the loaded file.
  std::string FreqFileFolder() const;
  std::string FreqFilePath() const;
  const std::string& programDir() const { return programDir_; }

 private:
  void SetStatus(const std::string& text);
  void FinishAppend(bool wasEmpty);
  void AskToSaveChanges();
  // False, after its message, when Ondaris.dat cannot hold the folder or
  // the name of `path`: such a file is refused when it is chosen.
  bool CanTakeFileName(const std::string& path);
  void TakeFileName(const std::string& path);
  void WriteList();

  PanelContext& ctx_;
  StationGrid& stations_;
  FrequencyList& list_;
  FileDialogs& dialogs_;
  std::string programDir_;
};

}  // namespace ondaris
