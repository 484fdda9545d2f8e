#include "memories/Scratchpad.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/AtomicFile.h"
#include "common/RecordBytes.h"
#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

using namespace record_bytes;

constexpr std::size_t BankTagSize = 1 + ScratchpadTagCapacity;  // 33
constexpr std::size_t TagsOffset = 4;
constexpr std::size_t EnabledOffset = TagsOffset + ScratchpadBankCount * BankTagSize;  // 334
constexpr std::size_t ChannelsOffset = EnabledOffset + ScratchpadBankCount;            // 344
static_assert(ChannelsOffset + ScratchpadBankCount * ScratchpadChannelCount * ScratchpadChannelSize ==
              ScratchpadFileSize);

// Offsets inside one channel record.
constexpr std::size_t LockoutAt = 0;
constexpr std::size_t FrequencyAt = 8;
constexpr std::size_t TagAt = 16;
constexpr std::size_t ModeAt = 49;
constexpr std::size_t StepIndexAt = 52;
constexpr std::size_t FilterIndexAt = 56;
constexpr std::size_t AgcAt = 60;
constexpr std::size_t PbtAt = 64;

constexpr int PbtLimitHz = 2000;

std::size_t ChannelOffset(int bankIndex, int channel) {
  return ChannelsOffset + (static_cast<std::size_t>(bankIndex) * ScratchpadChannelCount + channel) *
                              ScratchpadChannelSize;
}

void CheckBank(int bank) {
  if (bank < 1 || bank > ScratchpadBankCount) throw std::out_of_range("scratchpad bank " + std::to_string(bank));
}

void CheckChannel(int channel) {
  if (channel < 0 || channel >= ScratchpadChannelCount)
    throw std::out_of_range("scratchpad channel " + std::to_string(channel));
}

void BringIntoRange(ScratchpadChannel& c) {
  c.Lockout = c.Lockout != 0 ? 1 : 0;
  if (!std::isfinite(c.Frequency)) c.Frequency = 0;
  if (c.empty()) return;
  if (c.Mode > 3) c.Mode = 0;
  c.StepIndex = std::clamp<std::int32_t>(c.StepIndex, 0, StepCount - 1);
  c.FilterIndex = std::clamp<std::int32_t>(c.FilterIndex, 0, FilterCount - 1);
  if (c.AGC < 1 || c.AGC > 3) c.AGC = 2;
  c.PBT = std::clamp<std::int32_t>(c.PBT, -PbtLimitHz, PbtLimitHz);
}

}  // namespace

ScratchpadChannel& Scratchpad::channel(int bank, int ch) {
  CheckBank(bank);
  CheckChannel(ch);
  return Banks[bank - 1][ch];
}

const ScratchpadChannel& Scratchpad::channel(int bank, int ch) const {
  CheckBank(bank);
  CheckChannel(ch);
  return Banks[bank - 1][ch];
}

std::string& Scratchpad::bankTag(int bank) {
  CheckBank(bank);
  return BankTags[bank - 1];
}

const std::string& Scratchpad::bankTag(int bank) const {
  CheckBank(bank);
  return BankTags[bank - 1];
}

bool Scratchpad::bankEnabled(int bank) const {
  CheckBank(bank);
  return BankEnabled[bank - 1] == 1;
}

void Scratchpad::setBankEnabled(int bank, bool enabled) {
  CheckBank(bank);
  BankEnabled[bank - 1] = enabled ? 1 : 0;
}

int Scratchpad::enabledBankCount() const {
  return static_cast<int>(std::count(BankEnabled.begin(), BankEnabled.end(), std::uint8_t{1}));
}

int Scratchpad::lowestEnabledBank() const {
  for (int bank = 1; bank <= ScratchpadBankCount; ++bank)
    if (bankEnabled(bank)) return bank;
  return 0;
}

bool Scratchpad::hasScannableChannel() const {
  for (int bank = 1; bank <= ScratchpadBankCount; ++bank) {
    if (!bankEnabled(bank)) continue;
    for (const ScratchpadChannel& c : Banks[bank - 1])
      if (c.scannable()) return true;
  }
  return false;
}

void Scratchpad::Reset() {
  for (std::string& tag : BankTags) tag.clear();
  for (auto& bank : Banks) bank.fill(ScratchpadChannel{});
}

void Scratchpad::ClearBank(int bank) {
  CheckBank(bank);
  Banks[bank - 1].fill(ScratchpadChannel{});
}

std::string ScratchpadDatPath(const std::string& programDir) {
  std::string dir = programDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir + "SysFiles/Scratchpad.dat";
}

std::string EncodeScratchpad(const Scratchpad& pad) {
  std::string image(ScratchpadFileSize, '\0');
  PutInt32(image, 0, pad.CurrentBank);
  for (int b = 0; b < ScratchpadBankCount; ++b) {
    PutText(image, TagsOffset + b * BankTagSize, pad.BankTags[b], ScratchpadTagCapacity);
    PutByte(image, EnabledOffset + b, pad.BankEnabled[b]);
    for (int ch = 0; ch < ScratchpadChannelCount; ++ch) {
      const ScratchpadChannel& c = pad.Banks[b][ch];
      const std::size_t at = ChannelOffset(b, ch);
      PutByte(image, at + LockoutAt, c.Lockout);
      PutDouble(image, at + FrequencyAt, c.Frequency);
      PutText(image, at + TagAt, c.Tag, ScratchpadTagCapacity);
      PutByte(image, at + ModeAt, c.Mode);
      PutInt32(image, at + StepIndexAt, c.StepIndex);
      PutInt32(image, at + FilterIndexAt, c.FilterIndex);
      PutInt32(image, at + AgcAt, c.AGC);
      PutInt32(image, at + PbtAt, c.PBT);
    }
  }
  return image;
}

void DecodeScratchpad(std::string_view bytes, Scratchpad& pad) {
  // The present contents under the file's bytes: what a short file does not
  // reach keeps its value.
  std::string image = EncodeScratchpad(pad);
  Overlay(image, bytes);

  pad.CurrentBank = std::clamp<std::int32_t>(GetInt32(image, 0), 1, ScratchpadBankCount);
  for (int b = 0; b < ScratchpadBankCount; ++b) {
    pad.BankTags[b] = GetText(image, TagsOffset + b * BankTagSize, ScratchpadTagCapacity);
    pad.BankEnabled[b] = GetByte(image, EnabledOffset + b) == 1 ? 1 : 0;
    for (int ch = 0; ch < ScratchpadChannelCount; ++ch) {
      ScratchpadChannel& c = pad.Banks[b][ch];
      const std::size_t at = ChannelOffset(b, ch);
      c.Lockout = GetByte(image, at + LockoutAt);
      c.Frequency = GetDouble(image, at + FrequencyAt);
      c.Tag = GetText(image, at + TagAt, ScratchpadTagCapacity);
      c.Mode = GetByte(image, at + ModeAt);
      c.StepIndex = GetInt32(image, at + StepIndexAt);
      c.FilterIndex = GetInt32(image, at + FilterIndexAt);
      c.AGC = GetInt32(image, at + AgcAt);
      c.PBT = GetInt32(image, at + PbtAt);
      BringIntoRange(c);
    }
  }
}

void WriteScratchpadFile(const std::string& path, const Scratchpad& pad) {
  WriteFileAtomically(path, EncodeScratchpad(pad));
}

}  // namespace ondaris
