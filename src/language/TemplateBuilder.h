#pragma once
// Process templates: a process block with parameters, kept as its body's
// text, and its instances. An instance reads the body again with the
// parameters bound in the instance's own frame, exactly where it is
// declared, so it gets the clocks, integers and channels (and their numbers)
// that the same process written out by hand at that place would get.

#include "language/ExpressionBuilders.h"

#include <string>
#include <vector>

namespace orvela {

class ParserState;
struct Symbol;

/// Builder of the templates of one description and of their instances.
/// Every operation that answers false has reported a semantic error through
/// the parser state (message written, error flag set).
class TemplateBuilder {
public:
  explicit TemplateBuilder(ParserState& state) : state_(state) {}

  // Template definitions.

  /// "process" name "(": adds the template symbol.
  bool beginTemplate(const char* name);
  /// One parameter: `kind` is `constantSymbol` for "const name", otherwise
  /// the element kind of a reference ("int &", "clock &", "chan &").
  bool addParameter(int kind, const char* name);
  /// "int[lower, upper] &": the argument must have exactly this domain.
  bool setParameterDomain(int lower, int upper);
  /// One "[size]" of the last reference parameter: the argument must be an
  /// array with these dimensions.
  bool addParameterDimension(int size);
  /// The body, read by the scanner as raw text (`ParserState::capture`).
  void finishTemplate();

  // Instances.

  /// `instance` ":=" `templateName` "(" arguments ")" ";", the arguments
  /// read as raw text: declares the process `instance`.
  bool declareInstance(const char* instance, const char* templateName);
  /// `templateName` "(" arguments ")" in the system line: declares the
  /// process named by the template and its arguments (constants by value,
  /// references as written, without blanks, e.g. "P(2,c[1])") and lists it.
  bool systemInstance(const char* templateName);

  // Actions of the nested parse of one argument.

  /// A name given as a reference argument: integer, clock or channel, or an
  /// array of them.
  bool referenceSymbol(Expr& value, const Symbol& symbol);
  /// The argument read.
  void takeArgument(const Expr& value) { argument_ = value; }

private:
  struct Parameter {
    int kind;
    std::string name;
    std::vector<int> dimensions;
    bool domain = false; ///< the integer domain below is required
    int lower = 0;
    int upper = 0;
  };
  struct Template {
    std::string name;
    std::vector<Parameter> parameters;
    std::string body;
    int line = 0;
    /// An instance's body had errors: later instances skip the body, whose
    /// errors would only repeat.
    bool failed = false;
  };
  /// An argument's text and the line it starts on.
  struct ArgumentText {
    std::string text;
    int line;
  };
  /// An argument checked against its parameter: the constant's value, or
  /// the reference (first element and remaining dimensions).
  struct Binding {
    int value = 0;
    Expr reference{};
  };

  Template* findTemplate(const char* name);
  std::vector<ArgumentText> splitArguments() const;
  bool bindArguments(const Template& process, const std::vector<ArgumentText>& texts,
                     std::vector<Binding>& bindings);
  bool bindArgument(const Template& process, std::size_t index, const ArgumentText& text,
                    Binding& binding);
  bool checkReference(const Template& process, std::size_t index, const Expr& value);
  std::string expected(const Parameter& parameter) const;
  void bindParameters(const Template& process, const std::vector<Binding>& bindings);
  bool instantiate(const std::string& instance, Template* process,
                   const std::vector<Binding>& bindings, bool bound);

  ParserState& state_;
  std::vector<Template> templates_;
  Expr argument_{};
  /// The argument being read, for the messages of its nested parse.
  const Template* calling_ = nullptr;
  std::size_t argumentIndex_ = 0;
};

} // namespace orvela
