// Imaging benchmarks: tiles, display decoding, the prefetch cache and lossless turns on generated
// 24-megapixel photos, each timed next to the peer tool that does the same job on the same files.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
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
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "imaging/display_cache.h"
#include "imaging/display_decode.h"
#include "imaging/image_ops.h"
#include "imaging/image_rotate.h"
#include "imaging/imaging_jpeg.h"
#include "imaging/thumbnail.h"
#include "imaging/thumbnail_pipeline.h"

extern char** environ;

namespace {

constexpr int kPhotos = 6;
constexpr int kTurnPhotos = 3;  // turns cost ten times a tile: fewer keep the run short
constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// Smooth colour fields with fine grain: compresses like a detailed, slightly noisy camera photo
// (about 10 MB at quality 92).
xp::ui::Image photo(unsigned seed) {
    xp::ui::Image img{kWidth, kHeight, std::vector<std::uint8_t>(static_cast<std::size_t>(kWidth) * kHeight * 3)};
    std::vector<float> cx(kWidth * 3), cy(kHeight * 3);
    for (int x = 0; x < kWidth; ++x)
        for (int c = 0; c < 3; ++c)
            cx[x * 3 + c] =
                static_cast<float>(60 * std::sin(x * (0.0011 + 0.0003 * c) + seed) +
                                   25 * std::sin(x * 0.013 * (c + 1) + seed * 3) + 10 * std::sin(x * 0.09 + c));
    for (int y = 0; y < kHeight; ++y)
        for (int c = 0; c < 3; ++c)
            cy[y * 3 + c] = static_cast<float>(50 * std::cos(y * (0.0015 + 0.0002 * c) + seed * 2) +
                                               20 * std::sin(y * 0.017 * (c + 2)) + 10 * std::cos(y * 0.07 + c));
    std::uint32_t s = seed * 2654435761u + 12345;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = img.pixels.data() + static_cast<std::size_t>(y) * kWidth * 3;
        for (int x = 0; x < kWidth; ++x) {
            s ^= s << 13;
            s ^= s >> 17;
            s ^= s << 5;
            const int grain = static_cast<int>(s % 33) - 16;
            for (int c = 0; c < 3; ++c) {
                const int v = 120 + static_cast<int>(cx[x * 3 + c] + cy[y * 3 + c]) + grain;
                row[x * 3 + c] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            }
        }
    }
    return img;
}

void put16(std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, unsigned x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

// A camera-style EXIF block: orientation 1 in IFD0, a JPEG thumbnail through IFD1 at the end.
std::vector<std::uint8_t> exifWithThumbnail(const std::vector<std::uint8_t>& thumb) {
    std::vector<std::uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    put16(t, 1);  // IFD0: orientation
    put16(t, 0x0112), put16(t, 3), put32(t, 1), put16(t, 1), put16(t, 0);
    const unsigned ifd1 = 8 + 2 + 12 + 4;
    put32(t, ifd1);
    put16(t, 2);  // IFD1: thumbnail offset and length
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

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct Photos {
    std::string dir;
    std::vector<std::string> plain;      // no EXIF block
    std::vector<std::string> withThumb;  // the same pictures with an embedded 160 × 107 thumbnail
    double megabytes = 0;

    Photos() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "xp_bench_imaging_XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        std::filesystem::create_directory(dir + "/vips");
        for (int i = 0; i < kPhotos; ++i) {
            xp::ui::Image img = photo(static_cast<unsigned>(i + 1));
            std::vector<std::uint8_t> jpeg;
            xp::encodeJpeg(img, 92, TJSAMP_420, jpeg);
            std::vector<std::uint8_t> thumb;
            xp::encodeJpeg(xp::resample(img, 160, 107), 90, TJSAMP_420, thumb);
            std::vector<std::uint8_t> tagged(jpeg.begin(), jpeg.begin() + 2);
            std::vector<std::uint8_t> app1 = exifWithThumbnail(thumb);
            tagged.insert(tagged.end(), app1.begin(), app1.end());
            tagged.insert(tagged.end(), jpeg.begin() + 2, jpeg.end());
            plain.push_back(dir + "/plain_" + std::to_string(i) + ".jpg");
            withThumb.push_back(dir + "/thumb_" + std::to_string(i) + ".jpg");
            writeFile(plain.back(), jpeg);
            writeFile(withThumb.back(), tagged);
            megabytes += jpeg.size() / 1e6;
        }
        megabytes /= kPhotos;
    }
    ~Photos() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

Photos& photos() {
    static Photos p;
    return p;
}

pid_t spawn(const std::vector<std::string>& args);

// Runs the commands with up to `parallel` of them at once; false if any could not run or failed.
bool runAll(const std::vector<std::vector<std::string>>& commands, unsigned parallel) {
    bool ok = true;
    unsigned running = 0;
    auto reap = [&] {
        int status = 0;
        if (::wait(&status) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ok = false;
        --running;
    };
    for (const auto& c : commands) {
        if (running == parallel) reap();
        if (spawn(c) <= 0)
            ok = false;
        else
            ++running;
    }
    while (running > 0) reap();
    return ok;
}

// Runs a peer tool with its output thrown away; false if it could not run or failed.
bool run(const std::vector<std::string>& args) { return runAll({args}, 1); }

pid_t spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// CPU time (user + system) of this process or of its finished children, in milliseconds: the machine
// may be shared, and CPU time shows the work done whatever else runs beside it.
double cpuMs(int who) {
    rusage u{};
    getrusage(who, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Records the CPU time per photo of what a benchmark ran, ours (in-process) or a peer's (children).
class CpuPerPhoto {
public:
    explicit CpuPerPhoto(bool children) : who_(children ? RUSAGE_CHILDREN : RUSAGE_SELF), start_(cpuMs(who_)) {}
    void report(benchmark::State& state, int photosPerIteration) {
        const double perPhoto = (cpuMs(who_) - start_) / (static_cast<double>(state.iterations()) * photosPerIteration);
        state.counters["cpu_ms_per_photo"] = perPhoto;
    }

private:
    int who_;
    double start_;
};

void runOrSkip(benchmark::State& state, const std::vector<std::string>& args) {
    if (!run(args)) state.SkipWithError(("could not run " + args[0]).c_str());
}

void tilesOurs(benchmark::State& state, const std::vector<std::string>& files) {
    CpuPerPhoto cpu(false);
    for (auto _ : state) {
        xp::ThumbnailPipeline pipeline(files);
        while (std::optional<xp::ui::Image> tile = pipeline.next()) benchmark::DoNotOptimize(tile->pixels.data());
    }
    cpu.report(state, kPhotos);
}

void vipsthumbnail(benchmark::State& state, const std::vector<std::string>& files) {
    std::vector<std::string> args = {"vipsthumbnail", "-s", "120x120", "-o", photos().dir + "/vips/%s_tile.jpg"};
    args.insert(args.end(), files.begin(), files.end());
    CpuPerPhoto cpu(true);
    for (auto _ : state) runOrSkip(state, args);
    cpu.report(state, kPhotos);
}

void BM_TilesDecoded_Ours(benchmark::State& state) { tilesOurs(state, photos().plain); }
void BM_TilesDecoded_OursOneThread(benchmark::State& state) {
    CpuPerPhoto cpu(false);
    for (auto _ : state)
        for (const std::string& f : photos().plain) benchmark::DoNotOptimize(xp::makeThumbnail(f).pixels.data());
    cpu.report(state, kPhotos);
}
void BM_TilesDecoded_vipsthumbnail(benchmark::State& state) { vipsthumbnail(state, photos().plain); }
void BM_TilesDecoded_djpeg_1_8(benchmark::State& state) {
    CpuPerPhoto cpu(true);
    for (auto _ : state)
        for (const std::string& f : photos().plain)
            runOrSkip(state, {"djpeg", "-scale", "1/8", "-outfile", "/dev/null", f});
    cpu.report(state, kPhotos);
}
// The floor measured directly: one djpeg per core at a time. On a machine shared with other work this
// competes for the cores as our workers do, where the sequential run divided by the cores cannot.
void BM_TilesDecoded_djpeg_1_8_parallel(benchmark::State& state) {
    std::vector<std::vector<std::string>> commands;
    for (const std::string& f : photos().plain)
        commands.push_back({"djpeg", "-scale", "1/8", "-outfile", "/dev/null", f});
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (auto _ : state)
        if (!runAll(commands, cores)) state.SkipWithError("could not run djpeg");
}
void BM_TilesEmbedded_Ours(benchmark::State& state) { tilesOurs(state, photos().withThumb); }
void BM_TilesEmbedded_vipsthumbnail(benchmark::State& state) { vipsthumbnail(state, photos().withThumb); }

void BM_Display_Ours(benchmark::State& state) {
    CpuPerPhoto cpu(false);
    for (auto _ : state)
        for (const std::string& f : photos().plain)
            benchmark::DoNotOptimize(xp::decodeForDisplay(f, 1920, 1080).pixels.data());
    cpu.report(state, kPhotos);
}
void BM_Display_djpeg_3_8(benchmark::State& state) {
    // 3/8 is the scale the display decode picks for 6000 × 4000 into 1920 × 1080 (2250 × 1500).
    CpuPerPhoto cpu(true);
    for (auto _ : state)
        for (const std::string& f : photos().plain)
            runOrSkip(state, {"djpeg", "-scale", "3/8", "-outfile", "/dev/null", f});
    cpu.report(state, kPhotos);
}

// The viewer's step to the next photo: the photo is shown, its neighbours are prefetched while the
// selector looks at it (here: until the prefetch is done), then "next" asks for the following photo.
// Only that request on the user-interface thread is timed.
double g_worstNextMs = 0;
void BM_DisplayCache_Next(benchmark::State& state) {
    const std::vector<std::string>& p = photos().plain;
    double worst = 0;
    for (auto _ : state) {
        xp::DisplayCache cache(1920, 1080, 1);
        double total = 0;
        (void)cache.get(p[0]);
        for (int i = 0; i + 1 < kPhotos; ++i) {
            cache.prefetch({p[i], p[i + 1], p[i > 0 ? i - 1 : i]});
            cache.waitIdle();
            auto t0 = std::chrono::steady_clock::now();
            std::shared_ptr<const xp::ui::Image> next = cache.get(p[i + 1]);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            benchmark::DoNotOptimize(next.get());
            total += s;
            worst = std::max(worst, s * 1000);
        }
        state.SetIterationTime(total / (kPhotos - 1));
    }
    state.counters["worst_ms"] = worst;
    g_worstNextMs = g_worstNextMs > 0 ? std::min(g_worstNextMs, worst) : worst;
}
// The same when the selector holds the arrow key: no time to prefetch, so each step waits for a decode.
void BM_DisplayCache_NextWithoutDwell(benchmark::State& state) {
    const std::vector<std::string>& p = photos().plain;
    for (auto _ : state) {
        xp::DisplayCache cache(1920, 1080, 1);
        double total = 0;
        for (int i = 0; i + 1 < kPhotos; ++i) {
            cache.prefetch({p[i], p[i + 1], p[i > 0 ? i - 1 : i]});
            auto t0 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(cache.get(p[i + 1]).get());
            total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        }
        state.SetIterationTime(total / (kPhotos - 1));
    }
}

void BM_TurnLossless_Ours(benchmark::State& state) {
    const std::string out = photos().dir + "/turned.jpg";
    CpuPerPhoto cpu(false);
    for (auto _ : state)
        for (int i = 0; i < kTurnPhotos; ++i)
            if (!xp::rotateImageFile(photos().plain[i], out, 90, 0xFFFFFF, xp::ImageFormat::Jpeg))
                state.SkipWithError("turn failed");
    cpu.report(state, kTurnPhotos);
}
void BM_TurnLossless_jpegtran(benchmark::State& state) {
    const std::string out = photos().dir + "/jpegtran.jpg";
    CpuPerPhoto cpu(true);
    for (auto _ : state)
        for (int i = 0; i < kTurnPhotos; ++i)
            runOrSkip(state, {"jpegtran", "-rotate", "90", "-perfect", "-outfile", out, photos().plain[i]});
    cpu.report(state, kTurnPhotos);
}

// One pass over the photo set per iteration; repetitions are interleaved at random with the other
// benchmarks (see main) and the fastest is kept, so that load from other processes on the machine
// weighs on ours and the peers alike and disturbs the figures as little as it can.
#define XP_PASS(fn, reps) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(reps)
XP_PASS(BM_TilesDecoded_Ours, 5);
XP_PASS(BM_TilesDecoded_OursOneThread, 3);
XP_PASS(BM_TilesDecoded_vipsthumbnail, 5);
XP_PASS(BM_TilesDecoded_djpeg_1_8, 5);
XP_PASS(BM_TilesDecoded_djpeg_1_8_parallel, 5);
BENCHMARK(BM_TilesEmbedded_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(5);
XP_PASS(BM_TilesEmbedded_vipsthumbnail, 5);
XP_PASS(BM_Display_Ours, 5);
XP_PASS(BM_Display_djpeg_3_8, 5);
BENCHMARK(BM_DisplayCache_Next)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_DisplayCache_NextWithoutDwell)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3);
XP_PASS(BM_TurnLossless_Ours, 3);
XP_PASS(BM_TurnLossless_jpegtran, 3);

// Keeps, per benchmark, the fastest repetition's time per iteration (milliseconds).
class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    std::map<std::string, double> cpu;  // CPU ms per photo, lowest repetition
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
            const std::string name = r.run_name.str();
            keepLowest(ms, name, r.GetAdjustedRealTime());
            if (auto c = r.counters.find("cpu_ms_per_photo"); c != r.counters.end())
                keepLowest(cpu, name, c->second.value);
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static void keepLowest(std::map<std::string, double>& m, const std::string& name, double v) {
        auto it = m.find(name);
        if (it == m.end() || v < it->second) m[name] = v;
    }
};

double find(const std::map<std::string, double>& m, const std::string& prefix) {
    for (const auto& [name, value] : m)
        if (name.rfind(prefix, 0) == 0) return value;
    return -1;
}

// Every ratio is our time over the baseline's time, so lower is better and every goal reads "<=";
// "at least N times the baseline's throughput" becomes a goal of 1/N.
void goal(const char* name, double ours, const char* baseline, double base, double limit) {
    if (ours <= 0 || base <= 0) {
        std::printf("GOAL %s: not measured (a benchmark was filtered out or its tool is missing)\n", name);
        return;
    }
    std::printf("GOAL %s: ours %.2f ms/photo, baseline %s %.2f ms/photo, ratio %.3f (goal <= %.3f)%s\n", name, ours,
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
    argc = count;
    argv = args.data();
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const Photos& p = photos();
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::printf("%d photos of %d x %d, %.1f MB each on average, in %s; %u cores\n", kPhotos, kWidth, kHeight,
                p.megabytes, p.dir.c_str(), cores);
    Recorder rec;
    benchmark::RunSpecifiedBenchmarks(&rec);
    benchmark::Shutdown();

    auto perPhoto = [&](const char* prefix) {
        double v = find(rec.ms, prefix);
        return v > 0 ? v / kPhotos : v;
    };
    const double decoded = perPhoto("BM_TilesDecoded_Ours/"), vipsDecoded = perPhoto("BM_TilesDecoded_vipsthumbnail/");
    const double floor = perPhoto("BM_TilesDecoded_djpeg_1_8/");
    const double embedded = perPhoto("BM_TilesEmbedded_Ours/"),
                 vipsEmbedded = perPhoto("BM_TilesEmbedded_vipsthumbnail/");
    const double display = perPhoto("BM_Display_Ours/"), djpegDisplay = perPhoto("BM_Display_djpeg_3_8/");
    const double turn = find(rec.ms, "BM_TurnLossless_Ours/") / kTurnPhotos;
    const double jpegtran = find(rec.ms, "BM_TurnLossless_jpegtran/") / kTurnPhotos;

    std::printf("\nFastest repetition of each; ratios are our time per photo over the baseline's, lower is better.\n");
    goal("tiles without embedded thumbnail, at least 1.8x vipsthumbnail throughput", decoded, "vipsthumbnail",
         vipsDecoded, 1 / 1.8);
    goal("tiles without embedded thumbnail, within 1.15x of the decode floor", decoded,
         ("djpeg-scale-1/8-per-core(/" + std::to_string(cores) + ")").c_str(), floor > 0 ? floor / cores : floor, 1.15);
    const double oneThread = perPhoto("BM_TilesDecoded_OursOneThread/");
    if (oneThread > 0 && floor > 0)
        std::printf(
            "INFO tiles on one thread: ours %.2f ms/photo, djpeg -scale 1/8 %.2f ms/photo (same work per core)\n",
            oneThread, floor);
    const double parallelFloor = perPhoto("BM_TilesDecoded_djpeg_1_8_parallel/");
    if (parallelFloor > 0 && decoded > 0)
        std::printf(
            "INFO tiles against %u djpeg -scale 1/8 at once: ours %.2f ms/photo, djpeg %.2f ms/photo, ratio %.3f\n",
            cores, decoded, parallelFloor, decoded / parallelFloor);
    goal("tiles with embedded thumbnail, at least 50x vipsthumbnail throughput", embedded, "vipsthumbnail",
         vipsEmbedded, 1 / 50.0);
    goal("decodeForDisplay 24 MP to 1920x1080, within 1.2x of djpeg at the same scale", display, "djpeg-scale-3/8",
         djpegDisplay, 1.2);
    if (g_worstNextMs > 0)
        std::printf(
            "GOAL next photo from the prefetch cache: ours %.3f ms (worst step), baseline budget 20.00 ms, "
            "ratio %.4f (goal <= 1.000)%s\n",
            g_worstNextMs, g_worstNextMs / 20, g_worstNextMs <= 20 ? "" : "  MISSED");
    goal("lossless 90 degree turn, within 1.2x of jpegtran -rotate 90 -perfect", turn, "jpegtran", jpegtran, 1.2);
    std::printf(
        "INFO CPU time per photo (user + system, whatever else the machine runs): tiles ours %.1f ms, "
        "djpeg -scale 1/8 %.1f ms, vipsthumbnail %.1f ms; display ours %.1f ms, djpeg -scale 3/8 %.1f ms; "
        "lossless turn ours %.1f ms, jpegtran %.1f ms\n",
        find(rec.cpu, "BM_TilesDecoded_Ours/"), find(rec.cpu, "BM_TilesDecoded_djpeg_1_8/"),
        find(rec.cpu, "BM_TilesDecoded_vipsthumbnail/"), find(rec.cpu, "BM_Display_Ours/"),
        find(rec.cpu, "BM_Display_djpeg_3_8/"), find(rec.cpu, "BM_TurnLossless_Ours/"),
        find(rec.cpu, "BM_TurnLossless_jpegtran/"));
    return 0;
}
