// The tile pipeline: order, bounded look-ahead, and cancelling or destroying it at any moment.
#include "imaging/thumbnail_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>

#include "imaging/thumbnail.h"
#include "tests/support/photo_fixtures.h"

namespace xp {
namespace {

using namespace xp::testing;

std::vector<std::string> numbered(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i) v.push_back(std::to_string(i));
    return v;
}

// A 1 × 1 picture carrying a number, so that tests see which path a tile came from.
ui::Image marker(const std::string& path) {
    int n = std::stoi(path);
    return ui::Image{1, 1, {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), 0}};
}
int markerOf(const ui::Image& img) { return img.pixels[0] | img.pixels[1] << 8; }

class Pipeline : public ImagingTest {};

TEST_F(Pipeline, TilesArePhotoTilesInListOrder) {
    std::vector<std::string> paths;
    const Rgb colours[] = {kRed, kGreen, kBlue, kYellow, kRed, kBlue};
    for (int i = 0; i < 6; ++i) {
        paths.push_back(path("p" + std::to_string(i) + ".jpg"));
        writeFile(paths.back(), jpeg(solid(200 + 40 * i, 150, colours[i])));
    }
    paths.insert(paths.begin() + 3, path("missing.jpg"));
    ThumbnailPipeline pipeline(paths, 3);
    for (const std::string& p : paths) {
        std::optional<ui::Image> tile = pipeline.next();
        ASSERT_TRUE(tile);
        EXPECT_EQ(tile->pixels, makeThumbnail(p).pixels) << p;
    }
    EXPECT_FALSE(pipeline.next());
}

TEST_F(Pipeline, LaterTilesFinishingFirstStillComeInOrder) {
    // Tile 0 is not finished until tile 1 has been made by another worker.
    std::promise<void> oneDone;
    std::shared_future<void> oneDoneF = oneDone.get_future().share();
    ThumbnailPipeline pipeline(numbered(5), 2, 0, [&](const std::string& p) {
        if (p == "0") oneDoneF.wait();
        if (p == "1") oneDone.set_value();
        return marker(p);
    });
    for (int i = 0; i < 5; ++i) EXPECT_EQ(markerOf(*pipeline.next()), i);
    EXPECT_FALSE(pipeline.next());
}

TEST_F(Pipeline, WorksNoFurtherAheadThanItsLookahead) {
    constexpr int kAhead = 3;
    std::atomic<int> taken{0}, made{0}, furthest{-1};
    std::atomic<bool> overrun{false};
    ThumbnailPipeline pipeline(numbered(40), 2, kAhead, [&](const std::string& p) {
        const int i = std::stoi(p);
        // next() counts a tile as taken a moment before this test does.
        if (i > taken.load() + kAhead) overrun = true;
        int f = furthest.load();
        while (i > f && !furthest.compare_exchange_weak(f, i)) {}
        ++made;
        return marker(p);
    });
    // Nothing taken yet: the workers must stop after the look-ahead.
    while (made.load() < kAhead) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(made.load(), kAhead);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(markerOf(*pipeline.next()), i);
        ++taken;
    }
    EXPECT_FALSE(overrun.load());
    EXPECT_EQ(furthest.load(), 39);
}

TEST_F(Pipeline, CancelOrDestroyAtAnyMoment) {
    // Destroyed while workers are inside the tile maker: waits for them and does not hang.
    {
        std::promise<void> gate;
        std::shared_future<void> open = gate.get_future().share();
        std::atomic<int> entered{0};
        auto pipeline = std::make_unique<ThumbnailPipeline>(numbered(10), 2, 0, [&](const std::string& p) {
            ++entered;
            open.wait();
            return marker(p);
        });
        while (entered.load() < 2) std::this_thread::yield();
        pipeline->cancel();  // before the gate opens, so that no worker can start another tile
        std::thread destroyer([&] { pipeline.reset(); });
        gate.set_value();
        destroyer.join();
        EXPECT_EQ(entered.load(), 2);
    }
    // Cancelled from another thread while the consumer waits in next().
    {
        std::promise<void> gate;
        std::shared_future<void> open = gate.get_future().share();
        ThumbnailPipeline pipeline(numbered(4), 1, 0, [&](const std::string& p) {
            open.wait();
            return marker(p);
        });
        std::thread canceller([&] { pipeline.cancel(); });
        EXPECT_FALSE(pipeline.next());
        canceller.join();
        gate.set_value();
        EXPECT_FALSE(pipeline.next());
    }
    // Destroyed right away, after part of the list, after the end; and an empty list.
    for (int takeFirst : {0, 2, 6}) {
        ThumbnailPipeline pipeline(numbered(6), 2, 0, marker);
        for (int i = 0; i < takeFirst; ++i) EXPECT_EQ(markerOf(*pipeline.next()), i);
    }
    ThumbnailPipeline empty({}, 2);
    EXPECT_EQ(empty.workers(), 0);
    EXPECT_FALSE(empty.next());
}

TEST_F(Pipeline, ATileMakerThatThrowsGivesAnEmptyTileForThatPathOnly) {
    ThumbnailPipeline pipeline(numbered(3), 2, 0, [](const std::string& p) {
        if (p == "1") throw std::runtime_error("broken");
        return marker(p);
    });
    EXPECT_EQ(markerOf(*pipeline.next()), 0);
    EXPECT_TRUE(pipeline.next()->empty());
    EXPECT_EQ(markerOf(*pipeline.next()), 2);
}

}  // namespace
}  // namespace xp
