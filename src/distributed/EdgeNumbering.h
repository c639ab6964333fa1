#pragma once
// Edges named by numbers, so that the processes of a distributed search can
// send one another the moves of trace entries.

#include "model/System.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace orvela {

/// Numbers the edges of a system 0, 1, ... in process order, then edge
/// order, so that processes that loaded the same model name an edge alike.
class EdgeNumbering {
public:
  explicit EdgeNumbering(const System& system);
  /// The number of `edge`, an edge of the system (Bug otherwise).
  std::int32_t numberOf(const Transition* edge) const;
  /// The edge numbered `number` (Bug for a number out of range).
  const Transition* edge(std::int32_t number) const;

private:
  std::vector<const Transition*> edges_;
  std::unordered_map<const Transition*, std::int32_t> numbers_;
};

} // namespace orvela
