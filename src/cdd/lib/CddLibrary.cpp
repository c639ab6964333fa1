// Start and stop of the library, error reports, the reference stack and the
// reference counts.

#include "cdd/lib/CddInternal.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

CddTerminalNode cddTerminal;
CddNode* const cddfalse = &cddTerminal;
// The terminal is at least 2-aligned, so adding 1 sets the complement flag.
CddNode* const cddtrue =
    reinterpret_cast<CddNode*>(reinterpret_cast<char*>(static_cast<CddNode*>(&cddTerminal)) + 1);

CddLibrary cddLib;
std::size_t cddChunksOut = 0;

namespace {

/// The last code reported, kept across runs for `cdd_take_error`.
int lastReportedError = 0;

void defaultGbcHandler(const CddGbcStat* stat) {
  std::fprintf(stderr, "Garbage collection #%d: %d nodes / %d free", stat->num, stat->nodes,
               stat->freeNodes);
  std::fprintf(stderr, " / %.1fs / %.1fs total\n", double(stat->time) / CLOCKS_PER_SEC,
               double(stat->sumTime) / CLOCKS_PER_SEC);
}

void defaultRehashHandler(const CddRehashStat* stat) {
  std::fprintf(stderr,
               "Rehash #%d: level %d / %d buckets / %d keys / %d max / %.1fs / %.1fs total\n",
               stat->num, stat->level, stat->buckets, stat->keys, stat->maxKeys,
               double(stat->time) / CLOCKS_PER_SEC, double(stat->sumTime) / CLOCKS_PER_SEC);
}

/// Drops everything a run owns; the run number survives.
void releaseRun() {
  uint32_t run = cddLib.run;
  cddLib = CddLibrary{};
  cddLib.run = run;
}

} // namespace

int cdd_init(int maxsize, int cachesize, int stacksize) {
  if (cddLib.running)
    return cdd_error(CddRunning);
  try {
    releaseRun();
    cddLib.maxsize = uint32_t(std::max(maxsize, 2));
    cddLib.managers.resize(cddLib.maxsize + 1);
    cddLib.boolManager = std::make_unique<CddNodeManager>(2);
    cddLib.cache = std::make_unique<CddCache>(std::size_t(std::max(cachesize, 1)));
    cddLib.relaxCache = std::make_unique<CddRelaxCache>(std::size_t(std::max(cachesize, 1)));
    cddLib.stack.resize(std::size_t(std::max(stacksize, 1)));
  } catch (const std::bad_alloc&) {
    releaseRun();
    return cdd_error(CddOutOfMemory);
  }
  cddLib.gbcHandler = defaultGbcHandler;
  cddLib.rehashHandler = defaultRehashHandler;
  cddLib.running = true;
  ++cddLib.run;
  return 0;
}

void cdd_done() {
  if (!cddLib.running)
    return;
  releaseRun();
}

int cdd_error(int code) {
  std::fprintf(stderr, "CDD Error: %d\n", code);
  lastReportedError = code;
  return code;
}

int cdd_take_error() { return std::exchange(lastReportedError, 0); }

void cdd_set_error(int code) {
  if (cddLib.error == 0)
    cddLib.error = code;
}

CddGbcHandler cdd_postgbc_hook(CddGbcHandler handler) {
  return std::exchange(cddLib.gbcHandler, handler);
}

CddRehashHandler cdd_postrehash_hook(CddRehashHandler handler) {
  return std::exchange(cddLib.rehashHandler, handler);
}

bool cdd_begin(std::size_t& base) {
  if (!cddLib.running) {
    cdd_error(CddNotRunning);
    return false;
  }
  cddLib.error = 0;
  base = cddLib.stackTop;
  return true;
}

CddNode* cdd_finish(std::size_t base, CddNode* result) {
  cddLib.stackTop = base;
  if (int code = std::exchange(cddLib.error, 0)) {
    cdd_error(code);
    return nullptr;
  }
  return result;
}

CddNode* cdd_pop_node(uint32_t level, std::size_t base) {
  CddNode* node = cdd_make_cdd_node(level, &cddLib.stack[base], uint32_t(cddLib.stackTop - base));
  cddLib.stackTop = base;
  return node;
}

bool cdd_push(CddNode* child, int32_t bound) {
  auto& stack = cddLib.stack;
  if (cddLib.stackTop == stack.size()) {
    try {
      stack.resize(std::max<std::size_t>(2 * stack.size(), 16));
    } catch (const std::bad_alloc&) {
      cdd_set_error(CddOutOfMemory);
      return false;
    }
  }
  stack[cddLib.stackTop++] = CddElement{child, bound, 0};
  return true;
}

void cdd_ref(CddNode* node) {
  CddNode* regular = cddRegular(node);
  if (cddIsTerminal(regular))
    return;
  regular->info = infoRefIncremented(regular->info);
}

void cdd_rec_deref(CddNode* node) {
  CddNode* regular = cddRegular(node);
  if (cddIsTerminal(regular))
    return;
  assert((regular->ref() > 0) && "reference released twice");
  regular->info = infoRefDecremented(regular->info);
}

// ---------------------------------------------------------------------------
// The handle.

cdd::cdd(CddNode* node) : node_(node), run_(0) {
  if (!node || cddIsTerminal(node))
    return;
  if (!cddLib.running) {
    node_ = nullptr;
    return;
  }
  cdd_ref(node);
  run_ = cddLib.run;
}

cdd::cdd(const cdd& other) : cdd(other.get()) {}

cdd::cdd(cdd&& other) noexcept
    : node_(std::exchange(other.node_, cddfalse)), run_(std::exchange(other.run_, 0)) {}

cdd::~cdd() { release(); }

cdd& cdd::operator=(const cdd& other) {
  cdd copy(other);
  std::swap(node_, copy.node_);
  std::swap(run_, copy.run_);
  return *this;
}

cdd& cdd::operator=(cdd&& other) noexcept {
  cdd moved(std::move(other));
  std::swap(node_, moved.node_);
  std::swap(run_, moved.run_);
  return *this;
}

bool cdd::detached() const noexcept { return run_ != 0 && (run_ != cddLib.run || !cddLib.running); }

CddNode* cdd::get() const noexcept { return detached() ? nullptr : node_; }

cdd cdd::operator!() const {
  CddNode* node = get();
  return node ? cdd(cddNot(node)) : cdd(nullptr);
}

void cdd::release() noexcept {
  if (run_ != 0 && !detached())
    cdd_rec_deref(node_);
  run_ = 0;
}
