#pragma once
// A filter that owns a private network of members and presents it as one
// filter, with `pipe`, a small format language that wires a chain of filters
// with branches in one call.

#include "engine/Pipeline.h"

#include <cstddef>
#include <span>
#include <type_traits>
#include <vector>

namespace orvela {

/// One argument of `CompoundFilter::pipe`: a filter (usable for `f` and `s`),
/// a sink (usable for `s`), a null pointer (either) or a flag (for `b`).
class PipeArgument {
public:
  enum class Kind { filter, sink, null, flag };

  template <class T>
  requires std::is_convertible_v<T*, Filter*> PipeArgument(T* filter)
      : kind_(Kind::filter), filter_(filter), sink_(filter_) {}
  template <class T>
  requires(!std::is_convertible_v<T*, Filter*> && std::is_convertible_v<T*, Sink*>)
      PipeArgument(T* sink)
      : kind_(Kind::sink), sink_(sink) {}
  PipeArgument(std::nullptr_t) : kind_(Kind::null) {}
  PipeArgument(int flag) : kind_(Kind::flag), flag_(flag) {}

  Kind kind() const { return kind_; }
  Filter* filter() const { return filter_; }
  Sink* sink() const { return sink_; }
  int flag() const { return flag_; }

private:
  Kind kind_;
  Filter* filter_ = nullptr;
  Sink* sink_ = nullptr;
  int flag_ = 0;
};

/// Owns its inner members through counted references and forwards `setSink`
/// to the member whose output is the compound's output. Subclasses implement
/// `tryPut` and usually override `setSink` and `setProperty`.
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

  /// Wires a chain of filters with branches and returns its entry as a sink.
  /// The format is read left to right; `f`, `s` and `b` each take the next
  /// argument:
  ///   f  a filter: the first one (with no branch open before it) is the
  ///      entry; every later one is attached to the filter on top of the
  ///      branch stack and replaces it there.
  ///   s  a sink: alone it is the whole result and must end the format;
  ///      otherwise it is attached to the top filter and ends its branch
  ///      (no `s`, `f` or `(` may follow).
  ///   (  opens a group at the top filter, the branch point (needs a filter).
  ///   ,  starts the next branch of the group at the branch point.
  ///   )  closes the group.
  ///   b  an int flag before `f`, `s` or `(`: zero skips that element (a
  ///      whole group, with the arguments inside), non-zero keeps it.
  /// Unclosed groups are allowed. An empty format gives null, and so does a
  /// null first filter. A branch point must keep several sinks (`Repeater`,
  /// `NewIfThenElseFilter`); branches attach in writing order.
  /// Throws Bug "Invalid format" for any other character, a violated rule, a
  /// filter expected where a sink or flag was given, a missing or left-over
  /// argument, or a sink attached to a null filter; members wired before the
  /// fault stay wired.
  template <class... Arguments> Sink* pipe(const char* format, Arguments... arguments) {
    const PipeArgument list[] = {PipeArgument(arguments)..., PipeArgument(nullptr)};
    return wire(format, std::span<const PipeArgument>(list, sizeof...(Arguments)));
  }

  /// The number of members kept.
  std::size_t keptCount() const { return kept_.size(); }

private:
  static Sink* wire(const char* format, std::span<const PipeArgument> arguments);

  std::vector<Pointer<Object>> kept_;
  Generator* final_ = nullptr;
};

} // namespace orvela
