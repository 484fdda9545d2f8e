#pragma once
// The state of every control of the front panel, kept in plain C++ so the
// panel's behaviour can be driven and checked without a display. The window
// renders this model and forwards the listener's actions to the controllers.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "panel/ControlList.h"

namespace ondaris {

enum class Ctl : int {
#define ONDARIS_ENUM_ENTRY(name) name,
  ONDARIS_ALL_CONTROLS(ONDARIS_ENUM_ENTRY)
#undef ONDARIS_ENUM_ENTRY
  Count
};
constexpr int ControlCount = static_cast<int>(Ctl::Count);

// The control's name, e.g. "FiltBtn0"; also the widget's object name.
std::string_view ControlName(Ctl control);
// Ctl::Count when no control has that name.
Ctl ControlByName(std::string_view name);
// True for the panel's buttons, not its text panels, trackbars or menu items.
bool IsButton(Ctl control);

// Helpers for the numbered families.
Ctl FilterButton(int row);       // FiltBtn0..23
Ctl StepButton(int row);         // StepTable row 0..8 -> StepBtn1..StepBtn10000
Ctl ScratchpadButton(int index); // ScpdBtn0..15
Ctl ScanSpeedButton(int index);  // ScanSpd0Btn..5
Ctl ModeButton(int mode);        // 0 AM, 1 USB, 2 LSB, 3 CW
Ctl ReopenItem(int index);       // 0..9 -> Reopen1Item..Reopen10Item
Ctl BankItem(int index);         // 0..9 -> Bank1..Bank10
Ctl LimitRangeItem(int index);   // 0..19 -> LimRange1..LimRange20

enum class Colour : std::uint8_t { Default, Black, Navy, Maroon, Red, Aqua };

struct ControlState {
  std::string caption;
  std::string hint;
  bool enabled = true;
  bool visible = true;
  bool pressed = false;   // speed buttons; menu items: checked
  Colour colour = Colour::Default;
  bool bold = false;
  int value = 0;          // trackbar position, meter position
  int minimum = 0;
  int maximum = 0;
};

class PanelModel {
 public:
  PanelModel();  // captions, hints and ranges of a freshly created window

  const ControlState& operator[](Ctl control) const { return states_[Index(control)]; }

  void setCaption(Ctl control, const std::string& caption);
  void setHint(Ctl control, const std::string& hint);
  void setEnabled(Ctl control, bool enabled);
  void setVisible(Ctl control, bool visible);
  // Presses a speed button; the other buttons of its group are released.
  void press(Ctl control);
  void release(Ctl control);
  void setChecked(Ctl control, bool checked) { setPressedOnly(control, checked); }
  void setFont(Ctl control, Colour colour, bool bold);
  void setColour(Ctl control, Colour colour);
  void setValue(Ctl control, int value);
  void setRange(Ctl control, int minimum, int maximum);

  // Radio-button group of a speed button (0: none).
  static int GroupOf(Ctl control);

  // Called after every change of a control, so the window can redraw it.
  std::function<void(Ctl)> onChanged;

  // The window's own title (the task-bar text).
  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);
  std::function<void()> onTitleChanged;

 private:
  static int Index(Ctl control) { return static_cast<int>(control); }
  void setPressedOnly(Ctl control, bool pressed);
  // Sets one field of the control's state; the listener hears only of a change.
  template <class T>
  void update(Ctl control, T ControlState::*field, const T& value);
  void changed(Ctl control) {
    if (onChanged) onChanged(control);
  }
  std::array<ControlState, ControlCount> states_;
  std::string title_ = "Ondaris";
};

}  // namespace ondaris
