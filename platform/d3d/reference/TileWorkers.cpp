#include "platform/d3d/reference/TileWorkers.h"

#include <algorithm>

namespace Reference {

TTileWorkers::TTileWorkers(unsigned threadCount) {
    if (threadCount == 0) {
        threadCount = std::clamp(std::thread::hardware_concurrency(), 1u, MaxDefaultThreads);
    }
    Threads.reserve(threadCount - 1);
    for (unsigned i = 1; i < threadCount; ++i) {
        Threads.emplace_back([this, i] { WorkerLoop(i); });
    }
}

TTileWorkers::~TTileWorkers() {
    {
        const std::lock_guard guard(Lock);
        Stopping = true;
    }
    WorkReady.notify_all();
    for (std::thread& thread : Threads) {
        thread.join();
    }
}

void TTileWorkers::TakeTiles(unsigned worker) {
    for (int tile = NextTile.fetch_add(1); tile < TileCount; tile = NextTile.fetch_add(1)) {
        Job->RunTile(tile, worker);
    }
}

void TTileWorkers::RunAll(ITileJob& job, int tileCount) {
    if (Threads.empty()) {
        for (int tile = 0; tile < tileCount; ++tile) {
            job.RunTile(tile, 0);
        }
        return;
    }
    {
        const std::lock_guard guard(Lock);
        Job = &job;
        TileCount = tileCount;
        NextTile.store(0);
        Busy = static_cast<unsigned>(Threads.size());
        ++Generation;
    }
    WorkReady.notify_all();
    TakeTiles(0);
    std::unique_lock guard(Lock);
    WorkDone.wait(guard, [this] { return Busy == 0; });
    Job = nullptr;
}

void TTileWorkers::WorkerLoop(unsigned worker) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock guard(Lock);
            WorkReady.wait(guard, [&] { return Stopping || Generation != seen; });
            if (Stopping) {
                return;
            }
            seen = Generation;
        }
        TakeTiles(worker);
        {
            const std::lock_guard guard(Lock);
            --Busy;
        }
        WorkDone.notify_one();
    }
}

} // namespace Reference
