#pragma once
// The parser-side value of an expression under construction (`Expr`) and the
// functions that build expression trees from it. Parsers keep raw pointers on
// their value stacks; a `ParseArena` owns everything built while it is
// current, so a value dropped by error recovery is released with the arena,
// and whatever the model takes over lives on through its own references.

#include "expr/EvaluationEvents.h"
#include "expr/Expression.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvela {

class IntegerGuard;
struct ModelTables;
class ParserState;
struct Symbol;
class SymbolTable;

/// Owner of the objects, dimension lists and strings built during one parse,
/// and the model they are built over. Every builder is handed the arena of
/// its parse, so parses in different threads share nothing.
class ParseArena {
public:
  /// An arena for expressions over the variables of `tables` and the names of
  /// `symbols`, which must outlive it. `systemParse` is the parse of a system
  /// description whose operators count their evaluation events, null for a
  /// property (its operators count nothing).
  ParseArena(const ModelTables& tables, const SymbolTable& symbols,
             ParserState* systemParse = nullptr)
      : tables_(&tables), symbols_(&symbols), systemParse_(systemParse) {}

  /// The tables of the model whose expressions are built.
  const ModelTables& tables() const { return *tables_; }
  /// The names the parse resolves.
  const SymbolTable& symbols() const { return *symbols_; }
  /// The system parse the arena belongs to, null for a property.
  ParserState* systemParse() const { return systemParse_; }

  /// Keeps `object` alive until the arena goes; answers it.
  template <class T> T* keep(T* object) {
    objects_.emplace_back(object);
    return object;
  }
  /// A 0-terminated copy of `sizes`, or null when `sizes` is empty.
  const int* dimensions(const std::vector<int>& sizes);
  /// A NUL-terminated copy of `text`.
  const char* string(std::string_view text);
  /// Levels of the tree under `expression` as recorded by the builders of
  /// operators (1 for a tree no builder recorded: a leaf).
  int depth(const Expression* expression) const;
  /// Records the levels of the tree under `expression`.
  void setDepth(const Expression* expression, int depth);

private:
  const ModelTables* tables_;
  const SymbolTable* symbols_;
  ParserState* systemParse_;
  std::unordered_map<const Expression*, int> depths_;
  std::vector<Pointer<Object>> objects_;
  std::deque<std::vector<int>> dimensionLists_;
  std::deque<std::string> strings_;
};

/// Kind of value of an `Expr`.
enum ExprType : int { integerValue = 0, clockValue = 1, channelValue = 2 };

/// An expression under construction. A plain aggregate, so that it can sit in
/// a parser's value union.
struct Expr {
  /// Sizes of the dimensions not yet indexed, outermost first, 0-terminated;
  /// null for a scalar. Owned by the arena.
  const int* dimensions;
  /// The tree built so far; for a clock, channel or assignable array the
  /// index of the first element it denotes. Owned by the arena.
  Expression* expression;
  /// An ExprType.
  int type;
};

/// A scalar integer value holding `expression` (registered in the arena).
void expr_scalar(ParseArena& arena, Expr& value, Expression* expression);
/// A scalar holding the constant `constant`.
void expr_scalar_const(ParseArena& arena, Expr& value, int constant);
/// A scalar reading integer variable `id`, with the variable's domain.
void expr_scalar_variable(ParseArena& arena, Expr& value, int id);
/// A clock reference: the constant clock index `id`.
void expr_clock_variable(ParseArena& arena, Expr& value, int id);
/// A channel reference: the constant channel id `id`.
void expr_channel_variable(ParseArena& arena, Expr& value, int id);

/// Scalars holding the operator applied to two operands' expressions
/// (no folding).
void expr_scalar_plus(ParseArena& arena, Expr& result, Expr& left, Expr& right);
void expr_scalar_difference(ParseArena& arena, Expr& result, Expr& left, Expr& right);
void expr_scalar_product(ParseArena& arena, Expr& result, Expr& left, Expr& right);
void expr_scalar_divide(ParseArena& arena, Expr& result, Expr& left, Expr& right);
void expr_scalar_min(ParseArena& arena, Expr& result, Expr& left, Expr& right);
void expr_scalar_max(ParseArena& arena, Expr& result, Expr& left, Expr& right);
/// -operand (folded when constant).
void expr_scalar_negate(ParseArena& arena, Expr& result, Expr& operand);

/// Deepest expression tree an operator may build. Evaluating and releasing a
/// tree recurse once per level, so a longer operator chain (a + a + ... has
/// one level per operator, without nesting in the parser) is refused instead
/// of overflowing the stack.
inline constexpr int maximalExpressionDepth = 2000;
/// Whether an operator over `left` and `right` stays within
/// `maximalExpressionDepth`; the parsers check it before the binary builders.
bool expr_depth_allows(ParseArena& arena, const Expr& left, const Expr& right);

/// False when `value` is an operator over constant operands whose exact
/// result does not fit in an int: its evaluation would wrap around. The
/// parsers check every operator they build with it, so that no constant is
/// folded wrongly while the model is built; operators over variables keep
/// their wrapping run-time arithmetic.
bool expr_fits(const Expr& value);
/// False when `operand` is a constant whose negation does not fit in an int.
bool expr_negation_fits(const Expr& operand);

/// condition ? then : else, with the then-branch's dimensions.
void expr_if(ParseArena& arena, Expr& result, IntegerGuard* condition, Expr& thenValue,
             Expr& elseValue);

/// A name read as a value: an integer variable, a constant, or an array of
/// integers or constants (`expr_array_variable`). False, leaving `value`
/// unchanged, for any other kind of name.
bool expr_symbol_value(ParseArena& arena, Expr& value, const Symbol& symbol);
/// A clock name as a reference: the clock's index, or for a clock array its
/// dimension list and first element (`expr_dest_array`).
void expr_clock_reference(ParseArena& arena, Expr& value, const Symbol& clock);

/// Reads a whole array (symbol of type array): its dimension list, and a
/// `ConstantArray` over a constant array's values or a `Variable` over an
/// integer array's cells. False, leaving `value` unchanged, for any other
/// element kind.
bool expr_array_variable(ParseArena& arena, Expr& value, const Symbol& array);
/// An array whose elements are assigned, reset or synchronised on: its
/// dimension list and the index of its first element, for integer, clock and
/// channel elements (type 0, 1, 2). False, leaving `value` unchanged, for
/// any other element kind.
bool expr_dest_array(ParseArena& arena, Expr& value, const Symbol& array);

/// Indexes a readable array along its outermost remaining dimension: the
/// index, clamped into the dimension, refines the array's own expression.
/// `array.expression` must be an `Array` with dimensions (asserted).
void expr_array_index(ParseArena& arena, Expr& result, const Expr& array, const Expr& index,
                      int line);
/// Indexes an assignable array: the expression becomes first element +
/// index * stride, the index clamped into the dimension.
void expr_dest_array_index(ParseArena& arena, Expr& result, Expr& array, Expr& index, int line);

/// `expression` unchanged when every value it can take lies in
/// [lower, upper], otherwise a `Range` of `count` values clamping it there,
/// which counts each clamped value as `kind` in a system description.
Expression* expr_range(ParseArena& arena, Expression* expression, int count, int lower, int upper,
                       int line, EvaluationEvent kind = EvaluationEvent::valueClamped);
/// Number of values: the product of the remaining dimensions, 1 for a scalar.
int expr_size(const Expr& value);
/// Diagnostic to standard error: "Type: " and the type; "Array:" and the
/// remaining dimensions when there are any.
void expr_print(const Expr& value);
/// Both scalar, or both arrays with equal remaining dimension lists.
bool compatible(const Expr& left, const Expr& right);

/// Number of remaining dimensions of a value (0 for a scalar).
int expr_dimension_count(const Expr& value);

} // namespace orvela
