#include "engine/CompoundFilter.h"

#include "server/base/Exceptions.h"

namespace orvela {

void CompoundFilter::reset() {
  final_ = nullptr;
  kept_.clear();
}

void CompoundFilter::setSink(Sink* next) {
  if (final_)
    final_->setSink(next);
}

namespace {

[[noreturn]] void invalidFormat() { throw Bug("Invalid format"); }

/// Reads the arguments of one `pipe` call in order.
class ArgumentReader {
public:
  explicit ArgumentReader(std::span<const PipeArgument> arguments) : arguments_(arguments) {}

  Filter* filter() {
    const PipeArgument& argument = next();
    if (argument.kind() != PipeArgument::Kind::filter &&
        argument.kind() != PipeArgument::Kind::null)
      invalidFormat();
    return argument.filter();
  }
  Sink* sink() {
    const PipeArgument& argument = next();
    if (argument.kind() == PipeArgument::Kind::flag)
      invalidFormat();
    return argument.sink();
  }
  int flag() {
    const PipeArgument& argument = next();
    if (argument.kind() != PipeArgument::Kind::flag)
      invalidFormat();
    return argument.flag();
  }
  bool exhausted() const { return next_ == arguments_.size(); }

private:
  const PipeArgument& next() {
    if (exhausted())
      invalidFormat();
    return arguments_[next_++];
  }

  std::span<const PipeArgument> arguments_;
  std::size_t next_ = 0;
};

bool opensElement(char c) { return c == 'f' || c == 's' || c == '('; }

/// Skips the element at `at` (after a zero flag), taking its arguments;
/// answers the position of its last character.
const char* skipElement(const char* at, ArgumentReader& reader) {
  switch (*at) {
  case 'f':
    reader.filter();
    return at;
  case 's':
    reader.sink();
    return at;
  default: // '(', checked by the caller
    break;
  }
  int depth = 0;
  for (;; ++at) {
    switch (*at) {
    case '(':
      ++depth;
      break;
    case ')':
      if (--depth == 0)
        return at;
      break;
    case 'f':
      reader.filter();
      break;
    case 's':
      reader.sink();
      break;
    case 'b':
      reader.flag();
      break;
    case ',':
      break;
    default: // the end of the format inside the group, or a stray character
      invalidFormat();
    }
  }
}

void attach(Filter* branchTop, Sink* next) {
  if (!branchTop)
    invalidFormat();
  branchTop->setSink(next);
}

} // namespace

Sink* CompoundFilter::wire(const char* format, std::span<const PipeArgument> arguments) {
  ArgumentReader reader(arguments);
  std::vector<Filter*> branches;
  Sink* result = nullptr;
  for (const char* at = format; *at; ++at) {
    switch (*at) {
    case 'f': {
      Filter* filter = reader.filter();
      if (branches.empty()) {
        branches.push_back(filter);
        result = filter;
      } else {
        attach(branches.back(), filter);
        branches.back() = filter;
      }
      break;
    }
    case 's': {
      Sink* sink = reader.sink();
      if (branches.empty()) {
        if (at[1] != '\0')
          invalidFormat();
        result = sink;
      } else {
        attach(branches.back(), sink);
        if (opensElement(at[1]))
          invalidFormat();
      }
      break;
    }
    case '(':
      if (branches.empty())
        invalidFormat();
      branches.push_back(branches.back());
      break;
    case ',':
      if (branches.size() <= 1)
        invalidFormat();
      branches.pop_back();
      branches.push_back(branches.back());
      break;
    case ')':
      if (branches.size() <= 1)
        invalidFormat();
      branches.pop_back();
      break;
    case 'b': {
      const int flag = reader.flag();
      if (!opensElement(at[1]))
        invalidFormat();
      if (flag == 0)
        at = skipElement(at + 1, reader);
      break;
    }
    default:
      invalidFormat();
    }
  }
  if (!reader.exhausted())
    invalidFormat();
  return result;
}

} // namespace orvela
