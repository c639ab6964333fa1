#include "model/SymbolTable.h"

#include "base/Exceptions.h"

#include <cassert>
#include <cstring>
#include <ostream>
#include <string>

namespace orvela {

Symbol::Symbol() { name[0] = '\0'; }

Symbol::Symbol(const char* text, int kind, int value) : type(kind), data(value) {
  std::strncpy(name, text, nameSize - 1);
  name[nameSize - 1] = '\0';
}

namespace {

// The significant part of a name: its first 63 characters.
std::string significant(const char* name) {
  return std::string(name, strnlen(name, Symbol::nameSize - 1));
}

} // namespace

SymbolTable::SymbolTable(int types) : counters_(static_cast<std::size_t>(types), 0) {
  frames_.emplace_back();
  positions_.emplace_back();
  active_.push_back(0);
}

unsigned int SymbolTable::addFrame() {
  frames_.emplace_back();
  positions_.emplace_back();
  const unsigned int frame = static_cast<unsigned int>(frames_.size() - 1);
  active_.push_back(frame);
  return frame;
}

void SymbolTable::dropFrame() {
  assert(active_.size() > 1 && "the global frame stays active");
  active_.pop_back();
}

void SymbolTable::activateFrame(unsigned int frame) {
  assert(frame < frames_.size() && "activation of an unknown frame");
  active_.push_back(frame);
}

bool SymbolTable::addSymbol(const char* name, int type, int data) {
  return addSymbol(Symbol(name, type, data));
}

bool SymbolTable::addSymbol(const Symbol& prepared) {
  assert(prepared.type >= 0 && prepared.type < static_cast<int>(counters_.size()) &&
         "unknown symbol type");
  const int id = counters_[static_cast<std::size_t>(prepared.type)]++;
  const unsigned int frame = active_.back();
  if (findSymbolInFrame(prepared.name, static_cast<int>(frame)).found())
    return false;
  positions_[frame].emplace(significant(prepared.name), frames_[frame].size());
  Symbol& added = frames_[frame].emplace_back(prepared);
  added.id = id;
  added.frame = static_cast<int>(frame);
  return true;
}

const Symbol& SymbolTable::findSymbol(const char* name) const {
  for (auto frame = active_.rbegin(); frame != active_.rend(); ++frame) {
    const Symbol& symbol = findSymbolInFrame(name, static_cast<int>(*frame));
    if (symbol.found())
      return symbol;
  }
  return sentinel_;
}

const Symbol& SymbolTable::findSymbolInFrame(const char* name, int frame) const {
  if (frame < 0 || static_cast<std::size_t>(frame) >= frames_.size())
    return sentinel_;
  const auto& positions = positions_[static_cast<std::size_t>(frame)];
  const auto found = positions.find(significant(name));
  if (found == positions.end())
    return sentinel_;
  return frames_[static_cast<std::size_t>(frame)][found->second];
}

const Symbol& SymbolTable::findGlobalSymbol(const char* name) const {
  return findSymbolInFrame(name, 0);
}

const Symbol& SymbolTable::findSymbol(int type, int id) const {
  for (const auto& frame : frames_)
    for (const Symbol& symbol : frame)
      if (symbol.type == type && symbol.id == id)
        return symbol;
  return sentinel_;
}

const Symbol& SymbolTable::elementOf(const Symbol& array, std::vector<int>* dimensions) const {
  const Symbol* entry = &array;
  std::string name = array.name;
  while (entry->type == arraySymbol) {
    if (dimensions)
      dimensions->push_back(entry->data);
    // A name cut at 63 characters stops growing; its chain cannot go on.
    const std::size_t length = std::strlen(entry->name);
    name += "[]";
    entry = &findSymbolInFrame(name.c_str(), array.frame);
    if (std::strlen(entry->name) <= length)
      return sentinel_;
  }
  return *entry;
}

// The records are handed out as const references; the table itself may
// change them.
Symbol* SymbolTable::locate(const char* name) {
  const Symbol& symbol = findSymbol(name);
  return symbol.found() ? const_cast<Symbol*>(&symbol) : nullptr;
}

Symbol* SymbolTable::locate(int type, int id) {
  const Symbol& symbol = findSymbol(type, id);
  return symbol.found() ? const_cast<Symbol*>(&symbol) : nullptr;
}

void SymbolTable::setData(const char* name, int data) {
  Symbol* symbol = locate(name);
  if (!symbol)
    throw Bug("Could not find the specified symbol");
  symbol->data = data;
}

void SymbolTable::setData(int type, int id, int data) {
  Symbol* symbol = locate(type, id);
  if (!symbol)
    throw Bug("Could not find the specified symbol");
  symbol->data = data;
}

void SymbolTable::setValues(int type, int id, std::shared_ptr<const std::vector<int>> values) {
  Symbol* symbol = locate(type, id);
  if (!symbol)
    throw Bug("Could not find the specified symbol");
  symbol->values = std::move(values);
}

void SymbolTable::clear() {
  frames_.clear();
  frames_.emplace_back();
  positions_.clear();
  positions_.emplace_back();
  active_.assign(1, 0);
  std::fill(counters_.begin(), counters_.end(), 0);
}

std::ostream& operator<<(std::ostream& out, const SymbolTable& table) {
  for (std::size_t frame = 0; frame < table.frames_.size(); ++frame) {
    out << "frame: #" << frame << '\n';
    for (const Symbol& symbol : table.frames_[frame])
      out << '<' << symbol.name << ',' << symbol.type << ',' << symbol.id << ',' << symbol.data
          << "> ";
    out << '\n';
  }
  out << "Active frames:";
  for (unsigned int frame : table.active_)
    out << ' ' << frame;
  return out << '\n';
}

} // namespace orvela
