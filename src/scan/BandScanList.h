#pragma once
// The band-scan list: named bands that band scan runs over, one per line of
// the text file SysFiles/BandScan.dat, and the six column widths of its grid
// in SysFiles/BandScanCols.dat.
//
// A line has twelve comma-separated fields:
//
//   "Name",Low,High,"Mode",Filter,AGC,Step,PBT,Speed,"Comments",0,0
//
//   Name      quoted, kept to 20 characters when read
//   Low/High  kHz with "." as decimal point, kept to 9 characters
//   Mode      quoted: AM, USB, LSB or CW (3)
//   Filter    bandwidth in Hz (4)
//   AGC       one digit: 1 fast, 2 medium, 3 slow (the reverse of RadioState)
//   Step      tuning step in Hz (5)
//   PBT       signed Hz (5)
//   Speed     one digit 1..6, the scan speed button
//   Comments  quoted, kept to 64 characters
//   0,0       two reserved characters
//
// for example "49 m band",5900,6200,"AM",8000,1,5000,0,3,"evening",0,0.
// Quoted fields cannot hold a double quote; one typed into a name or comment
// is written as a single quote so that the line stays readable.
//
// The file is written with CR LF line ends and read with LF or CR LF.
// BandScanCols.dat holds six signed 32-bit little-endian integers (24 bytes).

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondaris {

// Widths a field is cut to when a line is read.
inline constexpr std::size_t BandNameWidth = 20;
inline constexpr std::size_t BandFreqWidth = 9;
inline constexpr std::size_t BandModeWidth = 3;
inline constexpr std::size_t BandFilterWidth = 4;
inline constexpr std::size_t BandStepWidth = 5;
inline constexpr std::size_t BandPBTWidth = 5;
inline constexpr std::size_t BandCommentsWidth = 64;

// One parsed line.
struct BandScanRecord {
  std::string Name;
  std::string Low;     // kHz, "." as decimal point
  std::string High;    // kHz, "." as decimal point
  std::string Mode;    // "AM", "USB", "LSB", "CW" in a sound file
  std::string Filter;  // Hz
  char AGC = '2';      // '1' fast, '2' medium, '3' slow
  std::string Step;    // Hz
  std::string PBT;     // Hz
  char Speed = '2';    // '1'..'6'
  std::string Comments;
  char Reserved1 = '0';
  char Reserved2 = '0';

  // Low and High as numbers (the parser has checked that they are).
  double LowKHz() const;
  double HighKHz() const;

  friend bool operator==(const BandScanRecord&, const BandScanRecord&) = default;
};

// Reads one line. std::nullopt when the line is damaged: empty, not starting
// with a quote, a quoted field without its closing quote, a separator missing
// where one must be, a line that ends before the comments, or a Low or High
// that is not a number. A line that ends right after the comments' closing
// quote is good and its reserved characters are '0'.
std::optional<BandScanRecord> ParseBandScanLine(std::string_view line);

// What the dialog's edit fields and combo boxes hold when a line is built.
struct BandScanFields {
  std::string Name;
  std::string Low;  // as typed, with the locale's decimal separator
  std::string High;
  std::string Mode;     // the mode combo's text; empty gives AM
  std::string Filter;   // empty gives 8000
  std::string AGC;      // "Fast" 1, "Medium" 2, "Slow" 3, anything else 2
  std::string Step;     // empty gives 100
  std::string PBT;      // empty gives 0
  int SpeedIndex = -1;  // the speed combo's index 0..5; anything else gives 2
  std::string Comments;
};

// The line for `fields`. The locale's separator in Low and High becomes ".";
// a double quote in the name, mode or comments becomes a single quote.
std::string BuildBandScanLine(const BandScanFields& fields, char separator);

// The speed names of the grid and the speed combo, digit 1..6 at [0..5].
inline constexpr std::array<const char*, 6> BandScanSpeedNames{".033S", ".1S", ".2S", ".5S", "1S", "3S"};
// The name of a speed digit '1'..'6'; "" for any other character.
std::string BandScanSpeedName(char digit);

// ---- BandScan.dat ------------------------------------------------------------

std::string BandScanDatPath(const std::string& programDir);

// The lines of a file's bytes: split at LF, a CR before it dropped; a last
// line without a line end counts, a final line end adds no empty line.
std::vector<std::string> SplitBandScanLines(std::string_view bytes);
// The bytes of a file holding `lines`, each ended with CR LF.
std::string JoinBandScanLines(const std::vector<std::string>& lines);

// The file's lines; std::nullopt when it does not exist. Throws FileError
// when it exists but cannot be read.
std::optional<std::vector<std::string>> ReadBandScanFile(const std::string& path);
// Replaces the file atomically. Throws FileError when it cannot be written;
// an old file then stays as it was.
void WriteBandScanFile(const std::string& path, const std::vector<std::string>& lines);

// ---- BandScanCols.dat --------------------------------------------------------

inline constexpr int BandScanColumnCount = 6;
using BandScanColumnWidths = std::array<int, BandScanColumnCount>;
// Name, Low Freq, High Freq, Mode, Speed, Comments.
inline constexpr BandScanColumnWidths DefaultBandScanColumnWidths{140, 64, 64, 40, 42, 313};
inline constexpr std::size_t BandScanColsFileSize = 24;
// A stored width outside this range is damage and is not taken.
inline constexpr int BandScanColumnMinWidth = 1;
inline constexpr int BandScanColumnMaxWidth = 5000;

std::string BandScanColsPath(const std::string& programDir);
std::string EncodeBandScanColumns(const BandScanColumnWidths& widths);
// Takes the widths the bytes hold: a short file gives only its whole
// integers, and a width outside BandScanColumnMinWidth..MaxWidth is skipped;
// the widths not taken keep their values. Bytes after the 24th are ignored.
void DecodeBandScanColumns(std::string_view bytes, BandScanColumnWidths& widths);

}  // namespace ondaris
