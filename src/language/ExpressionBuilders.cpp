#include "language/ExpressionBuilders.h"

#include "expr/Arrays.h"
#include "expr/BinaryExpressions.h"
#include "expr/Constant.h"
#include "expr/LogicExpressions.h"
#include "expr/Range.h"
#include "language/ParserState.h"
#include "model/ModelTables.h"
#include "model/SymbolTable.h"

#include <algorithm>
#include <climits>
#include <iostream>

namespace orvela {

const int* ParseArena::dimensions(const std::vector<int>& sizes) {
  if (sizes.empty())
    return nullptr;
  std::vector<int>& list = dimensionLists_.emplace_back(sizes);
  list.push_back(0);
  return list.data();
}

const char* ParseArena::string(std::string_view text) {
  return strings_.emplace_back(text).c_str();
}

int ParseArena::depth(const Expression* expression) const {
  const auto found = depths_.find(expression);
  return found == depths_.end() ? 1 : found->second;
}

void ParseArena::setDepth(const Expression* expression, int depth) { depths_[expression] = depth; }

namespace {

Expression* keep(ParseArena& arena, Expression* expression) { return arena.keep(expression); }

const IntegerInfo& integerRecord(const ParseArena& arena, int id) {
  const std::vector<IntegerInfo>& integers = arena.tables().integers;
  assert(id >= 0 && static_cast<std::size_t>(id) < integers.size() && "unknown integer variable");
  return integers[static_cast<std::size_t>(id)];
}

/// The levels of a new node over `children`.
int depthOver(const ParseArena& arena, std::initializer_list<const Expression*> children) {
  int depth = 0;
  for (const Expression* child : children)
    depth = std::max(depth, arena.depth(child));
  return depth + 1;
}

// Operators of a system description count their overflows; those of a
// property (no system parse under way) do not.
Expression* watched(const ParseArena& arena, Expression* expression) {
  if (auto* operation = dynamic_cast<BinaryExpression*>(expression);
      operation && arena.systemParse())
    operation->watch(arena.systemParse()->eventSite(arena.systemParse()->line));
  return expression;
}

template <class Operator> void binary(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  const int depth = depthOver(arena, {left.expression, right.expression});
  expr_scalar(arena, result, watched(arena, new Operator(left.expression, right.expression)));
  arena.setDepth(result.expression, depth);
}

int product(const std::vector<int>& sizes) {
  int size = 1;
  for (int dimension : sizes)
    size *= dimension;
  return size;
}

// The remaining dimensions after the outermost one, as a value's list.
const int* innerDimensions(const int* dimensions) {
  return dimensions[1] == 0 ? nullptr : dimensions + 1;
}

// The range-checked index of the outermost dimension.
Expression* clampedIndex(ParseArena& arena, const Expr& array, const Expr& index, int line) {
  assert(array.dimensions && "indexing a scalar");
  return expr_range(arena, index.expression, 1, 0, array.dimensions[0] - 1, line,
                    EvaluationEvent::indexClamped);
}

} // namespace

void expr_scalar(ParseArena& arena, Expr& value, Expression* expression) {
  value.dimensions = nullptr;
  value.expression = keep(arena, expression);
  value.type = integerValue;
}

void expr_scalar_const(ParseArena& arena, Expr& value, int constant) {
  expr_scalar(arena, value, new Constant(constant));
}

void expr_scalar_variable(ParseArena& arena, Expr& value, int id) {
  const IntegerInfo& record = integerRecord(arena, id);
  expr_scalar(arena, value, new Variable(id, 1, record.lower, record.upper));
}

void expr_clock_variable(ParseArena& arena, Expr& value, int id) {
  expr_scalar_const(arena, value, id);
  value.type = clockValue;
}

void expr_channel_variable(ParseArena& arena, Expr& value, int id) {
  expr_scalar_const(arena, value, id);
  value.type = channelValue;
}

void expr_scalar_plus(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<Sum>(arena, result, left, right);
}

void expr_scalar_difference(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<Difference>(arena, result, left, right);
}

void expr_scalar_product(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<Product>(arena, result, left, right);
}

void expr_scalar_divide(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<Divide>(arena, result, left, right);
}

void expr_scalar_min(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<MinExpression>(arena, result, left, right);
}

void expr_scalar_max(ParseArena& arena, Expr& result, Expr& left, Expr& right) {
  binary<MaxExpression>(arena, result, left, right);
}

void expr_scalar_negate(ParseArena& arena, Expr& result, Expr& operand) {
  const int depth = depthOver(arena, {operand.expression});
  expr_scalar(arena, result, watched(arena, uminus(operand.expression).get()));
  arena.setDepth(result.expression, depth);
}

bool expr_depth_allows(ParseArena& arena, const Expr& left, const Expr& right) {
  return depthOver(arena, {left.expression, right.expression}) <= maximalExpressionDepth;
}

bool expr_fits(const Expr& value) {
  const auto* operation = dynamic_cast<const BinaryExpression*>(value.expression);
  if (!operation || !operation->isConstant())
    return true;
  // The exact range of the operator over the two values is one value, or
  // every value when the result leaves the int range.
  const int left = operation->getLeft()->evaluateScalar(nullptr);
  const int right = operation->getRight()->evaluateScalar(nullptr);
  const Interval result = operation->getInnerRange({left, left}, {right, right});
  return result.first == result.second;
}

bool expr_negation_fits(const Expr& operand) {
  return !operand.expression->isConstant() ||
         operand.expression->evaluateScalar(nullptr) != INT_MIN;
}

void expr_if(ParseArena& arena, Expr& result, IntegerGuard* condition, Expr& thenValue,
             Expr& elseValue) {
  const int* dimensions = thenValue.dimensions;
  const int depth = depthOver(arena, {thenValue.expression, elseValue.expression}) + 1;
  arena.keep(condition);
  result.expression =
      keep(arena, new IfExpression(condition, thenValue.expression, elseValue.expression));
  arena.setDepth(result.expression, depth);
  result.dimensions = dimensions;
  result.type = integerValue;
}

bool expr_symbol_value(ParseArena& arena, Expr& value, const Symbol& symbol) {
  switch (symbol.type) {
  case integerSymbol:
    expr_scalar_variable(arena, value, symbol.data);
    return true;
  case constantSymbol:
    expr_scalar_const(arena, value, symbol.data);
    return true;
  case arraySymbol:
    return expr_array_variable(arena, value, symbol);
  default:
    return false;
  }
}

void expr_clock_reference(ParseArena& arena, Expr& value, const Symbol& clock) {
  if (clock.type == arraySymbol)
    expr_dest_array(arena, value, clock);
  else
    expr_clock_variable(arena, value, clock.data);
}

bool expr_array_variable(ParseArena& arena, Expr& value, const Symbol& array) {
  std::vector<int> sizes;
  const Symbol& element = arena.symbols().elementOf(array, &sizes);
  Expression* expression;
  if (element.type == constantSymbol && element.values)
    expression = new ConstantArray(element.values);
  else if (element.type == integerSymbol) {
    const IntegerInfo& record = integerRecord(arena, element.data);
    expression = new Variable(element.data, product(sizes), record.lower, record.upper);
  } else
    return false;
  value.expression = keep(arena, expression);
  value.dimensions = arena.dimensions(sizes);
  value.type = integerValue;
  return true;
}

bool expr_dest_array(ParseArena& arena, Expr& value, const Symbol& array) {
  std::vector<int> sizes;
  const Symbol& element = arena.symbols().elementOf(array, &sizes);
  int type;
  switch (element.type) {
  case integerSymbol:
    type = integerValue;
    break;
  case clockSymbol:
    type = clockValue;
    break;
  case channelSymbol:
    type = channelValue;
    break;
  default:
    return false;
  }
  value.expression = keep(arena, new Constant(element.data));
  value.dimensions = arena.dimensions(sizes);
  value.type = type;
  return true;
}

void expr_array_index(ParseArena& arena, Expr& result, const Expr& array, const Expr& index,
                      int line) {
  auto* indexable = dynamic_cast<Array*>(array.expression);
  assert(indexable && "indexing a value that is not an array");
  const int dimension = array.dimensions[0];
  // The index sits under a range and the array's index arithmetic.
  const int depth =
      std::max(depthOver(arena, {array.expression}), depthOver(arena, {index.expression}) + 2);
  indexable->refine(clampedIndex(arena, array, index, line), dimension);
  result.expression = array.expression;
  arena.setDepth(result.expression, depth);
  result.dimensions = innerDimensions(array.dimensions);
  result.type = array.type;
}

void expr_dest_array_index(ParseArena& arena, Expr& result, Expr& array, Expr& index, int line) {
  const int* inner = innerDimensions(array.dimensions);
  int stride = 1;
  for (const int* size = inner; size && *size; ++size)
    stride *= *size;
  const int depth =
      std::max(depthOver(arena, {array.expression}), depthOver(arena, {index.expression}) + 2);
  Expression* offset =
      keep(arena, new Product(clampedIndex(arena, array, index, line), new Constant(stride)));
  result.expression = keep(arena, new Sum(array.expression, offset));
  arena.setDepth(result.expression, depth);
  result.dimensions = inner;
  result.type = array.type;
}

Expression* expr_range(ParseArena& arena, Expression* expression, int count, int lower, int upper,
                       int line, EvaluationEvent kind) {
  Interval values;
  if (expression->isConstant()) {
    std::vector<int> constant(static_cast<std::size_t>(expression->getSize()));
    expression->evaluate(nullptr, constant.data());
    const auto [lowest, highest] = std::minmax_element(constant.begin(), constant.end());
    values = {*lowest, *highest};
  } else
    values = expression->getRange();
  if (lower <= values.first && values.second <= upper)
    return expression;
  auto* range = new Range(expression, count, lower, upper, line);
  keep(arena, range);
  if (ParserState* parse = arena.systemParse())
    range->watch(parse->eventSite(line), kind);
  return range;
}

int expr_size(const Expr& value) {
  int size = 1;
  for (const int* dimension = value.dimensions; dimension && *dimension; ++dimension)
    size *= *dimension;
  return size;
}

int expr_dimension_count(const Expr& value) {
  int count = 0;
  for (const int* dimension = value.dimensions; dimension && *dimension; ++dimension)
    ++count;
  return count;
}

void expr_print(const Expr& value) {
  std::cerr << "Type: " << value.type << '\n';
  if (value.dimensions) {
    std::cerr << "Array:";
    for (const int* dimension = value.dimensions; *dimension; ++dimension)
      std::cerr << ' ' << *dimension;
    std::cerr << '\n';
  }
}

bool compatible(const Expr& left, const Expr& right) {
  const int count = expr_dimension_count(left);
  if (count != expr_dimension_count(right))
    return false;
  return std::equal(left.dimensions, left.dimensions + count, right.dimensions);
}

} // namespace orvela
