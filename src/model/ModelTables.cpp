#include "model/ModelTables.h"

#include <cassert>

namespace orvela {

int ModelTables::addInteger(std::string name, int lower, int upper, int initial) {
  const int index = integerCount();
  integers.push_back({lower, upper, initial, index, std::move(name), false});
  ++realInts;
  return index;
}

int ModelTables::addClock(std::string name) {
  const int index = clockCount();
  clocks.push_back({index, std::move(name)});
  return index;
}

int ModelTables::addChannel(bool urgent, bool broadcast, std::string name) {
  const int id = channelCount() + 1;
  channels.push_back(ChannelInfo{id, urgent, broadcast, std::move(name)});
  return id;
}

const ChannelInfo& ModelTables::channel(int id) const {
  assert(id >= 1 && id <= channelCount() && "unknown channel");
  return channels[static_cast<std::size_t>(id - 1)];
}

int ModelTables::integerOffset(std::string_view name) const {
  for (const IntegerInfo& info : integers)
    if (info.name == name)
      return info.index;
  return -1;
}

} // namespace orvela
