// The processes an application started: its window's process and what runs
// below it (a terminal's shell and the build started there, a browser's
// pages).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/ports.h"

namespace engine {

struct Descendant {
  std::uint32_t id = 0;
  std::uint64_t creationTime = 0;
};

// The descendants of `root` (started at `rootCreated`) in `snapshot`,
// parents before their children. A process counts as a child only if it
// started after its parent: a parent id may name a process that ended, its
// id since given to a later one. `creationTimeOf` gives 0 for a process that
// cannot be read; such a one and what runs below it are left out. `skip`
// (this program, which may have been started from that terminal) is never
// taken, nor anything below it.
std::vector<Descendant> Descendants(const std::vector<platform::ProcessLink>& snapshot, std::uint32_t root,
                                    std::uint64_t rootCreated,
                                    const std::function<std::uint64_t(std::uint32_t)>& creationTimeOf,
                                    std::uint32_t skip);

}  // namespace engine
