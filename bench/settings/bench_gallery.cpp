// Filling a gallery album through the gallery window in the headless backend (album chooser, loading
// label, path list, tiles, list items), on generated 24-megapixel pictures with and without embedded
// thumbnails, next to the tile pipeline alone on the same files in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appdata/installation.h"
#include "bench/support/bench_support.h"
#include "imaging/thumbnail_list.h"
#include "imaging/thumbnail_pipeline.h"
#include "imaging/tile_cache.h"
#include "platform/file_system.h"
#include "settings/gallery_window.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/headless/headless_host.h"

namespace {

using namespace xp::bench;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
// Distinct pictures generated; each album lists them again and again under new names (hard links), so
// that 300 pictures of 24 MP cost seconds to make and no disk space, while each file is still read and
// decoded on its own.
constexpr int kDistinct = 6;
constexpr int kPictures = 300;

// A studio installation whose sample gallery has two albums of the same size: one of pictures without
// EXIF, one of pictures with an embedded thumbnail.
struct Studio {
    TempFolder root{"xp_bench_gallery"};
    const std::string dir = root.path();
    std::string installation, plain, thumbs;
    double megabytes = 0;

    Studio() {
        const xp::InstallResult made = xp::createInstallation(dir + "/studio");
        if (!made.ok) std::abort();
        installation = made.folder;
        const std::string gallery = xp::AppPaths::compute(installation).sampleFolder;
        std::vector<std::string> plainPictures, thumbPictures;
        for (const PhotoPair& p : writePhotoPairs(dir + "/originals", kDistinct, kWidth, kHeight)) {
            plainPictures.push_back(p.plain);
            thumbPictures.push_back(p.withThumbnail);
            megabytes += p.plainBytes / 1e6 / kDistinct;
        }
        plain = gallery + "/plain";
        thumbs = gallery + "/thumbs";
        linkPhotos(plainPictures, plain, kPictures);
        linkPhotos(thumbPictures, thumbs, kPictures);
    }
};

Studio& studio() {
    static Studio s;
    return s;
}

// The program as the gallery meets it: the headless host, the application state, the main window and
// the sample gallery opened from its left button.
struct Program {
    xp::ui::headless::HeadlessHost host;
    std::unique_ptr<xp::AppState> app;
    xp::MainWindow* window = nullptr;
    xp::GalleryWindow* gallery = nullptr;
    Program() {
        app = std::make_unique<xp::AppState>(host, studio().installation);
        xp::installGallery(*app);
        window = &host.open<xp::MainWindow>(*app);
        window->按钮_样照欣赏.click();
        gallery = host.find<xp::GalleryWindow>();
        if (!gallery) std::abort();
    }
    ~Program() {
        if (window->isOpen()) window->close();
        app.reset();
    }
    // Times choosing the album, from the pick to the filled list (the headless clock makes the short
    // wait before the fill take no time); -1 when the album is not listed.
    double fill(const std::string& album) {
        const int item = gallery->组合框1.indexOf(album);
        if (item < 0) return -1;
        gallery->组合框1.pickItem(0);
        const auto t0 = std::chrono::steady_clock::now();
        gallery->组合框1.pickItem(item);
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
};

// Every fill is a first one: the album's tile cache is removed before it (outside the measured time), so
// that no repetition takes its tiles from the one before.
void ours(benchmark::State& state, const std::string& album, const std::string& folder) {
    Program program;
    for (auto _ : state) {
        std::error_code ec;
        std::filesystem::remove(folder + "/" + xp::kTileCacheFileName, ec);
        const double s = program.fill(album);
        if (s < 0) state.SkipWithError("the album is not listed");
        state.SetIterationTime(s);
    }
    state.counters["pictures"] = program.gallery->超级列表框1.itemCount();
}
void BM_Album_Embedded_Ours(benchmark::State& state) { ours(state, "thumbs", studio().thumbs); }
void BM_Album_Decoded_Ours(benchmark::State& state) { ours(state, "plain", studio().plain); }

// The tile pipeline alone on the same files (the gallery keeps its tiles the same way).
void pipelineAlone(benchmark::State& state, const std::string& folder) { tilePipelineAlone(state, folder, "pictures"); }
void BM_Album_Embedded_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().thumbs); }
void BM_Album_Decoded_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().plain); }

// Repetitions are interleaved at random with the other benchmarks (see main) and the fastest is kept,
// so that load from other processes weighs on ours and the baseline alike.
#define XP_FILL(fn, reps) \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(reps)
XP_FILL(BM_Album_Embedded_Ours, 5);
XP_FILL(BM_Album_Embedded_Pipeline, 5);
XP_FILL(BM_Album_Decoded_Ours, 2);
XP_FILL(BM_Album_Decoded_Pipeline, 2);

}  // namespace

int main(int argc, char** argv) {
    if (!initialize(argc, argv, true)) return 1;

    const Studio& s = studio();
    std::printf(
        "%d distinct %d x %d pictures (%.1f MB each), hard-linked into two albums of %d, without and with an "
        "embedded thumbnail, in %s; %u cores\n",
        kDistinct, kWidth, kHeight, s.megabytes, kPictures, s.dir.c_str(), cores());
    FastestRuns rec;
    benchmark::RunSpecifiedBenchmarks(&rec);
    benchmark::Shutdown();

    const std::string n = std::to_string(kPictures);
    std::printf("\nFastest repetition of each; ratios are our time over the baseline's, lower is better.\n");
    printGoal("filling an album of " + n + " pictures with embedded thumbnails, within 1.1x of the tile pipeline alone",
              rec.realMs("BM_Album_Embedded_Ours"), "ms", "tile-pipeline", rec.realMs("BM_Album_Embedded_Pipeline"),
              1.1);
    printGoal(
        "filling an album of " + n + " pictures without embedded thumbnails, within 1.1x of the tile pipeline alone",
        rec.realMs("BM_Album_Decoded_Ours"), "ms", "tile-pipeline", rec.realMs("BM_Album_Decoded_Pipeline"), 1.1);
    return 0;
}
