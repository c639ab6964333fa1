#pragma once
// Declarations of a system description: the record of the declarator being
// read, its initial values, and the model objects created from it.

#include "model/ModelTables.h"

#include <string>
#include <vector>

namespace orvela {

class ParserState;
struct Expr;

/// Domains of the declared kinds.
inline constexpr int defaultIntegerLower = -32767;
inline constexpr int defaultIntegerUpper = 32767;
inline constexpr int clockLower = 0;
inline constexpr int clockUpper = 1073741822;
/// Largest number of elements of one declared array.
inline constexpr int maximalArraySize = 1 << 20;

/// Channel flags of a declaration.
inline constexpr int urgentChannelFlag = 1;
inline constexpr int broadcastChannelFlag = 2;

/// The declarator being processed and the actions of the declaration rules.
/// Every operation that answers false has reported a semantic error through
/// the parser state (message written, error flag set).
class Declarations {
public:
  explicit Declarations(ParserState& state) : state_(state) {}

  /// The type part: symbol kind, domain and channel flags.
  void setType(int symbolType, int lower, int upper, int channelFlags);
  /// "int [lower, upper]": "Empty variable domain." when lower > upper.
  bool setIntegerDomain(int lower, int upper);

  /// A declarator's name: the record takes it, with no dimensions yet.
  void beginDeclarator(const char* name);
  /// One "[size]": adds the array symbol (current name, array, size) and
  /// appends "[]" to the current name.
  bool addDimension(int size);
  /// After the dimensions: one initial value per element, none filled yet.
  void allocateValues();

  /// No initialiser: default values, or "Initializer expected" for a constant.
  bool withoutInitialiser();
  /// ":=" read: "';' expected" for a channel.
  bool beginInitialiser();
  /// One expression of an initialiser, written at the fill position.
  bool initialiserValue(const Expr& value);
  /// "{" of an initialiser.
  bool openBrace();
  /// One element of the innermost braced list has been read.
  void countElement();
  /// "}" of an initialiser: the list must have the dimension's size.
  bool closeBrace();
  /// After ":=" initialiser: every value must lie in the domain.
  bool finishInitialiser();
  /// A constant expression without ":=": only for a scalar constant.
  bool bareInitialiser(const Expr& value);

  /// Adds the element symbol and creates the model objects.
  bool finishDeclarator();

  /// Creates the model objects of the declarator for element symbol `id` and
  /// answers what the symbol's data becomes.
  int createVariable(int id);
  /// `name` (of the declarator, with its "[]" suffixes) with the suffix from
  /// the first "[" on rewritten as one "[i]" per dimension for element
  /// number `element` (row-major, the last dimension varying fastest).
  std::string addArrayIndex(const std::string& name, int element) const;

  int type = -1;
  int lower = 0;
  int upper = 0;
  int channelFlags = 0;
  std::string name;            ///< with one "[]" per dimension read so far
  std::vector<int> dimensions; ///< sizes, outermost first
  std::vector<int> initial;    ///< one value per element, row-major
  int filled = 0;              ///< number of values written so far
  std::vector<int> braces;     ///< element counters of the open braces

private:
  bool inDomain() const;
  int elementCount() const;

  ParserState& state_;
};

} // namespace orvela
