// Random small closed timed automata (non-strict constraints, constants up to
// 3), checked through a session under every extrapolation and subsumption
// choice and by a brute-force reference that explores time on a grid. Properties along runs
// are conjunctions (convex), so a delay keeps one when both of its ends do.
// Whole time units are not fine enough: a run may end in a deadlock only
// when a move is taken at a fraction of a unit (see the leads-to tests). With
// n clocks the grid has steps of 1/(n+1), enough for every order of the
// clocks' fractional parts to occur.

#include "checkers/Concretiser.h"
#include "session/Session.h"
#include "support/StateFixtures.h"
#include "symbolic/UnpackedRegion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace orvela {
namespace {

constexpr int maxConstant = 3;
#if defined(__SANITIZE_ADDRESS__)
constexpr int roundShare = 5; // 100x slower; a fifth of the rounds still meets memory faults
#elif defined(__SANITIZE_THREAD__)
constexpr int roundShare = 10; // races show in the first rounds
#else
constexpr int roundShare = 1;
#endif
const char* const clockNames[] = {"x", "y"};

struct Bound {
  int clock;
  bool upper; ///< x <= c, otherwise x >= c
  int c;
  bool strict = false; ///< < or > instead
  /// On clock values counted in grid steps of 1/`steps`, or in time units.
  template <class Value> bool holds(const std::vector<Value>& clocks, int steps) const {
    const Value& x = clocks[std::size_t(clock)];
    return upper ? (strict ? x < c * steps : x <= c * steps)
                 : (strict ? x > c * steps : x >= c * steps);
  }
  std::string text() const {
    return std::string(clockNames[clock]) + (upper ? " <" : " >") + (strict ? " " : "= ") +
           std::to_string(c);
  }
};

struct Edge {
  int from = 0, to = 0;
  std::vector<Bound> guard;
  int intGuard = -1; ///< i == intGuard, when not negative
  std::vector<int> resets;
  int assign = -1; ///< i := assign, when not negative
  int sync = 0;    ///< 1 sends on c, -1 receives on c
  int copyTo = -1; ///< clock copyTo := copyFrom + copyPlus after the resets
  int copyFrom = 0, copyPlus = 0;
};

struct Location {
  std::vector<Bound> invariant; ///< upper bounds
  bool urgent = false, committed = false;
};

struct Process {
  std::vector<Location> locations;
  std::vector<Edge> edges;
};

struct Model {
  int clocks = 1;
  bool channel = false;
  std::vector<Process> processes;
};

/// A point of the grid state space: locations, the integer i and the clocks
/// in grid steps; values beyond the largest constant are all alike and kept
/// at one step beyond it.
struct Point {
  std::vector<int> locations;
  int i = 0;
  std::vector<int> clocks;
  bool operator<(const Point& other) const {
    return std::tie(locations, i, clocks) < std::tie(other.locations, other.i, other.clocks);
  }
  bool operator==(const Point& other) const = default;
};

using Predicate = std::function<bool(const Point&)>;

// ------------------------------------------------------------- the model

Model randomModel(std::mt19937& random) {
  const auto chance = [&](int percent) { return int(random() % 100) < percent; };
  const auto pick = [&](int n) { return int(random() % unsigned(n)); };
  Model model;
  model.clocks = 1 + pick(2);
  const int processes = 1 + pick(2);
  model.channel = processes == 2 && chance(60);
  for (int p = 0; p < processes; ++p) {
    Process process;
    const int locations = 2 + pick(3);
    for (int l = 0; l < locations; ++l) {
      Location location;
      if (chance(50))
        location.invariant.push_back({pick(model.clocks), true, 1 + pick(maxConstant)});
      if (l > 0 && chance(10))
        location.urgent = true;
      else if (l > 0 && chance(10))
        location.committed = true;
      process.locations.push_back(location);
    }
    const int edges = 1 + pick(6);
    for (int e = 0; e < edges; ++e) {
      Edge edge;
      edge.from = pick(locations);
      edge.to = pick(locations);
      for (int g = pick(3); g > 0; --g)
        edge.guard.push_back({pick(model.clocks), chance(50), pick(maxConstant + 1)});
      if (chance(25))
        edge.intGuard = pick(3);
      for (int k = 0; k < model.clocks; ++k)
        if (chance(40))
          edge.resets.push_back(k);
      if (chance(30))
        edge.assign = pick(3);
      if (model.channel && chance(40))
        edge.sync = chance(50) ? 1 : -1;
      process.edges.push_back(edge);
    }
    model.processes.push_back(process);
  }
  return model;
}

/// `prefix` followed by the number (built in two steps: the one-expression
/// form trips a false -Wrestrict of g++ 12).
std::string numbered(const char* prefix, std::size_t n) {
  std::string name = prefix;
  name += std::to_string(n);
  return name;
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (const std::string& part : parts)
    text += (text.empty() ? "" : separator) + part;
  return text;
}

std::string describe(const Model& model) {
  std::ostringstream text;
  text << "clock x" << (model.clocks == 2 ? ", y" : "") << "; int [0,2] i;\n"
       << (model.channel ? "chan c;\n" : "");
  std::vector<std::string> names;
  for (std::size_t p = 0; p < model.processes.size(); ++p) {
    const Process& process = model.processes[p];
    std::vector<std::string> states, urgent, committed, edges;
    for (std::size_t l = 0; l < process.locations.size(); ++l) {
      const Location& location = process.locations[l];
      const std::string name = numbered("l", l);
      states.push_back(
          location.invariant.empty() ? name : name + " {" + location.invariant[0].text() + "}");
      if (location.urgent)
        urgent.push_back(name);
      if (location.committed)
        committed.push_back(name);
    }
    for (const Edge& edge : process.edges) {
      std::vector<std::string> guards, assigns;
      for (const Bound& bound : edge.guard)
        guards.push_back(bound.text());
      if (edge.intGuard >= 0)
        guards.push_back("i == " + std::to_string(edge.intGuard));
      for (int k : edge.resets)
        assigns.push_back(std::string(clockNames[k]) + " := 0");
      if (edge.copyTo >= 0)
        assigns.push_back(std::string(clockNames[edge.copyTo]) + " := " +
                          clockNames[edge.copyFrom] + " + " + std::to_string(edge.copyPlus));
      if (edge.assign >= 0)
        assigns.push_back("i := " + std::to_string(edge.assign));
      edges.push_back(numbered("l", std::size_t(edge.from)) +
                      numbered(" -> l", std::size_t(edge.to)) + " {" +
                      (guards.empty() ? "" : " guard " + joined(guards, ", ") + ";") +
                      (edge.sync > 0   ? " sync c!;"
                       : edge.sync < 0 ? " sync c?;"
                                       : "") +
                      (assigns.empty() ? "" : " assign " + joined(assigns, ", ") + ";") + " }");
    }
    names.push_back(numbered("P", p));
    text << "process " << names.back() << " { state " << joined(states, ", ") << ";"
         << (committed.empty() ? "" : " commit " + joined(committed, ", ") + ";")
         << (urgent.empty() ? "" : " urgent " + joined(urgent, ", ") + ";") << " init l0; trans "
         << joined(edges, ",\n    ") << "; }\n";
  }
  text << "system " << joined(names, ", ") << ";";
  return text.str();
}

// ------------------------------------------------------- the reference

class Reference {
public:
  explicit Reference(const Model& model)
      : model_(model), steps_(model.clocks + 1), capped_(maxConstant * steps_ + 1) {}

  Point initial() const {
    Point point;
    point.locations.assign(model_.processes.size(), 0);
    point.clocks.assign(std::size_t(model_.clocks), 0);
    return point;
  }

  /// Every move and the unit delay from `point`.
  const std::vector<Point>& successors(const Point& point) {
    auto known = successors_.find(point);
    if (known != successors_.end())
      return known->second;
    std::vector<Point> next = moves(point);
    if (const std::optional<Point> later = delayed(point))
      next.push_back(*later);
    return successors_[point] = next;
  }

  /// The points reached from `point` by one move of one process or one
  /// synchronised pair.
  std::vector<Point> moves(const Point& point) const {
    std::vector<Point> next;
    bool committed = false;
    for (std::size_t p = 0; p < point.locations.size(); ++p)
      committed = committed || location(p, point).committed;
    const auto allowed = [&](std::size_t p) { return !committed || location(p, point).committed; };
    for (std::size_t p = 0; p < point.locations.size(); ++p)
      for (const Edge& e : edgesFrom(p, point))
        if (e.sync == 0 && allowed(p) && enabled(e, point))
          keep(next, take(point, p, e));
    for (std::size_t p = 0; p < point.locations.size(); ++p)
      for (std::size_t q = 0; q < point.locations.size(); ++q)
        if (p != q && (allowed(p) || allowed(q)))
          for (const Edge& send : edgesFrom(p, point))
            for (const Edge& receive : edgesFrom(q, point))
              if (send.sync > 0 && receive.sync < 0 && enabled(send, point) &&
                  enabled(receive, point))
                keep(next, take(take(point, p, send), q, receive));
    return next;
  }

  /// The point one grid step later, unless time may not pass there or the
  /// invariants forbid it.
  std::optional<Point> delayed(const Point& point) const {
    for (std::size_t p = 0; p < point.locations.size(); ++p)
      if (location(p, point).urgent || location(p, point).committed)
        return std::nullopt;
    Point later = point;
    for (int& value : later.clocks)
      value = std::min(value + 1, capped_);
    std::vector<Point> kept;
    keep(kept, later);
    return kept.empty() ? std::nullopt : std::optional<Point>(later);
  }

  /// Whether no move can be taken from `point`, now or after any delay.
  bool deadlocked(Point point) const {
    for (;;) {
      if (!moves(point).empty())
        return false;
      const std::optional<Point> later = delayed(point);
      if (!later || *later == point)
        return true;
      point = *later;
    }
  }

  int steps() const { return steps_; }

  /// Whether a run from `start` keeps `phi` at every point and goes on
  /// forever or ends where nothing can happen.
  bool potentially(const Predicate& phi, const Point& start) {
    if (!phi(start))
      return false;
    std::map<Point, std::vector<Point>> graph;
    std::vector<Point> work{start};
    graph[start];
    while (!work.empty()) {
      const Point point = work.back();
      work.pop_back();
      const std::vector<Point>& all = successors(point);
      if (all.empty())
        return true;
      for (const Point& next : all)
        if (phi(next)) {
          graph[point].push_back(next);
          if (graph.emplace(next, std::vector<Point>()).second)
            work.push_back(next);
        }
    }
    // phi can also hold for ever along a cycle: one remains once the points
    // without a successor left are dropped again and again.
    std::map<Point, std::size_t> left;
    std::map<Point, std::vector<Point>> into;
    std::vector<Point> drop;
    for (const auto& [point, next] : graph) {
      left[point] = next.size();
      for (const Point& successor : next)
        into[successor].push_back(point);
      if (next.empty())
        drop.push_back(point);
    }
    std::size_t dropped = 0;
    for (; !drop.empty(); ++dropped) {
      const Point point = drop.back();
      drop.pop_back();
      for (const Point& predecessor : into[point])
        if (--left[predecessor] == 0)
          drop.push_back(predecessor);
    }
    return dropped < graph.size();
  }

  /// Every point reachable from the initial one.
  std::vector<Point> reachable() {
    std::set<Point> seen{initial()};
    std::vector<Point> work{initial()}, all;
    while (!work.empty()) {
      const Point point = work.back();
      work.pop_back();
      all.push_back(point);
      for (const Point& next : successors(point))
        if (seen.insert(next).second)
          work.push_back(next);
    }
    return all;
  }

private:
  const Location& location(std::size_t p, const Point& point) const {
    return model_.processes[p].locations[std::size_t(point.locations[p])];
  }
  std::vector<Edge> edgesFrom(std::size_t p, const Point& point) const {
    std::vector<Edge> edges;
    for (const Edge& e : model_.processes[p].edges)
      if (e.from == point.locations[p])
        edges.push_back(e);
    return edges;
  }
  bool enabled(const Edge& e, const Point& point) const {
    for (const Bound& bound : e.guard)
      if (!bound.holds(point.clocks, steps_))
        return false;
    return e.intGuard < 0 || point.i == e.intGuard;
  }
  /// The point after the move of process p along `e`.
  static Point take(Point point, std::size_t p, const Edge& e) {
    point.locations[p] = e.to;
    for (int k : e.resets)
      point.clocks[std::size_t(k)] = 0;
    if (e.assign >= 0)
      point.i = e.assign;
    return point;
  }
  /// Adds `point` when it meets the invariants of its locations.
  void keep(std::vector<Point>& next, const Point& point) const {
    for (std::size_t p = 0; p < point.locations.size(); ++p)
      for (const Bound& bound : location(p, point).invariant)
        if (!bound.holds(point.clocks, steps_))
          return;
    next.push_back(point);
  }

  const Model& model_;
  const int steps_;
  const int capped_;
  std::map<Point, std::vector<Point>> successors_;
};

// ------------------------------------------------------- the properties

struct Atom {
  std::string text;
  Predicate holds;
};

/// `atoms` joined by `separator` ("and" or "or"), holding when all or any
/// of them hold.
Atom combined(const std::vector<Atom>& atoms, bool all) {
  std::vector<std::string> texts;
  for (const Atom& atom : atoms)
    texts.push_back(atom.text);
  return {joined(texts, all ? " and " : " or "), [atoms, all](const Point& point) {
            for (const Atom& atom : atoms)
              if (atom.holds(point) != all)
                return !all;
            return all;
          }};
}

/// A test of a location (0), of i (1) or a clock bound (2), negated at
/// random with `mayNegate`.
Atom atom(std::mt19937& random, const Model& model, unsigned kind, bool mayNegate) {
  if (kind == 0) {
    const std::size_t p = random() % model.processes.size();
    const int l = int(random() % model.processes[p].locations.size());
    const bool negated = mayNegate && random() % 3 == 0;
    return {(negated ? "not " : "") + numbered("P", p) + ".l" + std::to_string(l),
            [=](const Point& point) { return (point.locations[p] == l) != negated; }};
  }
  if (kind == 1) {
    const int c = int(random() % 3);
    const bool negated = mayNegate && random() % 2 == 0;
    return {std::string("i ") + (negated ? "!= " : "== ") + std::to_string(c),
            [=](const Point& point) { return (point.i == c) != negated; }};
  }
  const Bound bound{int(random() % unsigned(model.clocks)), random() % 2 == 0,
                    int(random() % (maxConstant + 1))};
  const int steps = model.clocks + 1;
  return {bound.text(), [=](const Point& point) { return bound.holds(point.clocks, steps); }};
}

/// A conjunction of one to three atoms; clock atoms only with `clocks`.
Atom conjunction(std::mt19937& random, const Model& model, bool clocks) {
  std::vector<Atom> atoms;
  for (int n = 1 + int(random() % 3); n > 0; --n)
    atoms.push_back(atom(random, model, random() % (clocks ? 3 : 2), true));
  return combined(atoms, true);
}

/// A disjunction of one or two location or integer tests, and its negation.
std::pair<Atom, Predicate> disjunction(std::mt19937& random, const Model& model) {
  std::vector<Atom> atoms{atom(random, model, random() % 2 ? 0 : 1, false)};
  if (random() % 2)
    atoms.push_back(atom(random, model, 0, false));
  const Atom any = combined(atoms, false);
  return {any, [any](const Point& point) { return !any.holds(point); }};
}

/// Every extrapolation choice with every subsumption choice, as the digits
/// of their options.
const std::pair<char, char> abstractions[] = {{'0', '0'}, {'1', '0'}, {'2', '0'}, {'3', '0'},
                                              {'0', '1'}, {'1', '1'}, {'2', '1'}, {'3', '1'}};

/// A session with the model of `text` loaded, searching under the
/// abstraction choice `choice` (digits of the options).
void load(Session& session, const std::string& text, std::pair<char, char> choice) {
  std::istringstream description(text);
  session.loadSystem(description);
  session.setOption("extrapolation", choice.first);
  session.setOption("subsumption", choice.second);
}

/// The verdict of `property`: true for 'T'.
bool holds(Session& session, const std::string& property) {
  std::istringstream line(property);
  return session.check(line).verdict == 'T';
}

// E[], A<> and leads-to, each round under one of the abstraction choices
// (which these kinds must not change).
TEST(LivenessReference, RandomClosedModelsAgreeWithExplorationOnATimeGrid) {
  std::mt19937 random(20261207);
  int checks = 0, holding = 0;
  for (int round = 0; round < 1000 / roundShare; ++round) {
    const Model model = randomModel(random);
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    load(session, text, abstractions[round % 8]);
    Reference reference(model);
    const std::vector<Point> reachable = reference.reachable();
    const auto compare = [&](const std::string& property, bool expected) {
      ++checks;
      holding += expected;
      EXPECT_EQ(holds(session, property), expected) << property;
    };
    for (int n = 0; n < 3; ++n) {
      const Atom phi = conjunction(random, model, true);
      compare("E[] " + phi.text, reference.potentially(phi.holds, reference.initial()));
    }
    for (int n = 0; n < 2; ++n) {
      const auto [psi, notPsi] = disjunction(random, model);
      compare("A<> " + psi.text, !reference.potentially(notPsi, reference.initial()));
    }
    for (int n = 0; n < 2; ++n) {
      const Atom p = conjunction(random, model, true);
      const auto [q, notQ] = disjunction(random, model);
      bool counterexample = false;
      for (const Point& point : reachable)
        counterexample = counterexample || (p.holds(point) && reference.potentially(notQ, point));
      compare("(" + p.text + ") --> (" + q.text + ")", !counterexample);
    }
  }
  // Both verdicts occur often enough for the comparison to mean something.
  EXPECT_GT(holding, checks / 5);
  EXPECT_LT(holding, checks - checks / 5);
}

/// A formula of two or three atoms joined by and/or in a random order, one
/// of them the deadlock predicate or its negation.
Atom deadlockFormula(std::mt19937& random, const Model& model, const Reference& reference) {
  const bool negated = random() % 2;
  Atom formula{negated ? "not deadlock" : "deadlock", [&reference, negated](const Point& point) {
                 return reference.deadlocked(point) != negated;
               }};
  for (int n = 1 + int(random() % 2); n > 0; --n) {
    const Atom other = atom(random, model, random() % 3, true);
    const bool all = random() % 3 != 0;
    formula = random() % 2 ? combined({formula, other}, all) : combined({other, formula}, all);
    formula.text = "(" + formula.text + ")";
  }
  return formula;
}

/// Whether some grid point of the state's zone, with its locations and i,
/// meets `phi`.
bool someGridPointMeets(const GlobalState& state, const Predicate& phi, const Model& model,
                        int steps) {
  const UnpackedRegion& zone = *state.getUnpackedRegion();
  Point point;
  for (std::size_t p = 0; p < model.processes.size(); ++p)
    point.locations.push_back(state.getLocation(unsigned(p)));
  point.i = (*state.getIntegerTable())[0];
  // A zone may meet phi only where one clock exceeds another by up to the
  // largest constant, each clock beyond it (x - y >= 3 and y > 3).
  const int capped = (model.clocks + 1) * maxConstant * steps + 1;
  for (int x = 0; x <= capped; ++x)
    for (int y = 0; y <= (model.clocks == 2 ? capped : 0); ++y) {
      const std::vector<int> values{0, x, y};
      bool inside = true;
      for (unsigned i = 0; i <= unsigned(model.clocks); ++i)
        for (unsigned j = 0; j <= unsigned(model.clocks); ++j) {
          const int32_t raw = zone.get(i, j);
          const int64_t difference = values[i] - values[j],
                        limit = int64_t(rawConstant(raw)) * steps;
          inside = inside && (rawIsInfinite(raw) || difference < limit ||
                              (difference == limit && !rawIsStrict(raw)));
        }
      point.clocks.assign(values.begin() + 1, values.begin() + 1 + model.clocks);
      if (inside && phi(point))
        return true;
    }
  return false;
}

/// Whether the trace of `result` replays to a state with a grid point that
/// meets `phi`.
bool traceEndMeets(Session& session, const CheckResult& result, const Predicate& phi,
                   const Model& model, int steps) {
  test::OwnedState last;
  session.replay(
      result,
      [&](const GlobalState* state, const Transition* const*) {
        last.reset(state->unpackedCopy());
      },
      true);
  return last && someGridPointMeets(*last, phi, model, steps);
}

// Under every extrapolation and subsumption choice: E<> and A[] over formulas
// that mix the deadlock predicate or its negation with location, integer and
// clock atoms in every order, and over formulas without it, by one, two or
// three threads; the trace of each E<> witness ends in a state whose zone
// meets the formula.
TEST(DeadlockReference, ReachabilityAgreesWithTheGridUnderEveryAbstraction) {
  std::mt19937 random(20261208);
  int checks = 0, holding = 0;
  for (int round = 0; round < 300 / roundShare; ++round) {
    const Model model = randomModel(random);
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    load(session, text, abstractions[0]);
    session.setOption("trace", '1');
    session.setOption("threads", "123"[round % 3]); // the verdict must not depend on it
    Reference reference(model);
    const std::vector<Point> reachable = reference.reachable();
    std::vector<std::pair<std::string, bool>> properties;
    std::vector<Atom> witnessed;
    for (int n = 0; n < 4; ++n) {
      const Atom phi =
          n < 3 ? deadlockFormula(random, model, reference) : conjunction(random, model, true);
      properties.emplace_back("E<> " + phi.text,
                              std::any_of(reachable.begin(), reachable.end(), phi.holds));
      properties.emplace_back("A[] " + phi.text,
                              std::all_of(reachable.begin(), reachable.end(), phi.holds));
      witnessed.push_back(phi);
    }

    for (const auto& [extrapolation, subsumption] : abstractions) {
      SCOPED_TRACE(std::string("extrapolation ") + extrapolation + ", subsumption " + subsumption);
      session.setOption("extrapolation", extrapolation);
      session.setOption("subsumption", subsumption);
      for (const auto& [property, expected] : properties) {
        std::istringstream line(property);
        const CheckResult result = session.check(line);
        ++checks;
        holding += expected;
        EXPECT_EQ(result.verdict, expected ? 'T' : 'F') << property;
      }
      for (const Atom& formula : witnessed) {
        std::istringstream line("E<> " + formula.text);
        const CheckResult result = session.check(line);
        if (result.found) {
          EXPECT_TRUE(traceEndMeets(session, result, formula.holds, model, reference.steps()))
              << "E<> " << formula.text;
        }
      }
    }
  }
  EXPECT_GT(holding, checks / 5);
  EXPECT_LT(holding, checks - checks / 5);
}

// A widening by lower and upper bounds lets time pass beyond a location's
// invariant x <= 1 when x is compared with no lower bound there: the widened
// zone of a would show a deadlock where the loop is always enabled (first
// model), and runs that stay in a forever where every run must leave it
// (second model). Every choice must give the exact answers.
TEST(DeadlockReference, LUWideningIsNotUsedWhereItWouldBeWrong) {
  const char* const loop = "clock x;\nprocess P { state a {x <= 1}; init a;\n"
                           "  trans a -> a { guard x <= 2; }; }\nsystem P;";
  const char* const leave = "clock x;\nprocess P { state a {x <= 1}, b; init a;\n"
                            "  trans a -> b { guard x <= 1; }, b -> b {}; }\nsystem P;";
  const std::tuple<const char*, const char*, char> cases[] = {{loop, "E<> deadlock", 'F'},
                                                              {loop, "A[] not deadlock", 'T'},
                                                              {loop, "E<> P.a and deadlock", 'F'},
                                                              {leave, "E[] P.a", 'F'},
                                                              {leave, "A<> P.b", 'T'}};
  for (const auto& [extrapolation, subsumption] : abstractions)
    for (const auto& [text, property, expected] : cases) {
      SCOPED_TRACE(std::string("extrapolation ") + extrapolation + ", subsumption " + subsumption);
      Session session;
      load(session, text, {extrapolation, subsumption});
      std::istringstream line(property);
      EXPECT_EQ(session.check(line).verdict, expected) << property;
    }
}

// ------------------------------------------------------- concrete runs

/// A concrete state of the model: locations, i and clock values in time
/// units, exact.
struct Valuation {
  std::vector<int> locations;
  int i = 0;
  std::vector<mpq_class> clocks;

  const Location& location(const Model& model, std::size_t p) const {
    return model.processes[p].locations[std::size_t(locations[p])];
  }
  bool meets(const std::vector<Bound>& bounds) const {
    return std::all_of(bounds.begin(), bounds.end(),
                       [&](const Bound& bound) { return bound.holds(clocks, 1); });
  }
  bool invariantsHold(const Model& model) const {
    for (std::size_t p = 0; p < locations.size(); ++p)
      if (!meets(location(model, p).invariant))
        return false;
    return true;
  }
  bool timeStops(const Model& model) const {
    for (std::size_t p = 0; p < locations.size(); ++p)
      if (location(model, p).urgent || location(model, p).committed)
        return true;
    return false;
  }
  void wait(const mpq_class& delay) {
    for (mpq_class& value : clocks)
      value += delay;
  }
  /// Whether every edge of the move is enabled; then takes them in order.
  bool fire(const std::vector<std::pair<std::size_t, const Edge*>>& move) {
    for (const auto& [p, edge] : move)
      if (locations[p] != edge->from || !meets(edge->guard) ||
          (edge->intGuard >= 0 && i != edge->intGuard))
        return false;
    for (const auto& [p, edge] : move) {
      locations[p] = edge->to;
      for (int k : edge->resets)
        clocks[std::size_t(k)] = 0;
      if (edge->copyTo >= 0)
        clocks[std::size_t(edge->copyTo)] = clocks[std::size_t(edge->copyFrom)] + edge->copyPlus;
      if (edge->assign >= 0)
        i = edge->assign;
    }
    return true;
  }
};

using Move = std::vector<std::pair<std::size_t, const Edge*>>;

/// A location of a process and clock bounds.
struct Goal {
  std::size_t process;
  int location;
  std::vector<Bound> bounds;
  bool holds(const Valuation& now) const {
    return now.locations[process] == location && now.meets(bounds);
  }
  std::string text() const {
    std::string text = numbered("P", process) + ".l" + std::to_string(location);
    for (const Bound& bound : bounds)
      text += " and " + bound.text();
    return text;
  }
};

/// The earliest time at which a run along `moves` with delays in half units
/// ends where `goal` holds: per step the least time of each clock valuation,
/// whose values beyond the largest constant are all alike (and no delay
/// longer than that helps).
std::optional<mpq_class> earliestOnHalfUnits(const Model& model, const std::vector<Move>& moves,
                                             const Goal& goal) {
  const mpq_class cap = maxConstant + 1, half(1, 2);
  const Valuation start{std::vector<int>(model.processes.size(), 0), 0,
                        std::vector<mpq_class>(std::size_t(model.clocks), 0)};
  std::map<std::vector<mpq_class>, std::pair<mpq_class, Valuation>> frontier{
      {start.clocks, {0, start}}};
  std::optional<mpq_class> best;
  for (std::size_t k = 0; k <= moves.size(); ++k) {
    std::map<std::vector<mpq_class>, std::pair<mpq_class, Valuation>> next;
    for (const auto& [key, entry] : frontier) {
      const auto& [time, now] = entry;
      for (mpq_class delay = 0; delay <= (now.timeStops(model) ? 0 : cap); delay += half) {
        Valuation later = now;
        later.wait(delay);
        if (!later.invariantsHold(model))
          break;
        if (k == moves.size()) {
          if (goal.holds(later) && (!best || time + delay < *best))
            best = time + delay;
          continue;
        }
        if (!later.fire(moves[k]) || !later.invariantsHold(model))
          continue;
        for (mpq_class& value : later.clocks)
          value = std::min(value, cap);
        const auto known = next.find(later.clocks);
        if (known == next.end() || time + delay < known->second.first)
          next[later.clocks] = {time + delay, later};
      }
    }
    frontier = std::move(next);
  }
  return best;
}

// E<> witnesses of random models, some with clock copies and shifts, every
// other one with strict bounds: the concrete run along each trace, replayed
// with exact arithmetic, keeps every invariant during each delay, stops time
// where it must, fires each edge where its guard holds, reaches the clock
// values it claims and ends where the property holds. It ends no later than
// any run along the trace with delays in half units, and for models without
// strict bounds exactly as early, with whole delays.
TEST(ConcreteRunReference, EarliestRunsAlongRandomTracesReplayExactly) {
  std::mt19937 random(20261209);
  int runs = 0, waited = 0;
  for (int round = 0; round < 1000 / roundShare; ++round) {
    Model model = randomModel(random);
    const bool closed = round % 2 == 0;
    const auto strictly = [&](Bound& bound) { bound.strict = !closed && random() % 3 == 0; };
    for (Process& process : model.processes) {
      for (Location& location : process.locations)
        std::for_each(location.invariant.begin(), location.invariant.end(), strictly);
      for (Edge& edge : process.edges) {
        std::for_each(edge.guard.begin(), edge.guard.end(), strictly);
        if (random() % 4 == 0) {
          edge.copyTo = int(random() % unsigned(model.clocks));
          edge.copyFrom = int(random() % unsigned(model.clocks));
          edge.copyPlus = int(random() % 3);
        }
      }
    }
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    session.setOption("trace", '1');
    load(session, text, abstractions[round % 8]);
    session.initialize();
    for (int n = 0; n < 3; ++n) {
      const std::size_t p = random() % model.processes.size();
      Goal goal{p, int(random() % model.processes[p].locations.size()), {}};
      for (int b = 1 + int(random() % 2); b > 0; --b) {
        goal.bounds.push_back({int(random() % unsigned(model.clocks)), random() % 2 == 0,
                               int(random() % (maxConstant + 1))});
        strictly(goal.bounds.back());
      }
      SCOPED_TRACE("E<> " + goal.text());
      std::istringstream line("E<> " + goal.text());
      const CheckResult result = session.check(line);
      if (!result.found)
        continue;
      Concretiser concretiser(session.system(), *session.model().start());
      std::vector<Move> moves;
      session.replay(
          result,
          [&](const GlobalState* state, const Transition* const* edges) {
            concretiser.add(*state, edges);
            if (*edges)
              moves.emplace_back();
            for (; *edges; ++edges) {
              const std::size_t q = std::size_t((*edges)->getProcessIndex());
              moves.back().emplace_back(
                  q, &model.processes[q].edges[std::size_t((*edges)->getIndex())]);
            }
          },
          true);
      const std::optional<ConcreteRun> run =
          concretiser.concretise(result.formula.get(), session.model().allocator());
      ASSERT_TRUE(run);
      ASSERT_EQ(run->steps.size(), moves.size() + 1);
      ++runs;

      Valuation now{std::vector<int>(model.processes.size(), 0), 0,
                    std::vector<mpq_class>(std::size_t(model.clocks), 0)};
      mpq_class total = 0;
      for (std::size_t k = 0; k <= moves.size(); ++k) {
        EXPECT_EQ(
            std::vector<mpq_class>(run->steps[k].clocks.begin() + 1, run->steps[k].clocks.end()),
            now.clocks)
            << "entering state " << k;
        const mpq_class& delay = k < moves.size() ? run->steps[k + 1].delay : run->finalDelay;
        EXPECT_TRUE(delay >= 0 && (!closed || delay.get_den() == 1))
            << "delay " << delay << " in state " << k;
        EXPECT_TRUE(delay == 0 || !now.timeStops(model)) << "time passes in state " << k;
        EXPECT_TRUE(now.invariantsHold(model)) << "entering state " << k;
        now.wait(delay);
        total += delay;
        EXPECT_TRUE(now.invariantsHold(model)) << "leaving state " << k;
        if (k < moves.size()) {
          EXPECT_TRUE(now.fire(moves[k])) << "step " << k + 1 << " is not enabled";
        }
      }
      waited += total > 0;
      EXPECT_TRUE(goal.holds(now));
      const std::optional<mpq_class> earliest = earliestOnHalfUnits(model, moves, goal);
      if (closed) {
        ASSERT_TRUE(earliest);
        EXPECT_EQ(total, *earliest);
      } else if (earliest) {
        EXPECT_LE(total, *earliest);
      }
    }
  }
  // Enough witnesses, and enough of them take time.
  EXPECT_GT(runs, 1000 / roundShare);
  EXPECT_GT(waited, runs / 4);
}

/// The least cost of a run to a point that meets `phi`, where a move costs
/// `move` and a grid step of delay `delay`; none when no run gets there.
std::optional<int> leastCost(Reference& reference, const Predicate& phi, int move, int delay) {
  std::map<Point, int> best{{reference.initial(), 0}};
  std::set<std::pair<int, Point>> work{{0, reference.initial()}};
  const auto relax = [&](const Point& target, int cost) {
    auto [at, added] = best.emplace(target, cost);
    if (!added && cost >= at->second)
      return;
    work.erase({at->second, target});
    at->second = cost;
    work.emplace(cost, target);
  };
  while (!work.empty()) {
    const auto [cost, point] = *work.begin();
    work.erase(work.begin());
    if (phi(point))
      return cost;
    for (const Point& next : reference.moves(point))
      relax(next, cost + move);
    if (const std::optional<Point> later = reference.delayed(point))
      relax(*later, cost + delay);
  }
  return std::nullopt;
}

// The fastest trace of E<> (a conjunction with clock bounds) and of A[] (a
// disjunction of location and integer tests, whose counterexample is
// sought) under exact and packed zones and every abstraction choice, which
// the fastest search must not depend on: its time is the least delay on the
// grid (closed models reach their targets at whole times), and its trace
// replays to a state that meets the formula.
TEST(FastestReference, LeastTimeAgreesWithTheGrid) {
  std::mt19937 random(20261209);
  int found = 0;
  for (int round = 0; round < 300 / roundShare; ++round) {
    Model model = randomModel(random);
    // A lower bound on every edge, so that runs must wait and times add up.
    for (Process& process : model.processes)
      for (Edge& edge : process.edges)
        edge.guard.push_back(
            {int(random() % unsigned(model.clocks)), false, 1 + int(random() % 3)});
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    load(session, text, abstractions[round % 8]);
    session.setOption("representation", round % 2 ? '1' : '0');
    session.setOption("trace", '1');
    session.setOption("traceKind", '2');
    Reference reference(model);
    const Atom phi = conjunction(random, model, true);
    const auto [psi, notPsi] = disjunction(random, model);
    std::vector<std::pair<std::string, Predicate>> properties{{"E<> " + phi.text, phi.holds},
                                                              {"A[] " + psi.text, notPsi}};
    // Most formulas hold at once; locations are reached later.
    for (std::size_t p = 0; p < model.processes.size(); ++p)
      for (int l = 1; l < int(model.processes[p].locations.size()); ++l)
        properties.emplace_back("E<> " + numbered("P", p) + ".l" + std::to_string(l),
                                [p, l](const Point& point) { return point.locations[p] == l; });
    for (const auto& [property, target] : properties) {
      std::istringstream line(property);
      const CheckResult result = session.check(line);
      const std::optional<int> delay = leastCost(reference, target, 0, 1);
      ASSERT_EQ(result.time.has_value(), delay.has_value()) << property;
      if (!delay)
        continue;
      ++found;
      EXPECT_EQ(result.time->value * reference.steps(), *delay) << property;
      EXPECT_FALSE(result.time->infimum) << property;
      EXPECT_TRUE(traceEndMeets(session, result, target, model, reference.steps())) << property;
    }
  }
  EXPECT_GT(found, 100 / roundShare);
}

/// Sets the options of a shortest-trace search, under depth-first order
/// (which it must override) and the representation and reduction of `round`.
void askForShortest(Session& session, int round) {
  for (const auto& [option, value] : {std::pair("representation", round % 2 ? '1' : '0'),
                                      {"reduction", round % 3 ? '1' : '0'},
                                      {"order", '1'},
                                      {"trace", '1'},
                                      {"traceKind", '1'}})
    session.setOption(option, value);
}

// The shortest trace of E<> (location tests, which need moves) under every
// abstraction choice, either representation that keeps zones and either
// reduction: it takes the fewest moves. In the fixed model the state of l1
// reached first, still waiting, is covered by the larger one reached through
// l2 a step later: breadth-first order alone gives 3 steps.
TEST(ShortestReference, TracesTakeTheFewestMoves) {
  const char* const covered = "clock x, y;\nprocess P { state l0 { x <= 0 }, l1, l2, l3; init l0;\n"
                              "  trans l0 -> l2 {}, l0 -> l1 {}, l2 -> l1 { assign x := 0; },\n"
                              "        l1 -> l3 {}; }\nsystem P;";
  for (int round = 0; round < 8; ++round) {
    Session session;
    load(session, covered, abstractions[round]);
    askForShortest(session, round);
    std::istringstream line("E<> P.l3");
    EXPECT_EQ(session.check(line).trace.path->getLength(), 2) << round;
  }
  std::mt19937 random(20261211);
  for (int round = 0; round < 300 / roundShare; ++round) {
    const Model model = randomModel(random);
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    load(session, text, abstractions[round % 8]);
    askForShortest(session, round);
    Reference reference(model);
    for (std::size_t p = 0; p < model.processes.size(); ++p)
      for (int l = 1; l < int(model.processes[p].locations.size()); ++l) {
        const std::string property = "E<> " + numbered("P", p) + ".l" + std::to_string(l);
        std::istringstream line(property);
        const CheckResult result = session.check(line);
        const std::optional<int> moves = leastCost(
            reference, [p, l](const Point& point) { return point.locations[p] == l; }, 1, 0);
        ASSERT_EQ(result.found, moves.has_value()) << property;
        if (moves) {
          EXPECT_EQ(result.trace.path->getLength(), *moves) << property;
        }
      }
  }
}

// An exploration shows every stored state: under every abstraction choice
// and representation that keeps them all, the discrete parts it shows are
// those the grid reaches.
TEST(ExploreReference, ShowsEveryReachableDiscreteState) {
  std::mt19937 random(20261210);
  for (int round = 0; round < 200 / roundShare; ++round) {
    const Model model = randomModel(random);
    const std::string text = describe(model);
    SCOPED_TRACE(text);
    Session session;
    load(session, text, abstractions[round % 8]);
    session.setOption("representation", round % 3 ? '0' : '1');
    std::set<std::pair<std::vector<int>, int>> shown, reached;
    session.explore([&](const GlobalState& state, int, const Transition* const*) {
      const uint16_t* locations = state.getLocations();
      shown.insert(
          {{locations, locations + state.getProcessCount()}, (*state.getIntegerTable())[0]});
    });
    Reference reference(model);
    for (const Point& point : reference.reachable())
      reached.insert({point.locations, point.i});
    EXPECT_EQ(shown, reached);
  }
}

} // namespace
} // namespace orvela
