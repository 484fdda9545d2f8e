#pragma once
// The companion program's side of the front panel: the command words it
// sends, the status report and answers that go back, and the switch that says
// whether the companion is listening at all (RemoteControlOn).

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"

namespace ondaris {

class CompanionTransport;
class MeterController;
class Receiver;
class ReceiverControls;
class TuningController;

// The six texts of a "*F1*F2*F3*F4*F5*F6*" word, as given.
using RemoteEntryFields = std::array<std::string, 6>;

// Splits a "*" word into its six fields; nothing when the word is malformed
// (shorter than 10 characters, fewer than six fields, or a '*' inside the
// sixth). The sixth field always ends before the word's last character, so a
// word without the closing '*' loses the last character of F6.
std::optional<RemoteEntryFields> ParseRemoteEntryWord(const std::string& word);

// A station entry the companion asks to add, with the columns taken from the
// present tuning.
struct RemoteEntry {
  std::string freq;      // F1
  std::string name;      // F2
  std::string location;  // F3
  std::string language;  // F4
  std::string onAir;     // F5
  std::string offAir;    // F6
  std::string mode;      // "AM", "USB", "LSB", "CW"
  int filter = 0;        // bandwidth in Hz
  std::string agc;       // "3" fast, "1" slow, "2" otherwise
  int pbt = 0;
  int step = 0;          // the step table's value of the step row (no 9 kHz swap)
  int stepIndex = 0;
  int filterIndex = 0;
  std::string notes = "Notes";
  std::string spare = "0";
  std::string lockout = "0";
};

class CommandDispatcher {
 public:
  // Installs itself as the context's status publisher and as the receiver of
  // the transport's words; both are removed again by the destructor.
  CommandDispatcher(PanelContext& context, Receiver& receiver, ReceiverControls& controls,
                    TuningController& tuning, MeterController& meter, CompanionTransport& transport);
  ~CommandDispatcher();
  CommandDispatcher(const CommandDispatcher&) = delete;
  CommandDispatcher& operator=(const CommandDispatcher&) = delete;

  // Carries out one command word. A "+" word that is not a number throws
  // ConversionError; port failures throw SerialError.
  void ExecuteRemoteCommand(const std::string& word);
  // The transport's entry: ExecuteRemoteCommand, with any error handed to the
  // program-wide error report.
  void HandleIncomingWord(const std::string& word);

  // "*15000.000*AM*6000*500*0*17*17*False*False*Lo*M*" for the present state.
  std::string StatusReport() const;
  // The report, sent only while the companion has said hello.
  void PublishStatus();
  // Sends `text` (cut to 80) while remote control is on and no scheduled
  // broadcast holds the receiver.
  void SendToCompanion(const std::string& text);
  // The clock's meter report: the percentage followed by fifteen 'x'
  // (not while shutting down).
  void SendMeterReport(int percent);

  // "+" words: tunes to the number (kHz, locale separator, leading '+'
  // allowed) when it lies within 9.999..29999.999, then lets the frequency
  // list find the station.
  void TuneAndLocate(const std::string& text);
  // "*" words: adds the entry to the frequency list and answers "OK", or "NO".
  void AddRemoteEntry(const std::string& word);

  // The entry the present tuning makes of six companion fields.
  RemoteEntry MakeRemoteEntry(const RemoteEntryFields& fields) const;

  // Hooks of the parts that own these jobs. Unset hooks leave their part out,
  // as said at each.
  // StopScan and the scan selection reset of the hello word, without
  // releasing the up/down buttons. Unset: continuous tuning and the running
  // scan are ended through the tuning controller, the Scan button released,
  // NowBtn enabled, the chosen scan kind forgotten.
  std::function<void()> resetScanForCompanion;
  // Minimizes the application after the hello word.
  std::function<void()> minimizeApplication;
  // Steps after the tuning of a "+" word: finds the station in the loaded
  // frequency list and shows its row.
  std::function<void(double freqKHz)> locateInFrequencyList;
  // Appends the record to the loaded list, marks it changed and refreshes the
  // grid. Unset (no frequency list in this program yet): "*" words are
  // answered "NO" and change nothing.
  std::function<void(const RemoteEntry&)> appendFrequencyEntry;
  // Sorts the frequency list by frequency (after an added entry).
  std::function<void()> sortFrequencyListByFrequency;

 private:
  void Hello();
  void MoveTrackbar(Ctl trackbar, int delta);
  void StepRow(int row);

  PanelContext& ctx_;
  Receiver& receiver_;
  ReceiverControls& controls_;
  TuningController& tuning_;
  MeterController& meter_;
  CompanionTransport& transport_;
};

}  // namespace ondaris
