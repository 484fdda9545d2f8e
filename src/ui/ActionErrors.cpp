#include "ui/ActionErrors.h"

#include <QMessageBox>
#include <exception>

namespace ondaris {

bool RunShowingErrors(QWidget* parent, const std::function<void(const std::string&)>& onError,
                      const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const std::exception& error) {
    if (onError)
      onError(error.what());
    else
      QMessageBox::warning(parent, QStringLiteral("Ondaris"), QString::fromLocal8Bit(error.what()));
    return false;
  }
}

}  // namespace ondaris
