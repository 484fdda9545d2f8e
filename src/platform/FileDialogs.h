#pragma once
// The standard open and save file dialogs, behind a small interface so that
// the file commands run without a desktop. The Qt implementation shows the
// desktop's dialogs; tests script the chosen paths.

#include <optional>
#include <string>

namespace ondaris {

// The filter of every station-list dialog.
inline constexpr const char* FrequencyFileFilter = "RX320 files (*.320)";
inline constexpr const char* FrequencyFileExtension = "320";

struct FileDialogRequest {
  std::string title;
  std::string folder;     // where the dialog starts; empty: the dialog's own choice
  std::string fileName;   // prefilled name (save dialog)
  std::string filter = FrequencyFileFilter;
  // Added to a typed name that has no extension (save dialog), without the dot.
  std::string defaultExtension = FrequencyFileExtension;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen existing file as a full path; nothing when cancelled.
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  // The chosen file name as a full path (it may or may not exist; the caller
  // asks about overwriting itself); nothing when cancelled.
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
  // The chosen existing folder as a full path (title and start folder from
  // the request); nothing when cancelled or when there is no desktop.
  virtual std::optional<std::string> chooseFolder(const FileDialogRequest&) { return std::nullopt; }
};

// Dialogs that are always cancelled: a run without a listener (scripts,
// non-interactive runs) never blocks on a dialog.
class CancelledFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
};

}  // namespace ondaris
