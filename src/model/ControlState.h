#pragma once
// A location of a process, with the tables derived from its outgoing edges.

#include "base/Object.h"
#include "formula/TCTLExpression.h"
#include "model/ModelVisitor.h"
#include "model/SyncObject.h"

#include <iosfwd>
#include <set>
#include <string>
#include <vector>

namespace orvela {

class Transition;

/// One location: index, kind, name, invariant, the channel summaries and
/// urgent edge lists of its outgoing edges, and the set of active clocks.
class ControlState : public Object, public ModelElement {
public:
  ControlState(short index, const char* name, bool committed, bool urgent);
  ~ControlState() override;

  /// Calls `visitControlState`.
  void accept(ModelVisitor& visitor) override;

  /// Empties both channel summaries (sized to the model's number of
  /// `channels`) and both urgent edge lists, before the edges are summarised.
  void buildState(int channels);
  /// "{ " invariant text "}".
  void print(std::ostream& out) const;

  /// Replaces the invariant (null for none) and its source text.
  void setInvariant(const Pointer<TCTLExpression>& invariant, const char* text);
  const Pointer<TCTLExpression>& getInvariant() const { return invariant_; }
  const std::string& getInvariantText() const { return invariantText_; }

  short getIndex() const { return index_; }
  const char* getName() const { return name_.c_str(); }
  bool isCommitted() const { return committed_; }
  bool isUrgent() const { return urgent_; }
  void setCommitted(bool committed) { committed_ = committed; }
  void setUrgent(bool urgent) { urgent_ = urgent; }

  /// Non-broadcast channels the outgoing edges may synchronise on.
  SyncObject& getSync() { return sync_; }
  const SyncObject& getSync() const { return sync_; }
  /// The urgent ones among them.
  SyncObject& getUrgentSync() { return urgentSync_; }
  const SyncObject& getUrgentSync() const { return urgentSync_; }
  /// Outgoing edges that may synchronise on an urgent non-broadcast channel.
  std::vector<Pointer<Transition>>& getUrgentTransitions() { return urgentEdges_; }
  const std::vector<Pointer<Transition>>& getUrgentTransitions() const { return urgentEdges_; }
  /// Outgoing edges that may send on an urgent broadcast channel.
  std::vector<Pointer<Transition>>& getUrgentBroadcastTransitions() {
    return urgentBroadcastEdges_;
  }
  const std::vector<Pointer<Transition>>& getUrgentBroadcastTransitions() const {
    return urgentBroadcastEdges_;
  }

  /// Clocks whose value can still matter in this location.
  std::set<int>& getActiveClocks() { return active_; }
  const std::set<int>& getActiveClocks() const { return active_; }

private:
  short index_;
  bool committed_;
  bool urgent_;
  std::string name_;
  SyncObject sync_;
  SyncObject urgentSync_;
  std::vector<Pointer<Transition>> urgentEdges_;
  std::vector<Pointer<Transition>> urgentBroadcastEdges_;
  Pointer<TCTLExpression> invariant_;
  std::string invariantText_;
  std::set<int> active_;
};

} // namespace orvela
