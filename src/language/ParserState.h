#pragma once
// Everything one parse of a system description works on: its input, its
// scanner, its names, its line counter and its error stream. A fresh state is
// made for every description and dropped after it, so nothing carries over
// from one load to the next and parses in different threads share nothing.

#include "expr/EvaluationEvents.h"
#include "language/Declarations.h"
#include "language/ErrorReporting.h"
#include "language/ExpressionBuilders.h"
#include "language/ProcessBuilder.h"
#include "language/TemplateBuilder.h"
#include "language/TextBuffer.h"
#include "model/ModelTables.h"
#include "model/SymbolTable.h"

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace orvela {

/// The tokens a grammar symbol was built from: indices into the token log,
/// `last` < `first` for an empty symbol.
struct TokenSpan {
  int first;
  int last;
};

/// Raw text that the scanner reads for the parser instead of tokens: a
/// template's body up to its closing brace, or the arguments of an
/// instantiation up to the closing parenthesis.
struct Capture {
  char close = 0;   ///< the closing bracket looked for; 0 when none is asked for
  int depth = 0;    ///< brackets of the same kind opened within the text
  std::string text; ///< the text read, without the closing bracket
  int line = 0;     ///< the line the text starts on
};

/// Working state of one parse.
class ParserState {
public:
  /// A parse of the description read from `input`, its messages written to
  /// `errors`; both must outlive the state. Starts the parse's own scanner.
  ParserState(std::istream& input, std::ostream& errors);
  ~ParserState();
  ParserState(const ParserState&) = delete;
  ParserState& operator=(const ParserState&) = delete;

  /// Reports `message` at the focus (see `focusOn`), or at the token being
  /// scanned when there is none: writes "Error at line <line> : <message>"
  /// to the error stream and keeps it in `messages`. Quiet while the parser
  /// recovers from an earlier error (the fault was reported then). Does not
  /// stop the parse by itself.
  void error(const char* message);
  /// Reports `message` at `line` and `column` like `error`, never quietly.
  void errorAt(int line, int column, const std::string& message);
  /// Makes the tokens of `span` (an empty span: the token before it) the
  /// place of the errors reported until the next token is scanned;
  /// `recovering` tells that the parser is still recovering from an error,
  /// so that a follow-up error is not reported again.
  void focusOn(TokenSpan span, bool recovering);
  /// Reports a semantic error: writes the formatted message through `error`,
  /// sets the error flag, and answers false so that actions can write
  /// `if (!check()) YYERROR;`.
  bool semanticError(const char* format, ...) __attribute__((format(printf, 2, 3)));

  /// Notes the text the scanner matched next (`length` characters), so that
  /// the line and column of the match are known and the scanner's line and
  /// column move past it (newlines inside a string do not count). Clears
  /// the focus: errors are about the match.
  void advance(const char* text, int length);
  /// Logs the spelling of the next token, at the place of the last match,
  /// and answers its index.
  int logToken(std::string_view spelling);
  /// The number of tokens logged so far.
  int tokenCount() const { return static_cast<int>(tokens_.size()); }
  /// The spelling, line and column of token `index` (a logged one).
  const std::string& tokenText(int index) const { return token(index).spelling; }
  int tokenLine(int index) const { return token(index).line; }
  int tokenColumn(int index) const { return token(index).column; }
  /// The spellings of the tokens of `span`, without separators.
  std::string spelling(TokenSpan span) const;
  /// Appends the spelling of `span` to the text buffer.
  void addSpanToText(TokenSpan span);
  /// Makes the scanner read the text up to the bracket `close` that closes
  /// the one just read, and answer it as one CAPTURED_TEXT token.
  void requestCapture(char close);

  /// The event site of an expression on source line `sourceLine` of the
  /// process being read (or of the global declarations).
  EventSite eventSite(int sourceLine);

  /// The integer, clock and channel tables of the model being read; the
  /// system takes them over.
  ModelTables tables;
  /// The names declared so far; the system takes them over.
  SymbolTable symbols{symbolTypeCount};
  ParseArena arena;
  /// The line the scanner is on, counted from 1, and the column of the next
  /// character on it.
  int line = 1;
  int column = 1;
  /// The errors reported so far, in order.
  std::vector<ParseMessage> messages;
  /// The undeclared names reported so far: a missing declaration is one
  /// fault, reported at the first use only.
  std::set<std::string> undeclared;
  /// The description being read.
  std::istream& input;
  /// Where the error messages go.
  std::ostream& errors;
  /// The scanner of this parse (its generated state).
  void* scanner = nullptr;
  bool errorFlag = false;
  TextBuffer text;
  Declarations declaration;
  ProcessBuilder process;
  TemplateBuilder templates;
  /// The raw text asked for by `requestCapture`.
  Capture capture;
  /// A token the scanner answers before reading anything (it selects what a
  /// nested parse reads), 0 when none.
  int startToken = 0;
  /// Name of the process being read, empty outside a process block.
  std::string processName;
  /// The counters of the evaluation events of the model being read; the
  /// system takes them over.
  std::shared_ptr<EvaluationEvents> events = std::make_shared<EvaluationEvents>();

private:
  struct LoggedToken {
    std::string spelling;
    int line;
    int column;
  };
  const LoggedToken& token(int index) const { return tokens_[static_cast<std::size_t>(index)]; }

  std::vector<LoggedToken> tokens_;
  /// Where the last match of the scanner starts.
  int matchLine_ = 1;
  int matchColumn_ = 1;
  /// The token errors are about, -1 for the last match; see `focusOn`.
  int focus_ = -1;
  bool quiet_ = false;
};

} // namespace orvela
