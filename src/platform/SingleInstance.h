#pragma once
// One running program per user: the lock "OndarisdeQX7Z" and the wake-up call
// with which a second start brings the running window to the front.

#include <functional>

namespace ondaris {

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // Takes the lock and starts answering wake-up calls. False when another
  // instance holds the lock (then nothing has been created or changed).
  virtual bool acquire() = 0;
  // Asks the running instance to restore and raise its window.
  virtual void wakeRunningInstance() = 0;

  // Called on the user-interface thread when a second start asks for the
  // window (only while this instance holds the lock).
  std::function<void()> onWakeRequest;
};

}  // namespace ondaris
