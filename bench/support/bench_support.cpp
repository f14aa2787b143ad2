// Temporary folders, peer tools, the fastest-repetition reporter and the GOAL line of the benchmarks.
#include "bench/support/bench_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <thread>

#include "imaging/thumbnail_list.h"
#include "imaging/thumbnail_pipeline.h"
#include "platform/file_system.h"

extern char** environ;

namespace xp::bench {

TempFolder::TempFolder(const std::string& prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
    if (!::mkdtemp(tmpl.data())) {
        std::fprintf(stderr, "could not make a temporary folder %s: %s\n", tmpl.c_str(), std::strerror(errno));
        std::abort();
    }
    path_ = tmpl;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {

// Starts the tool with stdout and stderr on /dev/null: the pid, or -1 when it could not start.
pid_t spawn(const std::vector<std::string>& args) {
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
    return rc == 0 ? pid : -1;
}

ToolRun checked(benchmark::State& state, const std::string& tool, ToolRun run) {
    if (run.status == ToolRun::Missing)
        state.SkipWithError((tool + " could not be started (is it installed?)").c_str());
    else if (run.status == ToolRun::Failed)
        state.SkipWithError((tool + " failed").c_str());
    return run;
}

}  // namespace

ToolRun runTools(const std::vector<std::vector<std::string>>& commands, unsigned parallel) {
    const auto t0 = std::chrono::steady_clock::now();
    ToolRun result;
    std::set<pid_t> running;
    auto reap = [&] {
        int status = 0;
        const pid_t pid = ::waitpid(-1, &status, 0);
        if (pid < 0) {
            running.clear();
            result.status = ToolRun::Failed;
            return;
        }
        running.erase(pid);
        if ((!WIFEXITED(status) || WEXITSTATUS(status) != 0) && result.status == ToolRun::Done)
            result.status = ToolRun::Failed;
    };
    for (const auto& c : commands) {
        if (running.size() >= std::max(1u, parallel)) reap();
        const pid_t pid = spawn(c);
        if (pid > 0)
            running.insert(pid);
        else
            result.status = ToolRun::Missing;
    }
    while (!running.empty()) reap();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return result;
}

ToolRun runTool(const std::vector<std::string>& args) { return runTools({args}, 1); }

ToolRun runTool(benchmark::State& state, const std::vector<std::string>& args) {
    return checked(state, args.at(0), runTool(args));
}

ToolRun runTools(benchmark::State& state, const std::vector<std::vector<std::string>>& commands, unsigned parallel) {
    return checked(state, commands.empty() ? "" : commands[0].at(0), runTools(commands, parallel));
}

unsigned cores() { return std::max(1u, std::thread::hardware_concurrency()); }

bool initialize(int argc, char** argv, bool interleave) {
    // Google Benchmark keeps pointers into the arguments: they live as long as the program.
    static std::vector<char*> args;
    static std::string interleaving = "--benchmark_enable_random_interleaving=true";
    args.assign(argv, argv + argc);
    bool given = false;
    for (char* a : args) given = given || std::strncmp(a, "--benchmark_enable_random_interleaving", 38) == 0;
    if (interleave && !given) args.push_back(interleaving.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

void FastestRuns::ReportRuns(const std::vector<Run>& runs) {
    auto keepLowest = [this](const std::string& key, double v) {
        auto it = lowest_.find(key);
        if (it == lowest_.end() || v < it->second) lowest_[key] = v;
    };
    for (const Run& r : runs) {
        if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
        const std::string& f = r.run_name.function_name;
        const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        keepLowest(f + "|real", r.GetAdjustedRealTime() * toMs);
        keepLowest(f + "|cpu", r.GetAdjustedCPUTime() * toMs);
        for (const auto& [name, c] : r.counters) keepLowest(f + "|counter " + name, c.value);
    }
    ConsoleReporter::ReportRuns(runs);
}

namespace {
double lookUp(const std::map<std::string, double>& m, const std::string& key) {
    auto it = m.find(key);
    return it == m.end() ? -1 : it->second;
}
}  // namespace

double FastestRuns::realMs(const std::string& function) const { return lookUp(lowest_, function + "|real"); }
double FastestRuns::cpuMs(const std::string& function) const { return lookUp(lowest_, function + "|cpu"); }
double FastestRuns::counter(const std::string& function, const std::string& name) const {
    return lookUp(lowest_, function + "|counter " + name);
}

void printGoal(const std::string& name, double ours, const std::string& unit, const std::string& baseline, double base,
               double goal) {
    if (!(ours > 0) || !(base > 0)) {
        const std::string why =
            !(ours > 0) ? "ours did not run: filtered out or failed"
                        : "baseline " + baseline + " did not run: filtered out, failed, or its tool is missing";
        std::printf("GOAL %s: not measured (%s)\n", name.c_str(), why.c_str());
        return;
    }
    const double ratio = ours / base;
    std::printf("GOAL %s: ours %.3f %s, baseline %s %.3f %s, ratio %.3f (goal <= %.3f)%s\n", name.c_str(), ours,
                unit.c_str(), baseline.c_str(), base, unit.c_str(), ratio, goal, ratio <= goal ? "" : "  MISSED");
}

std::vector<std::string> jpegsIn(const std::string& folder) {
    std::vector<std::string> out;
    for (const std::string& name : listFiles(folder, "*.jpg")) out.push_back(folder + "/" + name);
    return out;
}

void tilePipelineAlone(benchmark::State& state, const std::string& folder, const char* counter) {
    const std::vector<std::string> files = jpegsIn(folder);
    ThumbnailList thumbnails;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        thumbnails.reset();
        ThumbnailPipeline pipeline(files);
        while (std::optional<ui::Image> tile = pipeline.next()) thumbnails.add(std::move(*tile));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters[counter] = thumbnails.list() ? static_cast<double>(thumbnails.list()->size()) : 0;
}

}  // namespace xp::bench
