#include "language/Declarations.h"

#include "language/ExpressionBuilders.h"
#include "language/ParserState.h"
#include "model/ChannelInfo.h"
#include "model/SymbolTable.h"
#include "symbolic/ClockInfo.h"
#include "symbolic/IntegerInfo.h"

#include <algorithm>
#include <memory>

namespace orvela {

void Declarations::setType(int symbolType, int low, int high, int flags) {
  type = symbolType;
  lower = low;
  upper = high;
  channelFlags = flags;
}

bool Declarations::setIntegerDomain(int low, int high) {
  setType(integerSymbol, low, high, 0);
  if (low > high)
    return state_.semanticError("Empty variable domain.");
  return true;
}

void Declarations::beginDeclarator(const char* declared) {
  name = declared;
  dimensions.clear();
}

bool Declarations::addDimension(int size) {
  // Sizes come from the text; a size below 1 or a huge product would make
  // the value array meaningless or exhaust memory.
  if (size < 1 || size > maximalArraySize / elementCount())
    return state_.semanticError("Array size out of range.");
  if (!state_.symbols.addSymbol(name.c_str(), arraySymbol, size))
    return state_.semanticError("Redefined symbol %s", Symbol(name.c_str(), 0, 0).name);
  name += "[]";
  dimensions.push_back(size);
  return true;
}

int Declarations::elementCount() const {
  int count = 1;
  for (int size : dimensions)
    count *= size;
  return count;
}

void Declarations::allocateValues() {
  initial.assign(static_cast<std::size_t>(elementCount()), 0);
  filled = 0;
  braces.clear();
}

bool Declarations::withoutInitialiser() {
  if (type == constantSymbol)
    return state_.semanticError("Initializer expected");
  const int value = lower <= 0 && 0 <= upper ? 0 : lower;
  std::fill(initial.begin(), initial.end(), value);
  return true;
}

bool Declarations::beginInitialiser() {
  if (type == channelSymbol)
    return state_.semanticError("';' expected");
  return true;
}

bool Declarations::initialiserValue(const Expr& value) {
  if (!value.expression->isConstant())
    return state_.semanticError("Constant expression expected");
  const std::size_t depth = braces.size();
  if (!value.dimensions) {
    if (depth != dimensions.size())
      return state_.semanticError("Type mismatch");
  } else {
    const int count = expr_dimension_count(value);
    if (static_cast<std::size_t>(count) + depth != dimensions.size() ||
        !std::equal(value.dimensions, value.dimensions + count, dimensions.begin() + depth))
      return state_.semanticError("Type mismatch");
  }
  std::vector<int> values(static_cast<std::size_t>(expr_size(value)));
  value.expression->evaluate(nullptr, values.data());
  for (int v : values) {
    if (filled < static_cast<int>(initial.size()))
      initial[static_cast<std::size_t>(filled)] = v;
    ++filled;
  }
  return true;
}

bool Declarations::openBrace() {
  if (braces.size() == dimensions.size())
    return state_.semanticError("Type mismatch");
  braces.push_back(0);
  return true;
}

void Declarations::countElement() {
  assert(!braces.empty() && "element outside braces");
  ++braces.back();
}

bool Declarations::closeBrace() {
  assert(!braces.empty() && "unbalanced brace");
  if (braces.back() != dimensions[braces.size() - 1])
    return state_.semanticError("Type mismatch");
  braces.pop_back();
  return true;
}

bool Declarations::inDomain() const {
  return std::all_of(initial.begin(), initial.end(),
                     [this](int v) { return lower <= v && v <= upper; });
}

bool Declarations::finishInitialiser() {
  // A braced list that stopped short has been reported at its closing brace;
  // a value written without braces always fills the declarator completely.
  if (!inDomain())
    return state_.semanticError("Initial value out of range");
  state_.text.clearText();
  return true;
}

bool Declarations::bareInitialiser(const Expr& value) {
  if (type != constantSymbol || !dimensions.empty())
    return state_.semanticError("':=' expected");
  initial[0] = value.expression->evaluateScalar(nullptr);
  if (!inDomain())
    return state_.semanticError("Initial value out of range");
  return true;
}

bool Declarations::finishDeclarator() {
  if (type == clockSymbol && state_.tables.clockCount() + elementCount() > maximalClockCount)
    return state_.semanticError("Too many clocks: a system has at most %d, t(0) included.",
                                maximalClockCount);
  if (!state_.symbols.addSymbol(name.c_str(), type, 0))
    return state_.semanticError("Redefined symbol %s", Symbol(name.c_str(), 0, 0).name);
  const Symbol& added = state_.symbols.findSymbolInFrame(
      name.c_str(), static_cast<int>(state_.symbols.currentFrame()));
  state_.symbols.setData(type, added.id, createVariable(added.id));
  return true;
}

std::string Declarations::addArrayIndex(const std::string& declared, int element) const {
  std::string result = declared.substr(0, declared.find('['));
  std::vector<int> indices(dimensions.size());
  for (std::size_t k = dimensions.size(); k-- > 0;) {
    indices[k] = element % dimensions[k];
    element /= dimensions[k];
  }
  for (int index : indices) {
    result += '[';
    result += std::to_string(index);
    result += ']';
  }
  return result;
}

int Declarations::createVariable(int id) {
  const int count = elementCount();
  if (type == constantSymbol) {
    if (dimensions.empty())
      return initial[0];
    state_.symbols.setValues(type, id, std::make_shared<const std::vector<int>>(initial));
    return 0;
  }
  const std::string prefix = state_.processName.empty() ? "" : state_.processName + ".";
  int first = -1;
  for (int element = 0; element < count; ++element) {
    const std::string elementName = prefix + addArrayIndex(name, element);
    int created;
    switch (type) {
    case channelSymbol:
      created = state_.tables.addChannel((channelFlags & urgentChannelFlag) != 0,
                                         (channelFlags & broadcastChannelFlag) != 0, elementName);
      break;
    case clockSymbol:
      created = state_.tables.addClock(elementName);
      break;
    default:
      assert(type == integerSymbol && "declaration of an unknown kind");
      created = state_.tables.addInteger(elementName, lower, upper,
                                         initial[static_cast<std::size_t>(element)]);
      break;
    }
    if (element == 0)
      first = created;
  }
  return first;
}

} // namespace orvela
