#include "session/Analyses.h"

#include "base/Exceptions.h"

namespace orvela {

Analyses::Analyses() { stop(); }

void Analyses::stop() {
  wcrtCollector_ = new ClockMinMaxFilter(WatchItems());
  domainCollector_ = new IntegerMinMaxFilter(WatchItems());
}

void Analyses::checkWatchItem(const System& system, const MinMaxFilter::PLV& item,
                              Watched watched) {
  const std::size_t variables =
      watched == Watched::integer ? system.tables().integers.size() : system.tables().clocks.size();
  const bool inModel = item.process >= -1 && item.process < system.getProcessCount() &&
                       (item.process == -1 ||
                        (item.location >= 0 &&
                         item.location < system.getProcess(item.process)->getLocationCount())) &&
                       item.variable >= 0 && std::size_t(item.variable) < variables;
  if (!inModel)
    throw ProtocolError("Not a PLV tripple");
}

void Analyses::startDomainCollection(const System& system, const WatchItems& items) {
  for (const MinMaxFilter::PLV& item : items)
    checkWatchItem(system, item, Watched::integer);
  domainCollector_ = new IntegerMinMaxFilter(items);
}

void Analyses::startResponseTimeCollection(const System& system, const WatchItems& items) {
  for (const MinMaxFilter::PLV& item : items)
    checkWatchItem(system, item, Watched::clock);
  wcrtCollector_ = new ClockMinMaxFilter(items);
}

std::list<Filter*> Analyses::collectors() const {
  std::list<Filter*> active;
  if (!wcrtCollector_->watches().empty())
    active.push_back(wcrtCollector_.get());
  if (!domainCollector_->watches().empty())
    active.push_back(domainCollector_.get());
  return active;
}

} // namespace orvela
