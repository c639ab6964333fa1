// Binary operations: conjunction and exclusive or, by a simultaneous walk of
// the two operands' interval lists.

#include "cddlib/CddInternal.h"

#include <algorithm>
#include <utility>

namespace {

/// The intervals of `node` on `level`: its own elements when it tests that
/// level, otherwise one interval covering the line.
struct Cofactors {
  const CddElement* elements;
  bool complement; ///< children are read negated
  CddElement whole;

  Cofactors(CddNode* node, uint32_t level) : whole{node, cddInfinity, 0} {
    CddNode* regular = cddRegular(node);
    if (regular->level() == level) {
      elements = regular->elements();
      complement = cddIsComplement(node);
    } else {
      elements = &whole;
      complement = false;
    }
  }
  CddNode* child(uint32_t k) const { return cddNotIf(elements[k].child, complement); }
};

CddNode* apply_rec(CddState& s, CddNode* a, CddNode* b, int op) {
  // Terminal cases, then the operands in canonical order.
  bool flip = false;
  if (op == CddAnd) {
    if (a == cddfalse || b == cddfalse || a == cddNot(b))
      return cddfalse;
    if (a == cddtrue || a == b)
      return b;
    if (b == cddtrue)
      return a;
  } else {
    if (a == b)
      return cddfalse;
    if (a == cddNot(b))
      return cddtrue;
    if (cddIsTerminal(a))
      return cddNotIf(b, a == cddtrue);
    if (cddIsTerminal(b))
      return cddNotIf(a, b == cddtrue);
    // not a xor b = not (a xor b): work on the plain operands.
    flip = cddIsComplement(a) != cddIsComplement(b);
    a = cddRegular(a);
    b = cddRegular(b);
  }
  if (a > b)
    std::swap(a, b);

  if (CddNode* cached = s.cache->lookup(a, b, op))
    return cddNotIf(cached, flip);

  uint32_t level = std::min(cddRegular(a)->level(), cddRegular(b)->level());
  Cofactors left(a, level), right(b, level);
  std::size_t base = s.stackTop;
  for (uint32_t i = 0, j = 0;;) {
    int32_t bound = std::min(left.elements[i].bound, right.elements[j].bound);
    CddNode* child = apply_rec(s, left.child(i), right.child(j), op);
    if (!child || !cdd_push(s, child, bound)) {
      s.stackTop = base;
      return nullptr;
    }
    if (bound == cddInfinity)
      break;
    i += left.elements[i].bound == bound;
    j += right.elements[j].bound == bound;
  }
  CddNode* result = cdd_pop_node(s, level, base);
  if (!result)
    return nullptr;
  s.cache->insert(a, b, op, result);
  return cddNotIf(result, flip);
}

} // namespace

cdd CddLibrary::apply(CddNode* a, CddNode* b, int op) {
  if (!a || !b)
    return cdd(nullptr);
  assert((op == CddAnd || op == CddXor) && "unknown operator");
  CddState& s = *state_;
  std::size_t base = cdd_begin(s);
  // The operands are collection roots for the whole operation.
  CddNode* result = nullptr;
  if (cdd_push(s, a, 0) && cdd_push(s, b, 0))
    result = apply_rec(s, a, b, op);
  return cdd(*this, cdd_finish(s, base, result));
}
