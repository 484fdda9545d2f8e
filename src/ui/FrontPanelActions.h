#pragma once
// The window's actions handed to the front panel's controllers.

#include "ui/PanelActions.h"

namespace ondaris {

class FrontPanel;

class FrontPanelActions : public PanelActions {
 public:
  explicit FrontPanelActions(FrontPanel& panel) : panel_(panel) {}

  void Click(Ctl control) override;
  void MouseDown(Ctl control) override;
  void MouseUp(Ctl control) override;
  void ValueChanged(Ctl control, int value) override;
  void DisplayClick(int x, int y, int width, int height) override;
  bool KeyPress(char key) override;
  void Shutdown() override;
  void ReportError(const std::string& text) override;
  std::string ProgramDir() const override;

 private:
  FrontPanel& panel_;
};

}  // namespace ondaris
