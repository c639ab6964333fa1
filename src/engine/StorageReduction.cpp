#include "engine/StorageReduction.h"

namespace orvela {

int spaceOpt = 1;

} // namespace orvela
