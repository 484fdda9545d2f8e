#include "scan/BandScanList.h"

#include <algorithm>
#include <cctype>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "common/TextHelpers.h"
#include "common/RecordBytes.h"

namespace ondaris {

namespace {

constexpr std::string_view::size_type npos = std::string_view::npos;

std::string Cut(std::string_view text, std::size_t width) { return std::string(text.substr(0, width)); }

bool IsNumber(const std::string& text) {
  try {
    TextToDouble(text, '.');
    return true;
  } catch (const ConversionError&) {
    return false;
  }
}

double NumberOr0(const std::string& text) {
  try {
    return TextToDouble(text, '.');
  } catch (const ConversionError&) {
    return 0;
  }
}

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Walks a line field by field; every step checks the separator it expects,
// so a damaged line is refused instead of being read out of step.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  // At an opening quote: the text up to the next quote; ends past the closing quote.
  bool Quoted(std::string& out, std::size_t width) {
    if (!At('"')) return false;
    const std::size_t close = line_.find('"', p_ + 1);
    if (close == npos) return false;
    out = Cut(line_.substr(p_ + 1, close - p_ - 1), width);
    p_ = close + 1;
    return true;
  }

  // At a comma: the text up to the next comma; ends on that comma. A field
  // that runs to the end of the line is a failure, since more must follow.
  bool CommaField(std::string& out, std::size_t width) {
    if (!At(',')) return false;
    const std::size_t next = line_.find(',', p_ + 1);
    if (next == npos) return false;
    out = Cut(line_.substr(p_ + 1, next - p_ - 1), width);
    p_ = next;
    return true;
  }

  // At a comma: the digit after it; ends on the comma that must follow.
  bool DigitField(char& out) {
    if (!At(',') || p_ + 2 >= line_.size()) return false;
    if (!IsDigit(line_[p_ + 1]) || line_[p_ + 2] != ',') return false;
    out = line_[p_ + 1];
    p_ += 2;
    return true;
  }

  // Moves over the comma in front of a quoted field.
  bool SkipComma() {
    if (!At(',')) return false;
    ++p_;
    return true;
  }

  // The reserved characters after the comments; missing ones stay as they are.
  void Reserved(char& first, char& second) const {
    if (!At(',') || p_ + 1 >= line_.size()) return;
    first = line_[p_ + 1];
    if (p_ + 3 < line_.size() && line_[p_ + 2] == ',') second = line_[p_ + 3];
  }

 private:
  bool At(char c) const { return p_ < line_.size() && line_[p_] == c; }

  std::string_view line_;
  std::size_t p_ = 0;
};

std::string WithoutDoubleQuotes(std::string text) {
  std::replace(text.begin(), text.end(), '"', '\'');
  return text;
}

std::string WithSlash(const std::string& dir) {
  if (!dir.empty() && dir.back() != '/') return dir + '/';
  return dir;
}

}  // namespace

double BandScanRecord::LowKHz() const { return NumberOr0(Low); }
double BandScanRecord::HighKHz() const { return NumberOr0(High); }

std::optional<BandScanRecord> ParseBandScanLine(std::string_view line) {
  BandScanRecord r;
  LineReader reader(line);
  const bool good = reader.Quoted(r.Name, BandNameWidth) && reader.CommaField(r.Low, BandFreqWidth) &&
                    reader.CommaField(r.High, BandFreqWidth) && reader.SkipComma() &&
                    reader.Quoted(r.Mode, BandModeWidth) && reader.CommaField(r.Filter, BandFilterWidth) &&
                    reader.DigitField(r.AGC) && reader.CommaField(r.Step, BandStepWidth) &&
                    reader.CommaField(r.PBT, BandPBTWidth) && reader.DigitField(r.Speed) && reader.SkipComma() &&
                    reader.Quoted(r.Comments, BandCommentsWidth);
  if (!good) return std::nullopt;
  // A band whose limits are no numbers can be neither sorted nor scanned.
  if (!IsNumber(r.Low) || !IsNumber(r.High)) return std::nullopt;
  reader.Reserved(r.Reserved1, r.Reserved2);
  return r;
}

std::string BuildBandScanLine(const BandScanFields& f, char separator) {
  char agc = '2';
  if (f.AGC == "Fast")
    agc = '1';
  else if (f.AGC == "Slow")
    agc = '3';
  const char speed = f.SpeedIndex >= 0 && f.SpeedIndex < 6 ? static_cast<char>('1' + f.SpeedIndex) : '2';

  std::string line;
  line += '"' + WithoutDoubleQuotes(f.Name) + "\",";
  line += LocaleToDotDecimal(f.Low, separator) + ',';
  line += LocaleToDotDecimal(f.High, separator) + ',';
  line += '"' + (f.Mode.empty() ? std::string("AM") : WithoutDoubleQuotes(f.Mode)) + "\",";
  line += (f.Filter.empty() ? std::string("8000") : f.Filter) + ',';
  line += agc;
  line += ',';
  line += (f.Step.empty() ? std::string("100") : f.Step) + ',';
  line += (f.PBT.empty() ? std::string("0") : f.PBT) + ',';
  line += speed;
  line += ',';
  line += '"' + WithoutDoubleQuotes(f.Comments) + "\",0,0";
  return line;
}

std::string BandScanSpeedName(char digit) {
  if (digit < '1' || digit > '6') return "";
  return BandScanSpeedNames[static_cast<std::size_t>(digit - '1')];
}

// ---- BandScan.dat ------------------------------------------------------------

std::string BandScanDatPath(const std::string& programDir) { return WithSlash(programDir) + "SysFiles/BandScan.dat"; }

std::vector<std::string> SplitBandScanLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == npos) end = bytes.size();
    lines.emplace_back(bytes.substr(start, end - start));
    // CR LF is one line end; a lone CR or LF is one too.
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::string JoinBandScanLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

std::optional<std::vector<std::string>> ReadBandScanFile(const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return SplitBandScanLines(*bytes);
}

void WriteBandScanFile(const std::string& path, const std::vector<std::string>& lines) {
  WriteFileAtomically(path, JoinBandScanLines(lines));
}

// ---- BandScanCols.dat --------------------------------------------------------

std::string BandScanColsPath(const std::string& programDir) {
  return WithSlash(programDir) + "SysFiles/BandScanCols.dat";
}

std::string EncodeBandScanColumns(const BandScanColumnWidths& widths) {
  std::string image(BandScanColsFileSize, '\0');
  for (int c = 0; c < BandScanColumnCount; ++c)
    record_bytes::PutInt32(image, static_cast<std::size_t>(c) * 4, widths[static_cast<std::size_t>(c)]);
  return image;
}

void DecodeBandScanColumns(std::string_view bytes, BandScanColumnWidths& widths) {
  for (int c = 0; c < BandScanColumnCount; ++c) {
    const std::size_t at = static_cast<std::size_t>(c) * 4;
    if (at + 4 > bytes.size()) break;
    const std::int32_t width = record_bytes::GetInt32(bytes, at);
    if (width >= BandScanColumnMinWidth && width <= BandScanColumnMaxWidth) widths[static_cast<std::size_t>(c)] = width;
  }
}

}  // namespace ondaris
