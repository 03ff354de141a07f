#include "engine/process_tree.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace engine {

std::vector<Descendant> Descendants(const std::vector<platform::ProcessLink>& snapshot, std::uint32_t root,
                                    std::uint64_t rootCreated,
                                    const std::function<std::uint64_t(std::uint32_t)>& creationTimeOf,
                                    std::uint32_t skip) {
  std::vector<Descendant> found;
  if (root == 0 || rootCreated == 0) return found;
  std::unordered_multimap<std::uint32_t, std::uint32_t> children;
  for (const auto& link : snapshot) {
    if (link.id != 0 && link.id != link.parentId) children.emplace(link.parentId, link.id);
  }
  // Reused ids can make the links a loop: each process is taken once.
  std::unordered_set<std::uint32_t> taken{root};
  std::vector<Descendant> parents{{root, rootCreated}};
  for (std::size_t next = 0; next < parents.size(); ++next) {
    const Descendant parent = parents[next];
    const auto [first, last] = children.equal_range(parent.id);
    for (auto it = first; it != last; ++it) {
      const std::uint32_t id = it->second;
      if (id == skip || !taken.insert(id).second) continue;
      const std::uint64_t created = creationTimeOf(id);
      if (created == 0 || created < parent.creationTime) continue;
      parents.push_back({id, created});
      found.push_back({id, created});
    }
  }
  return found;
}

}  // namespace engine
