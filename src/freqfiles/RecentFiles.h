#pragma once
// The File menu's Reopen list: the ten frequency files most recently opened
// or saved, newest first, kept from run to run in
//
//   SysFiles/Reopen.dat   (below the program folder)
//
// plain text, one full path per line, CR LF line ends, ten lines in list
// order, an empty slot as an empty line. Reopen1Item..Reopen10Item show the
// entries; an empty entry gives an empty caption and a disabled item.

#include <array>
#include <string>
#include <string_view>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class FreqFileController;

inline constexpr int RecentFileCount = 10;

// programDir + "SysFiles/Reopen.dat".
std::string ReopenDatPath(const std::string& programDir);

// The list itself: exactly ten entries, entry 0 the most recent, each a full
// path or empty. Paths compare as texts, so one file reached through two
// differently written paths holds two entries.
class RecentFileList {
 public:
  using Entries = std::array<std::string, RecentFileCount>;

  const Entries& entries() const { return entries_; }
  const std::string& operator[](int index) const { return entries_[static_cast<std::size_t>(index)]; }

  // Puts `path` at the top. A path already listed moves up from its place
  // (the entries above it move down by one); a new path pushes every entry
  // down and the tenth drops out. Returns false, changing nothing, when
  // `path` is already the top entry.
  bool Add(const std::string& path);
  void Clear() { entries_ = Entries{}; }

  // The list from the bytes of Reopen.dat: line k is entry k. A file with
  // fewer than ten lines leaves the missing entries empty; lines after the
  // tenth are ignored. CR LF and LF ends read alike.
  static RecentFileList FromReopenDat(std::string_view bytes);
  // The ten lines of Reopen.dat, each ended by CR LF.
  std::string ReopenDatText() const;

  bool operator==(const RecentFileList&) const = default;

 private:
  Entries entries_{};
};

// The Reopen menu with the grid controller behind it. On construction it
// becomes the controller's addToRecentFiles hook (Open, Save As, Reopen and
// the start-up reload enter their file through it); the destructor removes
// the hook again.
class RecentFiles {
 public:
  RecentFiles(PanelContext& context, FreqFileController& files, std::string programDir);
  ~RecentFiles();
  RecentFiles(const RecentFiles&) = delete;
  RecentFiles& operator=(const RecentFiles&) = delete;

  const RecentFileList& list() const { return list_; }

  // Start-up, when the control tables are built: ten empty, disabled items.
  void BuildMenuItems();
  // Start-up: the list from SysFiles/Reopen.dat and the items from the list.
  // A missing file gives ten empty entries without a message. Throws
  // FileError when the file exists but cannot be read (the list is then
  // empty).
  void ReadReopenDat();
  // Exit: writes the list to SysFiles/Reopen.dat. Throws FileError when the
  // file cannot be written; the old file then stays as it was.
  void WriteReopenDat() const;

  // AddToRecentFiles: `path` (the loaded file's full path) goes to the top
  // and the items are set again; a path already at the top leaves the menu
  // untouched.
  void AddToRecentFiles(const std::string& path);
  // Reopen1Item..Reopen10Item (index 0..9): reopens that entry through the
  // grid controller (save question, on-air view left, the file loaded and
  // moved to the top, or "Could not find the requested frequency file"). An
  // empty entry does nothing.
  void ReopenItemClick(int index);
  // The same by control; false for a control that is not a Reopen item.
  bool ReopenItemClick(Ctl item);

  // Captions and enabling of the ten items from the list.
  void ShowInMenu();

 private:
  PanelContext& ctx_;
  FreqFileController& files_;
  std::string programDir_;
  RecentFileList list_;
};

}  // namespace ondaris
