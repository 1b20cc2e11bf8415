#pragma once
// A fixed crew of threads that share out the tiles of one frame. The calling thread works
// too, so a crew of one is plain serial code. Each tile goes to exactly one thread, so tiles
// need no locks; which thread takes which tile never changes what a tile holds.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace Reference {

class ITileJob {
public:
    // `worker` (0 .. ThreadCount - 1) names the thread, so a job can give each its own scratch.
    virtual void RunTile(int tile, unsigned worker) = 0;

protected:
    ~ITileJob() = default;
};

// A frame has about a hundred tiles; more threads than this would mostly wait.
constexpr unsigned MaxDefaultThreads = 16;

class TTileWorkers {
public:
    // threadCount counts the calling thread; 0 picks one thread per core, up to
    // MaxDefaultThreads.
    explicit TTileWorkers(unsigned threadCount);
    ~TTileWorkers();
    TTileWorkers(const TTileWorkers&) = delete;
    TTileWorkers& operator=(const TTileWorkers&) = delete;

    unsigned ThreadCount() const { return static_cast<unsigned>(Threads.size()) + 1; }

    // Runs job.RunTile for every tile in [0, tileCount) and returns when all have finished.
    // Not reentrant: one caller at a time.
    void RunAll(ITileJob& job, int tileCount);

private:
    void WorkerLoop(unsigned worker);
    void TakeTiles(unsigned worker);

    std::vector<std::thread> Threads;
    std::mutex Lock;
    std::condition_variable WorkReady;
    std::condition_variable WorkDone;
    std::uint64_t Generation = 0;
    unsigned Busy = 0;
    bool Stopping = false;
    ITileJob* Job = nullptr;
    int TileCount = 0;
    std::atomic<int> NextTile{0};
};

} // namespace Reference
