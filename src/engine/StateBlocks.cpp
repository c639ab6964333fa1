#include "engine/StateBlocks.h"

namespace orvela {

StateBlocks::StateBlocks(const System& system, const Pointer<Allocator>& allocator)
    : allocator_(allocator), processes_(system.getProcessCount()),
      integers_(system.tables().integerCount()), clocks_(system.tables().clockCount()) {}

} // namespace orvela
