// Levels: one per clock pair i > j, clock by clock, and one per boolean
// variable, in the order they were added.

#include "cdd/lib/CddInternal.h"

#include <new>
#include <utility>

namespace {

/// Whether `count` more levels fit in the level field; records the error when
/// they do not.
bool levelsFit(std::size_t count) {
  if (cddLib.levels.size() + count > std::size_t(cddMaxLevel) + 1) {
    cdd_set_error(CddTooManyLevels);
    return false;
  }
  return true;
}

/// Reports and answers the error recorded while adding levels, if any.
int finishAdding() {
  int code = std::exchange(cddLib.error, 0);
  return code ? cdd_error(code) : 0;
}

} // namespace

int cdd_add_clocks(int n) {
  if (!cddLib.running)
    return cdd_error(CddNotRunning);
  cddLib.error = 0;
  try {
    // A clock is added with all its pairs or not at all.
    for (int k = 0; k < n && levelsFit(cddLib.clocks); ++k) {
      auto i = int32_t(cddLib.clocks);
      cddLib.levels.reserve(cddLib.levels.size() + std::size_t(i));
      cddLib.diff2level.reserve(cddLib.diff2level.size() + std::size_t(i));
      for (int32_t j = 0; j < i; ++j) {
        cddLib.diff2level.push_back(int32_t(cddLib.levels.size()));
        cddLib.levels.push_back(CddLevelInfo{0, i, j, i * (i - 1) / 2 + j});
      }
      ++cddLib.clocks;
    }
  } catch (const std::bad_alloc&) {
    cdd_set_error(CddOutOfMemory);
  }
  return finishAdding();
}

int cdd_add_bddvar(int n) {
  if (!cddLib.running)
    return cdd_error(CddNotRunning);
  cddLib.error = 0;
  try {
    for (int k = 0; k < n && levelsFit(1); ++k)
      cddLib.levels.push_back(CddLevelInfo{1, -1, -1, -1});
  } catch (const std::bad_alloc&) {
    cdd_set_error(CddOutOfMemory);
  }
  return finishAdding();
}

int cdd_clocknum() { return int(cddLib.clocks); }

int cdd_varnum() { return int(cddLib.levels.size()); }

CddLevelInfo cdd_levelinfo(int level) {
  assert(level >= 0 && std::size_t(level) < cddLib.levels.size() && "level out of range");
  return cddLib.levels[std::size_t(level)];
}

int cdd_diff2level(int diff) {
  if (diff < 0 || std::size_t(diff) >= cddLib.diff2level.size())
    return -1;
  return cddLib.diff2level[std::size_t(diff)];
}
