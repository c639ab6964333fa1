/* Grammar of system descriptions: global declarations, process blocks with
   their locations and edges, process templates and their instances, and the
   system line. A start token that the scanner answers first selects a nested
   parse instead: a template's body for one instance, or one argument. The
   actions build the model through the parser state (declarations, processes,
   expressions); a semantic error is reported, sets the error flag and enters
   error recovery like a syntax error. */

%define api.prefix {gta_}
%define api.pure full
%define api.location.type {orvela::TokenSpan}
%parse-param {orvela::ParserState& state}
%lex-param {orvela::ParserState& state}
%locations
%define lr.default-reduction consistent
%define parse.error custom
%expect 0

%code requires {
#include "language/ParserState.h"
}

%code {
#include "language/Scanner.h"
#include "model/SymbolTable.h"
#include "expr/Arrays.h"
#include "expr/BinaryExpressions.h"
#include "expr/Guard.h"

#include <climits>

using namespace orvela;

// The parse stack holds at most 200 states; deeper nesting is reported as a
// stack overflow and ends the parse.
#define YYINITDEPTH 200
#define YYMAXDEPTH 200
// With the initial depth equal to the maximal one the stack never moves to
// the heap, but the generated release of a moved stack is still compiled,
// which some optimisation levels warn about.
#pragma GCC diagnostic ignored "-Wfree-nonheap-object"

// The parser's own messages, in this system's words.
#define YY_(message) parserMessage(message)

// A symbol's tokens run from its first component's first token to its last
// component's last token; an empty symbol starts after the preceding one.
// They are where the errors of the action that follows are reported; an
// error while the parser still recovers from one is not reported again.
#define YYLLOC_DEFAULT(current, rhs, count)                                      \
  do {                                                                           \
    if (count) {                                                                 \
      (current).first = YYRHSLOC(rhs, 1).first;                                  \
      (current).last = YYRHSLOC(rhs, count).last;                                \
    } else {                                                                     \
      (current).first = YYRHSLOC(rhs, 0).last + 1;                               \
      (current).last = YYRHSLOC(rhs, 0).last;                                    \
    }                                                                            \
    state.focusOn(current, YYRECOVERING());                                      \
  } while (0)

// Runs a check of an action; on failure (already reported) the parser enters
// error recovery.
#define CHECK(condition) do { if (!(condition)) YYERROR; } while (0)

#define S state

// The parser's own failures (a stack overflow) go to the parse's error
// stream like the semantic errors; syntax errors are worded by
// `yyreport_syntax_error`.
void gta_error(TokenSpan*, ParserState& state, const char* message) { state.error(message); }

namespace {

const char* parserMessage(const char* message) {
  if (std::string_view(message) == "memory exhausted")
    return "parser stack overflow";
  return message;
}

// The value of a constant expression, after the checks.
bool constantValue(ParserState& state, const Expr& value, int& result) {
  if (!value.expression->isConstant())
    return S.semanticError("Constant expression expected");
  if (value.dimensions)
    return S.semanticError("Integer expression expected");
  result = value.expression->evaluateScalar(nullptr);
  return true;
}

bool requireInteger(ParserState& state, const Expr& value) {
  if (value.dimensions)
    return S.semanticError("Integer value expected");
  return true;
}

// An arithmetic operator over two scalar operands.
bool binary(ParserState& state, Expr& result, Expr& left, Expr& right,
            void (*build)(ParseArena&, Expr&, Expr&, Expr&)) {
  if (!requireInteger(S, left) || !requireInteger(S, right))
    return false;
  if (!expr_depth_allows(S.arena, left, right))
    return S.semanticError("Expression nested too deeply.");
  build(S.arena, result, left, right);
  return expr_fits(result) || S.semanticError("Integer overflow in constant expression.");
}

bool negation(ParserState& state, Expr& result, Expr& operand) {
  if (!requireInteger(S, operand))
    return false;
  if (!expr_negation_fits(operand))
    return S.semanticError("Integer overflow in constant expression.");
  expr_scalar_negate(S.arena, result, operand);
  return true;
}

// A symbol read as a value.
bool symbolValue(ParserState& state, Expr& value, const Symbol& symbol) {
  return expr_symbol_value(S.arena, value, symbol) ||
         S.semanticError("Type mismatch or undeclared identifier.");
}

bool arrayIndex(ParserState& state, Expr& result, const Expr& array, const Expr& index) {
  if (!array.dimensions || !dynamic_cast<Array*>(array.expression))
    return S.semanticError("Array expected");
  if (!requireInteger(S, index))
    return false;
  expr_array_index(S.arena, result, array, index, S.line);
  return true;
}

bool conditional(ParserState& state, Expr& result, const Expr& left, int op, const Expr& right, Expr& thenValue,
                 Expr& elseValue) {
  if (!requireInteger(S, left) || !requireInteger(S, right))
    return false;
  if (!compatible(thenValue, elseValue))
    return S.semanticError("Type mismatch");
  expr_if(S.arena, result, new IntegerGuard(left.expression, static_cast<OpType>(op), right.expression),
          thenValue, elseValue);
  return true;
}

void addListItem(ParserState& state, const TokenSpan& item, bool first) {
  if (!first)
    S.text.addToText(", ");
  S.addSpanToText(item);
}

} // namespace
}

%union {
  int number;
  const char* name;
  const orvela::Symbol* symbol;
  orvela::Expr expr;
  orvela::GuardPair guard;
  orvela::Expression* expression;
  orvela::TCTLExpression* formula;
}

%token ASSIGN BROADCAST CHAN CLOCK COMMIT CONST GUARD HIDE INIT INT PROCESS STATE SYNC
%token SYSTEM TRANS URGENT COST HEUR REMAINING
%token ARROW BECOMES PLUS_BECOMES MINUS_BECOMES MIN_OP MAX_OP LT LE EQ NE GT GE PRIME
%token STRING BAD_TOKEN CAPTURED_TEXT BODY_START CONSTANT_ARGUMENT REFERENCE_ARGUMENT
%token <number> NUMBER
%token <name> NEW_NAME
%token <symbol> CLOCK_NAME SYMBOL_NAME QUALIFIED_CLOCK_NAME QUALIFIED_SYMBOL_NAME

%type <number> relop const_expr reference_kind
%type <name> name
%type <symbol> symbol source
%type <expr> expression arithmetic clock_ref chan_ref int_ref reference
%type <guard> guard_part guard_items guard_item
%type <expression> assign_part assignments assignment
%type <formula> invariant_part invariants invariant

%left MIN_OP MAX_OP
%left '+' '-'
%left '*' '/'
%precedence UNARY
%precedence '['

%%

description
  : start declarations processes declarations system_line { S.process.finishSystem(); }
  | BODY_START process_body
  | CONSTANT_ARGUMENT expression { S.templates.takeArgument($2); }
  | REFERENCE_ARGUMENT reference { S.templates.takeArgument($2); }
  ;

start
  : %empty { S.errorFlag = false; }
  ;

declarations
  : %empty
  | declarations declaration
  ;

processes
  : process
  | processes declarations process
  ;

/* Declarations. */

declaration
  : type declarators ';' { S.text.clearText(); }
  | name[instance] BECOMES name[template] '(' { S.requestCapture(')'); } CAPTURED_TEXT ';' {
      S.templates.declareInstance($instance, $template);
    }
  | error ';' { S.text.clearText(); S.errorFlag = true; }
  ;

type
  : INT { S.declaration.setType(integerSymbol, defaultIntegerLower, defaultIntegerUpper, 0); }
  | INT '[' const_expr ',' const_expr ']' { CHECK(S.declaration.setIntegerDomain($3, $5)); }
  | CONST { S.declaration.setType(constantSymbol, INT_MIN, INT_MAX, 0); }
  | CLOCK { S.declaration.setType(clockSymbol, clockLower, clockUpper, 0); }
  | CHAN { S.declaration.setType(channelSymbol, 0, 0, 0); }
  | URGENT CHAN { S.declaration.setType(channelSymbol, 0, 0, urgentChannelFlag); }
  | BROADCAST CHAN { S.declaration.setType(channelSymbol, 0, 0, broadcastChannelFlag); }
  | URGENT BROADCAST CHAN {
      S.declaration.setType(channelSymbol, 0, 0, urgentChannelFlag | broadcastChannelFlag);
    }
  ;

declarators
  : declarator
  | declarators ',' declarator
  ;

declarator
  : name { S.declaration.beginDeclarator($1); }
    dimensions { S.declaration.allocateValues(); }
    initialiser_part { CHECK(S.declaration.finishDeclarator()); }
  ;

dimensions
  : %empty
  | dimensions '[' const_expr ']' { CHECK(S.declaration.addDimension($3)); }
  ;

initialiser_part
  : %empty { CHECK(S.declaration.withoutInitialiser()); }
  | BECOMES { CHECK(S.declaration.beginInitialiser()); }
    initialiser { CHECK(S.declaration.finishInitialiser()); }
  | expression {
      int value = 0;
      CHECK(constantValue(S, $1, value));
      Expr constant;
      expr_scalar_const(S.arena, constant, value);
      CHECK(S.declaration.bareInitialiser(constant));
    }
  ;

initialiser
  : expression { CHECK(S.declaration.initialiserValue($1)); }
  | '{' { CHECK(S.declaration.openBrace()); }
    initialiser_list '}' { CHECK(S.declaration.closeBrace()); }
  ;

initialiser_list
  : initialiser { S.declaration.countElement(); }
  | initialiser_list ',' initialiser { S.declaration.countElement(); }
  ;

name
  : NEW_NAME { $$ = $1; }
  | SYMBOL_NAME { $$ = $1->name; }
  | CLOCK_NAME { $$ = $1->name; }
  ;

/* Expressions. */

const_expr
  : expression { CHECK(constantValue(S, $1, $$)); }
  ;

expression
  : arithmetic relop expression '?' expression ':' expression {
      CHECK(conditional(S, $$, $1, $2, $3, $5, $7));
    }
  | arithmetic { $$ = $1; }
  ;

arithmetic
  : NUMBER { expr_scalar_const(S.arena, $$, $1); }
  | '-' arithmetic %prec UNARY { CHECK(negation(S, $$, $2)); }
  | arithmetic '+' arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_plus)); }
  | arithmetic '-' arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_difference)); }
  | arithmetic '*' arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_product)); }
  | arithmetic '/' arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_divide)); }
  | arithmetic MIN_OP arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_min)); }
  | arithmetic MAX_OP arithmetic { CHECK(binary(S, $$, $1, $3, expr_scalar_max)); }
  | '(' expression ')' { $$ = $2; }
  | symbol { CHECK(symbolValue(S, $$, *$1)); }
  | arithmetic '[' expression ']' { CHECK(arrayIndex(S, $$, $1, $3)); }
  ;

symbol
  : SYMBOL_NAME { $$ = $1; }
  | QUALIFIED_SYMBOL_NAME { $$ = $1; }
  ;

relop
  : LE { $$ = opLessEqual; }
  | LT { $$ = opLess; }
  | NE { $$ = opNotEqual; }
  | GE { $$ = opGreaterEqual; }
  | GT { $$ = opGreater; }
  | EQ { $$ = opEqual; }
  ;

/* Process blocks. */

process
  : PROCESS name '{' { CHECK(S.process.openProcess($2)); }
    process_body '}' { CHECK(S.process.closeProcess()); }
  | PROCESS name '(' { S.templates.beginTemplate($2); } parameters ')'
    '{' { S.requestCapture('}'); } CAPTURED_TEXT { S.templates.finishTemplate(); }
  ;

process_body
  : declarations STATE { S.process.markLocations(); } locations ';'
    commit_part urgent_part INIT symbol[initial] ';' { CHECK(S.process.setInitial(*$initial)); }
    trans_part
  ;

/* Parameters of a template: constants, and references to integers, clocks
   and channels or arrays of them. */

parameters
  : parameter
  | parameters ',' parameter
  ;

parameter
  : CONST name { S.templates.addParameter(constantSymbol, $2); }
  | reference_kind '&' name { S.templates.addParameter($1, $3); } parameter_dimensions
  | INT '[' const_expr[lower] ',' const_expr[upper] ']' '&' name {
      S.templates.addParameter(integerSymbol, $name);
      S.templates.setParameterDomain($lower, $upper);
    }
    parameter_dimensions
  ;

reference_kind
  : INT { $$ = integerSymbol; }
  | CLOCK { $$ = clockSymbol; }
  | CHAN { $$ = channelSymbol; }
  ;

parameter_dimensions
  : %empty
  | parameter_dimensions '[' const_expr ']' { S.templates.addParameterDimension($3); }
  ;

/* An argument of an instantiation given for a reference parameter. */

reference
  : symbol { CHECK(S.templates.referenceSymbol($$, *$1)); }
  | CLOCK_NAME { CHECK(S.templates.referenceSymbol($$, *$1)); }
  | QUALIFIED_CLOCK_NAME { CHECK(S.templates.referenceSymbol($$, *$1)); }
  | reference '[' expression ']' { CHECK(S.process.indexReference($$, $1, $3)); }
  ;

locations
  : location
  | locations ',' location
  ;

location
  : name { CHECK(S.process.addLocation($1)); }
    invariant_part { S.process.finishLocation($3); }
  | error { S.process.erroneousLocation(); }
  ;

invariant_part
  : %empty { $$ = nullptr; }
  | '{' invariants '}' { $$ = $2; }
  ;

invariants
  : invariant { $$ = $1; addListItem(S, @1, true); }
  | invariants ',' invariant {
      $$ = S.process.joinInvariants($1, $3);
      addListItem(S, @3, false);
    }
  ;

invariant
  : clock_ref relop expression { CHECK($$ = S.process.invariantItem($1, $2, $3)); }
  ;

commit_part
  : %empty
  | COMMIT committed_names ';'
  ;

committed_names
  : symbol { CHECK(S.process.addCommitted(*$1)); }
  | committed_names ',' symbol { CHECK(S.process.addCommitted(*$3)); }
  ;

urgent_part
  : %empty
  | URGENT urgent_names ';'
  ;

urgent_names
  : symbol { CHECK(S.process.addUrgent(*$1)); }
  | urgent_names ',' symbol { CHECK(S.process.addUrgent(*$3)); }
  ;

/* Edges. */

trans_part
  : %empty
  | TRANS edges ';'
  ;

/* An erroneous edge is skipped to its closing brace, so that the edges after
   it are read as edges again. */
edges
  : edge
  | error '}' { S.process.erroneousEdge(); }
  | edges ',' edge
  | edges ',' error '}' { S.process.erroneousEdge(); }
  ;

edge
  : source ARROW symbol[target] '{' { CHECK(S.process.beginEdge($source, *$target)); }
    guard_part { S.process.afterGuard($guard_part); }
    sync_part { CHECK(S.process.afterSync()); }
    assign_part '}' { S.process.finishEdge($assign_part); }
  ;

source
  : %empty { $$ = nullptr; }
  | symbol { $$ = $1; }
  ;

guard_part
  : %empty { $$ = GuardPair{nullptr, nullptr}; }
  | GUARD guard_items ';' { $$ = $2; }
  ;

guard_items
  : guard_item { $$ = $1; addListItem(S, @1, true); }
  | guard_items ',' guard_item {
      $$ = S.process.combineGuards($1, $3);
      addListItem(S, @3, false);
    }
  ;

guard_item
  : clock_ref relop expression { CHECK(S.process.clockGuard($$, $1, $2, nullptr, &$3)); }
  | clock_ref relop clock_ref { CHECK(S.process.clockGuard($$, $1, $2, &$3, nullptr)); }
  | clock_ref relop clock_ref '+' expression {
      CHECK(S.process.clockGuard($$, $1, $2, &$3, &$5));
    }
  | arithmetic relop expression { CHECK(S.process.integerGuard($$, $1, $2, $3)); }
  | error { $$ = GuardPair{nullptr, nullptr}; S.errorFlag = true; }
  ;

sync_part
  : %empty { S.process.noSync(); }
  | SYNC chan_ref '!' ';' {
      S.addSpanToText(TokenSpan{@2.first, @3.last});
      CHECK(S.process.setSync($2, true));
    }
  | SYNC chan_ref '?' ';' {
      S.addSpanToText(TokenSpan{@2.first, @3.last});
      CHECK(S.process.setSync($2, false));
    }
  | SYNC error ';' { S.errorFlag = true; }
  ;

assign_part
  : %empty { $$ = nullptr; }
  | ASSIGN assignments ';' { $$ = $2; }
  ;

assignments
  : assignment { $$ = $1; addListItem(S, @1, true); }
  | assignments ',' assignment {
      $$ = S.process.joinAssignments($1, $3);
      addListItem(S, @3, false);
    }
  ;

assignment
  : clock_ref BECOMES const_expr { CHECK($$ = S.process.clockAssign($1, $3)); }
  | clock_ref BECOMES clock_ref { CHECK($$ = S.process.clockCopy($1, $3)); }
  | clock_ref BECOMES clock_ref '+' const_expr {
      CHECK($$ = S.process.clockCopyShift($1, $3, $5));
    }
  | clock_ref BECOMES clock_ref '-' const_expr {
      CHECK($$ = S.process.clockCopyShift($1, $3, wrapNegate($5)));
    }
  | clock_ref PLUS_BECOMES const_expr { CHECK($$ = S.process.clockShift($1, $3)); }
  | clock_ref MINUS_BECOMES const_expr { CHECK($$ = S.process.clockShift($1, wrapNegate($3))); }
  | int_ref BECOMES expression { CHECK($$ = S.process.integerAssign($1, $3)); }
  | '(' arithmetic relop expression '?' assignment ')' {
      CHECK($$ = S.process.conditionalAssign($2, $3, $4, $6));
    }
  | error { $$ = nullptr; S.errorFlag = true; }
  ;

/* References to clocks, channels and integer variables. */

clock_ref
  : CLOCK_NAME { S.process.clockReference($$, *$1); }
  | QUALIFIED_CLOCK_NAME { S.process.clockReference($$, *$1); }
  | clock_ref '[' expression ']' { CHECK(S.process.indexReference($$, $1, $3)); }
  ;

chan_ref
  : symbol { CHECK(S.process.channelReference($$, *$1)); }
  | chan_ref '[' expression ']' { CHECK(S.process.indexReference($$, $1, $3)); }
  ;

int_ref
  : symbol { CHECK(S.process.integerReference($$, *$1)); }
  | int_ref '[' expression ']' { CHECK(S.process.indexReference($$, $1, $3)); }
  ;

/* The system line. */

system_line
  : SYSTEM system_names ';'
  ;

system_names
  : system_name
  | system_names ',' system_name
  ;

system_name
  : symbol { CHECK(S.process.addSystemProcess(*$1)); }
  | SYMBOL_NAME '(' { S.requestCapture(')'); } CAPTURED_TEXT {
      S.templates.systemInstance($1->name);
    }
  ;

%%

namespace {

// The names a misspelt name most likely stands for: the locations of the
// process after "->" and "init", the processes and templates after
// "system", otherwise the visible names of the kinds the parser expected.
std::vector<std::string> candidatesFor(const ParserState& state, int index, bool clocks,
                                       bool others) {
  const SymbolTable& symbols = state.symbols;
  const std::string before = index > 0 ? state.tokenText(index - 1) : std::string();
  const auto kindIs = [&](int kind) {
    return [&symbols, kind](const Symbol& symbol) { return symbol.type == kind; };
  };
  if (before == "->" || before == "init")
    return namesOf(symbols, {symbols.currentFrame()}, kindIs(locationSymbol));
  if (before == "system")
    return namesOf(symbols, {0}, [](const Symbol& symbol) {
      return symbol.type == processSymbol || symbol.type == templateSymbol;
    });
  return namesOf(symbols, symbols.activeFrames(), [&](const Symbol& symbol) {
    return symbols.elementOf(symbol).type == clockSymbol ? clocks : others;
  });
}

// How a message names the token at `index`: its kind and spelling.
std::string foundToken(const ParserState& state, yysymbol_kind_t kind, int index) {
  const std::string& text = state.tokenText(index);
  switch (kind) {
  case YYSYMBOL_NEW_NAME:
  case YYSYMBOL_SYMBOL_NAME:
  case YYSYMBOL_CLOCK_NAME:
  case YYSYMBOL_QUALIFIED_SYMBOL_NAME:
  case YYSYMBOL_QUALIFIED_CLOCK_NAME:
    return "name '" + text + "'";
  case YYSYMBOL_NUMBER:
    return "number " + text;
  case YYSYMBOL_STRING:
    return "string " + text;
  default:
    return "'" + text + "'";
  }
}

} // namespace

// A syntax error names the token found and what the parser expected there;
// a name where a declared one was expected is undeclared, with the closest
// declared name suggested, at its first use only. A bad token has been
// reported by the scanner.
static int yyreport_syntax_error(const yypcontext_t* context, ParserState& state) {
  state.errorFlag = true;
  const yysymbol_kind_t found = yypcontext_token(context);
  if (found == YYSYMBOL_BAD_TOKEN)
    return 0;
  yysymbol_kind_t expected[YYNTOKENS];
  const int count = yypcontext_expected_tokens(context, expected, YYNTOKENS);
  bool clocks = false;
  bool others = false;
  std::vector<std::string> descriptions;
  for (int k = 0; k < count; ++k) {
    clocks = clocks || expected[k] == YYSYMBOL_CLOCK_NAME;
    others = others || expected[k] == YYSYMBOL_SYMBOL_NAME;
    descriptions.push_back(tokenDescription(yysymbol_name(expected[k])));
  }
  if (found == YYSYMBOL_YYEOF) {
    state.errorAt(state.line, state.column, unexpectedMessage("end of input", descriptions));
    return 0;
  }
  const int index = yypcontext_location(context)->first;
  const std::string& name = state.tokenText(index);
  const bool undeclared = found == YYSYMBOL_NEW_NAME && (clocks || others);
  if (undeclared && !state.undeclared.insert(name).second)
    return 0;
  const std::string message =
      undeclared ? "undeclared identifier '" + name + "'" +
                       suggestion(name, candidatesFor(state, index, clocks, others))
                 : unexpectedMessage(foundToken(state, found, index), descriptions);
  state.errorAt(state.tokenLine(index), state.tokenColumn(index), message);
  return 0;
}
