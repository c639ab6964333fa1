#include "Queries.h"

#include <istream>

namespace orvela::verifier {

namespace {

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::vector<Query> readQueries(std::istream& in, const std::string& source) {
  std::vector<Query> queries;
  std::string raw;
  std::string pending; // a property continued by a trailing backslash
  int pendingLine = 0;
  for (int number = 1; std::getline(in, raw); ++number) {
    // No property contains "//", so the first one starts a comment.
    std::string text = trimmed(raw.substr(0, raw.find("//")));
    const bool continued = !text.empty() && text.back() == '\\';
    if (continued)
      text = trimmed(text.substr(0, text.size() - 1));
    if (!text.empty()) {
      if (pending.empty())
        pendingLine = number;
      pending += (pending.empty() ? "" : " ") + text;
    }
    if (continued || pending.empty())
      continue;
    queries.push_back({pending, source, pendingLine});
    pending.clear();
  }
  if (!pending.empty())
    queries.push_back({pending, source, pendingLine});
  return queries;
}

} // namespace orvela::verifier
