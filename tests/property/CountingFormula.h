#pragma once
// A formula for the tests of the composite formulas: it answers a fixed value,
// counts its evaluations and can be made to throw.

#include "property/TCTLExpression.h"
#include "property/TCTLVisitor.h"
#include "server/base/Exceptions.h"

#include <string>
#include <vector>

namespace orvela::test {

class CountingFormula : public AbstractTCTLExpression {
public:
  CountingFormula(bool answer, std::vector<std::string>* visits = nullptr, std::string name = "")
      : answer_(answer), visits_(visits), name_(std::move(name)) {}

  void accept(TCTLVisitor&) override {
    if (visits_)
      visits_->push_back(name_);
  }
  int getType() const override { return 99; }
  Pointer<TCTLExpression> negate() override { return new CountingFormula(!answer_); }
  bool evaluate(PublicState*) const override {
    ++evaluations;
    if (throws)
      throw Bug("counting formula");
    return answer_;
  }
  void collectClocks(std::set<int>& clocks) override { clocks.insert(100 + int(answer_)); }

  mutable int evaluations = 0;
  bool throws = false;

private:
  bool answer_;
  std::vector<std::string>* visits_;
  std::string name_;
};

} // namespace orvela::test
