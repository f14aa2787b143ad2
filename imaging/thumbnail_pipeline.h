// Tiles made ahead on worker threads and handed to the user-interface thread strictly in list order,
// so that a loop which takes one tile per step shows exactly what a single-threaded loop would.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/image.h"

namespace xp {

class ThumbnailPipeline {
public:
    using TileMaker = std::function<ui::Image(const std::string& path)>;

    // Starts making the tiles of `paths` at once. `workers` 0 means one per core; `lookahead` 0 means
    // four per worker: no more tiles than that wait untaken, so memory stays small however long the
    // list. `makeTile` defaults to the 120 × 120 photo tile.
    explicit ThumbnailPipeline(std::vector<std::string> paths, int workers = 0, int lookahead = 0,
                               TileMaker makeTile = {});
    // Cancels and waits for the workers; a worker in the middle of a photo finishes that photo first.
    ~ThumbnailPipeline();
    ThumbnailPipeline(const ThumbnailPipeline&) = delete;
    ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

    int size() const { return static_cast<int>(paths_.size()); }
    int workers() const { return static_cast<int>(threads_.size()); }

    // The tile of the next path in order, waiting until it is made; nothing after the last one or once
    // cancelled. A tile maker that throws gives an empty picture for that path.
    std::optional<ui::Image> next();

    // Stops the workers from starting further tiles and makes next() return nothing. Safe at any time,
    // from any thread, more than once.
    void cancel();

private:
    void work();

    const std::vector<std::string> paths_;
    const TileMaker makeTile_;
    int lookahead_ = 1;

    std::mutex mutex_;
    std::condition_variable tileReady_;
    std::condition_variable roomFreed_;
    std::vector<std::optional<ui::Image>> tiles_;
    int nextToMake_ = 0;
    int nextToTake_ = 0;
    bool cancelled_ = false;

    std::vector<std::thread> threads_;
};

}  // namespace xp
