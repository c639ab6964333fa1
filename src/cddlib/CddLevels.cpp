// Levels: one per clock pair i > j, clock by clock, and one per boolean
// variable, in the order they were added.

#include "cddlib/CddInternal.h"

#include <new>
#include <utility>

namespace {

/// Whether `count` more levels fit in the level field; records the error when
/// they do not.
bool levelsFit(CddState& s, std::size_t count) {
  if (s.levels.size() + count > std::size_t(cddMaxLevel) + 1) {
    cdd_set_error(s, CddTooManyLevels);
    return false;
  }
  return true;
}

/// Reports and answers the error recorded while adding levels, if any.
int finishAdding(CddState& s) {
  int code = std::exchange(s.error, 0);
  return code ? cdd_error(s, code) : 0;
}

} // namespace

int CddLibrary::addClocks(int n) {
  CddState& s = *state_;
  s.error = 0;
  try {
    // A clock is added with all its pairs or not at all.
    for (int k = 0; k < n && levelsFit(s, s.clocks); ++k) {
      auto i = int32_t(s.clocks);
      s.levels.reserve(s.levels.size() + std::size_t(i));
      s.diff2level.reserve(s.diff2level.size() + std::size_t(i));
      for (int32_t j = 0; j < i; ++j) {
        s.diff2level.push_back(int32_t(s.levels.size()));
        s.levels.push_back(CddLevelInfo{0, i, j, i * (i - 1) / 2 + j});
      }
      ++s.clocks;
    }
  } catch (const std::bad_alloc&) {
    cdd_set_error(s, CddOutOfMemory);
  }
  return finishAdding(s);
}

int CddLibrary::addBooleans(int n) {
  CddState& s = *state_;
  s.error = 0;
  try {
    for (int k = 0; k < n && levelsFit(s, 1); ++k)
      s.levels.push_back(CddLevelInfo{1, -1, -1, -1});
  } catch (const std::bad_alloc&) {
    cdd_set_error(s, CddOutOfMemory);
  }
  return finishAdding(s);
}

int CddLibrary::clockCount() const { return int(state_->clocks); }

int CddLibrary::levelCount() const { return int(state_->levels.size()); }

CddLevelInfo CddLibrary::levelInfo(int level) const {
  assert(level >= 0 && std::size_t(level) < state_->levels.size() && "level out of range");
  return state_->levels[std::size_t(level)];
}

int CddLibrary::diffToLevel(int diff) const {
  if (diff < 0 || std::size_t(diff) >= state_->diff2level.size())
    return -1;
  return state_->diff2level[std::size_t(diff)];
}
