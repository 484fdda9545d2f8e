#pragma once
// Adding and editing one station entry through TAddEditDlg, as a dialog
// model without the window: the boxes and lists of the dialog, their checks
// with their messages, and what OK, Update Tuning and Cancel do to the
// loaded list.
//
// OK reads every box in a fixed order and shows the message of each box
// that fails its check. When any check failed nothing is stored and the
// dialog stays open, so the listener can put the box right; otherwise the
// entry is stored and the dialog closes.
//
// The window (or a test) shows the dialog through the showDialog hook; the
// hook returns when the dialog has closed, after forwarding the buttons to
// OKBtnClick, UpdateBtnClick and CanBtnClick.

#include <functional>
#include <string>
#include <vector>

#include "panel/PanelContext.h"
#include "radio/RadioState.h"
#include "radio/SerialLink.h"
#include "freqfiles/FrequencyRecord.h"

namespace ondaris {

class StationGrid;

// ---- Texts -----------------------------------------------------------------

inline constexpr const char* AddEditFormCaption = "Add/Edit Frequency File Entry";
inline constexpr const char* AddEntryCaption = "Add Frequency File Entry";
inline constexpr const char* EditEntryCaption = "Edit Frequency File Entry";
inline constexpr const char* UpdateTuningCaption = "Update Tuning";
inline constexpr const char* UpdateTuningHint = "Replace tuning (except freq) with radio's current settings";

inline constexpr const char* FrequencyEntryErrorMessage = "Frequency entry error.";
inline constexpr const char* FrequencyRangeErrorMessage = "Frequency must be between 100 kHz and 30 MHz.";
inline constexpr const char* ModeEntryErrorMessage = "Mode entry error.";
inline constexpr const char* FilterEntryErrorMessage = "Filter entry error.";
inline constexpr const char* StepEntryErrorMessage = "Tuning step entry error.";
inline constexpr const char* PBTEntryErrorMessage = "PBT entry error - must be -2000 to 2000.";
inline constexpr const char* StartTimeEntryErrorMessage = "Start time entry error.";
inline constexpr const char* EndTimeEntryErrorMessage = "End time entry error.";

// Capacities of the boxes as stored (the record's own capacities are larger
// for Notes).
inline constexpr std::size_t EntryNameLimit = 20;
inline constexpr std::size_t EntryLocationLimit = 15;
inline constexpr std::size_t EntryLanguageLimit = 10;
inline constexpr std::size_t EntryNotesLimit = 32;

// ---- The dialog's lists ------------------------------------------------------

// "AM", "USB", "LSB", "CW".
std::vector<std::string> EntryModeItems();
// The 24 bandwidths of the filter table, widest first, as decimal text.
std::vector<std::string> EntryFilterItems();
// "1" .. "5000" (the first eight steps), then "10000", or "9000" with the
// 9 kHz step option.
std::vector<std::string> EntryStepItems(bool nineKHzSteps);
// "Fast", "Medium", "Slow".
std::vector<std::string> EntryAGCItems();

// ---- The boxes ----------------------------------------------------------------

// What the dialog's boxes hold. List positions are -1 when nothing is
// selected; the step list also has an edit text of its own (a record's
// "9000" stays "9000" while the list offers "10000").
struct EntryFields {
  std::string name;      // NameBox
  std::string freq;      // FreqBox, kHz with the locale's separator
  int mode = -1;         // ModeCombo
  int filter = -1;       // FiltCombo
  int step = -1;         // StepCombo position
  std::string stepText;  // StepCombo text
  std::string pbt;       // PBTBox
  int agc = -1;          // AGCCombo: 0 Fast, 1 Medium, 2 Slow
  std::string start;     // StartBox, HHMM
  std::string end;       // EndBox, HHMM
  std::string location;  // LocnBox
  std::string language;  // LangBox
  std::string notes;     // NotesBox

  bool operator==(const EntryFields&) const = default;
};

// The checks of OK, in their order: the record the boxes make (Spare and
// Lockout "0") and the message of every check that failed, in order.
struct EntryCheck {
  FrequencyRecord record;
  std::vector<std::string> messages;
  bool ok() const { return messages.empty(); }
};
EntryCheck CheckEntryFields(const EntryFields& fields, char separator);

// The boxes for a stored record (Edit) and for the receiver's present
// tuning (Add: empty texts but Notes "Notes", Start "0000" and End "2400").
EntryFields FieldsOfRecord(const FrequencyRecord& record);
EntryFields FieldsOfTuning(const RadioState& state, char separator);
// The dialog's AGC position of a record's AGC text: "3" 0, "2" 1, "1" 2, else -1.
int AGCPositionOfText(const std::string& agc);
// The mode position of a record's Mode text; -1 for none of the four.
int ModePositionOfText(const std::string& mode);

// ---- The dialog and its commands ------------------------------------------------

class EntryEditor {
 public:
  enum class Purpose { Add, Edit };

  // TAddEditDlg as the window shows it.
  struct Dialog {
    Purpose purpose = Purpose::Add;
    std::string caption = AddEditFormCaption;
    EntryFields fields;
    std::vector<std::string> modeItems, filterItems, stepItems, agcItems;
    bool updateEnabled = false;  // UpdateBtn
    bool open = false;           // shown and not yet closed
    bool accepted = false;       // closed by OK
  };

  EntryEditor(PanelContext& context, StationGrid& stations);

  // Shows the dialog modally and returns when it has closed (the window's
  // dialog, or a test's script). Unset: the dialog closes at once, cancelled.
  std::function<void(Dialog& dialog)> showDialog;

  const Dialog& dialog() const { return dialog_; }
  Dialog& dialog() { return dialog_; }
  // EditRecord: the record the dialog edits (-1 when adding).
  int editRecord() const { return editRecord_; }

  // OpenAddDialog (AddEntryItem, FileOpBtn2, Ctrl with =/+): the dialog
  // filled from the receiver's present tuning. Whatever the answer, the
  // grid is enabled and refreshed afterwards.
  void OpenAddDialog();
  // EditEntryItemClick (EditEntryItem, FileOpBtn3, Ctrl+E): the record of
  // the current row in the dialog; nothing for a row without a record.
  void EditEntryItemClick();

  // The dialog's buttons.
  // OK: stores the entry and closes (returns true), or, when a check failed,
  // shows the messages and keeps the dialog open with nothing stored.
  bool OKBtnClick();
  // Update Tuning (Edit only): the record takes the receiver's mode, AGC,
  // filter, step and PBT at once (the frequency stays), the list is changed,
  // the grid refreshed and the row tuned; the dialog's lists show the new
  // settings, so that OK keeps them.
  void UpdateBtnClick();
  // Cancel: closes without changes.
  void CanBtnClick();

 private:
  void FillLists();
  void Show();

  PanelContext& ctx_;
  StationGrid& stations_;
  Dialog dialog_;
  int editRecord_ = -1;
};

}  // namespace ondaris
