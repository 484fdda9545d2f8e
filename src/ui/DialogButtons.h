#pragma once
// The OK and Cancel buttons that close a settings dialog.

#include <functional>

class QDialog;
class QHBoxLayout;

namespace ondaris {

// A row of OK (the default button, OKBtn) and Cancel (CancelBtn) at its right
// end. OK runs onOk; Cancel runs onCancel and then rejects the dialog. Further
// buttons go in front of the stretch at index 0.
QHBoxLayout* OkCancelRow(QDialog* dialog, std::function<void()> onOk, std::function<void()> onCancel);

}  // namespace ondaris
