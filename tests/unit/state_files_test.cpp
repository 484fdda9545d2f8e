// The receiver state files SysFiles/Ondaris.dat and SysFiles/Tuning.dat, and
// the atomic whole-file saving they are written with.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "radio/RadioState.h"
#include "radio/StateFiles.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// A fresh program folder with its SysFiles folder, removed afterwards.
struct ProgramFolder : TempFolder {
  ProgramFolder() : TempFolder(true) {}
  Texts sysFiles() const { return FolderEntries(dir() + "SysFiles"); }
};

// Every stored field set away from its default; strings at full capacity.
RadioState FullySetState() {
  RadioState s;
  s.FreqFileDir = "/srv/radio/lists/" + std::string(80 - 17, 'd');
  s.LastFreqFile = std::string(76, 'f') + ".320";
  s.FreqFileRecordCount = 123456;
  s.ComPortName = "/dev/ttyS9";  // 10 characters
  s.CWTone = 650, s.MeterMax = 9999;
  s.CalLoFreq = 5.0, s.CalLoErr = -87.25, s.CalHiFreq = 15.5, s.CalHiErr = -126.0;
  s.AMFilterIndex = 2, s.AMStepIndex = 3, s.SSBFilterIndex = 14, s.SSBStepIndex = 6;
  s.CWFilterIndex = 22, s.CWStepIndex = 7;
  s.UseDefaultFiltersAsDefault = s.UseDefaultStepsAsDefault = s.MuteOnExitAsDefault = 0;
  s.MuteTogether = s.NineKHzSteps = 1, s.ShowHints = 0;
  s.TuningSpeedMs = 250;  // not a multiple of 33
  s.SpkrVolume = 13, s.LineVolume = 63, s.SpkrMute = s.LineMute = 1;
  return s;
}

// A state whose stored fields all differ from FullySetState and the defaults.
RadioState JunkState() {
  RadioState s;
  s.FreqFileDir = s.LastFreqFile = s.ComPortName = "junk";
  s.FreqFileRecordCount = s.CWTone = s.MeterMax = s.TuningSpeedMs = -5;
  s.CalLoFreq = s.CalLoErr = s.CalHiFreq = s.CalHiErr = -5;
  s.AMFilterIndex = s.AMStepIndex = s.SSBFilterIndex = s.SSBStepIndex = s.CWFilterIndex = s.CWStepIndex = -5;
  s.UseDefaultFiltersAsDefault = s.UseDefaultStepsAsDefault = s.MuteOnExitAsDefault = 7;
  s.MuteTogether = s.NineKHzSteps = s.ShowHints = 7;
  s.SpkrVolume = s.LineVolume = s.SpkrMute = s.LineMute = 7;
  return s;
}

// Every field Ondaris.dat keeps, in file order, as one comparable line.
std::string Stored(const RadioState& s) {
  std::ostringstream out;
  out << std::setprecision(17) << s.FreqFileDir << '|' << s.LastFreqFile << '|' << s.FreqFileRecordCount << '|'
      << s.ComPortName << '|' << s.CWTone << ' ' << s.MeterMax << " cal " << s.CalLoFreq << ' ' << s.CalLoErr << ' '
      << s.CalHiFreq << ' ' << s.CalHiErr << " rows " << s.AMFilterIndex << ' ' << s.AMStepIndex << ' '
      << s.SSBFilterIndex << ' ' << s.SSBStepIndex << ' ' << s.CWFilterIndex << ' ' << s.CWStepIndex << " flags "
      << +s.UseDefaultFiltersAsDefault << ' ' << +s.UseDefaultStepsAsDefault << ' ' << +s.MuteOnExitAsDefault << ' '
      << +s.MuteTogether << ' ' << +s.NineKHzSteps << ' ' << +s.ShowHints << " speed " << s.TuningSpeedMs << " vol "
      << +s.SpkrVolume << ' ' << +s.LineVolume << " mute " << +s.SpkrMute << ' ' << +s.LineMute;
  return out.str();
}

// `value` as `size` little-endian bytes (a double by its bits).
template <class T>
std::string Le(T value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  std::string bytes(sizeof value, '\0');
  for (std::size_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

RadioState ReadBack(const ProgramFolder& folder) {
  RadioState back = JunkState();
  ScriptedMessageBoxes messages;
  EXPECT_TRUE(ReadOndarisDat(folder.dir(), back, messages));
  EXPECT_TRUE(messages.shown().empty());
  return back;
}

// ---------------------------------------------------------------------------
// Ondaris.dat

TEST(OndarisDatTest, FieldsSitAtTheirOffsets) {
  RadioState s = FullySetState();
  s.FreqFileDir = "/opt/ondaris/FreqFiles/";  // stored below the program's folder
  s.LastFreqFile = "Broadcast.320", s.ComPortName = "COM3", s.CalLoErr = -87.0, s.TuningSpeedMs = 231;
  const std::string bytes = EncodeOndarisDat(s, "/opt/ondaris/");
  ASSERT_EQ(bytes.size(), 255u);
  // 123456 and -87.0 spelt out, the others through Le.
  const std::pair<std::size_t, std::string> fields[] = {
      {0, "\x0A" "FreqFiles/"}, {81, "\x0D" "Broadcast.320"}, {162, std::string("\x40\xE2\x01\x00", 4)},
      {166, "\x04" "COM3"}, {177, Le<std::int32_t>(650)}, {181, Le<std::int32_t>(9999)}, {185, Le(5.0)},
      {193, std::string("\x00\x00\x00\x00\x00\xC0\x55\xC0", 8)}, {201, Le(15.5)}, {209, Le(-126.0)},
      {217, Le<std::int32_t>(2)}, {221, Le<std::int32_t>(3)}, {225, Le<std::int32_t>(14)}, {229, Le<std::int32_t>(6)},
      {233, Le<std::int32_t>(22)}, {237, Le<std::int32_t>(7)}, {241, std::string("\x00\x00\x00\x01\x01\x00", 6)},
      {247, Le<std::int32_t>(231)}, {251, std::string("\x0D\x3F\x01\x01", 4)}};
  for (const auto& [offset, expected] : fields) EXPECT_EQ(bytes.substr(offset, expected.size()), expected) << offset;
}

TEST(OndarisDatTest, AShortOrDamagedRecordIsReadInsideItsFields) {
  const std::string full = EncodeOndarisDat(FullySetState(), "");
  const std::string stored = Stored(FullySetState());
  RadioState s = JunkState();
  DecodeOndarisDat(full.substr(0, 201), s);  // ends after CalLoErr
  EXPECT_EQ(Stored(s), stored.substr(0, stored.find(" -87.25") + 7) +
                           " 0 0 rows 0 0 0 0 0 0 flags 0 0 0 0 0 0 speed 0 vol 0 0 mute 0 0");
  // Fields beyond a short file are zero, not defaults; a field cut in the
  // middle keeps the bytes that are there.
  // Two bytes of CWTone (650 = 0x028A), then one.
  for (const auto& [size, tone] : {std::pair{179, 650}, {178, 0x8A}}) {
    DecodeOndarisDat(full.substr(0, size), s);
    EXPECT_EQ(s.CWTone, tone);
  }
  DecodeOndarisDat(full.substr(0, 253), s);  // both mute flags off
  EXPECT_EQ(Stored(s), stored.substr(0, stored.size() - 3) + "0 0");
  DecodeOndarisDat("", s);
  EXPECT_EQ(Stored(s), "||0||0 0 cal 0 0 0 0 rows 0 0 0 0 0 0 flags 0 0 0 0 0 0 speed 0 vol 0 0 mute 0 0");

  // A length byte beyond the capacity stays inside its field.
  std::string bytes = full;
  bytes[0] = static_cast<char>(255);    // FreqFileDir claims 255 characters
  bytes[166] = static_cast<char>(200);  // ComPortName claims 200
  DecodeOndarisDat(bytes, s);
  // The field after the port name is read from its own place.
  EXPECT_EQ(std::tuple(s.FreqFileDir, s.ComPortName, s.LastFreqFile, s.CWTone),
            std::tuple(bytes.substr(1, 80), bytes.substr(167, 10), FullySetState().LastFreqFile, 650));
}

// Every field goes through the file whole; a damaged record never takes the
// program outside its controls' ranges.
TEST(OndarisDatTest, RoundTripThroughTheFileAndFieldsOutsideTheirRangesAreBroughtIntoThem) {
  RadioState above = FullySetState();
  above.CWTone = 3001, above.MeterMax = 10001, above.TuningSpeedMs = 1321, above.SpkrVolume = 64;
  above.LineVolume = 70;
  above.AMFilterIndex = above.SSBFilterIndex = above.CWFilterIndex = 24;
  above.AMStepIndex = above.SSBStepIndex = above.CWStepIndex = 9;
  above.MuteTogether = above.ShowHints = above.SpkrMute = 7;
  RadioState below = JunkState();
  below.ComPortName = "";
  below.CWTone = -3001, below.MeterMax = 99, below.TuningSpeedMs = 32, below.SpkrVolume = 12, below.LineVolume = 0;
  below.CalLoFreq = std::numeric_limits<double>::quiet_NaN(), below.CalHiErr = -std::numeric_limits<double>::infinity();
  RadioState noMeter;
  noMeter.MeterMax = 0;
  const std::pair<RadioState, std::string> rows[] = {
      {FullySetState(), Stored(FullySetState())},
      {above, "|3000 10000 cal 5 -87.25 15.5 -126 rows 23 8 23 8 23 8 flags 0 0 0 1 1 1 speed 1320 vol 63 63 mute 1 1"},
      {below, "|0|COM1|-3000 100 cal 0 -5 -5 0 rows 0 0 0 0 0 0 flags 1 1 1 1 1 1 speed 33 vol 13 13 mute 1 1"},
      {noMeter, "|COM1|700 10000 cal"},
  };
  for (const auto& [state, expected] : rows) {
    ProgramFolder folder;
    WriteOndarisDat(folder.dir(), state);
    EXPECT_THAT(Stored(ReadBack(folder)), ::testing::HasSubstr(expected));
  }
}

TEST(OndarisDatTest, OverlongTextsAreRefusedNotCut) {
  ProgramFolder folder;
  WriteOndarisDat(folder.dir(), FullySetState());
  const std::string before = ReadFileBytes(folder.sysFile("Ondaris.dat"));
  const std::pair<std::string RadioState::*, std::string> fields[] = {
      {&RadioState::FreqFileDir, "/elsewhere/" + std::string(70, 'x')},  // 81 characters
      {&RadioState::LastFreqFile, std::string(77, 'x') + ".320"}, {&RadioState::ComPortName, "/dev/ttyS10"}};
  for (const auto& [field, text] : fields) {
    RadioState bad = FullySetState();
    bad.*field = text;
    EXPECT_THROW(WriteOndarisDat(folder.dir(), bad), FileError) << text;
    EXPECT_EQ(ReadFileBytes(folder.sysFile("Ondaris.dat")), before);
    EXPECT_EQ(folder.sysFiles(), Texts{"Ondaris.dat"});
  }
}

TEST(OndarisDatTest, WhatCannotBeStoredIsLeftOutAndTheRestKept) {
  const std::string program = "/opt/ondaris/";
  RadioState s = FullySetState();
  Texts dropped;
  EXPECT_EQ(Stored(StorableState(s, program, dropped)), Stored(s));
  EXPECT_TRUE(dropped.empty());

  s.FreqFileDir = program + std::string(81, 'd') + "/";
  s.LastFreqFile = std::string(81, 'f'), s.ComPortName = "/dev/ttyUSB10";
  RadioState want = s;
  want.FreqFileDir = "FreqFiles/", want.LastFreqFile = "", want.FreqFileRecordCount = 0, want.ComPortName = "COM1";
  EXPECT_EQ(Stored(StorableState(s, program, dropped)), Stored(want));
  EXPECT_THAT(dropped, ::testing::ElementsAre(FreqFileDirTooLongMessage(s.FreqFileDir),
                                              FreqFileNameTooLongMessage(s.LastFreqFile),
                                              ComPortNameTooLongMessage(s.ComPortName)));
}

TEST(OndarisDatTest, FreqFileDirHelpers) {
  const std::string program = "/opt/ondaris/";
  const std::pair<const char*, const char*> stored[] = {
      {"/opt/ondaris/FreqFiles/", "FreqFiles/"}, {"/opt/ondaris/", ""}, {"/opt/ondaris", ""},
      {"/opt/ondaris2/lists/", "/opt/ondaris2/lists/"}, {"FreqFiles/", "FreqFiles/"}};
  for (const auto& [folder, expected] : stored) EXPECT_EQ(StoredFreqFileDir(folder, program), expected) << folder;
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris/FreqFiles/", "/opt/ondaris"), "FreqFiles/");
  EXPECT_EQ(StoredFreqFileDir("/srv/lists/", ""), "/srv/lists/");
  EXPECT_EQ(Texts({ResolveFreqFileDir("FreqFiles/", "/opt/ondaris"), ResolveFreqFileDir("/srv/lists/", program),
                   ResolveFreqFileDir("", program)}),
            Texts({"/opt/ondaris/FreqFiles/", "/srv/lists/", program}));
  // 80 characters fit, below the program's folder or not.
  for (const auto& [base, length] : {std::pair{program, 79}, {std::string("/"), 78}}) {
    EXPECT_TRUE(FreqFileDirFits(base + std::string(length, 'x') + "/", program)) << base;
    EXPECT_FALSE(FreqFileDirFits(base + std::string(length + 1, 'x') + "/", program)) << base;
  }
}

TEST(OndarisDatTest, AMissingFileGivesMessageAndDefaultsAnUnreadableOneTheOpenError) {
  ProgramFolder folder;
  RadioState s = JunkState();
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(ReadOndarisDat(folder.dir(), s, messages));
  EXPECT_EQ(messages.messages(), Texts{"Could not find file SysFiles\\Ondaris.dat initializing radio's state using "
                                       "default data"});
  EXPECT_EQ(Stored(s), "FreqFiles/||0|COM1|700 10000 cal 0 0 0 0 rows 1 4 13 5 23 5 flags 1 1 1 0 0 1 speed 200 "
                      "vol 30 30 mute 0 0");

  // Files that exist but cannot be read raise the open error, without a message.
  messages.clear();
  fs::create_directory(folder.sysFile("Ondaris.dat"));
  fs::create_directory(folder.sysFile("Tuning.dat"));
  EXPECT_THROW(ReadOndarisDat(folder.dir(), s, messages), FileError);
  EXPECT_THROW(ReadTuningLines(folder.dir(), messages, '.'), FileError);
  EXPECT_TRUE(messages.shown().empty());
}

// ---------------------------------------------------------------------------
// Tuning.dat

RadioState TwoVfoState() {
  RadioState s;
  s.ActiveVFO = 'B';
  s.OtherVFO = VfoTuning{7000.5, 2, 6, 14, 1, -250, "status text"};
  s.Freq = 9580.25, s.Mode = 3, s.StepIndex = 8, s.FilterIndex = 23, s.AGC = 3, s.PBT = 1950;
  return s;
}

// The tuning fields Tuning.dat keeps: active letter, other VFO, current tuning.
std::string Tunings(const RadioState& s) {
  std::ostringstream out;
  const VfoTuning& o = s.OtherVFO;
  out << std::setprecision(17) << s.ActiveVFO << " other " << o.freq << ' ' << +o.mode << ' ' << o.stepIndex << ' '
      << o.filterIndex << ' ' << o.agc << ' ' << o.pbt << " [" << o.statusText << "] now " << s.Freq << ' '
      << +s.Mode << ' ' << s.StepIndex << ' ' << s.FilterIndex << ' ' << s.AGC << ' ' << s.PBT;
  return out.str();
}

RadioState Applied(const TuningLines& lines, RadioState s = RadioState(), char separator = '.') {
  ApplyTuningLines(lines, s, separator);
  return s;
}

const char* const TwoVfoFile =
    "B\r\n"
    "7000.500\r\nLSB\r\n6\r\n14\r\nSlow\r\n-250\r\n"
    "9580.250\r\nCW\r\n8\r\n23\r\nFast\r\n1950\r\n";

// Written with either decimal separator the file holds points, and it reads
// back under both.
TEST(TuningDatTest, WritesThirteenLinesExactlyAndReadsThemBack) {
  RadioState want = TwoVfoState();
  want.OtherVFO.statusText = "";  // not kept in the file
  for (char separator : {'.', ','}) {
    ProgramFolder folder;
    WriteTuningDat(folder.dir(), TwoVfoState(), separator);
    EXPECT_EQ(ReadFileBytes(folder.sysFile("Tuning.dat")), TwoVfoFile) << "separator " << separator;
    for (char reader : {'.', ','}) {
      ScriptedMessageBoxes messages;
      RadioState back;
      back.OtherVFO.statusText = "left over";
      ApplyTuningLines(ReadTuningLines(folder.dir(), messages, reader), back, reader);
      EXPECT_TRUE(messages.shown().empty());
      EXPECT_EQ(Tunings(back), Tunings(want)) << separator << reader;
    }
  }
}

// Each mode and AGC is written by its name; a line matches a name whole and
// case-sensitively, and one that names nothing leaves the field as it was
// (CW and Medium here).
TEST(TuningDatTest, ModeAndAgcNames) {
  const struct {
    std::size_t line;  // of the current tuning; the other VFO's is six above
    const char* name;
    int value;
  } rows[] = {
      {8, "AM", 0},     {8, "USB", 1},     {8, "LSB", 2}, {8, "CW", 3},  {8, "am", 3},    {8, "AM ", 3},
      {8, " AM", 3},    {8, "USB2", 3},    {8, "", 3},    {11, "Slow", 1}, {11, "Medium", 2}, {11, "Fast", 3},
      {11, "fast", 2},  {11, "Slow ", 2},  {11, "", 2},
  };
  for (const auto& [line, name, value] : rows) {
    TuningLines lines = DecodeTuningDat(TwoVfoFile);
    lines[line] = lines[line - 6] = name;
    RadioState s;
    s.Mode = s.OtherVFO.mode = 3;
    s.AGC = s.OtherVFO.agc = 2;
    ApplyTuningLines(lines, s, '.');
    const auto read = line == 8 ? std::pair<int, int>{s.Mode, s.OtherVFO.mode} : std::pair{s.AGC, s.OtherVFO.agc};
    EXPECT_EQ(read, (std::pair{value, value})) << "'" << name << "'";
  }
  RadioState s;
  for (s.Mode = 0; s.Mode < 4; ++s.Mode) EXPECT_EQ(TuningLinesOf(s, '.')[8], rows[s.Mode].name);
  for (s.AGC = 1; s.AGC <= 3; ++s.AGC) EXPECT_EQ(TuningLinesOf(s, '.')[11], rows[8 + s.AGC].name);
}

TEST(TuningDatTest, MissingFileGivesMessageAndDefaults) {
  for (char separator : {'.', ','}) {
    SCOPED_TRACE(separator);
    ProgramFolder folder;
    ScriptedMessageBoxes messages;
    const TuningLines lines = ReadTuningLines(folder.dir(), messages, separator);
    EXPECT_EQ(messages.messages(),
              Texts{"Could not find file SysFiles\\Tuning.dat - initializing radio tuning using default data"});
    const std::string sep(1, separator);
    const TuningLines expected = {"A", "10000" + sep + "000", "AM", "4", "1", "Medium", "0",
                                  "15000" + sep + "000", "AM", "4", "1", "Medium", "0"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(Tunings(Applied(lines, TwoVfoState(), separator)), "A other 10000 0 4 1 2 0 [] now 15000 0 4 1 2 0");
  }
}

TEST(TuningDatTest, ANumberLineThatIsNoNumberRaisesTheConversionErrorAndTheOthersAreTaken) {
  const struct {
    std::size_t line;  // 0-based
    const char* text;
    char separator;
  } cases[] = {
      {1, "abc", '.'}, {7, "9580,5", '.'}, {7, "9..5", ','}, {7, "15000.000.0", '.'}, {3, "x", '.'},
      {4, "1.5", '.'}, {6, "", '.'},       {9, "4a", '.'},   {10, "", '.'},           {12, "+-1", '.'},
  };
  const TuningLines before = TuningLinesOf(RadioState(), '.');
  for (const auto& c : cases) {
    TuningLines lines = DecodeTuningDat(TwoVfoFile);
    TuningLines kept = lines;
    lines[c.line] = c.text;
    kept[c.line] = before[c.line];
    RadioState s;
    EXPECT_THROW(ApplyTuningLines(lines, s, c.separator), ConversionError) << c.line + 1 << " '" << c.text << "'";
    EXPECT_EQ(Tunings(s), Tunings(Applied(kept))) << "line " << c.line + 1 << " '" << c.text << "'";
  }
}

TEST(TuningDatTest, TuningsOutsideTheirRangesAreBroughtIntoThem) {
  const std::pair<TuningLines, const char*> rows[] = {
      {{"C", "5.000", "AM", "-1", "-1", "Slow", "-2001", "30000.001", "CW", "9", "24", "", "2050"},
       "A other 10 0 0 0 1 -2000 [] now 30000 3 8 23 2 2000"},
      {{"B", "10.000", "LSB", "0", "0", "Fast", "-2000", "30000.000", "USB", "8", "23", "Slow", "2000"},
       "B other 10 2 0 0 3 -2000 [] now 30000 1 8 23 1 2000"},
  };
  RadioState s;
  s.AGC = 0;  // an AGC line that names nothing leaves it so
  for (const auto& [lines, expected] : rows) EXPECT_EQ(Tunings(Applied(lines, s)), expected);
}

TEST(TuningDatTest, ReadsLfAndCrLfAndCutsLinesAtTwentyCharacters) {
  const std::string lf = "A\n7000.500\nLSB\n6\n14\nSlow\n-250\n9580.250\nCW\n8\n23\nFast\n1950";  // no final end
  const std::string cut = "B\r\n7000.500\r\nLSB\r\n6" + std::string(19, ' ') + "x\r\n14\r\nSlow\r\n-250\r\n"
                          "9580.250\r\nCWxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n8\r\n23\r\nFast\r\n1950\r\nextra line\r\n";
  RadioState s = Applied(DecodeTuningDat(lf));
  EXPECT_EQ(std::tuple(s.ActiveVFO, s.OtherVFO.freq, s.PBT), std::tuple('A', 7000.5, 1950));
  EXPECT_EQ(DecodeTuningDat("A\r\n7000.500\r\n")[2], "");  // lines missing at the end are empty

  const TuningLines lines = DecodeTuningDat(cut);
  EXPECT_EQ(lines[3], "6" + std::string(19, ' '));  // the x was the 21st character
  EXPECT_EQ(lines[8], "CW" + std::string(18, 'x'));
  for (const auto& line : lines) EXPECT_LE(line.size(), 20u);
  s.Mode = 1;
  s = Applied(lines, s);
  EXPECT_EQ(std::tuple(s.OtherVFO.stepIndex, +s.Mode), std::tuple(6, 1));  // "CWxxx..." is no mode name
}

// ---------------------------------------------------------------------------
// Atomic saving

TEST(AtomicFileTest, ReadsWhatWasWrittenByteForByteAndTellsMissingFromUnreadable) {
  ProgramFolder folder;
  const std::string path = folder.sysFile("bytes.bin");
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += std::string(100000, '\0') + "\r\n";
  for (const std::string& written : {bytes, std::string()}) {
    WriteFileAtomically(path, written);
    EXPECT_EQ(ReadWholeFile(path), written);
  }
  EXPECT_EQ(folder.sysFiles(), Texts{"bytes.bin"});

  // Missing and unreadable files are told apart.
  EXPECT_EQ(std::tuple(ReadWholeFile(folder.sysFile("none.dat")),
                       ReadWholeFile(folder.dir() + "NoSuchFolder/none.dat"), FileExists(folder.sysFile("none.dat"))),
            std::tuple(std::nullopt, std::nullopt, false));
  fs::create_directory(folder.sysFile("folder.dat"));
  EXPECT_TRUE(FileExists(folder.sysFile("folder.dat")));
  EXPECT_THROW(ReadWholeFile(folder.sysFile("folder.dat")), FileError);
}

TEST(AtomicFileTest, ReplacingKeepsThePermissions) {
  ProgramFolder folder;
  const std::string path = folder.sysFile("Tuning.dat");
  WriteFileBytes(path, "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(path, "new");
  EXPECT_EQ(static_cast<int>(fs::status(path).permissions()), 0640);
  EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST(AtomicFileTest, AFolderThatCannotHoldTheFileThrowsWithTheFileName) {
  ProgramFolder folder;
  // SysFiles is a regular file here, so nothing can be created inside it.
  fs::remove(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  EXPECT_THAT([&] { WriteTuningDat(folder.dir(), TwoVfoState(), '.'); },
              ::testing::ThrowsMessage<FileError>(::testing::HasSubstr("SysFiles/Tuning.dat")));
  EXPECT_EQ(ReadFileBytes(folder.dir() + "SysFiles"), "not a folder");
}

// The disk fills up in the middle of the write: the process may write only
// 100 bytes per file. The old file must stay whole and no temporary is left.
TEST(AtomicFileTest, AFailedWriteLeavesTheOldFileUntouched) {
  ProgramFolder folder;
  WriteOndarisDat(folder.dir(), FullySetState());
  const std::string before = ReadFileBytes(folder.sysFile("Ondaris.dat"));
  RadioState changed = FullySetState();
  changed.CWTone = 900;
  WithFileSizeLimit(100, [&] { EXPECT_THROW(WriteOndarisDat(folder.dir(), changed), FileError); });
  EXPECT_EQ(ReadFileBytes(folder.sysFile("Ondaris.dat")), before);
  EXPECT_EQ(folder.sysFiles(), Texts{"Ondaris.dat"});
}

}  // namespace
}  // namespace ondaris
