#include "tabctl/errors.h"

#include <new>

namespace tabctl {

ControlError::ControlError(std::int32_t number, std::string description, std::string source,
                           std::string helpFile, std::int32_t helpContext)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      helpFile_(std::move(helpFile)),
      helpContext_(helpContext) {}

std::string ErrorDescription(std::int32_t number) {
  switch (number) {
    case kErrInvalidCall:
      return "Invalid procedure call or argument";
    case kErrOutOfMemory:
      return "Out of memory";
    case kErrSubscriptOutOfRange:
      return "Subscript out of range";
    case kErrInvalidPropertyValue:
      return "Invalid property value";
    default:
      return "Application-defined or object-defined error";
  }
}

void RaiseError(std::int32_t number) { throw ControlError(number, ErrorDescription(number)); }

void RethrowAs(const char* operation) {
  const std::string source = std::string("ucPageTab.") + operation;
  try {
    throw;
  } catch (ControlError& e) {
    e.SetSource(source);
    throw;
  } catch (const std::bad_alloc&) {
    throw ControlError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory), source);
  } catch (const std::out_of_range& e) {
    throw ControlError(kErrSubscriptOutOfRange, e.what(), source);
  } catch (const std::exception& e) {
    throw ControlError(kErrInvalidCall, e.what(), source);
  } catch (...) {
    throw ControlError(kErrInvalidCall, ErrorDescription(kErrInvalidCall), source);
  }
}

}  // namespace tabctl
