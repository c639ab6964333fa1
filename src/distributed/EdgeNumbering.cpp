#include "distributed/EdgeNumbering.h"

#include "base/Exceptions.h"
#include "model/Process.h"

namespace orvela {

EdgeNumbering::EdgeNumbering(const System& system) {
  for (int p = 0; p < system.getProcessCount(); ++p)
    for (const Pointer<Transition>& edge : system.getProcess(p)->getTransitions()) {
      numbers_.emplace(edge.get(), std::int32_t(edges_.size()));
      edges_.push_back(edge.get());
    }
}

std::int32_t EdgeNumbering::numberOf(const Transition* edge) const {
  const auto found = numbers_.find(edge);
  if (found == numbers_.end())
    throw Bug("EdgeNumbering: an edge of another system");
  return found->second;
}

const Transition* EdgeNumbering::edge(std::int32_t number) const {
  if (number < 0 || std::size_t(number) >= edges_.size())
    throw Bug("EdgeNumbering: no edge %d", number);
  return edges_[std::size_t(number)];
}

} // namespace orvela
