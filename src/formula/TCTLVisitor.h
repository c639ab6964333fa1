#pragma once
// Double dispatch over the formula classes.

namespace orvela {

class AndExpr;
class CDDDeadlockExpr;
class ClockExpr;
class NotDeadlockExpr;
class OrExpr;
class TCTLExpressionAdaptor;

/// Visitor over formulas. Every hook does nothing by default. Composite
/// formulas pass the visitor to their operands before calling their own hook.
class TCTLVisitor {
public:
  virtual ~TCTLVisitor();

  virtual void visitClockExpr(ClockExpr*) {}
  virtual void visitAndExpr(AndExpr*) {}
  virtual void visitOrExpr(OrExpr*) {}
  virtual void visitTCTLExpressionAdaptor(TCTLExpressionAdaptor*) {}
  virtual void visitCDDDeadlockExpr(CDDDeadlockExpr*) {}
  virtual void visitNotDeadlockExpr(NotDeadlockExpr*) {}
};

} // namespace orvela
