#include "sweep/sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "sweep/runworld.h"

namespace zibs::sweep {

std::uint64_t shardRuns(std::uint64_t runs, const Shard& shard) {
    return runs < shard.k ? 0 : (runs - shard.k) / shard.n + 1;
}

void runSweep(const Plan& plan, const SweepOptions& options,
              const std::function<void(RunOutput&)>& take,
              const std::function<void(std::uint64_t done)>& progress) {
    const std::uint64_t count = shardRuns(plan.runs(), options.shard);

    const auto workers =
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(options.threads, count));
    // A run may start only this far ahead of the next one to be taken: a reader that stalls
    // holds the threads, not an ever longer line of finished runs.
    const std::uint64_t ahead = workers * runsAheadPerThread;

    std::atomic<std::uint64_t> next{0};  // the shard's next run to hand out
    std::mutex mutex;
    std::condition_variable ready;
    std::condition_variable_any room;
    std::map<std::uint64_t, RunOutput> done;  // finished runs not yet taken
    std::uint64_t finished = 0;
    std::uint64_t taking = 0;  // the run the calling thread waits for or takes now

    auto work = [&](std::stop_token stop) {
        while (!stop.stop_requested()) {
            const std::uint64_t j = next++;
            if (j >= count) return;
            {
                std::unique_lock lock(mutex);
                // The run `taking` itself never waits, so the line always moves.
                if (!room.wait(lock, stop, [&] { return j < taking + ahead; })) return;
            }
            const Run run = plan.run(options.shard.k - 1 + j * options.shard.n);
            RunOutput out;
            const Summary s = runWorld(run, options.days, options.series ? &out.series : nullptr);
            appendResultRow(out.row, run, s);
            out.reachedDayLimit = s.reachedDayLimit;
            const std::lock_guard lock(mutex);
            done.emplace(j, std::move(out));
            ++finished;
            ready.notify_one();
        }
    };
    std::vector<std::jthread> threads;  // joined, after a stop request, when they go out of scope
    for (std::uint64_t t = 0; t < workers && count > 0; ++t) threads.emplace_back(work);

    using Clock = std::chrono::steady_clock;
    auto shown = Clock::now();
    for (std::uint64_t j = 0; j < count; ++j) {
        std::unique_lock lock(mutex);
        while (!ready.wait_for(lock, std::chrono::milliseconds(200),
                               [&] { return done.contains(j); })) {
            const std::uint64_t n = finished;
            lock.unlock();
            progress(n);
            shown = Clock::now();
            lock.lock();
        }
        RunOutput out = std::move(done.extract(j).mapped());
        const std::uint64_t n = finished;
        taking = j + 1;
        lock.unlock();
        room.notify_all();
        take(out);
        if (Clock::now() - shown >= std::chrono::milliseconds(200)) {
            progress(n);
            shown = Clock::now();
        }
    }
    progress(count);
}

}  // namespace zibs::sweep
