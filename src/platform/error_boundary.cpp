#include "platform/error_boundary.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<SkippedFailureSink> sink{nullptr};
}  // namespace

void SetSkippedFailureSink(SkippedFailureSink to) { sink.store(to); }

void TellSkippedFailure(std::string_view step, std::string_view what) noexcept {
  if (const SkippedFailureSink to = sink.load()) {
    try {
      to(step, what);
    } catch (...) {
      // A trace that fails is no reason to fail the step's caller.
    }
  }
}

}  // namespace platform
