#include "freqfiles/EibiImport.h"

#include <optional>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/FileLines.h"
#include "common/NumberText.h"
#include "common/TextHelpers.h"
#include "freqfiles/FreqFileController.h"
#include "platform/FileDialogs.h"

namespace ondaris {

std::string EibiOpenFailedMessage(const std::string& name) { return "Could not open the schedule " + name + "."; }

void EibiImport::ImportEibiItemClick() {
  // A file scan walks the list's rows: they must not change under it.
  if (ctx_.scan.ScanState == 1) return;
  const std::optional<std::string> chosen =
      dialogs_.openFile(FileDialogRequest{Caption, files_.FreqFileFolder(), "", EibiFileFilter, "csv"});
  if (!chosen) return;
  const std::string name = ExtractFileNamePart(*chosen);
  std::optional<std::string> bytes;
  try {
    bytes = ReadWholeFile(*chosen);
  } catch (const FileError&) {
    bytes.reset();
  }
  if (!bytes) {
    ctx_.messages.showMessage(EibiOpenFailedMessage(name));
    return;
  }
  if (SplitFileLines(*bytes).empty()) {
    ctx_.messages.showMessage(EmptyFileMessage(name));
    return;
  }
  if (!show) return;
  schedule_ = std::move(*bytes);
  scheduleName_ = name;
  open_ = true;
  show(*this);
  open_ = false;
  schedule_.clear();
  schedule_.shrink_to_fit();
}

bool EibiImport::OKBtnClick() {
  EibiImportOptions options;
  if (RangeOnly) {
    const std::optional<double> from = TryReadDecimal(FromEdit, ctx_.decimalSeparator);
    const std::optional<double> to = TryReadDecimal(ToEdit, ctx_.decimalSeparator);
    if (!from || !to || *from < 0 || *from > *to) {
      ctx_.messages.showMessage(EibiRangeRefusedMessage);
      return false;
    }
    options.rangeOnly = true;
    options.fromKHz = *from;
    options.toKHz = *to;
  }
  if (OnAirOnly) {
    const DateTime utc = ctx_.clock.utcNow();
    options.onAirOnly = true;
    options.hhmmNow = utc.hour * 100 + utc.minute;
  }
  open_ = false;
  const EibiImportResult result =
      ImportEibiSchedule(schedule_, options, EibiDefaultsOf(ctx_.state), ctx_.decimalSeparator);
  files_.AppendRecords(result.records);
  if (result.badLines > 0) ctx_.messages.showMessage(EibiBadLinesMessage(result.badLines, result.firstBadLine));
  // Nothing added although the file was read: say why rather than do
  // nothing silently.
  if (result.entryLines == 0)
    ctx_.messages.showMessage(EmptyFileMessage(scheduleName_));
  else if (result.records.empty() && result.entryLines > static_cast<std::size_t>(result.badLines))
    ctx_.messages.showMessage(EibiNoMatchMessage);
  return true;
}

}  // namespace ondaris
