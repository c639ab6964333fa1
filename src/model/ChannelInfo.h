#pragma once
// The table of channels of the loaded model. A channel's id is its 1-based
// position: on an edge, +id sends on the channel and -id receives on it.

#include <iosfwd>
#include <string>
#include <vector>

namespace orvela {

/// One channel: its id, kind flags and name ("Process.name" for a local one,
/// with one "[i]" per dimension for an array element).
struct ChannelInfo {
  int id;
  bool urgent;
  bool broadcast;
  std::string name;

  /// Appends a channel and answers its id (the table's size after the call).
  static int addChannel(bool urgent, bool broadcast, std::string name);
  /// The record of channel `id` (1-based; asserted in range).
  static const ChannelInfo& get(int id);
  /// Diagnostic: "Number of channels: <count>", then one line per channel.
  static void print(std::ostream& out);
};

/// The channels, in id order (record id k at position k - 1). Emptied by
/// `resetModelTables`.
extern std::vector<ChannelInfo> channelInfo;

} // namespace orvela
