#pragma once
// What the main window does with the listener's actions: it hands every one
// of them to this interface and never changes the receiver itself. The
// program uses FrontPanelActions (over the FrontPanel); tests use a recorder.

#include <string>

#include "panel/PanelModel.h"

namespace ondaris {

class PanelActions {
 public:
  virtual ~PanelActions() = default;

  // A click on a button or panel, or a chosen menu item.
  virtual void Click(Ctl control) = 0;
  // The right mouse button on a button (data-mode programming, scratchpad tags).
  virtual void RightClick(Ctl control) { (void)control; }
  // The middle mouse button on a button (a scratchpad memory is selected
  // without being tuned).
  virtual void MiddleClick(Ctl control) { (void)control; }
  // Mouse down and up on a button, before the click (hold-to-repeat tuning).
  virtual void MouseDown(Ctl control) { (void)control; }
  virtual void MouseUp(Ctl control) { (void)control; }
  // A trackbar moved by the listener; the model already holds the new position.
  virtual void ValueChanged(Ctl control, int value) = 0;
  // A click on the frequency display at (x, y) of a display width x height.
  virtual void DisplayClick(int x, int y, int width, int height) = 0;
  // A typed character, seen before the focused control. True when used, so
  // that the control does not see it as well.
  virtual bool KeyPress(char key) = 0;
  // A key released with exactly the Ctrl key held: 'A'..'Z', '0'..'9', '='.
  virtual void CtrlKeyUp(char key) { (void)key; }

  // The exit sequence; the caller runs it once.
  virtual void Shutdown() = 0;
  // An error that ended an action: shown to the listener, the program goes on.
  virtual void ReportError(const std::string& text) = 0;
  // The program folder with a trailing '/', for the help pages.
  virtual std::string ProgramDir() const = 0;
  // The desktop's "open" action for a local file or an address (the help
  // pages). False with `error` filled when it cannot be opened.
  virtual bool OpenWithShell(const std::string& target, std::string& error) {
    error = "The desktop could not open " + target;
    return false;
  }
};

// What a speed button does by itself when clicked, before its handler runs:
// a button of a group goes down and releases the others of the group; in the
// groups that may be all up (scan kinds, Scan, up/down) a button that is down
// comes up again. Buttons without a group do not stay down.
void ApplySpeedButtonClick(PanelModel& model, Ctl button);

// Whether the group of a speed button lets all of its buttons be up.
bool GroupAllowsAllUp(int group);

}  // namespace ondaris
