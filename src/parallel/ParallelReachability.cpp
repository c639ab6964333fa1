#include "parallel/ParallelReachability.h"

#include "base/Exceptions.h"
#include "checkers/QueryFilters.h"
#include "engine/StateBlocks.h"
#include "model/System.h"
#include "parallel/WorkerList.h"

#include <exception>
#include <mutex>
#include <thread>

namespace orvela {

namespace {

/// Partitions per worker: enough that two workers rarely want the same lock.
constexpr unsigned partitionsPerWorker = 64;

/// The first goal any worker finds, and the stop it causes.
struct Goal {
  std::mutex lock;
  Pointer<GlobalState> state;
};

/// The sink behind a worker's query: keeps a copy of the first goal of the
/// search (later ones are ignored) and stops every worker; answers true.
class GoalSink final : public ItemSink<GoalSink, GlobalState> {
public:
  GoalSink(SharedSearch& shared, Goal& goal) : shared_(shared), goal_(goal) {}

  bool put(GlobalState* state) {
    {
      std::lock_guard<std::mutex> guard(goal_.lock);
      if (!goal_.state)
        goal_.state = state->unpackedCopy();
    }
    shared_.stop.store(true);
    return true;
  }

private:
  SharedSearch& shared_;
  Goal& goal_;
};

/// What one worker owns: its pipeline and query over its view of the shared
/// list, and the scratch state its view copies taken states into.
struct Worker {
  Pointer<Allocator> scratchBlocks;
  GlobalState* scratch = nullptr;
  WorkerList* view = nullptr;
  Pointer<ReachabilityFilter> space;
  Pointer<AbstractReachabilityFilter> search;
  Pointer<GoalSink> sink;
  std::exception_ptr failure;

  ~Worker() {
    if (scratch)
      scratchBlocks->deallocate(scratch);
  }

  void explore(SharedSearch& shared) {
    try {
      space->explore();
    } catch (...) {
      failure = std::current_exception();
      shared.stop.store(true);
    }
  }
};

} // namespace

ParallelReachability::ParallelReachability(const Pointer<System>& system, ParallelSettings settings)
    : system_(system), settings_(std::move(settings)) {}

ParallelOutcome ParallelReachability::run(const GlobalState& initial,
                                          const std::vector<Pointer<TCTLExpression>>& queries,
                                          bool splitting, const NormalisationInfo& constants,
                                          const Abstraction& abstraction, SearchWatch* watch) {
  const unsigned count = std::max(settings_.threads, 1u);
  if (queries.size() < count)
    throw Bug("A parallel search needs one query per worker");
  const unsigned partitions = partitionsPerWorker * count;
  SharedSearch shared(count, partitions, settings_.makeList);
  segments_ = settings_.traces ? std::make_unique<TraceSegments>(count) : nullptr;
  Goal goal;

  std::vector<Worker> workers(count);
  for (unsigned w = 0; w < count; ++w) {
    Worker& worker = workers[w];
    worker.scratchBlocks = createChunkAllocator(system_->getSizeOfUnpackedState());
    worker.scratch = StateBlocks(*system_, worker.scratchBlocks).create();
    worker.view = new WorkerList(shared, worker.scratch, w);
    if (w == 0)
      worker.view->watchWith(watch);
    Pointer<TraceRecorder> recorder;
    if (segments_)
      recorder = segments_->recorder(w);
    worker.space = createStateSpaceFilter(system_, worker.view, recorder, settings_.reduction);
    worker.search = splitting ? createMultiReachabilityFilter(worker.space.get(), {})
                              : createReachabilityFilter(worker.space.get(), {});
    worker.sink = new GoalSink(shared, goal);
    worker.search->setSink(worker.sink.get());
    worker.search->setExpression(queries[w]);
    worker.space->setConstants(constants, abstraction);
    worker.space->prepare();
  }

  Pointer<GlobalState> start = initial.unpackedCopy();
  start->setTraceId(segments_ ? segments_->recorder(0)->put(nullptr, -1) : -1);
  workers[0].space->seed(*start);

  std::vector<std::thread> threads;
  for (unsigned w = 1; w < count; ++w)
    threads.emplace_back([&shared, &worker = workers[w]] { worker.explore(shared); });
  workers[0].explore(shared);
  for (std::thread& thread : threads)
    thread.join();

  for (const Worker& worker : workers) {
    if (!worker.failure)
      continue;
    try {
      std::rethrow_exception(worker.failure);
    } catch (SearchLimitReached& stop) {
      stop.explored = shared.list.explored();
      stop.stored = shared.list.stored();
      throw;
    }
  }
  ParallelOutcome outcome;
  outcome.goal = goal.state;
  outcome.explored = shared.list.explored();
  outcome.stored = shared.list.stored();
  goalId_ = goal.state ? goal.state->getTraceId() : -1;
  return outcome;
}

int ParallelReachability::copyTrace(TraceStore& into, int start) const {
  if (!segments_ || goalId_ < 0)
    throw Bug("No trace of a parallel search to copy");
  return segments_->copyPath(goalId_, into, start);
}

} // namespace orvela
