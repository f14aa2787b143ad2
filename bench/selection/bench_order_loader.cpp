// Opening an order through loadOrder in the headless backend, end to end (photo table, tiles, list
// entries), on generated 24-megapixel photos, next to the tile pipeline alone and to vipsthumbnail on
// the same folder in the same run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "appdata/installation.h"
#include "bench/selection/generated_photo.h"
#include "imaging/image_ops.h"
#include "imaging/imaging_jpeg.h"
#include "imaging/thumbnail_list.h"
#include "imaging/thumbnail_pipeline.h"
#include "platform/file_system.h"
#include "selection/order_loader.h"
#include "selection/photo_list_panel.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/headless/headless_host.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
// Distinct pictures generated; every folder below lists them again and again under new names (hard
// links), so that hundreds of 24 MP photos cost seconds to make and no disk space. Each photo is still
// read and decoded on its own, exactly as a folder of different photos would be.
constexpr int kDistinct = 8;
constexpr int kPlainPhotos = 100;
constexpr int kThumbPhotos = 300;
constexpr int kReconcilePhotos = 2000;

void put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, unsigned x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A camera-style APP1 segment: orientation 1 in IFD0, the JPEG thumbnail through IFD1.
std::vector<std::uint8_t> exifSegment(const std::vector<std::uint8_t>& thumb) {
    std::vector<std::uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    put16(t, 1);
    put16(t, 0x0112), put16(t, 3), put32(t, 1), put16(t, 1), put16(t, 0);
    const unsigned ifd1 = 8 + 2 + 12 + 4;
    put32(t, ifd1);
    put16(t, 2);
    const unsigned thumbAt = ifd1 + 2 + 24 + 4;
    put16(t, 0x0201), put16(t, 4), put32(t, 1), put32(t, thumbAt);
    put16(t, 0x0202), put16(t, 4), put32(t, 1), put32(t, static_cast<unsigned>(thumb.size()));
    put32(t, 0);
    t.insert(t.end(), thumb.begin(), thumb.end());
    std::vector<std::uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), t.begin(), t.end());
    std::vector<std::uint8_t> seg = {0xFF, 0xE1, static_cast<std::uint8_t>((payload.size() + 2) >> 8),
                                     static_cast<std::uint8_t>((payload.size() + 2) & 0xFF)};
    seg.insert(seg.end(), payload.begin(), payload.end());
    return seg;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The generated pictures, and one selection folder per benchmark, all inside a studio installation.
struct Studio {
    std::string dir;
    std::string plain, thumbs, reconcile;  // selection folders
    std::string small;                     // small photos: what the loader itself costs per photo
    double megabytes = 0;

    Studio() {
        std::string tmpl = (fs::temp_directory_path() / "xp_bench_orders_XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        if (!xp::createInstallation(dir + "/studio").ok) std::abort();
        const std::string originals = dir + "/originals";
        fs::create_directories(originals);
        auto make = [&](int i) {
            xp::ui::Image img = xp::bench::generatedPhoto(kWidth, kHeight, static_cast<unsigned>(i + 1));
            std::vector<std::uint8_t> jpeg, thumb;
            xp::encodeJpeg(img, 92, TJSAMP_420, jpeg);
            xp::encodeJpeg(xp::resample(img, 160, 107), 90, TJSAMP_420, thumb);
            std::vector<std::uint8_t> tagged(jpeg.begin(), jpeg.begin() + 2);
            std::vector<std::uint8_t> app1 = exifSegment(thumb);
            tagged.insert(tagged.end(), app1.begin(), app1.end());
            tagged.insert(tagged.end(), jpeg.begin() + 2, jpeg.end());
            writeBytes(originals + "/plain_" + std::to_string(i) + ".jpg", jpeg);
            writeBytes(originals + "/thumb_" + std::to_string(i) + ".jpg", tagged);
            return jpeg.size() / 1e6;
        };
        std::vector<std::future<double>> jobs;
        for (int i = 0; i < kDistinct; i += 2) {
            jobs.push_back(
                std::async(std::launch::async, [&, i] { return make(i) + (i + 1 < kDistinct ? make(i + 1) : 0); }));
        }
        for (auto& j : jobs) megabytes += j.get();
        megabytes /= kDistinct;
        plain = folder("plain", "plain", kPlainPhotos);
        thumbs = folder("thumbs", "thumb", kThumbPhotos);
        reconcile = folder("reconcile", "thumb", kReconcilePhotos);
        std::vector<std::uint8_t> tiny;
        xp::encodeJpeg(xp::resample(xp::bench::generatedPhoto(kWidth, kHeight, 99), 64, 48), 90, TJSAMP_420, tiny);
        writeBytes(originals + "/small_0.jpg", tiny);
        small = dir + "/small";
        fs::create_directories(small);
        for (int i = 0; i < kReconcilePhotos; ++i) {
            char file[32];
            std::snprintf(file, sizeof file, "/S_%04d.jpg", i + 1);
            fs::create_hard_link(originals + "/small_0.jpg", small + file);
        }
    }
    ~Studio() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string folder(const std::string& name, const std::string& kind, int count) const {
        const std::string f = dir + "/" + name;
        fs::create_directories(f);
        for (int i = 0; i < count; ++i) {
            char file[32];
            std::snprintf(file, sizeof file, "/IMG_%04d.jpg", i + 1);
            fs::create_hard_link(dir + "/originals/" + kind + "_" + std::to_string(i % kDistinct) + ".jpg", f + file);
        }
        return f;
    }
    static std::vector<std::string> photosOf(const std::string& folder) {
        std::vector<std::string> out;
        for (const std::string& name : xp::listFiles(folder, "*.jpg")) out.push_back(folder + "/" + name);
        return out;
    }
};

Studio& studio() {
    static Studio s;
    return s;
}

// The program as the loader meets it: the headless host, the application state and the main window
// with its photo-list panel.
struct Program {
    xp::ui::headless::HeadlessHost host;
    std::unique_ptr<xp::AppState> app;
    xp::MainWindow* window = nullptr;
    Program() {
        app = std::make_unique<xp::AppState>(host, studio().dir + "/studio");
        xp::installPhotoListPanel(*app);
        window = &host.open<xp::MainWindow>(*app);
    }
    ~Program() {
        if (window && window->isOpen()) window->close();
        app.reset();
    }
    // Times one loadOrder of the folder; -1 when it did not load.
    double load(const std::string& folder) {
        app->store.closeAllTables();
        app->setSelectionFolder(folder);
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = xp::loadOrder(*app);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        return ok ? s : -1;
    }
};

void firstLoad(benchmark::State& state, const std::string& folder) {
    Program program;
    for (auto _ : state) {
        std::error_code ec;
        fs::remove_all(folder + "/data", ec);
        const double s = program.load(folder);
        if (s < 0) state.SkipWithError("the order did not load");
        state.SetIterationTime(s);
    }
    state.counters["photos"] = program.window->超级列表框1.itemCount();
}

void BM_FirstLoad_Embedded_Ours(benchmark::State& state) { firstLoad(state, studio().thumbs); }
void BM_FirstLoad_Decoded_Ours(benchmark::State& state) { firstLoad(state, studio().plain); }

void reconcile(benchmark::State& state, const std::string& folder) {
    Program program;
    std::error_code ec;
    fs::remove_all(folder + "/data", ec);
    if (program.load(folder) < 0) state.SkipWithError("the import failed");
    for (auto _ : state) {
        const double s = program.load(folder);
        if (s < 0) state.SkipWithError("the order did not load");
        state.SetIterationTime(s);
    }
    state.counters["photos"] = program.window->超级列表框1.itemCount();
}
void BM_Reconcile_Embedded_Ours(benchmark::State& state) { reconcile(state, studio().reconcile); }
void BM_Small_Import(benchmark::State& state) { firstLoad(state, studio().small); }
void BM_Small_Reconcile(benchmark::State& state) { reconcile(state, studio().small); }

// The tile pipeline alone on the same files: every tile made, taken in order and kept in a thumbnail
// list, as the photo list keeps them (the previous load's list goes when the next one starts, as in the
// loader). What the loader adds on top is its table, its list entries and its progress.
void pipelineAlone(benchmark::State& state, const std::string& folder) {
    const std::vector<std::string> files = Studio::photosOf(folder);
    xp::ThumbnailList thumbnails;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        thumbnails.reset();
        xp::ThumbnailPipeline pipeline(files);
        while (std::optional<xp::ui::Image> tile = pipeline.next()) thumbnails.add(std::move(*tile));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["photos"] = thumbnails.list() ? thumbnails.list()->size() : 0;
}
void BM_FirstLoad_Embedded_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().thumbs); }
void BM_FirstLoad_Decoded_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().plain); }
void BM_Reconcile_Embedded_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().reconcile); }
void BM_Small_Pipeline(benchmark::State& state) { pipelineAlone(state, studio().small); }

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void vipsthumbnail(benchmark::State& state, const std::string& folder) {
    const std::string out = studio().dir + "/vips";
    fs::create_directories(out);
    std::vector<std::string> args = {"vipsthumbnail", "-s", "120x120", "-o", out + "/%s_tile.jpg"};
    for (const std::string& f : Studio::photosOf(folder)) args.push_back(f);
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!run(args)) state.SkipWithError("could not run vipsthumbnail");
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["photos"] = static_cast<double>(args.size() - 5);
}
void BM_FirstLoad_Embedded_vipsthumbnail(benchmark::State& state) { vipsthumbnail(state, studio().thumbs); }
void BM_FirstLoad_Decoded_vipsthumbnail(benchmark::State& state) { vipsthumbnail(state, studio().plain); }

// Repetitions are interleaved at random with the other benchmarks (see main) and the fastest is kept,
// so that load from other processes weighs on ours and the baselines alike.
#define XP_LOAD(fn, reps) \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(reps)
XP_LOAD(BM_FirstLoad_Embedded_Ours, 5);
XP_LOAD(BM_FirstLoad_Embedded_Pipeline, 5);
XP_LOAD(BM_FirstLoad_Embedded_vipsthumbnail, 1);
XP_LOAD(BM_FirstLoad_Decoded_Ours, 3);
XP_LOAD(BM_FirstLoad_Decoded_Pipeline, 3);
XP_LOAD(BM_FirstLoad_Decoded_vipsthumbnail, 1);
XP_LOAD(BM_Reconcile_Embedded_Ours, 3);
XP_LOAD(BM_Reconcile_Embedded_Pipeline, 3);
XP_LOAD(BM_Small_Import, 3);
XP_LOAD(BM_Small_Reconcile, 3);
XP_LOAD(BM_Small_Pipeline, 3);

class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;  // fastest repetition per benchmark
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
            const std::string name = r.run_name.str();
            const double t = r.GetAdjustedRealTime();
            auto it = ms.find(name);
            if (it == ms.end() || t < it->second) ms[name] = t;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double find(const std::string& prefix) const {
        for (const auto& [name, value] : ms)
            if (name.rfind(prefix, 0) == 0) return value;
        return -1;
    }
};

// Ratios are our time over the baseline's: lower is better and every goal reads "<=".
void goal(const std::string& name, double ours, const char* baseline, double base, double limit) {
    if (ours <= 0 || base <= 0) {
        std::printf("GOAL %s: not measured (a benchmark was filtered out, failed or its tool is missing)\n",
                    name.c_str());
        return;
    }
    std::printf("GOAL %s: ours %.1f ms, baseline %s %.1f ms, ratio %.3f (goal <= %.3f)%s\n", name.c_str(), ours,
                baseline, base, ours / base, limit, ours / base <= limit ? "" : "  MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool given = false;
    for (char* a : args) given = given || std::strncmp(a, "--benchmark_enable_random_interleaving", 38) == 0;
    if (!given) args.push_back(interleave.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    const Studio& s = studio();
    std::printf(
        "%d distinct %d x %d photos (%.1f MB each), hard-linked into folders of %d without and %d and %d with an "
        "embedded thumbnail, in %s; %u cores\n",
        kDistinct, kWidth, kHeight, s.megabytes, kPlainPhotos, kThumbPhotos, kReconcilePhotos, s.dir.c_str(),
        std::max(1u, std::thread::hardware_concurrency()));
    Recorder rec;
    benchmark::RunSpecifiedBenchmarks(&rec);
    benchmark::Shutdown();

    const std::string n300 = std::to_string(kThumbPhotos), n100 = std::to_string(kPlainPhotos),
                      n2000 = std::to_string(kReconcilePhotos);
    std::printf("\nFastest repetition of each; ratios are our time over the baseline's, lower is better.\n");
    goal("first load of " + n300 + " photos with embedded thumbnails, within 1.1x of the tile pipeline alone",
         rec.find("BM_FirstLoad_Embedded_Ours"), "tile-pipeline", rec.find("BM_FirstLoad_Embedded_Pipeline"), 1.1);
    goal("first load of " + n100 + " photos without embedded thumbnails, within 1.1x of the tile pipeline alone",
         rec.find("BM_FirstLoad_Decoded_Ours"), "tile-pipeline", rec.find("BM_FirstLoad_Decoded_Pipeline"), 1.1);
    goal("reconciling an imported order of " + n2000 +
             " photos (embedded thumbnails), within 1.2x of the tile pipeline alone",
         rec.find("BM_Reconcile_Embedded_Ours"), "tile-pipeline", rec.find("BM_Reconcile_Embedded_Pipeline"), 1.2);
    // Against the peer tool on the same folder, with the imaging goals (the loader adds next to nothing).
    goal("first load of " + n300 + " photos with embedded thumbnails, at least 50x vipsthumbnail throughput",
         rec.find("BM_FirstLoad_Embedded_Ours"), "vipsthumbnail", rec.find("BM_FirstLoad_Embedded_vipsthumbnail"),
         1 / 50.0);
    goal("first load of " + n100 + " photos without embedded thumbnails, at least 1.8x vipsthumbnail throughput",
         rec.find("BM_FirstLoad_Decoded_Ours"), "vipsthumbnail", rec.find("BM_FirstLoad_Decoded_vipsthumbnail"),
         1 / 1.8);
    // What the loader adds per photo on the user-interface thread (table rows, entries, progress), seen
    // on small photos whose tiles cost next to nothing.
    const double smallPipeline = rec.find("BM_Small_Pipeline");
    if (smallPipeline > 0 && rec.find("BM_Small_Import") > 0 && rec.find("BM_Small_Reconcile") > 0)
        std::printf(
            "INFO the loader's own work per photo (%d small photos, tile pipeline alone %.1f us/photo): "
            "import %.1f us, reconcile %.1f us\n",
            kReconcilePhotos, smallPipeline * 1000 / kReconcilePhotos,
            (rec.find("BM_Small_Import") - smallPipeline) * 1000 / kReconcilePhotos,
            (rec.find("BM_Small_Reconcile") - smallPipeline) * 1000 / kReconcilePhotos);
    return 0;
}
