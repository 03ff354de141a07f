// The tab control's error: a number, a description, the operation that
// reported it ("ucPageTab." + name), and an optional help reference. Every
// public operation of the control lets errors through with its own name as
// the source, so the caller sees the outermost operation it called.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace tabctl {

inline constexpr std::int32_t kErrInvalidCall = 5;             // "Invalid procedure call or argument"
inline constexpr std::int32_t kErrOutOfMemory = 7;             // "Out of memory"
inline constexpr std::int32_t kErrSubscriptOutOfRange = 9;     // "Subscript out of range"
inline constexpr std::int32_t kErrInvalidPropertyValue = 380;  // "Invalid property value"

class ControlError : public std::runtime_error {
 public:
  ControlError(std::int32_t number, std::string description, std::string source = {},
               std::string helpFile = {}, std::int32_t helpContext = 0);

  std::int32_t Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }
  const std::string& HelpFile() const { return helpFile_; }
  std::int32_t HelpContext() const { return helpContext_; }

  void SetSource(std::string source) { source_ = std::move(source); }

 private:
  std::int32_t number_;
  std::string description_;
  std::string source_;
  std::string helpFile_;
  std::int32_t helpContext_;
};

// The standard description of the error numbers the control raises itself.
std::string ErrorDescription(std::int32_t number);

// Raises one of the control's own errors with its standard description.
[[noreturn]] void RaiseError(std::int32_t number);

// Turns whatever is in flight into a ControlError whose source is
// "ucPageTab." + operation, keeping number, description and help of a
// ControlError. Call only from inside a catch block.
[[noreturn]] void RethrowAs(const char* operation);

// Runs body; any error leaves with the source of this operation.
template <typename Body>
decltype(auto) Guarded(const char* operation, Body&& body) {
  try {
    return body();
  } catch (...) {
    RethrowAs(operation);
  }
}

}  // namespace tabctl
