#pragma once
// A record of the channel table of a model (`ModelTables`). A channel's id is
// its 1-based position: on an edge, +id sends on the channel and -id receives
// on it.

#include <string>

namespace orvela {

/// One channel: its id, kind flags and name ("Process.name" for a local one,
/// with one "[i]" per dimension for an array element).
struct ChannelInfo {
  int id;
  bool urgent;
  bool broadcast;
  std::string name;
};

} // namespace orvela
