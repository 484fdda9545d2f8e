#pragma once
// The link to the companion station-database program: command words come in
// on the channel "Ondaris"; reports and answers go out to "OndarisDB" when a
// program of that name is there to take them. Each message is one 88-byte
// frame (platform/CompanionFrame.h).

#include <functional>
#include <string>

namespace ondaris {

class CompanionTransport {
 public:
  virtual ~CompanionTransport() = default;

  // Starts taking words on "Ondaris". False with `error` filled when that is
  // not possible (for example another program serves the name already).
  virtual bool listen(std::string& error) = 0;
  // Stops taking words.
  virtual void close() = 0;

  // Sends `text` (at most 80 characters are carried) to "OndarisDB". When a
  // server of that name accepts, the frame is written and flushed before this
  // returns; otherwise nothing happens. Never throws.
  virtual void send(const std::string& text) = 0;

  // Called on the user-interface thread with each word that arrives, in order.
  std::function<void(const std::string&)> onWord;
};

}  // namespace ondaris
