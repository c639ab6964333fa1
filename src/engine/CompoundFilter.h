#pragma once
// A filter that owns a private network of members and presents it as one
// filter.

#include "engine/Pipeline.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace orvela {

/// Owns its inner members through counted references and forwards `setSink`
/// to the member whose output is the compound's output. Subclasses implement
/// `tryPut` and usually override `setSink`.
class CompoundFilter : public Filter {
public:
  /// Keeps a counted reference to `member` until `reset` or destruction and
  /// returns it unchanged, so creation and registration are one expression.
  template <class T> T* keep(T* member) {
    kept_.emplace_back(static_cast<Object*>(member));
    return member;
  }

  /// Makes `member` the element whose output is the compound's output.
  void setFinal(Generator* member) { final_ = member; }

  /// Releases every kept member (each is destroyed when its count reaches 0)
  /// and forgets the final element, which is normally one of them.
  void reset();

  /// Attaches `next` to the final element; does nothing without one.
  void setSink(Sink* next) override;

  /// Attaches each stage to the one before it and answers the first: a
  /// linear chain. Null stages (optional ones left out) are skipped; at least
  /// one stage must be there (asserted).
  static Filter* chain(std::initializer_list<Filter*> stages);

  /// The number of members kept.
  std::size_t keptCount() const { return kept_.size(); }

private:
  std::vector<Pointer<Object>> kept_;
  Generator* final_ = nullptr;
};

/// A compound that runs a search and can be told to end it, so a sink that
/// recognises a goal can stop the search that feeds it.
class SearchFilter : public CompoundFilter {
public:
  /// Ends the running search after the state being expanded; the next
  /// `tryPut` starts afresh.
  virtual void requestStop() = 0;
};

} // namespace orvela
