// Cost of evaluating the guard and the updates of a typical edge, which the
// successor computation does for every enabled edge of every explored state.

#include "expr/Arrays.h"
#include "expr/Assignment.h"
#include "expr/BinaryExpressions.h"
#include "expr/ClockUpdates.h"
#include "expr/CommaExpression.h"
#include "expr/Constant.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "expr/Range.h"
#include "symbolic/PublicState.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace orvela {
namespace {

// Integers in a vector; clock updates only counted.
class BenchState : public PublicState {
public:
  std::vector<int> integers{3, 1, 4, 1, 5, 9, 2, 6};
  int clockUpdates = 0;
  int* getIntegerReference() override { return integers.data(); }
  bool tighten(unsigned int, unsigned int, int) override { return true; }
  void reset(unsigned int, int) override { ++clockUpdates; }
  void offset(unsigned int, int) override { ++clockUpdates; }
  int getLocation(unsigned int) const override { return 0; }
  GlobalState* getGlobalState() override { return nullptr; }
};

Pointer<Expression> number(int value) { return new Constant(value); }

// a[i] for the array a of 6 integers at cell 2, i in cell 1 clamped to [0, 5].
Pointer<Expression> element() {
  Pointer<Variable> a = new Variable(2, 6, 0, 10);
  a->refine(new Range(new Variable(1, 1, -9, 9), 1, 0, 5, 1), 6);
  return a;
}

// x < 100 && a[i] >= 0
Pointer<Expression> edgeGuard() {
  const Pointer<Expression> x = new Variable(0, 1, 0, 1000);
  return new AndExpression(new IntegerGuard(x, opLess, number(100)),
                           new IntegerGuard(element(), opGreaterEqual, number(0)));
}

// x := x + 1 (clamped into [0, 50]), a[i] := a[i], c := 0
Pointer<Expression> edgeUpdates() {
  const Pointer<Expression> x = new Variable(0, 1, 0, 1000);
  const Pointer<Expression> increment =
      new IntegerAssign(number(0), new Range(new Sum(x, number(1)), 1, 0, 50, 1));
  const Pointer<Expression> index =
      new Sum(number(2), new Range(new Variable(1, 1, -9, 9), 1, 0, 5, 1));
  return new CommaExpression(new CommaExpression(increment, new IntegerAssign(index, element())),
                             new ClockAssign(number(1), 0));
}

void BM_EvaluateGuard(benchmark::State& run) {
  BenchState state;
  const Pointer<Expression> guard = edgeGuard();
  for (auto _ : run)
    benchmark::DoNotOptimize(guard->evaluateScalar(&state));
}
BENCHMARK(BM_EvaluateGuard);

void BM_EvaluateUpdates(benchmark::State& run) {
  BenchState state;
  const Pointer<Expression> updates = edgeUpdates();
  int out;
  for (auto _ : run) {
    updates->evaluate(&state, &out);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EvaluateUpdates);

} // namespace
} // namespace orvela
