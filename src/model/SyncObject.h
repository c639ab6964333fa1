#pragma once
// The channels on which the edges leaving a location may synchronise, as two
// bit sets: bit c stands for the channel at position c of the channel table
// (channel id c + 1).

#include <cstdint>
#include <vector>

namespace orvela {

/// Input (receive) and output (send) channel sets of a location.
class SyncObject {
public:
  /// Empty sets with room for `channels` channels.
  explicit SyncObject(int channels = 0);

  void addInputChannel(int channel) { set(inputs_, channel, true); }
  void removeInputChannel(int channel) { set(inputs_, channel, false); }
  void addOutputChannel(int channel) { set(outputs_, channel, true); }
  void removeOutputChannel(int channel) { set(outputs_, channel, false); }
  bool hasInputChannel(int channel) const { return test(inputs_, channel); }
  bool hasOutputChannel(int channel) const { return test(outputs_, channel); }

  /// True when some channel is an input here and an output in `other`, or an
  /// output here and an input in `other`.
  bool canSyncWith(const SyncObject& other) const;

private:
  static void set(std::vector<uint32_t>& bits, int channel, bool value);
  static bool test(const std::vector<uint32_t>& bits, int channel);

  std::vector<uint32_t> inputs_;
  std::vector<uint32_t> outputs_;
};

} // namespace orvela
