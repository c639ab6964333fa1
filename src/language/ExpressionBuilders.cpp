#include "language/ExpressionBuilders.h"

#include "expr/Arrays.h"
#include "expr/BinaryExpressions.h"
#include "expr/Constant.h"
#include "expr/LogicExpressions.h"
#include "expr/Range.h"
#include "language/ErrorReporting.h"
#include "language/ParserState.h"
#include "language/SymbolTable.h"
#include "model/ModelTables.h"

#include <algorithm>
#include <climits>
#include <iostream>

namespace orvela {

ParseArena* ParseArena::current_ = nullptr;

ParseArena& ParseArena::current() {
  assert(current_ && "expression built outside a parse");
  return *current_;
}

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

Expression* keep(Expression* expression) { return ParseArena::current().keep(expression); }

const IntegerInfo& integerRecord(int id) {
  const std::vector<IntegerInfo>& integers = ParseArena::current().tables().integers;
  assert(id >= 0 && static_cast<std::size_t>(id) < integers.size() && "unknown integer variable");
  return integers[static_cast<std::size_t>(id)];
}

/// The levels of a new node over `children`.
int depthOver(std::initializer_list<const Expression*> children) {
  int depth = 0;
  for (const Expression* child : children)
    depth = std::max(depth, ParseArena::current().depth(child));
  return depth + 1;
}

// Operators of a system description count their overflows; those of a
// property (no system parse under way) do not.
Expression* watched(Expression* expression) {
  if (auto* operation = dynamic_cast<BinaryExpression*>(expression); operation && gtaState)
    operation->watch(gtaState->eventSite(line));
  return expression;
}

template <class Operator> void binary(Expr& result, Expr& left, Expr& right) {
  const int depth = depthOver({left.expression, right.expression});
  expr_scalar(result, watched(new Operator(left.expression, right.expression)));
  ParseArena::current().setDepth(result.expression, depth);
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
Expression* clampedIndex(const Expr& array, const Expr& index, int line) {
  assert(array.dimensions && "indexing a scalar");
  return expr_range(index.expression, 1, 0, array.dimensions[0] - 1, line,
                    EvaluationEvent::indexClamped);
}

} // namespace

void expr_scalar(Expr& value, Expression* expression) {
  value.dimensions = nullptr;
  value.expression = keep(expression);
  value.type = integerValue;
}

void expr_scalar_const(Expr& value, int constant) { expr_scalar(value, new Constant(constant)); }

void expr_scalar_variable(Expr& value, int id) {
  const IntegerInfo& record = integerRecord(id);
  expr_scalar(value, new Variable(id, 1, record.lower, record.upper));
}

void expr_clock_variable(Expr& value, int id) {
  expr_scalar_const(value, id);
  value.type = clockValue;
}

void expr_channel_variable(Expr& value, int id) {
  expr_scalar_const(value, id);
  value.type = channelValue;
}

void expr_scalar_plus(Expr& result, Expr& left, Expr& right) { binary<Sum>(result, left, right); }

void expr_scalar_difference(Expr& result, Expr& left, Expr& right) {
  binary<Difference>(result, left, right);
}

void expr_scalar_product(Expr& result, Expr& left, Expr& right) {
  binary<Product>(result, left, right);
}

void expr_scalar_divide(Expr& result, Expr& left, Expr& right) {
  binary<Divide>(result, left, right);
}

void expr_scalar_min(Expr& result, Expr& left, Expr& right) {
  binary<MinExpression>(result, left, right);
}

void expr_scalar_max(Expr& result, Expr& left, Expr& right) {
  binary<MaxExpression>(result, left, right);
}

void expr_scalar_negate(Expr& result, Expr& operand) {
  const int depth = depthOver({operand.expression});
  expr_scalar(result, watched(uminus(operand.expression).get()));
  ParseArena::current().setDepth(result.expression, depth);
}

bool expr_depth_allows(const Expr& left, const Expr& right) {
  return depthOver({left.expression, right.expression}) <= maximalExpressionDepth;
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

void expr_if(Expr& result, IntegerGuard* condition, Expr& thenValue, Expr& elseValue) {
  const int* dimensions = thenValue.dimensions;
  const int depth = depthOver({thenValue.expression, elseValue.expression}) + 1;
  ParseArena::current().keep(condition);
  result.expression = keep(new IfExpression(condition, thenValue.expression, elseValue.expression));
  ParseArena::current().setDepth(result.expression, depth);
  result.dimensions = dimensions;
  result.type = integerValue;
}

bool expr_symbol_value(Expr& value, const Symbol& symbol) {
  switch (symbol.type) {
  case integerSymbol:
    expr_scalar_variable(value, symbol.data);
    return true;
  case constantSymbol:
    expr_scalar_const(value, symbol.data);
    return true;
  case arraySymbol:
    return expr_array_variable(value, symbol);
  default:
    return false;
  }
}

void expr_clock_reference(Expr& value, const Symbol& clock) {
  if (clock.type == arraySymbol)
    expr_dest_array(value, clock);
  else
    expr_clock_variable(value, clock.data);
}

bool expr_array_variable(Expr& value, const Symbol& array) {
  std::vector<int> sizes;
  const Symbol& element = symbols.elementOf(array, &sizes);
  Expression* expression;
  if (element.type == constantSymbol && element.values)
    expression = new ConstantArray(element.values);
  else if (element.type == integerSymbol) {
    const IntegerInfo& record = integerRecord(element.data);
    expression = new Variable(element.data, product(sizes), record.lower, record.upper);
  } else
    return false;
  value.expression = keep(expression);
  value.dimensions = ParseArena::current().dimensions(sizes);
  value.type = integerValue;
  return true;
}

bool expr_dest_array(Expr& value, const Symbol& array) {
  std::vector<int> sizes;
  const Symbol& element = symbols.elementOf(array, &sizes);
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
  value.expression = keep(new Constant(element.data));
  value.dimensions = ParseArena::current().dimensions(sizes);
  value.type = type;
  return true;
}

void expr_array_index(Expr& result, const Expr& array, const Expr& index, int line) {
  auto* indexable = dynamic_cast<Array*>(array.expression);
  assert(indexable && "indexing a value that is not an array");
  const int dimension = array.dimensions[0];
  // The index sits under a range and the array's index arithmetic.
  const int depth = std::max(depthOver({array.expression}), depthOver({index.expression}) + 2);
  indexable->refine(clampedIndex(array, index, line), dimension);
  result.expression = array.expression;
  ParseArena::current().setDepth(result.expression, depth);
  result.dimensions = innerDimensions(array.dimensions);
  result.type = array.type;
}

void expr_dest_array_index(Expr& result, Expr& array, Expr& index, int line) {
  const int* inner = innerDimensions(array.dimensions);
  int stride = 1;
  for (const int* size = inner; size && *size; ++size)
    stride *= *size;
  const int depth = std::max(depthOver({array.expression}), depthOver({index.expression}) + 2);
  Expression* offset = keep(new Product(clampedIndex(array, index, line), new Constant(stride)));
  result.expression = keep(new Sum(array.expression, offset));
  ParseArena::current().setDepth(result.expression, depth);
  result.dimensions = inner;
  result.type = array.type;
}

Expression* expr_range(Expression* expression, int count, int lower, int upper, int line,
                       EvaluationEvent kind) {
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
  keep(range);
  if (gtaState)
    range->watch(gtaState->eventSite(line), kind);
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
