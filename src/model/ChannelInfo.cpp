#include "model/ChannelInfo.h"

#include <cassert>
#include <ostream>

namespace orvela {

std::vector<ChannelInfo> channelInfo;

int ChannelInfo::addChannel(bool urgent, bool broadcast, std::string name) {
  const int id = static_cast<int>(channelInfo.size()) + 1;
  channelInfo.push_back(ChannelInfo{id, urgent, broadcast, std::move(name)});
  return id;
}

const ChannelInfo& ChannelInfo::get(int id) {
  assert(id >= 1 && static_cast<std::size_t>(id) <= channelInfo.size() && "unknown channel");
  return channelInfo[static_cast<std::size_t>(id - 1)];
}

void ChannelInfo::print(std::ostream& out) {
  out << "Number of channels: " << channelInfo.size() << '\n';
  for (const ChannelInfo& channel : channelInfo)
    out << "  Channel " << channel.name << " (" << channel.id << ")"
        << (channel.urgent ? " urgent" : "") << (channel.broadcast ? " broadcast" : "") << '\n';
}

} // namespace orvela
