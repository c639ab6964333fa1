#include "distributed/DistributedSearch.h"

#include "base/Exceptions.h"
#include "checkers/CDDDeadlockExpr.h"
#include "checkers/QueryFilters.h"
#include "checkers/ReachabilityFilter.h"
#include "checkers/TraceSegment.h"
#include "checkers/TraceStore.h"
#include "distributed/EdgeNumbering.h"
#include "distributed/RoutingPWList.h"
#include "distributed/SafraTermination.h"
#include "engine/StopSinks.h"
#include "pwlist/PWListFactories.h"
#include "session/Abstraction.h"
#include "symbolic/GlobalState.h"

#include <array>
#include <chrono>
#include <cstring>
#include <list>
#include <optional>
#include <thread>

namespace orvela {

namespace {

int rankOf(MPI_Comm comm) {
  int rank = 0;
  MPI_Comm_rank(comm, &rank);
  return rank;
}

int sizeOf(MPI_Comm comm) {
  int size = 1;
  MPI_Comm_size(comm, &size);
  return size;
}

/// Message tags. Batches and stop messages are the basic messages whose
/// count the termination token sums; the token, the end of the search and
/// the trace requests are control messages.
enum Tag : int { batchTag = 1, stopTag, tokenTag, doneTag, requestTag, replyTag };

/// States taken from the local list between two looks at the incoming
/// messages, after which the batches go out however full they are. A
/// successor that waits long in a batch meets, at its owner, a chain of
/// newer states to walk past before the equal or covering one (the list
/// compares newest first): with rounds of 64 a full search of traingate-5
/// over 2 processes takes half the time it takes when batches go out only
/// when full. Few enough, too, that a stop arrives promptly.
constexpr unsigned takesPerRound = 64;

/// One process's part of the search: its state-space filter over a routing
/// list, the query behind it, and the bookkeeping of messages and
/// termination.
class RankSearch final : public BatchSender {
public:
  RankSearch(MPI_Comm comm, const LoadedModel& model, const SearchOptions& options,
             const ParsedProperty& parsed);

  DistributedOutcome run();
  void send(int rank, std::vector<std::int32_t>& batch) override;

private:
  /// Sends `words` without blocking; the buffer is kept until it is gone.
  void post(int rank, Tag tag, std::vector<std::int32_t> words);
  /// Handles one message that `status` says is waiting.
  void receive(const MPI_Status& status);
  /// Handles every message already waiting.
  void receiveWaiting();
  /// Passive: sleeps until a message arrives, then handles it.
  void waitForMessage();
  /// Puts the states of a batch into the local list (none after a stop).
  void admit(const std::vector<std::int32_t>& batch);
  /// After a goal was found here: tells every other process to stop.
  void noticeGoal();
  /// With no local work left: passes the token on, or on process 0 decides
  /// whether the search is over and starts the next wave otherwise.
  void passToken();
  /// Frees the buffers of completed sends; with `all`, waits for them.
  void settleSends(bool all);
  /// After the search: the counts and the goal on process 0, and the trace.
  DistributedOutcome gather();
  /// Process 0 asks the owners of the found state's entries for them,
  /// back to the root; the other processes answer until told to stop.
  Pointer<Trace> rebuildTrace(int goalId);
  /// Entry `id` as sent between processes: the predecessor, then the edges'
  /// numbers; empty when it is not recorded here.
  std::vector<std::int32_t> encodedEntry(int id) const;
  void serveTrace();

  MPI_Comm comm_;
  int rank_;
  int ranks_;
  const LoadedModel& model_;
  StateCodec codec_;
  EdgeNumbering edges_;
  Pointer<TraceSegment> recorder_;
  RoutingPWList* list_ = nullptr;
  Pointer<ReachabilityFilter> space_;
  Pointer<AbstractReachabilityFilter> search_;
  Pointer<StopSink> goal_;

  struct Pending {
    std::vector<std::int32_t> words;
    MPI_Request request;
  };
  std::list<Pending> sends_; ///< posted sends not known to be complete
  SafraTermination termination_;
  bool stopped_ = false;
  bool done_ = false;
  std::uint64_t statesSent_ = 0;
  std::uint64_t bytesSent_ = 0;
};

RankSearch::RankSearch(MPI_Comm comm, const LoadedModel& model, const SearchOptions& options,
                       const ParsedProperty& parsed)
    : comm_(comm), rank_(rankOf(comm)), ranks_(sizeOf(comm)), model_(model),
      codec_(*model.system()), edges_(*model.system()), termination_(rank_, ranks_) {
  const Pointer<System>& system = model.system();
  WaitingStore* order =
      options.order == SearchOrder::depthFirst ? createStackPWOrder() : createQueuePWOrder();
  list_ = new RoutingPWList(createDBMPWList(pastSize, order, system), rank_, ranks_, codec_, *this);
  if (options.trace)
    recorder_ = new TraceSegment(unsigned(rank_), unsigned(ranks_));
  space_ = createStateSpaceFilter(system, list_, recorder_, options.reduction);
  search_ = createReachabilityFilter(space_.get(), {});
  goal_ = new StopSink(search_);
  search_->setSink(goal_.get());
  // The constants and the abstraction of the sequential check of the same
  // property.
  NormalisationInfo constants(model.constants());
  parsed.expression->accept(constants);
  space_->setConstants(constants, chooseAbstraction(options, parsed.kind, false, false, *system,
                                                    constants, *parsed.expression, nullptr));
  search_->setExpression(parsed.expression);
}

void RankSearch::post(int rank, Tag tag, std::vector<std::int32_t> words) {
  Pending& pending = sends_.emplace_back();
  pending.words = std::move(words);
  MPI_Isend(pending.words.data(), int(pending.words.size()), MPI_INT32_T, rank, tag, comm_,
            &pending.request);
}

void RankSearch::send(int rank, std::vector<std::int32_t>& batch) {
  statesSent_ += batch.size() / codec_.words();
  bytesSent_ += batch.size() * sizeof(std::int32_t);
  termination_.sent();
  std::vector<std::int32_t> words;
  words.swap(batch);
  post(rank, batchTag, std::move(words));
}

void RankSearch::settleSends(bool all) {
  for (auto pending = sends_.begin(); pending != sends_.end();) {
    int complete = 0;
    if (all)
      MPI_Wait(&pending->request, MPI_STATUS_IGNORE);
    else
      MPI_Test(&pending->request, &complete, MPI_STATUS_IGNORE);
    pending = all || complete ? sends_.erase(pending) : std::next(pending);
  }
}

void RankSearch::admit(const std::vector<std::int32_t>& batch) {
  const Pointer<Allocator>& allocator = space_->allocator();
  for (std::size_t at = 0; !stopped_ && at < batch.size(); at += codec_.words()) {
    bool store = false;
    GlobalState* state = codec_.decode(batch.data() + at, allocator->allocate(), store);
    space_->admit(state, store);
    noticeGoal();
  }
}

void RankSearch::noticeGoal() {
  if (stopped_ || !goal_->state())
    return;
  stopped_ = true;
  list_->dropBatches();
  for (int rank = 0; rank < ranks_; ++rank)
    if (rank != rank_) {
      termination_.sent();
      post(rank, stopTag, {});
    }
}

void RankSearch::receive(const MPI_Status& status) {
  int words = 0;
  MPI_Get_count(&status, MPI_INT32_T, &words);
  std::vector<std::int32_t> message(std::size_t(words > 0 ? words : 0));
  MPI_Recv(message.data(), words, MPI_INT32_T, status.MPI_SOURCE, status.MPI_TAG, comm_,
           MPI_STATUS_IGNORE);
  switch (status.MPI_TAG) {
  case batchTag:
    termination_.received();
    admit(message);
    break;
  case stopTag:
    termination_.received();
    stopped_ = true;
    list_->dropBatches();
    break;
  case tokenTag: {
    TerminationToken token;
    std::memcpy(&token.count, message.data(), sizeof token.count);
    token.black = message[2] != 0;
    termination_.takeToken(token);
    break;
  }
  case doneTag:
    done_ = true;
    break;
  default:
    throw Bug("distributed search: unexpected message tag %d", status.MPI_TAG);
  }
}

void RankSearch::receiveWaiting() {
  for (;;) {
    int waiting = 0;
    MPI_Status status;
    MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, comm_, &waiting, &status);
    if (!waiting)
      return;
    receive(status);
  }
}

void RankSearch::waitForMessage() {
  // MPI's blocking probe spins; with more processes than cores the spinning
  // ones would take the time of those that have work. Sleeping briefly
  // between looks leaves it to them.
  for (;;) {
    int waiting = 0;
    MPI_Status status;
    MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, comm_, &waiting, &status);
    if (waiting) {
      receive(status);
      return;
    }
    settleSends(false);
    std::this_thread::sleep_for(std::chrono::microseconds(20));
  }
}

void RankSearch::passToken() {
  const std::optional<TerminationToken> token = termination_.passive();
  if (termination_.over()) {
    done_ = true;
    for (int rank = 1; rank < ranks_; ++rank)
      post(rank, doneTag, {});
  }
  if (!token)
    return;
  std::vector<std::int32_t> words(3);
  std::memcpy(words.data(), &token->count, sizeof token->count);
  words[2] = token->black ? 1 : 0;
  post((rank_ + 1) % ranks_, tokenTag, std::move(words));
}

DistributedOutcome RankSearch::run() {
  space_->prepare();
  if (rank_ == 0) {
    Pointer<GlobalState> start = model_.start()->copy();
    start->setTraceId(recorder_ ? recorder_->put(nullptr, -1) : -1);
    space_->seed(*start);
    noticeGoal();
  }
  while (!done_) {
    receiveWaiting();
    settleSends(false);
    if (!stopped_ && list_->getSize() > 0) {
      list_->setBudget(takesPerRound);
      space_->explore();
      noticeGoal();
    }
    if (!stopped_)
      list_->flush();
    if (!stopped_ && list_->getSize() > 0)
      continue;
    passToken();
    if (done_)
      break;
    waitForMessage();
  }
  settleSends(true);
  return gather();
}

DistributedOutcome RankSearch::gather() {
  DistributedOutcome outcome;
  const std::array<std::uint64_t, 4> mine = {list_->getExplored(), list_->getStored(), statesSent_,
                                             bytesSent_};
  std::array<std::uint64_t, 4> sums{};
  MPI_Reduce(mine.data(), sums.data(), 4, MPI_UINT64_T, MPI_SUM, 0, comm_);
  outcome.explored = sums[0];
  outcome.stored = sums[1];
  outcome.statesSent = sums[2];
  outcome.bytesSent = sums[3];
  // The goal of the lowest process that found one.
  const int goal[2] = {goal_->state() ? 1 : 0, goal_->state() ? goal_->state()->getTraceId() : -1};
  std::vector<int> goals(2 * std::size_t(ranks_));
  MPI_Allgather(goal, 2, MPI_INT, goals.data(), 2, MPI_INT, comm_);
  int goalId = -1;
  for (int rank = 0; rank < ranks_ && !outcome.found; ++rank)
    if (goals[2 * std::size_t(rank)]) {
      outcome.found = true;
      goalId = goals[2 * std::size_t(rank) + 1];
    }
  if (outcome.found && recorder_) {
    if (rank_ == 0)
      outcome.trace = rebuildTrace(goalId);
    else
      serveTrace();
  }
  return outcome;
}

Pointer<Trace> RankSearch::rebuildTrace(int goalId) {
  std::vector<std::vector<std::int32_t>> moves; // the last move first
  for (int id = goalId;;) {
    std::vector<std::int32_t> entry; // the predecessor, then the edges
    const int owner = id % ranks_;
    if (owner == 0) {
      entry = encodedEntry(id);
    } else {
      MPI_Send(&id, 1, MPI_INT, owner, requestTag, comm_);
      MPI_Status status;
      MPI_Probe(owner, replyTag, comm_, &status);
      int words = 0;
      MPI_Get_count(&status, MPI_INT32_T, &words);
      entry.resize(std::size_t(words));
      MPI_Recv(entry.data(), words, MPI_INT32_T, owner, replyTag, comm_, MPI_STATUS_IGNORE);
    }
    if (entry.empty())
      throw Bug("distributed trace: no entry %d", id);
    if (entry[0] == -1)
      break; // the root: the start state
    id = entry[0];
    moves.emplace_back(entry.begin() + 1, entry.end());
  }
  const int end = -1;
  for (int rank = 1; rank < ranks_; ++rank)
    MPI_Send(&end, 1, MPI_INT, rank, requestTag, comm_);

  Pointer<MemoryTraceStore> store = new MemoryTraceStore();
  int entry = store->put(nullptr, -1);
  for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
    std::vector<const Transition*> edges;
    for (std::int32_t number : *move)
      edges.push_back(edges_.edge(number));
    edges.push_back(nullptr);
    entry = store->put(edges.data(), entry);
  }
  return store->createTrace(entry);
}

std::vector<std::int32_t> RankSearch::encodedEntry(int id) const {
  std::vector<std::int32_t> entry;
  if (!recorder_->holds(id))
    return entry;
  entry.push_back(recorder_->predecessorOf(id));
  for (const Transition* const* edge = recorder_->movesOf(id); *edge; ++edge)
    entry.push_back(edges_.numberOf(*edge));
  return entry;
}

void RankSearch::serveTrace() {
  for (;;) {
    int id = -1;
    MPI_Recv(&id, 1, MPI_INT, 0, requestTag, comm_, MPI_STATUS_IGNORE);
    if (id < 0)
      return;
    const std::vector<std::int32_t> entry = encodedEntry(id);
    MPI_Send(entry.data(), int(entry.size()), MPI_INT32_T, 0, replyTag, comm_);
  }
}

} // namespace

bool checksDistributed(const ParsedProperty& parsed, const SearchOptions& options) {
  return (parsed.kind == PropertyKind::possibly || parsed.kind == PropertyKind::invariantly) &&
         parsed.expression && !containsDeadlock(*parsed.expression) &&
         options.representation == Representation::exact && options.traceKind == TraceKind::some &&
         !options.activeClocks;
}

DistributedOutcome searchDistributed(MPI_Comm comm, const LoadedModel& model,
                                     const SearchOptions& options, const ParsedProperty& parsed) {
  if (!checksDistributed(parsed, options))
    throw Bug("searchDistributed: a property or option it cannot check");
  RankSearch search(comm, model, options, parsed);
  return search.run();
}

} // namespace orvela
