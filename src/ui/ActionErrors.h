#pragma once
// A dialog's button runs its controller's action; an error the action throws
// (a file that cannot be written, a refused value) is shown to the listener
// instead of ending the program.

#include <functional>
#include <string>

class QWidget;

namespace ondaris {

// Runs action. When it throws, the error's text goes to onError when one is
// set (the tests set it), else to a warning box over parent. False when the
// action threw.
bool RunShowingErrors(QWidget* parent, const std::function<void(const std::string&)>& onError,
                      const std::function<void()>& action);

}  // namespace ondaris
