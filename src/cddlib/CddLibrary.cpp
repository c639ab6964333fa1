// The library object, error reports, the reference stack, the reference
// counts and the handle.

#include "cddlib/CddInternal.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <utility>

const CddTerminalNode cddTerminal;
// Nothing ever writes through these pointers: the terminal's count is
// saturated and the collector skips it.
CddNode* const cddfalse = const_cast<CddTerminalNode*>(&cddTerminal);
// The terminal is at least 2-aligned, so adding 1 sets the complement flag.
CddNode* const cddtrue = reinterpret_cast<CddNode*>(reinterpret_cast<char*>(cddfalse) + 1);

CddLibrary::CddLibrary(int clocks, int maxsize, int cachesize, int stacksize)
    : state_(std::make_unique<CddState>()) {
  CddState& s = *state_;
  try {
    s.maxsize = uint32_t(std::max(maxsize, 2));
    s.managers.resize(s.maxsize + 1);
    s.boolManager = std::make_unique<CddNodeManager>(2, s.chunksOut);
    s.cache = std::make_unique<CddCache>(std::size_t(std::max(cachesize, 1)));
    s.relaxCache = std::make_unique<CddRelaxCache>(std::size_t(std::max(cachesize, 1)));
    s.stack.resize(std::size_t(std::max(stacksize, 1)));
  } catch (const std::bad_alloc&) {
    cdd_error(s, CddOutOfMemory);
    throw;
  }
  if (int code = addClocks(clocks)) {
    if (code == CddOutOfMemory)
      throw std::bad_alloc();
    throw std::length_error("too many clock pairs for the diagram levels");
  }
}

CddLibrary::~CddLibrary() {
  assert(state_->handles == 0 && "a diagram handle outlives its library");
}

int CddLibrary::takeError() { return std::exchange(state_->reported, 0); }

int cdd_error(CddState& s, int code) {
  std::fprintf(stderr, "CDD Error: %d\n", code);
  s.reported = code;
  return code;
}

void cdd_set_error(CddState& s, int code) {
  if (s.error == 0)
    s.error = code;
}

std::size_t cdd_begin(CddState& s) {
  s.error = 0;
  return s.stackTop;
}

CddNode* cdd_finish(CddState& s, std::size_t base, CddNode* result) {
  s.stackTop = base;
  if (int code = std::exchange(s.error, 0)) {
    cdd_error(s, code);
    return nullptr;
  }
  return result;
}

CddNode* cdd_pop_node(CddState& s, uint32_t level, std::size_t base) {
  CddNode* node = cdd_make_cdd_node(s, level, &s.stack[base], uint32_t(s.stackTop - base));
  s.stackTop = base;
  return node;
}

bool cdd_push(CddState& s, CddNode* child, int32_t bound) {
  if (s.stackTop == s.stack.size()) {
    try {
      s.stack.resize(std::max<std::size_t>(2 * s.stack.size(), 16));
    } catch (const std::bad_alloc&) {
      cdd_set_error(s, CddOutOfMemory);
      return false;
    }
  }
  s.stack[s.stackTop++] = CddElement{child, bound, 0};
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

cdd::cdd(CddNode* node) : node_(node), library_(nullptr) {
  assert((!node || cddIsTerminal(node)) && "an internal node needs its library");
}

cdd::cdd(CddLibrary& library, CddNode* node) : node_(node), library_(nullptr) {
  if (!node || cddIsTerminal(node))
    return;
  cdd_ref(node);
  library_ = &library;
  ++library.state().handles;
}

cdd::cdd(const cdd& other) : node_(other.node_), library_(other.library_) {
  if (library_) {
    cdd_ref(node_);
    ++library_->state().handles;
  }
}

cdd::cdd(cdd&& other) noexcept
    : node_(std::exchange(other.node_, cddfalse)),
      library_(std::exchange(other.library_, nullptr)) {}

cdd::~cdd() { release(); }

cdd& cdd::operator=(const cdd& other) {
  cdd copy(other);
  std::swap(node_, copy.node_);
  std::swap(library_, copy.library_);
  return *this;
}

cdd& cdd::operator=(cdd&& other) noexcept {
  cdd moved(std::move(other));
  std::swap(node_, moved.node_);
  std::swap(library_, moved.library_);
  return *this;
}

cdd cdd::operator!() const {
  if (!node_)
    return cdd(nullptr);
  return library_ ? cdd(*library_, cddNot(node_)) : cdd(cddNot(node_));
}

cdd cdd::combine(const cdd& a, const cdd& b, int op) {
  assert((!a.library_ || !b.library_ || a.library_ == b.library_) &&
         "diagrams of two libraries combined");
  if (CddLibrary* library = a.library_ ? a.library_ : b.library_)
    return library->apply(a, b, op);
  // Two terminals (or no diagram): no node is needed.
  if (!a.node_ || !b.node_)
    return cdd(nullptr);
  if (op == CddAnd)
    return cdd(a.node_ == cddtrue && b.node_ == cddtrue ? cddtrue : cddfalse);
  return cdd(cddNotIf(a.node_, b.node_ == cddtrue));
}

void cdd::release() noexcept {
  if (!library_)
    return;
  cdd_rec_deref(node_);
  --library_->state().handles;
  library_ = nullptr;
}
