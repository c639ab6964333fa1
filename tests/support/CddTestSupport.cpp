#include "support/CddTestSupport.h"

#include <functional>

namespace cddtest {

bool Zone::contains(const Point& x) const {
  unsigned n = dimension();
  for (unsigned i = 0; i < n; ++i)
    for (unsigned j = 0; j < n; ++j) {
      int32_t bound = dbm_get_bound(dbm_, i, j);
      if (i != j && bound != DBM_INFINITY && !(x[i] - x[j] < bound))
        return false;
    }
  return true;
}

Zone randomZone(std::mt19937& rng, unsigned dimension, int32_t maxConst, int constraints) {
  std::uniform_int_distribution<unsigned> clock(0, dimension - 1);
  std::uniform_int_distribution<int32_t> constant(0, maxConst);
  std::uniform_int_distribution<int> coin(0, 1);
  for (;;) {
    Zone zone(dimension);
    for (int k = 0; k < constraints; ++k) {
      unsigned i = clock(rng), j = clock(rng);
      if (i == j)
        continue;
      // Upper bounds on a clock or a difference take positive constants,
      // lower bounds negative ones, so that the zone stays reachable.
      int32_t c = i == 0 ? -constant(rng) : constant(rng) - (j == 0 ? 0 : maxConst / 2);
      const bool pin = constant(rng) == 0; // now and then x_i - x_j == c
      zone.constrain(i, j, pin || coin(rng) ? le(c) : lt(c));
      if (pin)
        zone.constrain(j, i, le(-c));
    }
    if (!zone.empty())
      return zone;
  }
}

Point randomPoint(std::mt19937& rng, unsigned dimension, int32_t maxConst) {
  std::uniform_int_distribution<int32_t> value(0, 2 * maxConst + 2);
  Point x(dimension, 0);
  for (unsigned i = 1; i < dimension; ++i)
    x[i] = value(rng);
  return x;
}

std::vector<Point> gridPoints(unsigned dimension, int32_t maxConst) {
  std::vector<Point> points{Point(dimension, 0)};
  for (unsigned i = 1; i < dimension; ++i) {
    std::vector<Point> longer;
    for (const Point& p : points)
      for (int32_t v = 0; v <= 2 * maxConst + 2; ++v) {
        longer.push_back(p);
        longer.back()[i] = v;
      }
    points.swap(longer);
  }
  return points;
}

bool evalAt(const cdd& diagram, const Point& x) {
  bool negated = false;
  for (CddNode* d = diagram;;) {
    negated ^= cddIsComplement(d);
    CddNode* node = cddRegular(d);
    if (cddIsTerminal(node))
      return negated; // the plain terminal is false
    // An internal node means a handle with its library; every level is a
    // clock difference.
    CddLevelInfo info = diagram.library()->levelInfo(int(node->level()));
    const int32_t value = x[std::size_t(info.clock1)] - x[std::size_t(info.clock2)];
    const CddElement* e = node->elements();
    uint32_t k = 0;
    while (!(value < e[k].bound))
      ++k;
    d = e[k].child;
  }
}

int emptyPaths(const cdd& diagram, unsigned dimension) {
  int count = 0;
  std::function<void(CddNode*, const Zone&)> walk = [&](CddNode* d, const Zone& zone) {
    CddNode* node = cddRegular(d);
    if (cddIsTerminal(node))
      return;
    CddLevelInfo info = diagram.library()->levelInfo(int(node->level()));
    const CddElement* e = node->elements();
    int32_t lower = DBM_MINUS_INFINITY;
    for (uint32_t k = 0; k < cddElementCount(node); lower = e[k].bound, ++k) {
      Zone part(zone);
      dbm_tighten_interval(part.dbm(), unsigned(info.clock1), unsigned(info.clock2), lower,
                           e[k].bound);
      if (part.empty())
        ++count;
      else
        walk(e[k].child, part);
    }
  };
  Zone all(dimension);
  dbm_blank(all.dbm());
  walk(diagram, all);
  return count;
}

} // namespace cddtest
