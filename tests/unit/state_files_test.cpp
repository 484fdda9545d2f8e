// The receiver state files SysFiles/Ondaris.dat and SysFiles/Tuning.dat, and
// the atomic whole-file saving they are written with.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// A fresh program folder with its SysFiles folder, removed afterwards.
struct ProgramFolder : TempFolder {
  ProgramFolder() : TempFolder(true) {}
};

// Every stored field set away from its default; strings at full capacity.
RadioState FullySetState() {
  RadioState s;
  s.FreqFileDir = "/srv/radio/lists/" + std::string(80 - 17, 'd');
  s.LastFreqFile = std::string(76, 'f') + ".320";
  s.FreqFileRecordCount = 123456;
  s.ComPortName = "/dev/ttyS9";  // 10 characters
  s.CWTone = 650;
  s.MeterMax = 9999;
  s.CalLoFreq = 5.0;
  s.CalLoErr = -87.25;
  s.CalHiFreq = 15.5;
  s.CalHiErr = -126.0;
  s.AMFilterIndex = 2;
  s.AMStepIndex = 3;
  s.SSBFilterIndex = 14;
  s.SSBStepIndex = 6;
  s.CWFilterIndex = 22;
  s.CWStepIndex = 7;
  s.UseDefaultFiltersAsDefault = 0;
  s.UseDefaultStepsAsDefault = 0;
  s.MuteOnExitAsDefault = 0;
  s.MuteTogether = 1;
  s.NineKHzSteps = 1;
  s.ShowHints = 0;
  s.TuningSpeedMs = 250;  // not a multiple of 33
  s.SpkrVolume = 13;
  s.LineVolume = 63;
  s.SpkrMute = 1;
  s.LineMute = 1;
  return s;
}

// A state whose stored fields all differ from FullySetState and the defaults.
RadioState JunkState() {
  RadioState s;
  s.FreqFileDir = "junk";
  s.LastFreqFile = "junk";
  s.FreqFileRecordCount = -5;
  s.ComPortName = "junk";
  s.CWTone = s.MeterMax = -5;
  s.CalLoFreq = s.CalLoErr = s.CalHiFreq = s.CalHiErr = -5;
  s.AMFilterIndex = s.AMStepIndex = s.SSBFilterIndex = s.SSBStepIndex = s.CWFilterIndex = s.CWStepIndex = -5;
  s.UseDefaultFiltersAsDefault = s.UseDefaultStepsAsDefault = s.MuteOnExitAsDefault = 7;
  s.MuteTogether = s.NineKHzSteps = s.ShowHints = 7;
  s.TuningSpeedMs = -5;
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

std::string Le32(std::int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Le64(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

// ---------------------------------------------------------------------------
// Ondaris.dat

TEST(OndarisDatTest, RoundTripThroughTheFile) {
  ProgramFolder folder;
  const RadioState original = FullySetState();
  WriteOndarisDat(folder.dir(), original);
  EXPECT_EQ(fs::file_size(folder.sysFile("Ondaris.dat")), 255u);
  RadioState back = JunkState();
  ScriptedMessageBoxes messages;
  EXPECT_TRUE(ReadOndarisDat(folder.dir(), back, messages));
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(Stored(back), Stored(original));
}

TEST(OndarisDatTest, FieldsSitAtTheirOffsets) {
  RadioState s = FullySetState();
  s.FreqFileDir = "FreqFiles/";
  s.LastFreqFile = "Broadcast.320";
  s.ComPortName = "COM3";
  s.CalLoErr = -87.0;
  s.TuningSpeedMs = 231;
  const std::string bytes = EncodeOndarisDat(s, "/opt/ondaris/");
  ASSERT_EQ(bytes.size(), 255u);
  const struct {
    std::size_t offset;
    std::string expected;
  } fields[] = {
      {0, std::string("\x0A") + "FreqFiles/"},
      {81, std::string("\x0D") + "Broadcast.320"},
      {162, Le32(123456)},
      {166, std::string("\x04") + "COM3"},
      {177, Le32(650)},
      {181, Le32(9999)},
      {185, Le64(5.0)},
      {193, Le64(-87.0)},
      {201, Le64(15.5)},
      {209, Le64(-126.0)},
      {217, Le32(2)},
      {221, Le32(3)},
      {225, Le32(14)},
      {229, Le32(6)},
      {233, Le32(22)},
      {237, Le32(7)},
      {241, std::string("\x00\x00\x00\x01\x01\x00", 6)},
      {247, Le32(231)},
      {251, std::string("\x0D\x3F\x01\x01", 4)},
  };
  for (const auto& f : fields) EXPECT_EQ(bytes.substr(f.offset, f.expected.size()), f.expected) << f.offset;
  EXPECT_EQ(bytes.substr(162, 4), std::string("\x40\xE2\x01\x00", 4));  // 123456 little-endian
  EXPECT_EQ(bytes.substr(193, 8), std::string("\x00\x00\x00\x00\x00\xC0\x55\xC0", 8));  // -87.0
}

TEST(OndarisDatTest, FieldsBeyondAShortFileAreZeroNotDefaults) {
  const RadioState full = FullySetState();
  RadioState s = JunkState();
  DecodeOndarisDat(EncodeOndarisDat(full, "").substr(0, 201), s);  // ends after CalLoErr
  EXPECT_EQ(Stored(s), Stored(full).substr(0, Stored(full).find(" -87.25") + 7) +
                           " 0 0 rows 0 0 0 0 0 0 flags 0 0 0 0 0 0 speed 0 vol 0 0 mute 0 0");

  // A field cut in the middle keeps the bytes that are there.
  DecodeOndarisDat(EncodeOndarisDat(full, "").substr(0, 179), s);  // two bytes of CWTone (650 = 0x028A)
  EXPECT_EQ(s.CWTone, 650);
  DecodeOndarisDat(EncodeOndarisDat(full, "").substr(0, 178), s);
  EXPECT_EQ(s.CWTone, 0x8A);

  // 253 bytes: both mute flags off.
  DecodeOndarisDat(EncodeOndarisDat(full, "").substr(0, 253), s);
  EXPECT_EQ(Stored(s), Stored(full).substr(0, Stored(full).size() - 3) + "0 0");

  RadioState empty = JunkState();
  DecodeOndarisDat("", empty);
  EXPECT_EQ(Stored(empty), "||0||0 0 cal 0 0 0 0 rows 0 0 0 0 0 0 flags 0 0 0 0 0 0 speed 0 vol 0 0 mute 0 0");
}

// A damaged record never takes the program outside its controls' ranges.
TEST(OndarisDatTest, FieldsOutsideTheirRangesAreBroughtIntoThem) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    RadioState stored;
    const char* expected;
  } rows[] = {
      {"above", [] {
         RadioState s = FullySetState();
         s.CWTone = 3001, s.MeterMax = 10001, s.TuningSpeedMs = 1321, s.SpkrVolume = 64, s.LineVolume = 70;
         s.AMFilterIndex = s.SSBFilterIndex = s.CWFilterIndex = 24;
         s.AMStepIndex = s.SSBStepIndex = s.CWStepIndex = 9;
         s.MuteTogether = s.ShowHints = s.SpkrMute = 7;
         return s;
       }(),
       "|3000 10000 cal 5 -87.25 15.5 -126 rows 23 8 23 8 23 8 flags 0 0 0 1 1 1 speed 1320 vol 63 63 mute 1 1"},
      {"below", [&] {
         RadioState s = JunkState();
         s.ComPortName = "";
         s.CWTone = -3001, s.MeterMax = 99, s.TuningSpeedMs = 32, s.SpkrVolume = 12, s.LineVolume = 0;
         s.CalLoFreq = nan, s.CalHiErr = -std::numeric_limits<double>::infinity();
         return s;
       }(),
       "|0|COM1|-3000 100 cal 0 -5 -5 0 rows 0 0 0 0 0 0 flags 1 1 1 1 1 1 speed 33 vol 13 13 mute 1 1"},
      {"no meter", [] {
         RadioState s;
         s.MeterMax = 0;
         return s;
       }(),
       "|COM1|700 10000 cal"},
  };
  for (const auto& row : rows) {
    ProgramFolder folder;
    WriteOndarisDat(folder.dir(), row.stored);
    RadioState back;
    ScriptedMessageBoxes messages;
    ReadOndarisDat(folder.dir(), back, messages);
    EXPECT_THAT(Stored(back), ::testing::HasSubstr(row.expected)) << row.what;
  }
}

TEST(OndarisDatTest, LengthByteBeyondCapacityStaysInsideTheField) {
  std::string bytes = EncodeOndarisDat(FullySetState(), "");
  bytes[0] = static_cast<char>(255);    // FreqFileDir claims 255 characters
  bytes[166] = static_cast<char>(200);  // ComPortName claims 200
  RadioState s = JunkState();
  DecodeOndarisDat(bytes, s);
  EXPECT_EQ(s.FreqFileDir, bytes.substr(1, 80));
  EXPECT_EQ(s.ComPortName, bytes.substr(167, 10));
  EXPECT_EQ(s.LastFreqFile, FullySetState().LastFreqFile);
  EXPECT_EQ(s.CWTone, 650);  // the field after the port name is read from its own place
}

TEST(OndarisDatTest, OverlongTextsAreRefusedNotCut) {
  struct Case {
    const char* what;
    void (*change)(RadioState&);
  };
  const Case cases[] = {
      {"FreqFileDir 81", [](RadioState& s) { s.FreqFileDir = "/elsewhere/" + std::string(70, 'x'); }},
      {"LastFreqFile 81", [](RadioState& s) { s.LastFreqFile = std::string(77, 'x') + ".320"; }},
      {"ComPortName 11", [](RadioState& s) { s.ComPortName = "/dev/ttyS10"; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramFolder folder;
    const RadioState good = FullySetState();
    WriteOndarisDat(folder.dir(), good);
    const std::string before = ReadFileBytes(folder.sysFile("Ondaris.dat"));

    RadioState bad = good;
    c.change(bad);
    EXPECT_THROW(EncodeOndarisDat(bad, folder.dir()), FileError);
    EXPECT_THROW(WriteOndarisDat(folder.dir(), bad), FileError);
    EXPECT_EQ(ReadFileBytes(folder.sysFile("Ondaris.dat")), before);
    EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), std::vector<std::string>{"Ondaris.dat"});
  }
}

TEST(OndarisDatTest, WhatCannotBeStoredIsLeftOutAndTheRestKept) {
  const std::string program = "/opt/ondaris/";
  RadioState s = FullySetState();
  std::vector<std::string> dropped;
  EXPECT_EQ(Stored(StorableState(s, program, dropped)), Stored(s));
  EXPECT_TRUE(dropped.empty());

  s.FreqFileDir = program + std::string(81, 'd') + "/";
  s.LastFreqFile = std::string(81, 'f');
  s.ComPortName = "/dev/ttyUSB10";
  RadioState want = s;
  want.FreqFileDir = "FreqFiles/", want.LastFreqFile = "", want.FreqFileRecordCount = 0, want.ComPortName = "COM1";
  EXPECT_EQ(Stored(StorableState(s, program, dropped)), Stored(want));
  EXPECT_THAT(dropped, ::testing::ElementsAre(FreqFileDirTooLongMessage(s.FreqFileDir),
                                              FreqFileNameTooLongMessage(s.LastFreqFile),
                                              ComPortNameTooLongMessage(s.ComPortName)));
}

TEST(OndarisDatTest, FreqFileDirHelpers) {
  const std::string program = "/opt/ondaris/";
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris/FreqFiles/", program), "FreqFiles/");
  RadioState below;
  below.FreqFileDir = program + "FreqFiles/";
  EXPECT_EQ(EncodeOndarisDat(below, program).substr(0, 11), std::string("\x0A") + "FreqFiles/");
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris/FreqFiles/", "/opt/ondaris"), "FreqFiles/");
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris/", program), "");
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris", program), "");
  EXPECT_EQ(StoredFreqFileDir("/opt/ondaris2/lists/", program), "/opt/ondaris2/lists/");
  EXPECT_EQ(StoredFreqFileDir("/srv/lists/", program), "/srv/lists/");
  EXPECT_EQ(StoredFreqFileDir("FreqFiles/", program), "FreqFiles/");
  EXPECT_EQ(ResolveFreqFileDir("FreqFiles/", program), "/opt/ondaris/FreqFiles/");
  EXPECT_EQ(ResolveFreqFileDir("FreqFiles/", "/opt/ondaris"), "/opt/ondaris/FreqFiles/");
  EXPECT_EQ(ResolveFreqFileDir("/srv/lists/", program), "/srv/lists/");
  EXPECT_EQ(ResolveFreqFileDir("", program), program);
  EXPECT_TRUE(FreqFileDirFits(program + std::string(79, 'x') + "/", program));
  EXPECT_FALSE(FreqFileDirFits(program + std::string(80, 'x') + "/", program));
  EXPECT_TRUE(FreqFileDirFits("/" + std::string(78, 'x') + "/", program));
  EXPECT_FALSE(FreqFileDirFits("/" + std::string(79, 'x') + "/", program));
}

TEST(OndarisDatTest, MissingFileGivesMessageAndDefaults) {
  ProgramFolder folder;
  RadioState s = JunkState();
  ScriptedMessageBoxes messages;
  EXPECT_FALSE(ReadOndarisDat(folder.dir(), s, messages));
  EXPECT_EQ(messages.messages(),
            std::vector<std::string>{"Could not find file SysFiles\\Ondaris.dat initializing radio's state using "
                                     "default data"});
  EXPECT_EQ(Stored(s),
            "FreqFiles/||0|COM1|700 10000 cal 0 0 0 0 rows 1 4 13 5 23 5 flags 1 1 1 0 0 1 speed 200 vol 30 30 mute 0 0");
}

TEST(OndarisDatTest, UnreadableFilesRaiseTheOpenError) {
  ProgramFolder folder;
  fs::create_directory(folder.sysFile("Ondaris.dat"));  // exists, cannot be read as a file
  RadioState s = JunkState();
  ScriptedMessageBoxes messages;
  EXPECT_THROW(ReadOndarisDat(folder.dir(), s, messages), FileError);
  fs::create_directory(folder.sysFile("Tuning.dat"));
  EXPECT_THROW(ReadTuningLines(folder.dir(), messages, '.'), FileError);
  EXPECT_TRUE(messages.shown().empty());
}

// ---------------------------------------------------------------------------
// Tuning.dat

RadioState TwoVfoState() {
  RadioState s;
  s.ActiveVFO = 'B';
  s.OtherVFO = VfoTuning{7000.5, 2, 6, 14, 1, -250, "status text"};
  s.Freq = 9580.25;
  s.Mode = 3;
  s.StepIndex = 8;
  s.FilterIndex = 23;
  s.AGC = 3;
  s.PBT = 1950;
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
TEST(TuningDatTest, NamesForEveryModeAndAgc) {
  const char* const modes[] = {"AM", "USB", "LSB", "CW"};
  const std::pair<int, const char*> agcs[] = {{1, "Slow"}, {2, "Medium"}, {3, "Fast"}};
  RadioState s;
  for (std::uint8_t mode = 0; mode < 4; ++mode) {
    s.Mode = mode;
    EXPECT_EQ(TuningLinesOf(s, '.')[8], modes[mode]);
    RadioState back;
    back.Mode = 7;
    ApplyTuningLines(TuningLinesOf(s, '.'), back, '.');
    EXPECT_EQ(back.Mode, mode);
  }
  for (const auto& [agc, name] : agcs) {
    s.AGC = agc;
    EXPECT_EQ(TuningLinesOf(s, '.')[11], name);
    RadioState back;
    back.AGC = 0;
    ApplyTuningLines(TuningLinesOf(s, '.'), back, '.');
    EXPECT_EQ(back.AGC, agc);
  }
}

TEST(TuningDatTest, ModeAndAgcNamesMatchWholeAndCaseSensitively) {
  const char* const near_misses[] = {"am", "Am", "AM ", " AM", "USB2", "", "cw"};
  for (const char* mode : near_misses) {
    TuningLines lines = DecodeTuningDat(TwoVfoFile);
    lines[8] = mode;
    lines[2] = mode;
    RadioState s;
    s.Mode = 1;
    s.OtherVFO.mode = 3;
    ApplyTuningLines(lines, s, '.');
    EXPECT_EQ(s.Mode, 1) << "'" << mode << "'";
    EXPECT_EQ(s.OtherVFO.mode, 3) << "'" << mode << "'";
  }
  for (const char* agc : {"fast", "MEDIUM", "Slow ", ""}) {
    TuningLines lines = DecodeTuningDat(TwoVfoFile);
    lines[11] = agc;
    lines[5] = agc;
    RadioState s;
    s.AGC = 2;
    s.OtherVFO.agc = 3;
    ApplyTuningLines(lines, s, '.');
    EXPECT_EQ(s.AGC, 2) << "'" << agc << "'";
    EXPECT_EQ(s.OtherVFO.agc, 3) << "'" << agc << "'";
  }
}

TEST(TuningDatTest, MissingFileGivesMessageAndDefaults) {
  for (char separator : {'.', ','}) {
    SCOPED_TRACE(separator);
    ProgramFolder folder;
    ScriptedMessageBoxes messages;
    const TuningLines lines = ReadTuningLines(folder.dir(), messages, separator);
    EXPECT_EQ(messages.messages(),
              std::vector<std::string>{
                  "Could not find file SysFiles\\Tuning.dat - initializing radio tuning using default data"});
    const std::string sep(1, separator);
    const TuningLines expected = {"A", "10000" + sep + "000", "AM", "4", "1", "Medium", "0",
                                  "15000" + sep + "000", "AM", "4", "1", "Medium", "0"};
    EXPECT_EQ(lines, expected);

    RadioState s;
    s.ActiveVFO = 'B';
    s.Freq = 1.0;
    s.Mode = 3;
    s.StepIndex = s.FilterIndex = s.AGC = s.PBT = 9;
    s.OtherVFO = VfoTuning{2.0, 3, 9, 9, 9, 9, "x"};
    ApplyTuningLines(lines, s, separator);
    EXPECT_EQ(Tunings(s), "A other 10000 0 4 1 2 0 [] now 15000 0 4 1 2 0");
  }
}

TEST(TuningDatTest, ANumberLineThatIsNoNumberRaisesTheConversionErrorAndTheOthersAreTaken) {
  const struct {
    std::size_t line;  // 0-based
    const char* text;
    char separator;
  } cases[] = {
      {1, "abc", '.'},       {1, "", '.'},          {7, "9580,5", '.'},  {7, "9..5", ','},
      {3, "x", '.'},         {4, "1.5", '.'},       {6, "", '.'},        {9, "4a", '.'},
      {10, "", '.'},         {12, "+-1", '.'},      {12, "", ','},       {7, "15000.000.0", '.'},
  };
  const TuningLines before = TuningLinesOf(RadioState(), '.');
  for (const auto& c : cases) {
    TuningLines lines = DecodeTuningDat(TwoVfoFile);
    TuningLines kept = lines;
    lines[c.line] = c.text;
    kept[c.line] = before[c.line];
    RadioState s, want;
    EXPECT_THROW(ApplyTuningLines(lines, s, c.separator), ConversionError)
        << "line " << c.line + 1 << " '" << c.text << "'";
    ApplyTuningLines(kept, want, '.');
    EXPECT_EQ(Tunings(s), Tunings(want)) << "line " << c.line + 1 << " '" << c.text << "'";
  }
}

TEST(TuningDatTest, TuningsOutsideTheirRangesAreBroughtIntoThem) {
  const struct {
    TuningLines lines;
    const char* expected;
  } rows[] = {
      {{"C", "5.000", "AM", "-1", "-1", "Slow", "-2001", "30000.001", "CW", "9", "24", "", "2050"},
       "A other 10 0 0 0 1 -2000 [] now 30000 3 8 23 2 2000"},
      {{"B", "10.000", "LSB", "0", "0", "Fast", "-2000", "30000.000", "USB", "8", "23", "Slow", "2000"},
       "B other 10 2 0 0 3 -2000 [] now 30000 1 8 23 1 2000"},
  };
  for (const auto& row : rows) {
    RadioState s;
    s.AGC = 0;  // an AGC line that names nothing leaves it so
    ApplyTuningLines(row.lines, s, '.');
    EXPECT_EQ(Tunings(s), row.expected);
  }
}

TEST(TuningDatTest, ReadsLfAndCrLfAndCutsLinesAtTwentyCharacters) {
  const std::string lf = "A\n7000.500\nLSB\n6\n14\nSlow\n-250\n9580.250\nCW\n8\n23\nFast\n1950";  // no final end
  const std::string cut = "B\r\n7000.500\r\nLSB\r\n6" + std::string(19, ' ') + "x\r\n14\r\nSlow\r\n-250\r\n"
                          "9580.250\r\nCWxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n8\r\n23\r\nFast\r\n1950\r\nextra line\r\n";
  TuningLines lines = DecodeTuningDat(lf);
  EXPECT_EQ(lines[0], "A");
  EXPECT_EQ(lines[12], "1950");
  EXPECT_EQ(DecodeTuningDat("A\r\n7000.500\r\n")[2], "");  // lines missing at the end are empty
  RadioState s;
  ApplyTuningLines(lines, s, '.');
  EXPECT_EQ(s.OtherVFO.freq, 7000.5);
  EXPECT_EQ(s.PBT, 1950);

  lines = DecodeTuningDat(cut);
  EXPECT_EQ(lines[3], "6" + std::string(19, ' '));  // the x was the 21st character
  EXPECT_EQ(lines[8], "CW" + std::string(18, 'x'));
  for (const auto& line : lines) EXPECT_LE(line.size(), 20u);
  RadioState t;
  t.Mode = 1;
  ApplyTuningLines(lines, t, '.');
  EXPECT_EQ(t.OtherVFO.stepIndex, 6);
  EXPECT_EQ(t.Mode, 1);  // "CWxxx..." is no mode name

  const std::string crlf = TwoVfoFile;
  EXPECT_EQ(DecodeTuningDat(crlf), TuningLinesOf(TwoVfoState(), '.'));
}

// ---------------------------------------------------------------------------
// Atomic saving

TEST(AtomicFileTest, ReadsWhatWasWrittenByteForByte) {
  ProgramFolder folder;
  const std::string path = folder.sysFile("bytes.bin");
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += std::string(100000, '\0') + "\r\n";
  WriteFileAtomically(path, bytes);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  WriteFileAtomically(path, "");
  EXPECT_EQ(ReadWholeFile(path), std::string());
  EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), std::vector<std::string>{"bytes.bin"});
}

TEST(AtomicFileTest, MissingAndUnreadableAreTold) {
  ProgramFolder folder;
  EXPECT_EQ(ReadWholeFile(folder.sysFile("none.dat")), std::nullopt);
  EXPECT_EQ(ReadWholeFile(folder.dir() + "NoSuchFolder/none.dat"), std::nullopt);
  EXPECT_FALSE(FileExists(folder.sysFile("none.dat")));
  fs::create_directory(folder.sysFile("folder.dat"));
  EXPECT_TRUE(FileExists(folder.sysFile("folder.dat")));
  EXPECT_THROW(ReadWholeFile(folder.sysFile("folder.dat")), FileError);
}

TEST(AtomicFileTest, ReplacingKeepsThePermissions) {
  ProgramFolder folder;
  const std::string path = folder.sysFile("Tuning.dat");
  WriteFileBytes(path, "old");
  ::chmod(path.c_str(), 0640);
  WriteFileAtomically(path, "new");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadFileBytes(path), "new");
}

TEST(AtomicFileTest, AFolderThatCannotHoldTheFileThrowsWithTheFileName) {
  ProgramFolder folder;
  // SysFiles is a regular file here, so nothing can be created inside it.
  fs::remove(folder.dir() + "SysFiles");
  WriteFileBytes(folder.dir() + "SysFiles", "not a folder");
  try {
    WriteTuningDat(folder.dir(), TwoVfoState(), '.');
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("SysFiles/Tuning.dat"), std::string::npos) << error.what();
  }
  EXPECT_THROW(WriteOndarisDat(folder.dir(), FullySetState()), FileError);
  EXPECT_EQ(ReadFileBytes(folder.dir() + "SysFiles"), "not a folder");
}

// The disk fills up in the middle of the write: the process may write only
// 100 bytes per file. The old file must stay whole and no temporary is left.
TEST(AtomicFileTest, AFailedWriteLeavesTheOldFileUntouched) {
  ProgramFolder folder;
  RadioState old = FullySetState();
  old.CWTone = 400;
  WriteOndarisDat(folder.dir(), old);
  const std::string before = ReadFileBytes(folder.sysFile("Ondaris.dat"));

  RadioState changed = FullySetState();
  changed.CWTone = 900;
  bool threw = false;
  WithFileSizeLimit(100, [&] {
    try {
      WriteOndarisDat(folder.dir(), changed);
    } catch (const FileError&) {
      threw = true;
    }
  });

  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadFileBytes(folder.sysFile("Ondaris.dat")), before);
  EXPECT_EQ(FolderEntries(folder.dir() + "SysFiles"), std::vector<std::string>{"Ondaris.dat"});
  RadioState back;
  ScriptedMessageBoxes messages;
  ReadOndarisDat(folder.dir(), back, messages);
  EXPECT_EQ(back.CWTone, 400);
}

}  // namespace
}  // namespace ondaris
