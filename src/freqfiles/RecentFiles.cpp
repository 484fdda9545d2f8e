#include "freqfiles/RecentFiles.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "common/ProgramDir.h"
#include "common/AtomicFile.h"
#include "freqfiles/FreqFileController.h"
#include "freqfiles/FrequencyList.h"

namespace ondaris {

std::string ReopenDatPath(const std::string& programDir) { return WithTrailingSlash(programDir) + "SysFiles/Reopen.dat"; }

bool RecentFileList::Add(const std::string& path) {
  if (entries_[0] == path) return false;
  const auto found = std::find(entries_.begin(), entries_.end(), path);
  // Everything above the old place (or, for a new path, everything but the
  // last entry) moves down by one; the old place, or the tenth entry, is
  // overwritten.
  const auto end = found == entries_.end() ? entries_.end() - 1 : found;
  std::move_backward(entries_.begin(), end, end + 1);
  entries_[0] = path;
  return true;
}

RecentFileList RecentFileList::FromReopenDat(std::string_view bytes) {
  RecentFileList list;
  const std::vector<std::string_view> lines = SplitFileLines(bytes);
  const std::size_t count = std::min<std::size_t>(lines.size(), RecentFileCount);
  for (std::size_t i = 0; i < count; ++i) list.entries_[i] = std::string(lines[i]);
  return list;
}

std::string RecentFileList::ReopenDatText() const {
  std::string text;
  for (const std::string& entry : entries_) {
    text += entry;
    text += "\r\n";
  }
  return text;
}

RecentFiles::RecentFiles(PanelContext& context, FreqFileController& files, std::string programDir)
    : ctx_(context), files_(files), programDir_(std::move(programDir)) {
  files_.addToRecentFiles = [this](const std::string& path) { AddToRecentFiles(path); };
}

RecentFiles::~RecentFiles() { files_.addToRecentFiles = nullptr; }

void RecentFiles::BuildMenuItems() {
  list_.Clear();
  ShowInMenu();
}

void RecentFiles::ReadReopenDat() {
  list_.Clear();
  std::optional<std::string> bytes;
  try {
    bytes = ReadWholeFile(ReopenDatPath(programDir_));
  } catch (...) {
    ShowInMenu();
    throw;
  }
  if (bytes) list_ = RecentFileList::FromReopenDat(*bytes);
  ShowInMenu();
}

void RecentFiles::WriteReopenDat() const { WriteFileAtomically(ReopenDatPath(programDir_), list_.ReopenDatText()); }

void RecentFiles::AddToRecentFiles(const std::string& path) {
  if (list_.Add(path)) ShowInMenu();
}

void RecentFiles::ReopenItemClick(int index) {
  if (index < 0 || index >= RecentFileCount) return;
  // A copy: reopening reorders the list under it.
  const std::string path = list_[index];
  if (path.empty()) return;
  files_.ReopenFile(path);
}

bool RecentFiles::ReopenItemClick(Ctl item) {
  for (int i = 0; i < RecentFileCount; ++i) {
    if (ReopenItem(i) == item) {
      ReopenItemClick(i);
      return true;
    }
  }
  return false;
}

void RecentFiles::ShowInMenu() {
  for (int i = 0; i < RecentFileCount; ++i) {
    const Ctl item = ReopenItem(i);
    ctx_.panel.setCaption(item, list_[i]);
    ctx_.panel.setEnabled(item, !list_[i].empty());
  }
}

}  // namespace ondaris
