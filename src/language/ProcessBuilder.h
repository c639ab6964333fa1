#pragma once
// The actions of the grammar rules for process blocks, edges and the system
// line: they build locations, edges, processes and finally the system.

#include "expr/OpType.h"
#include "language/ExpressionBuilders.h"
#include "model/Process.h"
#include "model/System.h"

#include <string>
#include <vector>

namespace orvela {

class ParserState;
class TCTLExpression;
struct Symbol;

/// The value of a guard under construction: an integer part and a clock
/// part, each null when absent. Owned by the parse arena.
struct GuardPair {
  Expression* integer;
  TCTLExpression* clock;
};

/// Builder of the processes of one description. Every operation that
/// answers false has reported a semantic error through the parser state.
class ProcessBuilder {
public:
  explicit ProcessBuilder(ParserState& state) : state_(state) {}

  // Process blocks.

  /// "process" name "{": adds the process symbol and opens its frame.
  bool openProcess(const char* name);
  /// "state": the locations follow.
  void markLocations();
  /// A location's name: adds the location symbol with the next index.
  bool addLocation(const char* name);
  /// The end of a location: records its invariant (null for none) and the
  /// invariant's text.
  void finishLocation(TCTLExpression* invariant);
  /// A location replaced by error recovery.
  void erroneousLocation();
  /// One invariant item x op e: only < and <= are allowed.
  TCTLExpression* invariantItem(const Expr& clock, int op, const Expr& bound);
  /// Invariant items joined left to right.
  TCTLExpression* joinInvariants(TCTLExpression* left, TCTLExpression* right);
  /// A name of the "commit" or "urgent" list.
  bool addCommitted(const Symbol& location);
  bool addUrgent(const Symbol& location);
  /// "init" symbol.
  bool setInitial(const Symbol& location);
  /// "}" of the block: creates the process from what was read.
  bool closeProcess();

  // Edges.

  /// source "->" target "{": `source` is null when omitted.
  bool beginEdge(const Symbol* source, const Symbol& target);
  /// After the guard: creates the edge with the guard and its text.
  void afterGuard(GuardPair guard);
  /// "sync" c "!" or c "?".
  bool setSync(const Expr& channel, bool send);
  /// An edge without "sync".
  void noSync();
  /// After the synchronisation: clock guards are not allowed on urgent
  /// synchronisations; the synchronisation and its text are stored.
  bool afterSync();
  /// "}" of the edge: the updates and their text; the edge joins the list.
  void finishEdge(Expression* assignments);
  /// An edge replaced by error recovery.
  void erroneousEdge();

  // Guards, references and updates.

  /// clock op bound, or clock - other op bound (`other` null for the first
  /// form, `bound` null for "clock op other"). Every value the bound can
  /// take must lie within +-`maximalClockConstant`.
  bool clockGuard(GuardPair& result, const Expr& clock, int op, const Expr* other,
                  const Expr* bound);
  /// a op e over integers.
  bool integerGuard(GuardPair& result, const Expr& left, int op, const Expr& right);
  /// Both parts combined, left to right.
  GuardPair combineGuards(GuardPair left, GuardPair right);

  /// A clock name (scalar or array) as a reference.
  void clockReference(Expr& value, const Symbol& clock);
  /// A channel name (scalar or array).
  bool channelReference(Expr& value, const Symbol& channel);
  /// An integer variable name (scalar or array).
  bool integerReference(Expr& value, const Symbol& variable);
  /// reference "[" index "]" of an assignable reference.
  bool indexReference(Expr& result, Expr& reference, Expr& index);
  /// The clock constraint x - y op e (an absent y is the reference clock).
  TCTLExpression* constructClockExpr(Expression* x, int op, Expression* y, Expression* e);

  /// x := c, c in [0, `maximalClockConstant`].
  Expression* clockAssign(const Expr& clock, int value);
  /// x := y.
  Expression* clockCopy(const Expr& clock, const Expr& source);
  /// x := y + offset: a shift when x and y are the same clock, otherwise a
  /// copy of y into x followed by the shift of x. The offset lies within
  /// +-`maximalClockConstant`, like that of x += offset.
  Expression* clockCopyShift(const Expr& clock, const Expr& source, int offset);
  /// x += offset.
  Expression* clockShift(const Expr& clock, int offset);
  /// v := e over integers.
  Expression* integerAssign(const Expr& variable, const Expr& value);
  /// "(" a op b "?" assignment ")".
  Expression* conditionalAssign(const Expr& left, int op, const Expr& right,
                                Expression* assignment);
  /// Updates joined in order.
  Expression* joinAssignments(Expression* first, Expression* second);

  // The system line.

  /// One name of the system line.
  bool addSystemProcess(const Symbol& process);
  /// The end of the description: the system, unless an error was reported.
  void finishSystem();

  /// The system built by `finishSystem`, null until then or after errors.
  Pointer<System> system;

private:
  struct LocationEntry {
    std::string name;
    TCTLExpression* invariant;
    std::string invariantText;
  };

  bool isOwnLocation(const Symbol& symbol) const;
  bool requireScalarClock(const Expr& value);
  bool requireScalar(const Expr& value);
  bool requireClockConstant(const Interval& values);
  bool requireClockBound(const Expr& bound);

  ParserState& state_;
  int processId_ = -1;
  std::string processSymbolName_;
  int firstLocationId_ = -1;
  std::vector<LocationEntry> locations_;
  std::vector<int> committed_;
  std::vector<int> urgent_;
  int initial_ = -1;
  std::vector<Pointer<Transition>> edges_;
  Pointer<Transition> edge_;
  int lastSource_ = -1;
  GuardPair guard_{nullptr, nullptr};
  Expression* sync_ = nullptr;
  std::vector<Pointer<Process>> built_;
  std::vector<const Symbol*> systemLine_;
};

} // namespace orvela
