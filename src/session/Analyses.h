#pragma once
// The analyses a client may run alongside the reachability checks: the
// ranges of integer variables (domain) and of clocks (response times) at
// watched processes and locations, collected over the states the searches
// store.

#include "analysis/MinMaxFilter.h"
#include "model/System.h"

#include <list>

namespace orvela {

class Analyses {
public:
  Analyses();

  using WatchItems = std::list<MinMaxFilter::PLV>;
  using Watches = std::list<MinMaxFilter::Watch>;
  /// What a watched item names besides its process and location.
  enum class Watched { integer, clock };

  /// Throws `ProtocolError` "Not a PLV tripple" when the item's process (-1
  /// for any), location (unless the process is -1) or watched integer or
  /// clock lies outside `system`.
  static void checkWatchItem(const System& system, const MinMaxFilter::PLV& item, Watched watched);
  /// Starts collecting the range of integer variables (`domain`) or clocks
  /// (response times) of the items of `system`, replacing the previous
  /// collection. An item outside `system` throws as `checkWatchItem` does
  /// and changes nothing.
  void startDomainCollection(const System& system, const WatchItems& items);
  void startResponseTimeCollection(const System& system, const WatchItems& items);
  /// Stops both collections: their items name the parts of one model.
  void stop();

  /// The watched items with their ranges, in reverse order of the items.
  const Watches& domainWatches() const { return domainCollector_->watches(); }
  const Watches& responseTimeWatches() const { return wcrtCollector_->watches(); }
  /// The collectors that watch something, for a reachability search to run
  /// over every state it stores.
  std::list<Filter*> collectors() const;
  /// Whether the response-time collection watches something.
  bool watchesClocks() const { return !wcrtCollector_->watches().empty(); }

private:
  Pointer<MinMaxFilter> wcrtCollector_;
  Pointer<MinMaxFilter> domainCollector_;
};

} // namespace orvela
