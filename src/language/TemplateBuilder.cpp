#include "language/TemplateBuilder.h"

#include "language/ParserState.h"
#include "language/Scanner.h"
#include "language/gta_parser.h"
#include "model/SymbolTable.h"
#include "symbolic/IntegerInfo.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace orvela {

namespace {

int valueType(int kind) {
  switch (kind) {
  case clockSymbol:
    return clockValue;
  case channelSymbol:
    return channelValue;
  default:
    return integerValue;
  }
}

std::vector<int> dimensionsOf(const Expr& value) {
  std::vector<int> sizes;
  for (const int* size = value.dimensions; size && *size; ++size)
    sizes.push_back(*size);
  return sizes;
}

std::string withoutBlanks(const std::string& text) {
  std::string result;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c)))
      result += c;
  return result;
}

} // namespace

bool TemplateBuilder::beginTemplate(const char* name) {
  templates_.push_back({name, {}, {}, 0, false});
  const int index = static_cast<int>(templates_.size()) - 1;
  if (!state_.symbols.addSymbol(name, templateSymbol, index))
    return state_.semanticError("Redefined symbol %s", Symbol(name, 0, 0).name);
  return true;
}

bool TemplateBuilder::addParameter(int kind, const char* name) {
  std::vector<Parameter>& parameters = templates_.back().parameters;
  const Symbol cut(name, 0, 0); // names are significant up to 63 characters
  parameters.push_back({kind, cut.name, {}});
  if (std::any_of(parameters.begin(), parameters.end() - 1,
                  [&](const Parameter& other) { return other.name == cut.name; }))
    return state_.semanticError("Redefined symbol %s", cut.name);
  return true;
}

bool TemplateBuilder::setParameterDomain(int lower, int upper) {
  Parameter& parameter = templates_.back().parameters.back();
  parameter.domain = true;
  parameter.lower = lower;
  parameter.upper = upper;
  if (lower > upper)
    return state_.semanticError("Empty variable domain.");
  return true;
}

bool TemplateBuilder::addParameterDimension(int size) {
  if (size < 1)
    return state_.semanticError("Array size out of range.");
  templates_.back().parameters.back().dimensions.push_back(size);
  return true;
}

void TemplateBuilder::finishTemplate() {
  templates_.back().body = std::move(state_.capture.text);
  templates_.back().line = state_.capture.line;
}

TemplateBuilder::Template* TemplateBuilder::findTemplate(const char* name) {
  const Symbol& symbol = state_.symbols.findSymbol(name);
  if (!symbol.found()) {
    state_.semanticError("Unknown template %s", Symbol(name, 0, 0).name);
    return nullptr;
  }
  if (symbol.type != templateSymbol) {
    state_.semanticError("%s is not a template", symbol.name);
    return nullptr;
  }
  return &templates_[static_cast<std::size_t>(symbol.data)];
}

// Commas inside parentheses or brackets belong to an argument; a comment
// runs to the end of its line.
std::vector<TemplateBuilder::ArgumentText> TemplateBuilder::splitArguments() const {
  const std::string& text = state_.capture.text;
  std::vector<ArgumentText> arguments;
  int line = state_.capture.line;
  int depth = 0;
  ArgumentText current{"", line};
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '/' && at + 1 < text.size() && text[at + 1] == '/') {
      at = std::min(text.find('\n', at), text.size()) - 1;
      continue;
    }
    if (c == ',' && depth == 0) {
      arguments.push_back(std::exchange(current, {"", line}));
      continue;
    }
    line += c == '\n';
    depth += (c == '(' || c == '[') - (c == ')' || c == ']');
    current.text += c;
  }
  if (!arguments.empty() || !withoutBlanks(current.text).empty())
    arguments.push_back(current);
  return arguments;
}

std::string TemplateBuilder::expected(const Parameter& parameter) const {
  if (parameter.kind == constantSymbol)
    return "a constant";
  const char* kind = parameter.kind == clockSymbol     ? "clock"
                     : parameter.kind == channelSymbol ? "channel"
                                                       : "integer variable";
  std::string text;
  if (parameter.dimensions.empty())
    text = parameter.kind == integerSymbol ? "an " : "a ";
  text += kind;
  if (!parameter.dimensions.empty())
    text += " array";
  for (int size : parameter.dimensions)
    text.append("[").append(std::to_string(size)).append("]");
  if (parameter.domain)
    text.append(" with domain [")
        .append(std::to_string(parameter.lower))
        .append(",")
        .append(std::to_string(parameter.upper))
        .append("]");
  return text;
}

bool TemplateBuilder::bindArguments(const Template& process, const std::vector<ArgumentText>& texts,
                                    std::vector<Binding>& bindings) {
  const std::size_t count = process.parameters.size();
  if (texts.size() != count)
    return state_.semanticError("Template %s takes %zu argument%s, %zu given", process.name.c_str(),
                                count, count == 1 ? "" : "s", texts.size());
  bindings.assign(count, {});
  bool bound = true;
  for (std::size_t index = 0; index < count; ++index)
    bound = bindArgument(process, index, texts[index], bindings[index]) && bound;
  return bound;
}

// Each argument is read on its own, as an expression for a constant and as
// a reference otherwise, with the parse's own grammar and names.
bool TemplateBuilder::bindArgument(const Template& process, std::size_t index,
                                   const ArgumentText& text, Binding& binding) {
  const Parameter& parameter = process.parameters[index];
  calling_ = &process;
  argumentIndex_ = index;
  argument_ = {};
  const bool earlierErrors = std::exchange(state_.errorFlag, false);
  const int start = parameter.kind == constantSymbol ? CONSTANT_ARGUMENT : REFERENCE_ARGUMENT;
  const bool parsed = parseNested(state_, start, text.text, text.line) == 0 && !state_.errorFlag;
  state_.errorFlag = earlierErrors || !parsed;
  if (!parsed)
    return false;
  const int outerLine = std::exchange(state_.line, text.line);
  bool bound;
  if (parameter.kind == constantSymbol) {
    bound = !argument_.dimensions && argument_.expression->isConstant();
    if (bound)
      binding.value = argument_.expression->evaluateScalar(nullptr);
    else
      state_.semanticError("Argument %zu of %s: %s expected", index + 1, process.name.c_str(),
                           expected(parameter).c_str());
  } else {
    bound = checkReference(process, index, argument_);
    binding.reference = argument_;
  }
  state_.line = outerLine;
  return bound;
}

bool TemplateBuilder::checkReference(const Template& process, std::size_t index,
                                     const Expr& value) {
  const Parameter& parameter = process.parameters[index];
  bool matches =
      value.type == valueType(parameter.kind) && dimensionsOf(value) == parameter.dimensions;
  if (matches && !value.expression->isConstant())
    return state_.semanticError("Argument %zu of %s: constant index expected", index + 1,
                                process.name.c_str());
  if (matches && parameter.domain) {
    const IntegerInfo& integer =
        state_.tables.integers[static_cast<std::size_t>(value.expression->evaluateScalar(nullptr))];
    matches = integer.lower == parameter.lower && integer.upper == parameter.upper;
  }
  if (!matches)
    return state_.semanticError("Argument %zu of %s: %s expected", index + 1, process.name.c_str(),
                                expected(parameter).c_str());
  return true;
}

bool TemplateBuilder::referenceSymbol(Expr& value, const Symbol& symbol) {
  switch (symbol.type) {
  case integerSymbol:
    expr_scalar_const(state_.arena, value, symbol.data);
    return true;
  case clockSymbol:
    expr_clock_variable(state_.arena, value, symbol.data);
    return true;
  case channelSymbol:
    expr_channel_variable(state_.arena, value, symbol.data);
    return true;
  case arraySymbol:
    if (expr_dest_array(state_.arena, value, symbol))
      return true;
    break;
  default:
    break;
  }
  return state_.semanticError("Argument %zu of %s: %s expected", argumentIndex_ + 1,
                              calling_->name.c_str(),
                              expected(calling_->parameters[argumentIndex_]).c_str());
}

// A reference parameter names the argument's objects: an array parameter
// gets the chain of entries an array declaration makes (p, p[], ...), its
// element entry holding the argument's first element.
void TemplateBuilder::bindParameters(const Template& process,
                                     const std::vector<Binding>& bindings) {
  SymbolTable& symbols = state_.symbols;
  for (std::size_t index = 0; index < bindings.size(); ++index) {
    const Parameter& parameter = process.parameters[index];
    const Binding& binding = bindings[index];
    if (parameter.kind == constantSymbol) {
      symbols.addSymbol(parameter.name.c_str(), constantSymbol, binding.value);
      continue;
    }
    std::string entry = parameter.name;
    for (int size : dimensionsOf(binding.reference)) {
      symbols.addSymbol(entry.c_str(), arraySymbol, size);
      entry += "[]";
    }
    symbols.addSymbol(entry.c_str(), parameter.kind,
                      binding.reference.expression->evaluateScalar(nullptr));
  }
}

// An instance whose template or arguments are wrong is still declared (as a
// process without body), so that the names after it do not fail as well.
bool TemplateBuilder::instantiate(const std::string& instance, Template* process,
                                  const std::vector<Binding>& bindings, bool bound) {
  if (!state_.process.openProcess(instance.c_str()))
    return false;
  if (process && bound && !process->failed) {
    bindParameters(*process, bindings);
    const bool earlierErrors = std::exchange(state_.errorFlag, false);
    process->failed =
        parseNested(state_, BODY_START, process->body, process->line) != 0 || state_.errorFlag;
    state_.errorFlag = earlierErrors || process->failed;
  }
  return state_.process.closeProcess() && process && bound;
}

bool TemplateBuilder::declareInstance(const char* instance, const char* templateName) {
  if (!state_.processName.empty())
    return state_.semanticError("Instances are declared outside process blocks.");
  Template* process = findTemplate(templateName);
  std::vector<Binding> bindings;
  const bool bound = process && bindArguments(*process, splitArguments(), bindings);
  return instantiate(instance, process, bindings, bound);
}

bool TemplateBuilder::systemInstance(const char* templateName) {
  Template* process = findTemplate(templateName);
  const std::vector<ArgumentText> texts = splitArguments();
  std::vector<Binding> bindings;
  if (!process || !bindArguments(*process, texts, bindings))
    return false;
  std::string name = process->name + "(";
  for (std::size_t index = 0; index < texts.size(); ++index) {
    if (index > 0)
      name += ",";
    name += process->parameters[index].kind == constantSymbol
                ? std::to_string(bindings[index].value)
                : withoutBlanks(texts[index].text);
  }
  name += ")";
  // The same instance twice is the same process listed twice.
  if (!state_.symbols.findGlobalSymbol(name.c_str()).found() &&
      !instantiate(name, process, bindings, true))
    return false;
  return state_.process.addSystemProcess(state_.symbols.findGlobalSymbol(name.c_str()));
}

} // namespace orvela
