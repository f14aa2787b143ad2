// Order completion, measured end to end in the headless backend:
// - auto-split (the click on 超级按钮_自动分片: order row, photo table, copies, reports) of 300 photos
//   into 3 products, next to cp copying the same files into the same folder layout in the same run;
// - opening the order form of an order of 2,000 photos with 10 package products, next to one scan of
//   the photo table's three fields with the record store alone.
// Photo size: XP_BENCH_PHOTO_MB (default 10). Inputs are hard links of a few distinct files; every copy
// is a real copy.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "appdata/app_paths.h"
#include "appdata/installation.h"
#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "completion/completion_windows.h"
#include "completion/order_form_window.h"
#include "platform/file_system.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/headless/headless_host.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace of = xp::order_fields;
namespace pf = xp::photo_fields;

constexpr int kSplitPhotos = 300;
constexpr int kDistinct = 8;
constexpr int kFormPhotos = 2000;
constexpr int kPackageProducts = 10;

int photoMegabytes() {
    const char* v = std::getenv("XP_BENCH_PHOTO_MB");
    const int mb = v ? std::atoi(v) : 10;
    return mb > 0 ? mb : 10;
}

bool run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// An order in the order table and its photo table, made with the store; the order is the open one.
struct Order {
    std::string folder;
    std::vector<std::string> files;                             // photo paths
    std::map<std::string, std::vector<std::string>> byProduct;  // product -> photo paths
};

struct Studio {
    std::string dir;
    xp::ui::headless::HeadlessHost host;
    std::unique_ptr<xp::AppState> app;
    xp::MainWindow* main = nullptr;
    Order split, form;
    int megabytes = photoMegabytes();

    Studio() {
        std::string tmpl = (fs::temp_directory_path() / "xp_bench_completion_XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        dir = tmpl;
        const xp::InstallResult made = xp::createInstallation(dir + "/studio");
        if (!made.ok) std::abort();
        app = std::make_unique<xp::AppState>(host, made.folder);
        xp::installCompletionWindows(*app);
        main = &host.open<xp::MainWindow>(*app);
        main->外形框_超级列表框1.show();

        // Distinct originals of random bytes (a copy does not care what is inside), linked under 300 names.
        const std::string originals = dir + "/originals";
        fs::create_directories(originals);
        std::mt19937_64 random(7);
        std::vector<char> bytes(static_cast<size_t>(megabytes) << 20);
        for (int i = 0; i < kDistinct; ++i) {
            for (size_t j = 0; j + 8 <= bytes.size(); j += 8) {
                const std::uint64_t r = random();
                std::memcpy(bytes.data() + j, &r, 8);
            }
            std::ofstream(originals + "/" + std::to_string(i) + ".jpg", std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        split.folder = dir + "/split";
        fs::create_directories(split.folder);
        std::vector<std::string> products;
        for (int i = 0; i < kSplitPhotos; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "IMG_%04d", i + 1);
            const std::string path = split.folder + "/" + name + ".jpg";
            fs::create_hard_link(originals + "/" + std::to_string(i % kDistinct) + ".jpg", path);
            split.files.push_back(path);
            // Each photo in one or two of the three products.
            const std::string list = i % 3 == 0 ? "入册。相册。" : i % 3 == 1 ? "入册。" : "放大。";
            products.push_back(list);
            for (const std::string& p : xp::splitProductList(list)) split.byProduct[p].push_back(path);
        }
        makePhotoTable(split.folder, split.files, products, {});
        addOrder("20151005001", split.folder, "相册。放大。");

        form.folder = dir + "/form";
        fs::create_directories(form.folder);
        std::string package;
        for (int p = 1; p <= kPackageProducts; ++p) package += "产品" + std::to_string(p) + "。";
        std::vector<std::string> formProducts, retouch;
        for (int i = 0; i < kFormPhotos; ++i) {
            form.files.push_back(form.folder + "/DSC_" + std::to_string(10000 + i) + ".jpg");
            std::string list;
            if (i % 4 != 3) list += "入册。";
            if (i % 5 == 0) list += "产品" + std::to_string(1 + i % kPackageProducts) + "。";
            if (i % 7 == 0) list += "产品" + std::to_string(1 + (i / 7) % kPackageProducts) + "。";
            formProducts.push_back(list);
            retouch.push_back(i % 9 == 0 ? "皮肤磨一下，背景去杂物" : "");
        }
        makePhotoTable(form.folder, form.files, formProducts, retouch);
        addOrder("20151005002", form.folder, package);
        xp::writeSaveMarker(split.folder);
    }
    ~Studio() {
        host.find<xp::MainWindow>()->close();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    static void makePhotoTable(const std::string& folder, const std::vector<std::string>& files,
                               const std::vector<std::string>& products, const std::vector<std::string>& retouch) {
        xp::RecordStore store;
        fs::create_directories(folder + "/data");
        if (!store.createTable(xp::photoTableFile(folder), xp::photoTableCreationRequest()) ||
            !store.openTable(xp::photoTablePath(folder)) || !store.setTablePassword(xp::kTablePassword))
            std::abort();
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string name = fs::path(files[i]).stem().string();
            if (!store.appendRecord({xp::textValue(name), xp::textValue(products[i]),
                                     xp::textValue(retouch.empty() ? "" : retouch[i]), xp::textValue(files[i]),
                                     xp::FieldValue::integer(static_cast<std::int32_t>(i + 1)),
                                     xp::textValue("10485760")}))
                std::abort();
        }
    }
    void addOrder(const std::string& number, const std::string& folder, const std::string& package) {
        xp::RecordStore store;
        if (!xp::openAppTable(store, app->paths.orderTable)) std::abort();
        if (!xp::appendNamedRow(store, {{of::kOrderNumber, number},
                                        {of::kCustomerName, "王芳"},
                                        {of::kSelectionFolder, folder},
                                        {of::kIncludedCount, "30"},
                                        {of::kPackageProducts, package},
                                        {of::kRequirements, "全部精修\r\n背景换白色"}}))
            std::abort();
    }

    // Makes an order the open one: its row, its folder, its photo table current in the program's store.
    void open(int row, const std::string& number, const std::string& folder) {
        app->store.closeAllTables();
        app->orderRecordNumber = row;
        app->orderNumber = number;
        app->setSelectionFolder(folder);
        if (!xp::openAppTable(app->store, app->paths.photoTable)) std::abort();
    }
};

Studio& studio() {
    static Studio s;
    return s;
}

void clearOutput(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder + "/以选", ec);
    ::sync();  // neither side pays for the other's writes
}

double seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_AutoSplit_Ours(benchmark::State& state) {
    Studio& s = studio();
    s.open(1, "20151005001", s.split.folder);
    for (auto _ : state) {
        clearOutput(s.split.folder);
        xp::ui::headless::Answer no;
        no.result = xp::ui::MessageResult::No;
        no.expectText = "分片完成！是否打开顾客选片文件夹";
        s.host.queue(no);
        const auto t0 = std::chrono::steady_clock::now();
        s.main->超级按钮_自动分片.click();
        state.SetIterationTime(seconds(t0));
    }
    size_t copies = 0;
    for (const auto& [p, files] : s.split.byProduct) copies += files.size();
    for (const auto& [p, files] : s.split.byProduct)
        if (xp::listFiles(s.split.folder + "/以选/" + p).size() != files.size()) state.SkipWithError("copies missing");
    state.counters["copies"] = static_cast<double>(copies);
}

void BM_AutoSplit_cp(benchmark::State& state) {
    Studio& s = studio();
    for (auto _ : state) {
        clearOutput(s.split.folder);
        const auto t0 = std::chrono::steady_clock::now();
        for (const auto& [product, files] : s.split.byProduct) {
            const std::string target = s.split.folder + "/以选/" + product;
            fs::create_directories(target);
            std::vector<std::string> args = {"cp", "-f"};
            args.insert(args.end(), files.begin(), files.end());
            args.push_back(target + "/");
            if (!run(args)) state.SkipWithError("could not run cp");
        }
        state.SetIterationTime(seconds(t0));
    }
}

void BM_OrderForm_Open(benchmark::State& state) {
    Studio& s = studio();
    s.open(2, "20151005002", s.form.folder);
    int rows = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        xp::OrderFormWindow& form = xp::openOrderForm(*s.main);
        state.SetIterationTime(seconds(t0));
        rows = form.超级列表框2.itemCount();
        form.close();
    }
    if (rows != kPackageProducts + 1) state.SkipWithError("the summary lacks products");
}

// One scan of the three fields the form needs, with the store alone: a cursor walk, and the one-lock
// search scan the form itself uses.
template <bool search>
void scan(benchmark::State& state) {
    Studio& s = studio();
    s.app->store.closeAllTables();
    const xp::FieldRef name(xp::toGbk(pf::kFileName)), products(xp::toGbk(pf::kProducts)),
        retouch(xp::toGbk(pf::kRetouch));
    for (auto _ : state) {
        xp::RecordStore store;
        size_t bytes = 0;
        const auto t0 = std::chrono::steady_clock::now();
        if (!store.openTable(xp::photoTablePath(s.form.folder), xp::kTablePassword)) state.SkipWithError("open");
        store.firstRecord();
        auto readRow = [&] {
            bytes += store.readField(name).asText().size() + store.readField(products).asText().size() +
                     store.readField(retouch).asText().size();
        };
        if (search) {
            store.findRecord([&] {
                readRow();
                return false;
            });
        } else {
            for (int i = 0, n = store.recordCount(); i < n; ++i, store.skipRecords(1)) readRow();
        }
        store.closeTable();
        state.SetIterationTime(seconds(t0));
        benchmark::DoNotOptimize(bytes);
    }
}
void BM_PhotoTable_Scan(benchmark::State& state) { scan<true>(state); }
void BM_PhotoTable_CursorWalk(benchmark::State& state) { scan<false>(state); }

#define XP_RUN(fn, reps) BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1)->Repetitions(reps)
XP_RUN(BM_AutoSplit_Ours, 3);
XP_RUN(BM_AutoSplit_cp, 3);
XP_RUN(BM_OrderForm_Open, 15);
XP_RUN(BM_PhotoTable_Scan, 15);
XP_RUN(BM_PhotoTable_CursorWalk, 15);

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

void goal(const std::string& name, double ours, const char* baseline, double base, double limit) {
    if (ours <= 0 || base <= 0) {
        std::printf("GOAL %s: not measured (a benchmark was filtered out or failed)\n", name.c_str());
        return;
    }
    std::printf("GOAL %s: ours %.2f ms, baseline %s %.2f ms, ratio %.3f (goal <= %.3f)%s\n", name.c_str(), ours,
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

    Studio& s = studio();
    std::printf(
        "%d photos of %d MB (hard links of %d distinct files) into 3 products; an order of %d photos with %d "
        "package products; in %s\n",
        kSplitPhotos, s.megabytes, kDistinct, kFormPhotos, kPackageProducts, s.dir.c_str());
    Recorder rec;
    benchmark::RunSpecifiedBenchmarks(&rec);
    benchmark::Shutdown();

    std::printf("\nFastest repetition of each; ratios are our time over the baseline's, lower is better.\n");
    goal("auto-split of " + std::to_string(kSplitPhotos) + " photos of " + std::to_string(s.megabytes) +
             " MB into 3 products, within 1.1x of cp",
         rec.find("BM_AutoSplit_Ours"), "cp", rec.find("BM_AutoSplit_cp"), 1.1);
    goal("order form of " + std::to_string(kFormPhotos) + " photos and " + std::to_string(kPackageProducts) +
             " package products opens within 1.5x of one scan of the photo table",
         rec.find("BM_OrderForm_Open"), "store-scan", rec.find("BM_PhotoTable_Scan"), 1.5);
    goal("order form of " + std::to_string(kFormPhotos) + " photos against a cursor walk of the three fields",
         rec.find("BM_OrderForm_Open"), "store-cursor-walk", rec.find("BM_PhotoTable_CursorWalk"), 1.5);
    return 0;
}
