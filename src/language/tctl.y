/* Grammar of properties: one quantified formula per line, or a leads-to pair.
   Formulas combine location tests, integer conditions, clock constraints
   (x op c, x op y + c and x - y op c), true, false and the deadlock
   predicate with not, and, or and imply. The actions build the
   formula through the parser state; a semantic error is reported like a
   syntax error and leads to the error property. */

%define api.prefix {tctl_}
%define api.pure full
%define api.token.prefix {TCTL_}
%parse-param {orvela::PropertyParserState& state}
%lex-param {orvela::PropertyParserState& state}
%define lr.default-reduction consistent
%define parse.error custom
%locations
%expect 0

%code requires {
#include "language/PropertyParserState.h"
}

%code {
#include "model/SymbolTable.h"
#include "expr/BinaryExpressions.h"
#include "language/PropertyScanner.h"

using namespace orvela;

// The parse stack holds at most 200 states; deeper nesting is reported as a
// stack overflow and ends the parse with result 2.
#define YYINITDEPTH 200
#define YYMAXDEPTH 200
// With the initial depth equal to the maximal one the stack never moves to
// the heap, but the generated release of a moved stack is still compiled,
// which some optimisation levels warn about.
#pragma GCC diagnostic ignored "-Wfree-nonheap-object"

// A symbol spans its components' places, an empty one starts where the one
// before it ends. The start is the place of the errors of the action that
// follows; an error while the parser still recovers from one is not noted.
#define YYLLOC_DEFAULT(current, rhs, count)                                      \
  do {                                                                           \
    if (count) {                                                                 \
      (current).first_line = YYRHSLOC(rhs, 1).first_line;                        \
      (current).first_column = YYRHSLOC(rhs, 1).first_column;                    \
      (current).last_line = YYRHSLOC(rhs, count).last_line;                      \
      (current).last_column = YYRHSLOC(rhs, count).last_column;                  \
    } else {                                                                     \
      (current).first_line = (current).last_line = YYRHSLOC(rhs, 0).last_line;  \
      (current).first_column = (current).last_column =                           \
          YYRHSLOC(rhs, 0).last_column;                                          \
    }                                                                            \
    state.focusOn((current).first_line, (current).first_column, YYRECOVERING()); \
  } while (0)

// Runs a check of an action; on failure (already reported) the parser enters
// error recovery.
#define CHECK(condition) do { if (!(condition)) YYERROR; } while (0)

#define S state
#define B (state.build)

// The parser's own failures (a stack overflow) are reported like the
// semantic errors; syntax errors by `yyreport_syntax_error`.
void tctl_error(TCTL_LTYPE*, PropertyParserState& state, const char* message) {
  state.error(message);
}
}

%union {
  int number;
  const orvela::Symbol* symbol;
  orvela::Expr expr;
  orvela::TCTLExpression* formula;
}

/* The token codes are part of the scanner's interface and fixed. */
%token AND 257 "and"
%token EVENTUALLY 258 "A<>"
%token INVARIANTLY 259 "A[]"
%token SLASH 260 "/"
%token DOT 261 "."
%token END_OF_INPUT 262 "end of input"
%token POSSIBLY 263 "E<>"
%token POTENTIALLY_ALWAYS 264 "E[]"
%token IMPLY 265 "imply"
%token LPAREN 266 "("
%token LBRACKET 267 "["
%token MINUS 268 "-"
%token NOT 269 "not"
%token <number> NUMBER 270 "number"
%token <number> RELOP 271 "relational operator"
%token OR 272 "or"
%token PLUS 273 "+"
%token QUIT 274 "quit"
%token RPAREN 275 ")"
%token RBRACKET 276 "]"
%token STAR 277 "*"
%token AT_L 278 "@L"
%token AT_F 279 "@F"
%token LEADS_TO 280 "-->"
%token BAD_TOKEN 281 "bad token"
%token TRUE 282 "true"
%token LBRACE 283 "{"
%token RBRACE 284 "}"
%token DEADLOCK 286 "deadlock"
%token <symbol> VARIABLE 287 "variable"
%token <symbol> CLOCK 288 "clock"
%token <number> LOCATION 289 "location"
%token FALSE 291 "false"

%type <formula> formula constraint
%type <expr> int_expr term clock
%type <number> bound offset

%left IMPLY
%left OR
%left AND
%precedence NOT
%left PLUS MINUS
%left STAR SLASH
%precedence UMINUS
%precedence LBRACKET

%%

property
  : %empty { S.property.kind = PropertyKind::none; }
  | QUIT { S.property.kind = PropertyKind::quit; S.property.expression = nullptr; }
  | END_OF_INPUT {
      S.property.kind = PropertyKind::quit;
      S.property.expression = nullptr;
      YYACCEPT;
    }
  | POSSIBLY { S.property.liveness = false; } formula {
      S.property.kind = PropertyKind::possibly;
      S.property.expression = $3;
    }
  | INVARIANTLY { S.property.liveness = false; } formula {
      S.property.kind = PropertyKind::invariantly;
      S.property.expression = B.negation($3);
    }
  | POTENTIALLY_ALWAYS { S.property.liveness = true; } formula {
      S.property.kind = PropertyKind::potentiallyAlways;
      S.property.expression = $3;
    }
  | EVENTUALLY { S.property.liveness = true; } formula {
      S.property.kind = PropertyKind::eventually;
      S.property.expression = B.negation($3);
    }
  | { S.property.liveness = true; } formula LEADS_TO formula {
      S.property.kind = PropertyKind::leadsTo;
      S.property.premise = $2;
      S.property.expression = $4;
    }
  | error { S.property.kind = PropertyKind::none; }
  ;

formula
  : LOCATION { $$ = B.location($1); }
  | constraint { $$ = $1; }
  | NOT formula { $$ = B.negation($2); }
  | formula OR formula { $$ = B.disjunction($1, $3); }
  | formula AND formula { $$ = B.conjunction($1, $3); }
  | formula IMPLY formula { $$ = B.implication($1, $3); }
  | LPAREN formula RPAREN { $$ = $2; }
  | TRUE { $$ = B.truth(); }
  | FALSE { $$ = B.falsity(); }
  | DEADLOCK { CHECK($$ = B.deadlock()); }
  ;

constraint
  : clock RELOP bound { CHECK($$ = B.clockConstraint($1, $2, nullptr, $3)); }
  | clock RELOP clock offset { CHECK($$ = B.clockConstraint($1, $2, &$3, $4)); }
  | clock MINUS clock RELOP bound { CHECK($$ = B.clockConstraint($1, $4, &$3, $5)); }
  | int_expr RELOP int_expr { $$ = B.integerConstraint($1, $2, $3); }
  ;

offset
  : %empty { $$ = 0; }
  | PLUS bound { $$ = $2; }
  ;

bound
  : int_expr { CHECK(B.constantValue($1, $$)); }
  ;

/* Indexing binds tighter than any operator: "- a[i]" indexes before it
   negates. */
int_expr
  : term %prec UMINUS { CHECK(B.scalar($1)); $$ = $1; }
  ;

term
  : NUMBER { expr_scalar_const(S.arena, $$, $1); }
  | MINUS int_expr %prec UMINUS { CHECK(B.minus($$, $2)); }
  | int_expr PLUS int_expr { CHECK(B.arithmetic($$, $1, $3, expr_scalar_plus)); }
  | int_expr MINUS int_expr { CHECK(B.arithmetic($$, $1, $3, expr_scalar_difference)); }
  | int_expr STAR int_expr { CHECK(B.arithmetic($$, $1, $3, expr_scalar_product)); }
  | int_expr SLASH int_expr { CHECK(B.arithmetic($$, $1, $3, expr_scalar_divide)); }
  | LPAREN term RPAREN { $$ = $2; }
  | VARIABLE { CHECK(B.value($$, *$1)); }
  | term LBRACKET int_expr RBRACKET { CHECK(B.index($$, $1, $3)); }
  ;

clock
  : CLOCK { expr_clock_reference(S.arena, $$, *$1); }
  | clock LBRACKET int_expr RBRACKET { CHECK(B.indexClock($$, $1, $3)); }
  ;

%%

namespace {

// How a message names the token the parser read last: its kind and text.
std::string foundToken(const PropertyParserState& state, yysymbol_kind_t kind) {
  switch (kind) {
  case YYSYMBOL_YYEOF:
    return "end of property";
  case YYSYMBOL_NUMBER:
    return "number " + state.matched;
  case YYSYMBOL_CLOCK:
    return "clock '" + state.matched + "'";
  case YYSYMBOL_VARIABLE:
  case YYSYMBOL_LOCATION:
    return "name '" + state.matched + "'";
  default:
    return "'" + state.matched + "'";
  }
}

} // namespace

// A syntax error is reported like the semantic ones, and noted with the
// token found and the tokens expected; a bad token has been noted by the
// scanner.
static int yyreport_syntax_error(const yypcontext_t* context, PropertyParserState& state) {
  state.error("syntax error");
  const yysymbol_kind_t found = yypcontext_token(context);
  if (found == YYSYMBOL_BAD_TOKEN)
    return 0;
  yysymbol_kind_t expected[YYNTOKENS];
  const int count = yypcontext_expected_tokens(context, expected, YYNTOKENS);
  std::vector<std::string> descriptions;
  for (int k = 0; k < count; ++k) {
    const bool end = expected[k] == YYSYMBOL_YYEOF;
    descriptions.push_back(end ? "end of property" : tokenDescription(yysymbol_name(expected[k])));
  }
  const YYLTYPE& at = *yypcontext_location(context);
  const std::string message = unexpectedMessage(foundToken(state, found), descriptions);
  state.note(at.first_line, at.first_column, message);
  return 0;
}
