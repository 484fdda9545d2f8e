#pragma once
// The scratchpad: ten banks of sixteen quick memories, each a complete tuning
// with a short tag and a lockout mark, plus a tag and a memory-scan enable
// flag per bank. Kept whole in SysFiles/Scratchpad.dat:
//
//   offset     size    contents
//   0          4       CurrentBank (signed 32-bit)
//   4          330     the 10 bank tags, 33 bytes each (length byte + 32)
//   334        10      the 10 BankEnabled bytes
//   344        11,520  160 channel records of 72 bytes, bank 1 channel 0 first
//
// Channel record (72 bytes): Lockout (1), padding (7), Frequency kHz (double,
// 8), Tag (33), Mode (1), padding (2), StepIndex, FilterIndex, AGC, PBT
// (signed 32-bit each), padding (4). Padding is written as zeros.
//
// Banks are numbered 1..10 and channels 0..15 everywhere in this interface.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ondaris {

inline constexpr int ScratchpadBankCount = 10;
inline constexpr int ScratchpadChannelCount = 16;  // per bank
inline constexpr std::size_t ScratchpadTagCapacity = 32;
inline constexpr std::size_t ScratchpadChannelSize = 72;
inline constexpr std::size_t ScratchpadFileSize = 11864;

// Only channels in this range can be tuned; 0 marks an empty channel.
inline constexpr double ScratchpadLowestKHz = 100.0;
inline constexpr double ScratchpadHighestKHz = 30000.0;

struct ScratchpadChannel {
  std::uint8_t Lockout = 0;  // 1: skipped by memory scan, caption drawn black
  double Frequency = 0;      // kHz; 0 = empty channel
  std::string Tag;           // at most 32 characters
  std::uint8_t Mode = 0;     // 0 AM, 1 USB, 2 LSB, 3 CW
  std::int32_t StepIndex = 0;
  std::int32_t FilterIndex = 0;
  std::int32_t AGC = 0;      // 1 slow, 2 medium, 3 fast (0 in an empty channel)
  std::int32_t PBT = 0;      // Hz

  bool empty() const { return Frequency == 0; }
  // True when a click may tune it (100..30000 kHz).
  bool tunable() const { return Frequency >= ScratchpadLowestKHz && Frequency <= ScratchpadHighestKHz; }
  // What memory scan may stop on: a frequency above 0 and not locked out.
  bool scannable() const { return Frequency > 0 && Lockout == 0; }

  friend bool operator==(const ScratchpadChannel&, const ScratchpadChannel&) = default;
};

struct Scratchpad {
  int CurrentBank = 1;     // 1..10
  int CurrentChannel = 0;  // 0..15, the button clicked last; not stored
  std::array<std::string, ScratchpadBankCount> BankTags;     // [0] is bank 1
  std::array<std::uint8_t, ScratchpadBankCount> BankEnabled{};  // [0] is bank 1; 1 = memory scan visits it
  std::array<std::array<ScratchpadChannel, ScratchpadChannelCount>, ScratchpadBankCount> Banks;  // [0] is bank 1

  // Bank n = 1..10, channel 0..15. Out-of-range numbers are an error of the
  // caller (checked: std::out_of_range).
  ScratchpadChannel& channel(int bank, int channel);
  const ScratchpadChannel& channel(int bank, int channel) const;
  // Channel CurrentChannel of bank CurrentBank.
  ScratchpadChannel& current() { return channel(CurrentBank, CurrentChannel); }
  const ScratchpadChannel& current() const { return channel(CurrentBank, CurrentChannel); }

  std::string& bankTag(int bank);
  const std::string& bankTag(int bank) const;
  bool bankEnabled(int bank) const;
  void setBankEnabled(int bank, bool enabled);
  int enabledBankCount() const;
  // The lowest bank with BankEnabled = 1, or 0 when none is enabled.
  int lowestEnabledBank() const;
  // Whether any enabled bank holds a channel memory scan may stop on.
  bool hasScannableChannel() const;

  // Every tag empty and every channel record zero (CurrentBank and the
  // enable flags are not touched).
  void Reset();
  // All 16 records of one bank zeroed.
  void ClearBank(int bank);
};

// SysFiles/Scratchpad.dat below the program folder.
std::string ScratchpadDatPath(const std::string& programDir);

// The 11,864 bytes of the file. Tags longer than 32 characters are cut.
std::string EncodeScratchpad(const Scratchpad& pad);

// Reads file bytes into `pad`. A file shorter than 11,864 bytes is read as
// far as it goes: the fields beyond its end keep the values they had (a field
// cut in the middle takes the file's bytes and keeps the rest of its own).
// Values that would send the program outside its tables are brought into
// range, so a damaged file can do no harm:
//   CurrentBank       clamped to 1..10
//   BankEnabled       1 stays 1, any other value is 0
//   tag length byte   above 32 reads as 32
//   Lockout           any value but 0 is 1
//   Frequency         NaN or infinite becomes 0 (an empty channel)
// and, for channels in use (Frequency not 0; an empty channel is legitimately
// all zero):
//   Mode              outside 0..3 becomes 0 (AM)
//   StepIndex         clamped to 0..8
//   FilterIndex       clamped to 0..23
//   AGC               outside 1..3 becomes 2 (medium)
//   PBT               clamped to -2000..+2000
// CurrentChannel is not touched.
void DecodeScratchpad(std::string_view bytes, Scratchpad& pad);

// Writes the file at `path` atomically. Throws FileError when it cannot be
// written; an old file is then left as it was. (Also used by the backup.)
void WriteScratchpadFile(const std::string& path, const Scratchpad& pad);

}  // namespace ondaris
