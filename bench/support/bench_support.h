// What every benchmark needs besides its own measurements: generated photo-like JPEGs (with an optional
// EXIF thumbnail and orientation) and folders of hard-linked photos, temporary folders, peer tools run
// and timed, the fastest repetition of each benchmark, and the one GOAL line format.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/image.h"

namespace xp::bench {

// ---- photos ----------------------------------------------------------------------------------------

// Smooth colour fields with fine grain: compresses like a detailed, slightly noisy camera photo (about
// 10 MB for 6000 × 4000 at quality 92). The same seed gives the same picture.
ui::Image photoPixels(int width, int height, unsigned seed);

// The EXIF block a photo carries; with neither part it has none.
struct PhotoExif {
    int orientation = 0;     // 1..8; 0 writes no orientation tag
    bool thumbnail = false;  // a 160 × 107 JPEG of the picture through IFD1, as cameras embed it
};

// The picture as a JPEG at quality 92, 4:2:0, with its EXIF block right after the start marker.
std::vector<std::uint8_t> photoJpeg(const ui::Image& picture, const PhotoExif& exif = {});

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// One generated picture written twice: without EXIF, and with orientation 1 and an embedded thumbnail.
struct PhotoPair {
    std::string plain;          // <folder>/plain_<i>.jpg
    std::string withThumbnail;  // <folder>/thumb_<i>.jpg
    std::size_t plainBytes = 0;
};
// Generates `count` distinct width × height pictures (seeds 1, 2, ...) on all cores.
std::vector<PhotoPair> writePhotoPairs(const std::string& folder, int count, int width, int height);

// Fills `folder` (made if needed) with `count` hard links to `photos`, taken in turn, named by the printf
// `pattern` from number 1. Hundreds of large photos cost no time or disk space, and each file is still
// read and decoded on its own. Returns the paths in number order.
std::vector<std::string> linkPhotos(const std::vector<std::string>& photos, const std::string& folder, int count,
                                    const char* pattern = "IMG_%04d.jpg");

// The *.jpg files of a folder as full paths, in the order the program lists them.
std::vector<std::string> jpegsIn(const std::string& folder);

// ---- folders and peer tools --------------------------------------------------------------------------

// A fresh folder in the system's temporary folder, removed with everything in it when this goes.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// How a peer tool's run went, and its wall time.
struct ToolRun {
    enum Status { Done, Missing, Failed } status = Done;
    double seconds = 0;
    bool ok() const { return status == Done; }
};

// Runs a tool found on PATH (vipsthumbnail, djpeg, jpegtran, cp ...) with its output thrown away.
ToolRun runTool(const std::vector<std::string>& args);
// Runs the commands with up to `parallel` of them at once: Done only when every one ran and succeeded.
ToolRun runTools(const std::vector<std::vector<std::string>>& commands, unsigned parallel);
// The same inside a benchmark's loop: a run that is not Done stops the benchmark with a message saying
// whether the tool is missing or failed, so that its goals print as not measured.
ToolRun runTool(benchmark::State& state, const std::vector<std::string>& args);
ToolRun runTools(benchmark::State& state, const std::vector<std::vector<std::string>>& commands, unsigned parallel);

// The machine's cores, at least 1.
unsigned cores();

// ---- baselines --------------------------------------------------------------------------------------

// The tile pipeline alone on the folder's photos, timed per iteration as manual time: every tile made,
// taken in order and kept in a thumbnail list (the previous list goes when the next fill starts, as in
// the windows). What a loader or an album fill adds on top is its table, its list entries and its
// progress. The counter `counter` says how many tiles one fill made.
void tilePipelineAlone(benchmark::State& state, const std::string& folder, const char* counter);

// ---- running and reporting -----------------------------------------------------------------------------

// Reads Google Benchmark's options. With `interleave`, repetitions run interleaved at random with the
// other benchmarks unless the command line says otherwise, so that load from other processes weighs on
// ours and the baselines alike. False after an unknown argument.
bool initialize(int argc, char** argv, bool interleave);

// Prints like the console reporter and keeps, per benchmark function, its fastest repetition: the one
// least disturbed by other work on the machine. Runs stopped with an error are left out.
class FastestRuns : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // Milliseconds per iteration (wall or manual time, CPU time of the benchmark thread) and the lowest
    // value of a user counter; -1 for a benchmark that did not run (filtered out or stopped).
    double realMs(const std::string& function) const;
    double cpuMs(const std::string& function) const;
    double counter(const std::string& function, const std::string& name) const;

private:
    std::map<std::string, double> lowest_;  // "<function>|<measure>"
};

// Prints `GOAL <name>: ours <v> <unit>, baseline <name> <v> <unit>, ratio <r> (goal <= <g>)`, then
// "  MISSED" when the ratio is over the goal. The ratio is ours over the baseline, so lower is better:
// "at least N times the baseline's throughput" is a goal of 1/N. A figure that is not above zero was
// not measured, and the line says so instead.
void printGoal(const std::string& name, double ours, const std::string& unit, const std::string& baseline, double base,
               double goal);

}  // namespace xp::bench
