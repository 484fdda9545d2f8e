#pragma once
// The two files that carry the receiver's state from one run to the next:
//
//   SysFiles/Ondaris.dat  255-byte binary record of settings and options
//   SysFiles/Tuning.dat   13 text lines with the tunings of the two VFOs
//
// Start-up reads Tuning.dat into lines early and parses them later, so the
// reading and the parsing are separate steps. Every function that touches a
// file takes the program folder; the files live in its SysFiles folder.
// The locale's decimal separator is always passed in, never looked up.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "radio/RadioState.h"

namespace ondaris {

class MessageBoxes;

inline constexpr std::size_t OndarisDatSize = 255;
inline constexpr std::size_t FreqFileDirCapacity = 80;
inline constexpr std::size_t LastFreqFileCapacity = 80;
inline constexpr std::size_t ComPortNameCapacity = 10;

inline constexpr std::size_t TuningLineCount = 13;
inline constexpr std::size_t TuningLineLimit = 20;  // longer lines are cut on reading
using TuningLines = std::array<std::string, TuningLineCount>;

inline constexpr const char* MissingTuningDatMessage =
    "Could not find file SysFiles\\Tuning.dat - initializing radio tuning using default data";
inline constexpr const char* MissingOndarisDatMessage =
    "Could not find file SysFiles\\Ondaris.dat initializing radio's state using default data";
// Shown by the exit sequence when WriteOndarisDat throws.
inline constexpr const char* OndarisDatSaveFailedMessage = "Could not save the receiver's state to disk.";

std::string TuningDatPath(const std::string& programDir);
std::string OndarisDatPath(const std::string& programDir);

// ---- The frequency-file folder -------------------------------------------
// A folder below the program folder is stored relative to it ("FreqFiles/"),
// so that long install paths still fit the 80 characters of the record.

// What would be stored for `folder`: relative when it lies below `programDir`.
std::string StoredFreqFileDir(const std::string& folder, const std::string& programDir);
// True when `folder` can be stored (at most 80 characters once made relative).
bool FreqFileDirFits(const std::string& folder, const std::string& programDir);
// The folder a stored value stands for: relative values are taken below `programDir`.
std::string ResolveFreqFileDir(const std::string& stored, const std::string& programDir);

// ---- SysFiles/Ondaris.dat ------------------------------------------------

// The 255-byte record. Throws FileError when FreqFileDir (after being made
// relative to `programDir`), LastFreqFile or ComPortName is too long to be
// stored: a value is never cut.
std::string EncodeOndarisDat(const RadioState& state, const std::string& programDir);
// Sets the stored fields from a record. A shorter record is read as far as it
// goes and the fields beyond its end become 0; a string's length byte larger
// than its capacity is read as the capacity.
void DecodeOndarisDat(std::string_view bytes, RadioState& state);
// The first-start values of the stored fields.
void ApplyOndarisDefaults(RadioState& state);
// Brings the fields read from Ondaris.dat into the ranges the controls keep
// them in, so that a damaged file cannot send the program outside its
// tables: volumes 13..63, flags and mutes 0/1, CW tone -3000..3000, meter
// maximum 100..10000 (0 or less: 10000), tuning speed 33..1320 ms, default
// filter rows 0..23 and step rows 0..8, calibration that is not a number 0,
// record count at least 0, an empty port name COM1.
void BringSettingsIntoRange(RadioState& state);
// The same for the tunings of Tuning.dat (ApplyTuningLines calls it):
// frequencies 10..30000 kHz, step rows 0..8, filter rows 0..23, AGC 1..3
// (else medium), PBT -2000..+2000, ActiveVFO A or B (else A).
void BringTuningIntoRange(RadioState& state);

// The refusals of a value the record cannot hold, shown when it is chosen.
std::string FreqFileDirTooLongMessage(const std::string& folder);
std::string FreqFileNameTooLongMessage(const std::string& name);
std::string ComPortNameTooLongMessage(const std::string& name);
// What the exit sequence stores: `state` with each text that does not fit
// its field replaced by its first-start value (FreqFileDir "FreqFiles/",
// LastFreqFile empty with a record count of 0, ComPortName "COM1"), and the
// refusal of each appended to `dropped`. One bad field never costs the rest.
RadioState StorableState(const RadioState& state, const std::string& programDir, std::vector<std::string>& dropped);

// Reads SysFiles/Ondaris.dat into `state` and brings it into range. A missing
// file is announced with MissingOndarisDatMessage and gives the defaults
// (returns false); a file that exists but cannot be read throws FileError.
bool ReadOndarisDat(const std::string& programDir, RadioState& state, MessageBoxes& messages);
// Replaces SysFiles/Ondaris.dat atomically. Throws FileError on failure (also
// for a value too long to be stored); the old file then stays as it was.
void WriteOndarisDat(const std::string& programDir, const RadioState& state);

// ---- SysFiles/Tuning.dat -------------------------------------------------

// The lines of a first start: VFO A active, 15000 kHz AM, step row 4, filter
// row 1, AGC medium, PBT 0; the other VFO 10000 kHz with the same settings.
// The frequencies are written with `separator`.
TuningLines DefaultTuningLines(char separator);
// The lines for the present state: line 1 ActiveVFO, lines 2..7 OtherVFO,
// lines 8..13 the current tuning; frequencies always with a point.
TuningLines TuningLinesOf(const RadioState& state, char separator);
// The file's bytes: each line followed by CR LF.
std::string EncodeTuningDat(const TuningLines& lines);
// Splits file bytes into the 13 lines (CR LF or LF ends), each cut to 20
// characters; lines missing at the end are empty.
TuningLines DecodeTuningDat(std::string_view bytes);

// Reads SysFiles/Tuning.dat into 13 lines. A missing file is announced with
// MissingTuningDatMessage and gives DefaultTuningLines(separator); a file that
// exists but cannot be read throws FileError.
TuningLines ReadTuningLines(const std::string& programDir, MessageBoxes& messages, char separator);
// Parses the lines into ActiveVFO, OtherVFO (its status text emptied) and the
// current Freq, Mode, StepIndex, FilterIndex, AGC and PBT, brought into range.
// Mode and AGC lines that match no name exactly leave the field as it was. A
// number line that is not a number also leaves its field as it was: every
// other line is still applied, and then the first such line's ConversionError
// is thrown.
void ApplyTuningLines(const TuningLines& lines, RadioState& state, char separator);
// Replaces SysFiles/Tuning.dat atomically. Throws FileError on failure.
void WriteTuningDat(const std::string& programDir, const RadioState& state, char separator);

}  // namespace ondaris
