#include "language/ProcessBuilder.h"

#include "dbm/RawBound.h"
#include "expr/Assignment.h"
#include "expr/BinaryExpressions.h"
#include "expr/ClockCopyReset.h"
#include "expr/ClockUpdates.h"
#include "expr/CommaExpression.h"
#include "expr/Constant.h"
#include "expr/Guard.h"
#include "expr/LogicExpressions.h"
#include "formula/AndExpr.h"
#include "formula/ClockExpr.h"
#include "language/ParserState.h"
#include "model/ChannelInfo.h"
#include "model/SymbolTable.h"
#include "symbolic/IntegerInfo.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace orvela {

namespace {

// Location indices are stored in 16 bits.
constexpr int maximalLocationCount = SHRT_MAX;

template <class T> T* keep(ParseArena& arena, T* object) { return arena.keep(object); }

} // namespace

bool ProcessBuilder::openProcess(const char* name) {
  if (!state_.symbols.addSymbol(name, processSymbol, 0))
    return state_.semanticError("Redefined symbol %s", Symbol(name, 0, 0).name);
  const Symbol& process = state_.symbols.findGlobalSymbol(name);
  processId_ = process.id;
  processSymbolName_ = process.name;
  const unsigned int frame = state_.symbols.addFrame();
  state_.symbols.setData(processSymbol, processId_,
                         static_cast<int>(0xffff0000u | (frame & 0xffffu)));
  state_.processName = process.name;
  locations_.clear();
  committed_.clear();
  urgent_.clear();
  initial_ = -1;
  edges_.clear();
  lastSource_ = -1;
  return true;
}

void ProcessBuilder::markLocations() {
  // The first location's id is read back when it is added.
  firstLocationId_ = -1;
  locations_.clear();
}

bool ProcessBuilder::addLocation(const char* name) {
  state_.text.clearText();
  if (static_cast<int>(locations_.size()) >= maximalLocationCount)
    return state_.semanticError("Too many locations in process %s.", processSymbolName_.c_str());
  const int index = static_cast<int>(locations_.size());
  if (!state_.symbols.addSymbol(name, locationSymbol, index))
    return state_.semanticError("Redefined symbol %s", Symbol(name, 0, 0).name);
  const Symbol& location =
      state_.symbols.findSymbolInFrame(name, static_cast<int>(state_.symbols.currentFrame()));
  if (index == 0)
    firstLocationId_ = location.id;
  locations_.push_back({location.name, nullptr, ""});
  return true;
}

void ProcessBuilder::finishLocation(TCTLExpression* invariant) {
  assert(!locations_.empty() && "location finished before it was added");
  locations_.back().invariant = invariant;
  locations_.back().invariantText = state_.text.get();
  state_.text.clearText();
}

void ProcessBuilder::erroneousLocation() {
  state_.errorFlag = true;
  state_.text.clearText();
}

bool ProcessBuilder::isOwnLocation(const Symbol& symbol) const {
  return symbol.type == locationSymbol && firstLocationId_ >= 0 && symbol.id >= firstLocationId_ &&
         symbol.id < firstLocationId_ + static_cast<int>(locations_.size());
}

bool ProcessBuilder::addCommitted(const Symbol& location) {
  if (!isOwnLocation(location))
    return state_.semanticError("Type mismatch.");
  committed_.push_back(location.data);
  return true;
}

bool ProcessBuilder::addUrgent(const Symbol& location) {
  if (!isOwnLocation(location))
    return state_.semanticError("Type mismatch.");
  urgent_.push_back(location.data);
  return true;
}

bool ProcessBuilder::setInitial(const Symbol& location) {
  if (!isOwnLocation(location))
    return state_.semanticError("Type mismatch.");
  initial_ = location.data;
  return true;
}

bool ProcessBuilder::closeProcess() {
  state_.symbols.dropFrame();
  state_.processName.clear();
  processId_ = -1;
  if (state_.errorFlag)
    return true;
  const int count = static_cast<int>(locations_.size());
  Pointer<Process> process = new Process(static_cast<short>(count), processSymbolName_.c_str());
  process->setFirstLocationId(firstLocationId_);
  process->setInitial(static_cast<short>(initial_));
  std::vector<Pointer<ControlState>> built(static_cast<std::size_t>(count));
  const auto location = [&](int index) -> ControlState& {
    Pointer<ControlState>& slot = built[static_cast<std::size_t>(index)];
    if (!slot)
      slot =
          new ControlState(static_cast<short>(index),
                           locations_[static_cast<std::size_t>(index)].name.c_str(), false, false);
    return *slot;
  };
  for (int index : committed_)
    location(index).setCommitted(true);
  for (int index : urgent_)
    location(index).setUrgent(true);
  for (int index = 0; index < count; ++index) {
    const LocationEntry& entry = locations_[static_cast<std::size_t>(index)];
    location(index).setInvariant(entry.invariant, entry.invariantText.c_str());
    process->setControlState(index, built[static_cast<std::size_t>(index)]);
  }
  process->setTransitions(std::move(edges_));
  edges_.clear();
  built_.push_back(process);
  return true;
}

bool ProcessBuilder::beginEdge(const Symbol* source, const Symbol& target) {
  state_.text.clearText();
  edge_ = nullptr;
  int from;
  if (!source) {
    if (lastSource_ < 0)
      return state_.semanticError("First transition must have an explicit source state.");
    from = lastSource_;
  } else {
    if (!isOwnLocation(*source))
      return state_.semanticError("Transition source is not a state.");
    from = source->data;
  }
  if (!isOwnLocation(target))
    return state_.semanticError("Transition destination is not a state.");
  lastSource_ = from;
  edge_ = new Transition();
  edge_->setSource(static_cast<short>(from));
  edge_->setTarget(static_cast<short>(target.data));
  return true;
}

void ProcessBuilder::afterGuard(GuardPair guard) {
  guard_ = guard;
  edge_->setGuard(guard.integer, guard.clock, state_.text.get());
  state_.text.clearText();
}

bool ProcessBuilder::setSync(const Expr& channel, bool send) {
  if (channel.type != channelValue || channel.dimensions)
    return state_.semanticError("Type mismatch.");
  sync_ = send
              ? channel.expression
              : keep(state_.arena,
                     static_cast<Expression*>(new Difference(new Constant(0), channel.expression)));
  return true;
}

void ProcessBuilder::noSync() {
  sync_ = keep(state_.arena, new Constant(0));
  state_.text.clearText();
  state_.text.addToText("tau");
}

bool ProcessBuilder::afterSync() {
  if (!sync_) // the synchronisation was replaced by error recovery
    sync_ = keep(state_.arena, new Constant(0));
  if (guard_.clock) {
    const Interval values = sync_->getRange();
    const ModelTables& tables = state_.tables;
    const int channels = tables.channelCount();
    for (int value = std::max(values.first, -channels); value <= std::min(values.second, channels);
         ++value)
      if (value != 0 && tables.channel(value > 0 ? value : -value).urgent) {
        sync_ = nullptr;
        return state_.semanticError("Clock guards are not allowed on urgent transitions.");
      }
  }
  edge_->setSync(sync_, state_.text.get());
  sync_ = nullptr;
  state_.text.clearText();
  return true;
}

void ProcessBuilder::finishEdge(Expression* assignments) {
  edge_->setAssignment(assignments, state_.text.get());
  state_.text.clearText();
  edges_.push_back(edge_);
  edge_ = nullptr;
  guard_ = {nullptr, nullptr};
}

void ProcessBuilder::erroneousEdge() {
  state_.errorFlag = true;
  state_.text.clearText();
  edge_ = nullptr;
  sync_ = nullptr;
  guard_ = {nullptr, nullptr};
}

bool ProcessBuilder::requireScalar(const Expr& value) {
  if (value.dimensions || value.type != integerValue)
    return state_.semanticError("Integer value expected");
  return true;
}

bool ProcessBuilder::requireScalarClock(const Expr& value) {
  if (value.dimensions || value.type != clockValue)
    return state_.semanticError("Type mismatch.");
  return true;
}

bool ProcessBuilder::integerGuard(GuardPair& result, const Expr& left, int op, const Expr& right) {
  if (!requireScalar(left) || !requireScalar(right))
    return false;
  result = {keep(state_.arena,
                 new IntegerGuard(left.expression, static_cast<OpType>(op), right.expression)),
            nullptr};
  return true;
}

GuardPair ProcessBuilder::combineGuards(GuardPair left, GuardPair right) {
  GuardPair result = left;
  if (!result.integer)
    result.integer = right.integer;
  else if (right.integer)
    result.integer = keep(state_.arena, new AndExpression(left.integer, right.integer));
  if (!result.clock)
    result.clock = right.clock;
  else if (right.clock)
    result.clock = keep(state_.arena, new AndExpr(left.clock, right.clock));
  return result;
}

void ProcessBuilder::clockReference(Expr& value, const Symbol& clock) {
  expr_clock_reference(state_.arena, value, clock);
}

bool ProcessBuilder::channelReference(Expr& value, const Symbol& channel) {
  if (channel.type == channelSymbol) {
    expr_channel_variable(state_.arena, value, channel.data);
    return true;
  }
  if (channel.type == arraySymbol && expr_dest_array(state_.arena, value, channel) &&
      value.type == channelValue)
    return true;
  return state_.semanticError("Type mismatch.");
}

bool ProcessBuilder::integerReference(Expr& value, const Symbol& variable) {
  if (variable.type == integerSymbol) {
    expr_scalar_const(state_.arena, value, variable.data);
    return true;
  }
  if (variable.type == arraySymbol && expr_dest_array(state_.arena, value, variable) &&
      value.type == integerValue)
    return true;
  return state_.semanticError("Type mismatch or undeclared indentifier.");
}

bool ProcessBuilder::indexReference(Expr& result, Expr& reference, Expr& index) {
  if (!reference.dimensions)
    return state_.semanticError("Type mismatch.");
  if (!requireScalar(index))
    return false;
  expr_dest_array_index(state_.arena, result, reference, index, state_.line);
  return true;
}

// Zones hold clock constants up to the limit of their bounds only; beyond it
// a bound would silently become no bound, or wrap.
bool ProcessBuilder::requireClockConstant(const Interval& values) {
  if (values.first < -maximalClockConstant || values.second > maximalClockConstant)
    return state_.semanticError("Expression out of range.");
  return true;
}

// A bound that is not constant is held to the limit by every value it can
// take, since it is evaluated anew in every state.
bool ProcessBuilder::requireClockBound(const Expr& bound) {
  if (!bound.expression->isConstant())
    return requireClockConstant(bound.expression->getRange());
  const int value = bound.expression->evaluateScalar(nullptr);
  return requireClockConstant({value, value});
}

Expression* ProcessBuilder::clockAssign(const Expr& clock, int value) {
  if (!requireScalarClock(clock))
    return nullptr;
  if (value < 0) { // a clock takes no negative value
    state_.semanticError("Expression out of range.");
    return nullptr;
  }
  if (!requireClockConstant({value, value}))
    return nullptr;
  return keep(state_.arena, new ClockAssign(clock.expression, value));
}

Expression* ProcessBuilder::clockShift(const Expr& clock, int offset) {
  if (!requireScalarClock(clock) || !requireClockConstant({offset, offset}))
    return nullptr;
  return keep(state_.arena, new ClockShiftReset(clock.expression, offset));
}

Expression* ProcessBuilder::clockCopy(const Expr& clock, const Expr& source) {
  if (!requireScalarClock(clock) || !requireScalarClock(source))
    return nullptr;
  return keep(state_.arena, new ClockCopyReset(source.expression, clock.expression));
}

Expression* ProcessBuilder::clockCopyShift(const Expr& clock, const Expr& source, int offset) {
  if (!requireScalarClock(clock) || !requireScalarClock(source) ||
      !requireClockConstant({offset, offset}))
    return nullptr;
  if (clock.expression->isConstant() && source.expression->isConstant() &&
      clock.expression->evaluateScalar(nullptr) == source.expression->evaluateScalar(nullptr))
    return keep(state_.arena, new ClockShiftReset(clock.expression, offset));
  // Two clocks (or array elements that may differ): x takes y's value, then
  // moves by the offset. When the elements coincide at run time the copy
  // changes nothing and the shift does the rest.
  return keep(state_.arena,
              new CommaExpression(new ClockCopyReset(source.expression, clock.expression),
                                  new ClockShiftReset(clock.expression, offset)));
}

Expression* ProcessBuilder::integerAssign(const Expr& variable, const Expr& value) {
  if (!compatible(variable, value)) {
    state_.semanticError("Type mismatch");
    return nullptr;
  }
  const IntegerInfo& domain =
      state_.tables.integers[static_cast<std::size_t>(variable.expression->getRange().first)];
  Expression* clamped = expr_range(state_.arena, value.expression, expr_size(value), domain.lower,
                                   domain.upper, state_.line);
  return keep(state_.arena, new IntegerAssign(variable.expression, clamped));
}

Expression* ProcessBuilder::conditionalAssign(const Expr& left, int op, const Expr& right,
                                              Expression* assignment) {
  if (!requireScalar(left) || !requireScalar(right))
    return nullptr;
  Expression* condition = keep(
      state_.arena, new IntegerGuard(left.expression, static_cast<OpType>(op), right.expression));
  return keep(state_.arena, new ConditionalReset(condition, assignment));
}

Expression* ProcessBuilder::joinAssignments(Expression* first, Expression* second) {
  if (!first || !second) // an item replaced by error recovery
    return first ? first : second;
  return keep(state_.arena, new CommaExpression(first, second));
}

bool ProcessBuilder::clockGuard(GuardPair& result, const Expr& clock, int op, const Expr* other,
                                const Expr* bound) {
  if (!requireScalarClock(clock) || (other && !requireScalarClock(*other)) ||
      (bound && (!requireScalar(*bound) || !requireClockBound(*bound))))
    return false;
  if (op == opNotEqual)
    return state_.semanticError("Operator != not supported for clocks.");
  result = {nullptr, constructClockExpr(clock.expression, op, other ? other->expression : nullptr,
                                        bound ? bound->expression : nullptr)};
  return true;
}

TCTLExpression* ProcessBuilder::invariantItem(const Expr& clock, int op, const Expr& bound) {
  if (op != opLess && op != opLessEqual) {
    state_.semanticError("Only < and <= comparisons are allowed in invariants.");
    return nullptr;
  }
  if (!requireScalarClock(clock) || !requireScalar(bound) || !requireClockBound(bound))
    return nullptr;
  return constructClockExpr(clock.expression, op, nullptr, bound.expression);
}

TCTLExpression* ProcessBuilder::joinInvariants(TCTLExpression* left, TCTLExpression* right) {
  return keep(state_.arena, new AndExpr(left, right));
}

TCTLExpression* ProcessBuilder::constructClockExpr(Expression* x, int op, Expression* y,
                                                   Expression* e) {
  Pointer<Expression> other = y ? Pointer<Expression>(y) : Pointer<Expression>(new Constant(0));
  Pointer<Expression> bound = e ? Pointer<Expression>(e) : Pointer<Expression>(new Constant(0));
  switch (op) {
  case opLessEqual:
    return keep(state_.arena, new ClockExpr(x, other, bound, false));
  case opLess:
    return keep(state_.arena, new ClockExpr(x, other, bound, true));
  case opGreaterEqual:
    return keep(state_.arena, new ClockExpr(other, x, uminus(bound), false));
  case opGreater:
    return keep(state_.arena, new ClockExpr(other, x, uminus(bound), true));
  default:
    assert(op == opEqual && "clock constraint with an unsupported operator");
    return keep(state_.arena, new AndExpr(new ClockExpr(other, x, uminus(bound), false),
                                          new ClockExpr(x, other, bound, false)));
  }
}

bool ProcessBuilder::addSystemProcess(const Symbol& process) {
  if (process.type == templateSymbol)
    return state_.semanticError("Template %s needs its arguments.", process.name);
  if (process.type != processSymbol)
    return state_.semanticError("Type mismatch.");
  if (std::find(systemLine_.begin(), systemLine_.end(), &process) != systemLine_.end())
    return state_.semanticError("Process %s is listed twice in the system line.", process.name);
  systemLine_.push_back(&process);
  return true;
}

void ProcessBuilder::finishSystem() {
  if (state_.errorFlag)
    return;
  Pointer<System> built = new System(static_cast<int>(systemLine_.size()));
  for (std::size_t position = 0; position < systemLine_.size(); ++position) {
    const Symbol& symbol = *systemLine_[position];
    const auto process = std::find_if(built_.begin(), built_.end(), [&](const Pointer<Process>& p) {
      return std::strcmp(p->getName(), symbol.name) == 0;
    });
    assert(process != built_.end() && "a declared process was not built");
    (*process)->setPosition(static_cast<int>(position));
    built->setProcess(static_cast<int>(position), *process);
    state_.symbols.setData(processSymbol, symbol.id,
                           static_cast<int>((static_cast<unsigned int>(position) << 16) |
                                            (static_cast<unsigned int>(symbol.data) & 0xffffu)));
  }
  system = built;
}

} // namespace orvela
