// The tile pipeline: a bounded window of work ahead of the consumer, handed over under one mutex.
#include "imaging/thumbnail_pipeline.h"

#include <algorithm>
#include <utility>

#include "imaging/thumbnail.h"

namespace xp {

ThumbnailPipeline::ThumbnailPipeline(std::vector<std::string> paths, int workers, int lookahead, TileMaker makeTile)
    : paths_(std::move(paths)),
      makeTile_(makeTile ? std::move(makeTile) : TileMaker([](const std::string& p) { return makeThumbnail(p); })),
      tiles_(paths_.size()) {
    if (workers <= 0) workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    workers = std::min<int>(workers, static_cast<int>(paths_.size()));
    lookahead_ = lookahead > 0 ? lookahead : 4 * std::max(workers, 1);
    threads_.reserve(workers);
    for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
}

ThumbnailPipeline::~ThumbnailPipeline() {
    cancel();
    for (std::thread& t : threads_) t.join();
}

void ThumbnailPipeline::cancel() {
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    tileReady_.notify_all();
    roomFreed_.notify_all();
}

void ThumbnailPipeline::work() {
    const int n = size();
    std::unique_lock lock(mutex_);
    for (;;) {
        roomFreed_.wait(lock, [&] { return cancelled_ || nextToMake_ >= n || nextToMake_ < nextToTake_ + lookahead_; });
        if (cancelled_ || nextToMake_ >= n) return;
        const int index = nextToMake_++;
        lock.unlock();
        ui::Image tile;
        try {
            tile = makeTile_(paths_[index]);
        } catch (...) {
            tile = {};
        }
        lock.lock();
        if (cancelled_) return;
        tiles_[index] = std::move(tile);
        tileReady_.notify_all();
    }
}

std::optional<ui::Image> ThumbnailPipeline::next() {
    std::unique_lock lock(mutex_);
    if (cancelled_ || nextToTake_ >= size()) return std::nullopt;
    tileReady_.wait(lock, [&] { return cancelled_ || tiles_[nextToTake_].has_value(); });
    if (cancelled_) return std::nullopt;
    std::optional<ui::Image> tile = std::move(tiles_[nextToTake_]);
    tiles_[nextToTake_].reset();
    ++nextToTake_;
    lock.unlock();
    roomFreed_.notify_all();
    return tile;
}

}  // namespace xp
