#pragma once
// A loaded model for the property grammar tests, and a text form of formulas
// that shows what the parser built: clock constraints with their evaluated
// clocks and bounds, location tests and their negations, and the grouping of
// the connectives.

#include "language/ParseSystem.h"
#include "language/SymbolTable.h"
#include "model/Constant.h"
#include "model/ExpressionVisitor.h"
#include "model/Guard.h"
#include "model/LogicExpressions.h"
#include "property/AndExpr.h"
#include "property/ClockExpr.h"
#include "property/OrExpr.h"
#include "property/ParseProperty.h"
#include "property/TCTLExpressionAdaptor.h"
#include "property/TCTLVisitor.h"
#include "support/StateFixtures.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace orvela::test {

/// Global clocks x (1), y (2), c[3] (3..5), P's own clock z (6); integers,
/// integer arrays, constants and a constant array; a channel. P is declared
/// first but stands second in the system line; R is not in it.
inline constexpr const char* propertyModel =
    "clock x, y; clock c[3];\n"
    "int i; int a[3]; int m[2][3];\n"
    "const K := 4; const T[3] := {10, 20, 30};\n"
    "chan ch;\n"
    "process P { clock z; int v; state idle, busy; init idle;\n"
    "  trans idle -> busy { guard x >= 2; sync ch!; }; }\n"
    "process Q { state q0, q1, q2; init q0; trans q0 -> q1 { sync ch?; }; }\n"
    "process R { state r0; init r0; }\n"
    "system Q, P;\n";

/// Text form of the integer expression under a location or integer test:
/// "P<process>.<location>" for a location test, "!" before a negation, the
/// value of a constant ("true" for 1), "guard" for an integer condition.
class AtomText : public ExpressionVisitor {
public:
  void visitStateExpression(StateExpression* e) override {
    std::ostringstream text;
    text << 'P' << e->getProcess() << '.' << e->getLocation();
    parts_.push_back(text.str());
  }
  void visitNotExpression(NotExpression*) override {
    if (parts_.empty())
      parts_.push_back("?");
    parts_.back() = std::string("!").append(parts_.back());
  }
  void visitConstant(Constant* e) override {
    parts_.push_back(e->getValue() == 1 ? "true" : std::to_string(e->getValue()));
  }
  void visitIntegerGuard(IntegerGuard*) override { parts_.push_back("guard"); }
  std::string text() const { return parts_.size() == 1 ? parts_.back() : "?"; }

private:
  std::vector<std::string> parts_;
};

/// The formula as text: "x<i>-x<j><=b" or "<" for a clock constraint (the
/// clocks and the bound evaluated on `state`, which may be null for constant
/// ones), "(l and r)", "(l or r)", the atom text of an adaptor.
inline std::string describe(const TCTLExpression& formula, PublicState* state = nullptr) {
  std::ostringstream text;
  if (auto* clock = dynamic_cast<const ClockExpr*>(&formula))
    text << 'x' << clock->getI()->evaluateScalar(state) << "-x"
         << clock->getJ()->evaluateScalar(state) << (clock->isStrict() ? "<" : "<=")
         << clock->getBound()->evaluateScalar(state);
  else if (auto* both = dynamic_cast<const AndExpr*>(&formula))
    text << '(' << describe(*both->getLeft(), state) << " and "
         << describe(*both->getRight(), state) << ')';
  else if (auto* either = dynamic_cast<const OrExpr*>(&formula))
    text << '(' << describe(*either->getLeft(), state) << " or "
         << describe(*either->getRight(), state) << ')';
  else if (auto* adaptor = dynamic_cast<const TCTLExpressionAdaptor*>(&formula)) {
    AtomText atom;
    adaptor->getExpression()->accept(atom);
    text << atom.text();
  } else
    text << '?';
  return text.str();
}

/// The result of parsing one property, with its messages.
struct Parsed {
  ParsedProperty property;
  std::string messages;
};

/// Loads `propertyModel` for every test.
class PropertyModelTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string messages;
    system = parseSystem(propertyModel, &messages);
    ASSERT_TRUE(system) << messages;
  }

  Parsed parse(const std::string& text) const {
    Parsed parsed;
    parsed.property = parseProperty(text, system, &parsed.messages);
    return parsed;
  }

  /// Sets element `offset` of the integer (array) `name`, global or "P.v".
  static void setInteger(GlobalState& state, const std::string& name, int value, int offset = 0) {
    const auto dot = name.find('.');
    const Symbol* symbol = &symbols.findGlobalSymbol(name.c_str());
    if (dot != std::string::npos) {
      const Symbol& process = symbols.findGlobalSymbol(name.substr(0, dot).c_str());
      symbol = &symbols.findSymbolInFrame(name.substr(dot + 1).c_str(), process.data & 0xffff);
    }
    const Symbol& element = symbols.elementOf(*symbol);
    ASSERT_EQ(element.type, integerSymbol) << name;
    state.getIntegerReference()[element.data + offset] = value;
  }

  Pointer<System> system;
};

} // namespace orvela::test
