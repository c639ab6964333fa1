#pragma once
// A reserve of heap memory set aside for the moment an allocation fails, so
// that unwinding and the error reply that follows have room.

#include <cstddef>

namespace orvela {

/// Sets aside `bytes` of heap (unless a reserve is already held) and installs
/// a new-handler that frees the reserve and throws std::bad_alloc on the first
/// allocation that `operator new` cannot satisfy. The failure is therefore
/// reported at once, not hidden by the reserve; calling this again after a
/// failure was handled arms a new reserve. Throws std::bad_alloc when the
/// reserve itself cannot be had.
void armMemoryReserve(std::size_t bytes = std::size_t(1) << 20);

/// Whether a reserve is held (false after a failure until re-armed).
bool memoryReserveArmed();

} // namespace orvela
