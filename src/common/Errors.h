#pragma once
// The errors that end a user action or a start-up step. Their text is what the
// listener sees, so it is written as a message, not as a code.

#include <stdexcept>
#include <string>

namespace ondaris {

class OndarisError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Text that should have been a number.
class ConversionError : public OndarisError {
 public:
  using OndarisError::OndarisError;
};

// A file that exists but cannot be read, or cannot be written.
class FileError : public OndarisError {
 public:
  using OndarisError::OndarisError;
};

// The serial port could not be opened or written.
class SerialError : public OndarisError {
 public:
  using OndarisError::OndarisError;
};

}  // namespace ondaris
