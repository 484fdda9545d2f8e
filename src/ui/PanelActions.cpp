#include "ui/PanelActions.h"

namespace ondaris {

bool GroupAllowsAllUp(int group) { return group == 7 || group == 8 || group == 10; }

void ApplySpeedButtonClick(PanelModel& model, Ctl button) {
  const int group = PanelModel::GroupOf(button);
  if (group == 0) return;
  if (model[button].pressed && GroupAllowsAllUp(group)) {
    model.release(button);
    return;
  }
  model.press(button);
}

}  // namespace ondaris
