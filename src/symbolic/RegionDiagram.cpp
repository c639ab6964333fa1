// Regions as clock difference diagrams.

#include "cddlib/cdd.h"
#include "dbm/dbm.h"
#include "symbolic/UnpackedRegion.h"

#include <memory>

namespace orvela {

cdd UnpackedRegion::asCDD(CddLibrary& library) const {
  // A DBM in this frame for the common dimensions, on the heap beyond.
  constexpr std::size_t localBytes = 33 * 33 * 4 + 16;
  alignas(8) unsigned char local[localBytes];
  std::unique_ptr<unsigned char[]> heap;
  unsigned char* memory = local;
  if (dbm_sizeof(dim_) > localBytes) {
    heap.reset(new unsigned char[dbm_sizeof(dim_)]);
    memory = heap.get();
  }
  _dbm_* zone = dbm_init(dbm_reserve(memory, dim_));
  asDBM(zone);
  return library.fromDbm(zone);
}

} // namespace orvela
