#pragma once
// The window's actions handed to the front panel's controllers: every
// button, menu item, mouse button and Ctrl key of the main window is routed
// here to the part of the program that owns it.

#include <functional>
#include <string>
#include <vector>

#include "ui/PanelActions.h"

class QWidget;

namespace ondaris {

class FrontPanel;

class FrontPanelActions : public PanelActions {
 public:
  explicit FrontPanelActions(FrontPanel& panel) : panel_(panel) {}

  // The window the viewer dialogs belong to (the main window once it exists).
  void setDialogParent(QWidget* parent) { dialogParent_ = parent; }

  // Shows the master list viewer; replaceable so that tests need no modal
  // dialog. Unset: the viewer dialog over the program's station list.
  std::function<void()> showMasterListViewer;

  // Parts built outside the panel (the clock radio, the recorder, ...) take
  // the clicks of their controls: each returns true when the control is its.
  std::vector<std::function<bool(Ctl)>> moreClicks;

  void Click(Ctl control) override;
  void RightClick(Ctl control) override;
  void MiddleClick(Ctl control) override;
  void MouseDown(Ctl control) override;
  void MouseUp(Ctl control) override;
  void ValueChanged(Ctl control, int value) override;
  void DisplayClick(int x, int y, int width, int height) override;
  bool KeyPress(char key) override;
  void CtrlKeyUp(char key) override;
  void Shutdown() override;
  void ReportError(const std::string& text) override;
  std::string ProgramDir() const override;
  bool OpenWithShell(const std::string& target, std::string& error) override;

 private:
  // Each returns true when the control belongs to its part.
  bool FrequencyFileClick(Ctl control);
  bool ScratchpadClick(Ctl control);
  bool ReceiverClick(Ctl control);
  bool ScanClick(Ctl control);
  void ShowMasterListViewer();

  FrontPanel& panel_;
  QWidget* dialogParent_ = nullptr;
};

}  // namespace ondaris
