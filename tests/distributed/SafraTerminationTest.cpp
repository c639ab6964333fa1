// Safra's termination detection under random schedules: processes that
// send basic messages while active, messages delivered in any order, the
// token passed by passive processes. The end may only be declared when every
// process is passive and no basic message is in flight, and it must be
// declared once that holds.

#include "distributed/SafraTermination.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orvela {
namespace {

struct Message {
  int to;
  bool token;
  TerminationToken value;
};

TEST(SafraTermination, DeclaresTheEndExactlyWhenAllArePassiveAndNothingIsInFlight) {
  for (unsigned seed = 0; seed < 400; ++seed) {
    std::mt19937 random(seed);
    const int ranks = 1 + int(seed % 4);
    std::vector<SafraTermination> processes;
    for (int rank = 0; rank < ranks; ++rank)
      processes.emplace_back(rank, ranks);
    std::vector<bool> active(std::size_t(ranks), false);
    active[0] = true;
    int budget = 40; // basic messages left to send
    std::vector<Message> flight;
    bool over = false;
    for (int step = 0; step < 100000 && !over; ++step) {
      const int rank = int(random() % unsigned(ranks));
      if (active[std::size_t(rank)] && random() % 2 == 0) {
        if (budget > 0 && random() % 3 != 0) {
          --budget;
          processes[std::size_t(rank)].sent();
          flight.push_back({int(random() % unsigned(ranks)), false, {}});
        } else {
          active[std::size_t(rank)] = false;
        }
      } else if (!flight.empty()) {
        const std::size_t pick = random() % flight.size();
        const Message message = flight[pick];
        flight.erase(flight.begin() + std::ptrdiff_t(pick));
        SafraTermination& to = processes[std::size_t(message.to)];
        if (message.token) {
          to.takeToken(message.value);
        } else {
          to.received();
          active[std::size_t(message.to)] = true;
        }
      }
      for (int k = 0; k < ranks; ++k) {
        if (active[std::size_t(k)])
          continue;
        if (std::optional<TerminationToken> token = processes[std::size_t(k)].passive())
          flight.push_back({(k + 1) % ranks, true, *token});
      }
      over = processes[0].over();
    }
    bool quiet = true; // every process passive, only the token in flight
    for (int k = 0; k < ranks; ++k)
      quiet = quiet && !active[std::size_t(k)];
    for (const Message& message : flight)
      quiet = quiet && message.token;
    ASSERT_TRUE(over) << "seed " << seed << ": the end was never declared";
    ASSERT_TRUE(quiet) << "seed " << seed << ": the end declared too early";
  }
}

} // namespace
} // namespace orvela
