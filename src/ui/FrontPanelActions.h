#pragma once
// The window's actions handed to the front panel's controllers.

#include "ui/PanelActions.h"

namespace ondaris {

class FrontPanel;
class FreqFileController;

class FrontPanelActions : public PanelActions {
 public:
  explicit FrontPanelActions(FrontPanel& panel) : panel_(panel) {}

  // The station list's commands (File menu, Save button, Now button, Ctrl+N,
  // O, S, A); without it those commands do nothing.
  void setFrequencyFiles(FreqFileController* files) { files_ = files; }

  void Click(Ctl control) override;
  void MouseDown(Ctl control) override;
  void MouseUp(Ctl control) override;
  void ValueChanged(Ctl control, int value) override;
  void DisplayClick(int x, int y, int width, int height) override;
  bool KeyPress(char key) override;
  void CtrlKeyUp(char key) override;
  void Shutdown() override;
  void ReportError(const std::string& text) override;
  std::string ProgramDir() const override;

 private:
  // True when the control belongs to the station list's commands.
  bool FrequencyFileClick(Ctl control);

  FrontPanel& panel_;
  FreqFileController* files_ = nullptr;
};

}  // namespace ondaris
