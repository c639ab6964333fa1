#include "language/ErrorReporting.h"

#include "model/SymbolTable.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <utility>

namespace orvela {

namespace {

std::string quoted(std::string_view text) {
  std::string result(1, '\'');
  result.append(text);
  result.push_back('\'');
  return result;
}

} // namespace

void writeParseError(std::ostream& errors, int line, const char* message) {
  errors << "Error at line " << line << " : " << message << '\n';
}

void writeParseError(std::ostream& errors, const ParseMessage& message) {
  errors << "Error at line " << message.line << ", column " << message.column << " : "
         << message.text << '\n';
}

int editDistance(std::string_view a, std::string_view b) {
  // Three rows of the table: two before the current one, for swaps.
  std::vector<int> older(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    previous[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int substitution = previous[j - 1] + (a[i - 1] != b[j - 1]);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        current[j] = std::min(current[j], older[j - 2] + 1);
    }
    older.swap(previous);
    previous.swap(current);
  }
  return previous[b.size()];
}

std::string suggestion(std::string_view name, const std::vector<std::string>& candidates) {
  const int allowed = static_cast<int>(name.size() + 1) / 3;
  const std::string* best = nullptr;
  int bestDistance = allowed + 1;
  for (const std::string& candidate : candidates) {
    const int distance = editDistance(name, candidate);
    if (distance < bestDistance && distance > 0) {
      best = &candidate;
      bestDistance = distance;
    }
  }
  return best ? " (did you mean '" + *best + "'?)" : std::string();
}

std::vector<std::string> namesOf(const SymbolTable& symbols,
                                 const std::vector<unsigned int>& frames,
                                 const std::function<bool(const Symbol&)>& accept) {
  std::vector<std::string> names;
  for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame)
    for (const Symbol& symbol : symbols.frameSymbols(*frame))
      if (std::string_view(symbol.name).find('[') == std::string_view::npos && accept(symbol))
        names.emplace_back(symbol.name);
  return names;
}

std::string tokenDescription(std::string_view generatedName) {
  static const std::pair<std::string_view, std::string_view> named[] = {
      {"NEW_NAME", "name"},
      {"SYMBOL_NAME", "name"},
      {"CLOCK_NAME", "name"},
      {"QUALIFIED_CLOCK_NAME", "name"},
      {"QUALIFIED_SYMBOL_NAME", "name"},
      {"variable", "integer"},
      {"clock", "clock"},
      {"location", "P.location"},
      {"NUMBER", "number"},
      {"number", "number"},
      {"relational operator", "relational operator"},
      {"STRING", "string"},
      {"end of file", "end of input"},
      {"end of input", "end of input"},
      {"ARROW", "'->'"},
      {"BECOMES", "':='"},
      {"PLUS_BECOMES", "'+='"},
      {"MINUS_BECOMES", "'-='"},
      {"MIN_OP", "'<?'"},
      {"MAX_OP", "'>?'"},
      {"LT", "'<'"},
      {"LE", "'<='"},
      {"EQ", "'=='"},
      {"NE", "'!='"},
      {"GT", "'>'"},
      {"GE", "'>='"},
      {"PRIME", "'''"},
      {"error", ""},
      {"BAD_TOKEN", ""},
      {"bad token", ""},
      {"invalid token", ""}};
  for (const auto& [generated, description] : named)
    if (generated == generatedName)
      return std::string(description);
  if (!generatedName.empty() && generatedName.front() == '\'')
    return std::string(generatedName); // a character token: ';'
  const bool tokenName = std::all_of(generatedName.begin(), generatedName.end(), [](char c) {
    return std::isupper(static_cast<unsigned char>(c)) || c == '_';
  });
  if (!tokenName)
    return quoted(generatedName); // the spelling itself: "and", "A<>", "("
  std::string keyword(generatedName);
  for (char& c : keyword)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return quoted(keyword);
}

std::string unexpectedMessage(const std::string& found, const std::vector<std::string>& expected) {
  std::vector<std::string> distinct;
  for (const std::string& description : expected)
    if (!description.empty() &&
        std::find(distinct.begin(), distinct.end(), description) == distinct.end())
      distinct.push_back(description);
  std::string message = "unexpected " + found;
  if (distinct.empty() || distinct.size() > 4)
    return message;
  message += ", expected " + distinct[0];
  for (std::size_t k = 1; k < distinct.size(); ++k)
    message += (k + 1 == distinct.size() ? " or " : ", ") + distinct[k];
  return message;
}

} // namespace orvela
