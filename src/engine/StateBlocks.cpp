#include "engine/StateBlocks.h"

#include "model/ClockInfo.h"
#include "model/IntegerInfo.h"

namespace orvela {

StateBlocks::StateBlocks(const System& system, const Pointer<Allocator>& allocator)
    : allocator_(allocator), processes_(system.getProcessCount()),
      integers_(int(IntegerInfo::integers.size())), clocks_(int(ClockInfo::clocks.size())) {}

} // namespace orvela
