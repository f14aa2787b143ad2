// Record store benchmarks over a protected order-like table (10,000 rows, 15 text fields) and a
// protected photo-like table (2,000 rows, an int and 5 memo fields).
//
// Every operation runs next to two baselines in the same run:
// - floor: exactly the system calls the operation must make (the same byte-range locks, reads, writes
//   and size query at the same offsets of the same protected file, or of a byte copy of it where the
//   baseline writes), with no processing of the bytes at all;
// - pread: plain pread/pwrite of the same bytes from an unprotected copy, without locks.
// A GOAL line per operation compares ours with the floor; a RATIO line compares it with plain pread.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/bench_support.h"
#include "store/ciphered_file.h"
#include "store/file_cipher.h"
#include "store/record_store.h"
#include "store/table_format.h"

namespace {

using namespace xp;
using namespace xp::bench;

constexpr int kOrders = 10000;
constexpr int kPhotos = 2000;
constexpr int kOrderFields = 15;
constexpr int kMemoFields = 5;
const std::string kPassword = "xp2024";
constexpr int kOrderLengths[kOrderFields] = {20, 16, 40, 20, 12, 60, 30, 20, 20, 12, 12, 12, 40, 60, 24};

std::string folder;
std::string orderPath, orderFloorPath, orderPlainPath;
std::string orderAppendPath, orderAppendPlainPath;  // appends grow these copies, not the scanned table
std::string photoPath, photoMemoPath, photoFloorPath, photoFloorMemoPath, photoPlainPath, photoPlainMemoPath;
int32_t orderRecordLength = 0, photoRecordLength = 0;
int64_t orderFirst = 0, photoFirst = 0;
std::vector<int32_t> orderOffsets;  // field offsets in the record
constexpr int kHotOrder = 5000;     // the record the single-field benchmarks work on
constexpr int kHotPhoto = 1000;
constexpr int kHotMemoField = 2;  // (1000 + 2) % 3 == 0: a two-block value
std::vector<int32_t> hotChain;    // its blocks, the same in the protected file and its copies

std::vector<int32_t> chainOf(const std::string& tablePath, const std::string& memoPath, const std::string& password,
                             int record, int field);

std::string orderText(int row, int field) {
    std::string s = "r" + std::to_string(row) + "f" + std::to_string(field) + "\xD5\xC5\xC8\xFD";  // 张三
    s.resize(static_cast<size_t>(kOrderLengths[field]) * 2 / 3, 'x');
    return s;
}

std::string photoMemo(int row, int field) {
    // Mostly one block, every third value two blocks: captions, product lists, retouch requests.
    const size_t n = (row + field) % 3 == 0 ? 700 : 40 + static_cast<size_t>((row * 7 + field * 13) % 300);
    std::string s(n, 'a');
    for (size_t k = 0; k < n; ++k) s[k] = static_cast<char>('a' + (k + static_cast<size_t>(row)) % 26);
    return s;
}

void copyFile(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

void buildFixtures() {
    static TempFolder scratch("xp_store_bench");
    folder = scratch.path();
    orderPath = folder + "/xpsjk.EDB";
    photoPath = folder + "/xpdata.EDB";
    RecordStore s;
    std::vector<FieldDef> order;
    for (int f = 0; f < kOrderFields; ++f) order.push_back({"f" + std::to_string(f), 10, kOrderLengths[f]});
    if (!s.createTable(orderPath, order) || !s.openTable(orderPath)) std::abort();
    std::vector<FieldValue> row(kOrderFields);
    for (int r = 0; r < kOrders; ++r) {
        for (int f = 0; f < kOrderFields; ++f) row[static_cast<size_t>(f)] = FieldValue::text(orderText(r, f));
        if (!s.appendRecord(row)) std::abort();
    }
    std::vector<FieldDef> photo = {{"id", 3}};
    for (int f = 0; f < kMemoFields; ++f) photo.push_back({"m" + std::to_string(f), 12});
    if (!s.createTable(photoPath, photo) || !s.openTable(photoPath)) std::abort();
    for (int r = 0; r < kPhotos; ++r) {
        std::vector<FieldValue> values = {FieldValue::integer(r)};
        for (int f = 0; f < kMemoFields; ++f) values.push_back(FieldValue::text(photoMemo(r, f)));
        if (!s.appendRecord(values)) std::abort();
    }
    s.closeAllTables();
    photoMemoPath = folder + "/xpdata.EDT";
    orderPlainPath = folder + "/plain_xpsjk.EDB";
    photoPlainPath = folder + "/plain_xpdata.EDB";
    photoPlainMemoPath = folder + "/plain_xpdata.EDT";
    copyFile(orderPath, orderPlainPath);
    copyFile(photoPath, photoPlainPath);
    copyFile(photoMemoPath, photoPlainMemoPath);
    for (const std::string& p : {orderPath, photoPath}) {
        if (!s.openTable(p) || !s.setTablePassword(kPassword)) std::abort();
    }
    s.closeAllTables();
    orderFloorPath = folder + "/floor_xpsjk.EDB";
    photoFloorPath = folder + "/floor_xpdata.EDB";
    photoFloorMemoPath = folder + "/floor_xpdata.EDT";
    copyFile(orderPath, orderFloorPath);
    orderAppendPath = folder + "/append_xpsjk.EDB";
    orderAppendPlainPath = folder + "/append_plain_xpsjk.EDB";
    copyFile(orderPath, orderAppendPath);
    copyFile(orderPlainPath, orderAppendPlainPath);
    copyFile(photoPath, photoFloorPath);
    copyFile(photoMemoPath, photoFloorMemoPath);

    orderRecordLength = 4;
    for (int f = 0; f < kOrderFields; ++f) {
        orderOffsets.push_back(orderRecordLength);
        orderRecordLength += kOrderLengths[f];
    }
    orderFirst = 116 + 72 * kOrderFields;
    photoRecordLength = 4 + 4 * (1 + kMemoFields);
    photoFirst = 116 + 72 * (1 + kMemoFields);
    hotChain = chainOf(photoPath, photoMemoPath, kPassword, kHotPhoto, kHotMemoField);
    if (hotChain.size() != 2) std::abort();
}

// ---- the bare system calls -----------------------------------------------------------------------

int openFd(const std::string& p) {
    const int fd = ::open(p.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) std::abort();
    return fd;
}

inline void lockByte(int fd, int64_t pos, short type = F_WRLCK, int64_t len = 1) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = pos;
    fl.l_len = len;
    ::fcntl(fd, F_OFD_SETLK, &fl);
}
inline void unlockByte(int fd, int64_t pos) { lockByte(fd, pos, F_UNLCK); }

inline void mustRead(int fd, void* buf, size_t n, int64_t pos) {
    if (::pread(fd, buf, n, pos) != static_cast<ssize_t>(n)) std::abort();
}
inline void mustWrite(int fd, const void* buf, size_t n, int64_t pos) {
    if (::pwrite(fd, buf, n, pos) != static_cast<ssize_t>(n)) std::abort();
}

// The blocks of a memo chain, read through the cipher once while setting up.
std::vector<int32_t> chainOf(const std::string& tablePath, const std::string& memoPath, const std::string& password,
                             int record, int field) {
    int e = 0;
    auto key = cipherKey(password);
    CipheredFile t(FileSystem::posix()->open(tablePath, OpenMode::Read, e), key);
    CipheredFile m(FileSystem::posix()->open(memoPath, OpenMode::Read, e), key);
    uint8_t b[4];
    t.readAt(b, 4, photoFirst + static_cast<int64_t>(record) * photoRecordLength + 4 + 4 * (field + 1));
    std::vector<int32_t> blocks;
    for (int32_t f = format::getI32(b); f != 0 && blocks.size() < 16;) {
        blocks.push_back(f);
        uint8_t h[12];
        m.readAt(h, 12, 512LL * f);
        f = format::getI32(h + 4);
    }
    return blocks;
}

// ---- readField of a text ---------------------------------------------------------------------------

void BM_ReadText_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(orderPath, kPassword);
    s.goToRecord(kHotOrder + 1);
    for (auto _ : state) benchmark::DoNotOptimize(s.readField("f5"));
    if (s.readField("f5").asText() != orderText(kHotOrder, 5)) state.SkipWithError("wrong value");
}

void BM_ReadText_Floor(benchmark::State& state) {
    const int fd = openFd(orderPath);
    const int64_t rec = orderFirst + static_cast<int64_t>(kHotOrder) * orderRecordLength;
    char buf[64];
    for (auto _ : state) {
        lockByte(fd, rec);
        mustRead(fd, buf, static_cast<size_t>(kOrderLengths[5]), rec + orderOffsets[5]);
        unlockByte(fd, rec);
        benchmark::DoNotOptimize(buf);
    }
    ::close(fd);
}

void BM_ReadText_Pread(benchmark::State& state) {
    const int fd = openFd(orderPlainPath);
    const int64_t rec = orderFirst + static_cast<int64_t>(kHotOrder) * orderRecordLength;
    char buf[64];
    for (auto _ : state) {
        mustRead(fd, buf, static_cast<size_t>(kOrderLengths[5]), rec + orderOffsets[5]);
        benchmark::DoNotOptimize(buf);
    }
    ::close(fd);
}

// ---- readField of a memo ---------------------------------------------------------------------------

void BM_ReadMemo_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(photoPath, kPassword);
    s.goToRecord(kHotPhoto + 1);
    for (auto _ : state) benchmark::DoNotOptimize(s.readField("m2"));
    if (s.readField("m2").asText() != photoMemo(kHotPhoto, kHotMemoField)) state.SkipWithError("wrong value");
}

template <bool Locks>
void readMemoRaw(benchmark::State& state, const std::string& table, const std::string& memo) {
    const std::vector<int32_t>& blocks = hotChain;
    const int tf = openFd(table), mf = openFd(memo);
    const int64_t rec = photoFirst + static_cast<int64_t>(kHotPhoto) * photoRecordLength;
    uint8_t first[4], block[512];
    for (auto _ : state) {
        if (Locks) lockByte(tf, rec);
        mustRead(tf, first, 4, rec + 4 + 4 * (kHotMemoField + 1));
        if (Locks) unlockByte(tf, rec);
        for (int32_t b : blocks) {
            if (Locks) lockByte(mf, 512LL * b);
            mustRead(mf, block, 512, 512LL * b);
            if (Locks) unlockByte(mf, 512LL * b);
        }
        benchmark::DoNotOptimize(block);
    }
    ::close(tf);
    ::close(mf);
}

void BM_ReadMemo_Floor(benchmark::State& state) { readMemoRaw<true>(state, photoPath, photoMemoPath); }
void BM_ReadMemo_Pread(benchmark::State& state) { readMemoRaw<false>(state, photoPlainPath, photoPlainMemoPath); }

// ---- writeField of a text --------------------------------------------------------------------------

void BM_WriteText_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(orderPath, kPassword);
    s.goToRecord(kHotOrder + 1);
    const FieldValue v = FieldValue::text(orderText(kHotOrder + 1, 5));
    for (auto _ : state) {
        if (!s.writeField("f5", v)) state.SkipWithError("write failed");
    }
}

template <bool Locks>
void writeTextRaw(benchmark::State& state, const std::string& path) {
    const int fd = openFd(path);
    const int64_t rec = orderFirst + static_cast<int64_t>(kHotOrder) * orderRecordLength;
    char buf[64] = {};
    struct stat st;
    for (auto _ : state) {
        if (Locks) {
            lockByte(fd, rec);
            ::fstat(fd, &st);  // a write must not run past the last record
        }
        mustWrite(fd, buf, static_cast<size_t>(kOrderLengths[5]), rec + orderOffsets[5]);
        if (Locks) unlockByte(fd, rec);
    }
    ::close(fd);
}

void BM_WriteText_Floor(benchmark::State& state) { writeTextRaw<true>(state, orderFloorPath); }
void BM_WriteText_Pread(benchmark::State& state) { writeTextRaw<false>(state, orderPlainPath); }

// ---- appendRecord ------------------------------------------------------------------------------------

void BM_Append_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(orderAppendPath, kPassword);
    std::vector<FieldValue> row;
    for (int f = 0; f < kOrderFields; ++f) row.push_back(FieldValue::text(orderText(kOrders, f)));
    for (auto _ : state) {
        if (!s.appendRecord(row)) state.SkipWithError("append failed");
    }
}

template <bool Locks>
void appendRaw(benchmark::State& state, const std::string& path) {
    const int fd = openFd(path);
    std::vector<uint8_t> record(static_cast<size_t>(orderRecordLength), 0);
    uint8_t counts[8];
    int32_t c = kOrders;  // the copy's count is enciphered: the baseline keeps its own, touching no bytes
    for (auto _ : state) {
        if (Locks) lockByte(fd, 16);
        mustRead(fd, counts, 8, 16);
        ++c;
        const int64_t pos = orderFirst + static_cast<int64_t>(c) * orderRecordLength;
        if (Locks) lockByte(fd, pos);
        mustWrite(fd, record.data(), record.size(), pos);
        mustWrite(fd, counts, 8, 16);
        if (Locks) {
            unlockByte(fd, pos);
            unlockByte(fd, 16);
        }
    }
    ::close(fd);
}

void BM_Append_Floor(benchmark::State& state) { appendRaw<true>(state, orderFloorPath); }
void BM_Append_Pread(benchmark::State& state) { appendRaw<false>(state, orderAppendPlainPath); }

// ---- findRecord over the whole table ---------------------------------------------------------------

void BM_Find_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(orderPath, kPassword);
    const std::string never = "no such order";
    for (auto _ : state) {
        s.firstRecord();
        if (s.findRecord([&] { return s.readField("f2").asText() == never; })) state.SkipWithError("found");
    }
}

template <bool Locks>
void findRaw(benchmark::State& state, const std::string& path) {
    const int fd = openFd(path);
    std::vector<uint8_t> record(static_cast<size_t>(orderRecordLength));
    uint8_t counts[8];
    for (auto _ : state) {
        if (Locks) lockByte(fd, 16);
        mustRead(fd, counts, 8, 16);
        const int32_t c = kOrders;  // the same records the store scans, whatever the appends added
        for (int32_t i = 0; i < c; ++i) {
            const int64_t pos = orderFirst + static_cast<int64_t>(i) * orderRecordLength;
            if (Locks) lockByte(fd, pos);
            mustRead(fd, record.data(), record.size(), pos);
            if (Locks) unlockByte(fd, pos);
        }
        if (Locks) unlockByte(fd, 16);
        benchmark::DoNotOptimize(record.data());
    }
    ::close(fd);
}

void BM_Find_Floor(benchmark::State& state) { findRaw<true>(state, orderPath); }
void BM_Find_Pread(benchmark::State& state) { findRaw<false>(state, orderPlainPath); }

// ---- a full scan reading 9 fields per row ------------------------------------------------------------

constexpr int kScanFields[9] = {0, 1, 2, 3, 5, 6, 8, 12, 14};

void BM_Scan_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(orderPath, kPassword);
    std::vector<std::string> names;
    for (int f : kScanFields) names.push_back("f" + std::to_string(f));
    for (auto _ : state) {
        s.firstRecord();
        for (int r = 0; r < kOrders; ++r) {
            for (const std::string& n : names) benchmark::DoNotOptimize(s.readField(n));
            s.skipRecords(1);
        }
    }
}

template <bool Locks>
void scanRaw(benchmark::State& state, const std::string& path) {
    const int fd = openFd(path);
    char buf[64];
    uint8_t counts[8];
    for (auto _ : state) {
        for (int r = 0; r < kOrders; ++r) {
            const int64_t rec = orderFirst + static_cast<int64_t>(r) * orderRecordLength;
            for (int f : kScanFields) {
                if (Locks) lockByte(fd, rec);
                mustRead(fd, buf, static_cast<size_t>(kOrderLengths[f]), rec + orderOffsets[static_cast<size_t>(f)]);
                if (Locks) unlockByte(fd, rec);
            }
            if (Locks) {  // skipRecords reads the count under the header lock
                lockByte(fd, 16);
                mustRead(fd, counts, 8, 16);
                unlockByte(fd, 16);
            }
        }
        benchmark::DoNotOptimize(buf);
    }
    ::close(fd);
}

void BM_Scan_Floor(benchmark::State& state) { scanRaw<true>(state, orderPath); }
void BM_Scan_Pread(benchmark::State& state) { scanRaw<false>(state, orderPlainPath); }

// ---- rewriting a memo value with one of the same length --------------------------------------------

void BM_MemoRewrite_Ours(benchmark::State& state) {
    RecordStore s;
    s.openTable(photoPath, kPassword);
    s.goToRecord(kHotPhoto + 1);
    std::string other = photoMemo(kHotPhoto, kHotMemoField);
    other[0] = '#';
    const FieldValue a = FieldValue::text(other);  // the same length: the chain is rewritten in place
    const FieldValue b = FieldValue::text(photoMemo(kHotPhoto, kHotMemoField));
    bool flip = false;
    for (auto _ : state) {
        if (!s.writeField("m2", (flip = !flip) ? a : b)) state.SkipWithError("write failed");
    }
}

template <bool Locks>
void memoRewriteRaw(benchmark::State& state, const std::string& table, const std::string& memo) {
    const std::vector<int32_t>& blocks = hotChain;
    const int tf = openFd(table), mf = openFd(memo);
    const int64_t rec = photoFirst + static_cast<int64_t>(kHotPhoto) * photoRecordLength;
    const int64_t field = rec + 4 + 4 * (kHotMemoField + 1);
    uint8_t first[4], header[32], head[12], block[512] = {};
    struct stat st;
    for (auto _ : state) {
        if (Locks) {
            lockByte(tf, rec);
            ::fstat(tf, &st);
        }
        mustRead(tf, first, 4, field);
        if (Locks) lockByte(mf, 0);
        mustRead(mf, header, 32, 0);
        for (int32_t b : blocks) {  // walk the old chain
            if (Locks) lockByte(mf, 512LL * b);
            mustRead(mf, head, 12, 512LL * b);
            if (Locks) unlockByte(mf, 512LL * b);
        }
        for (int32_t b : blocks) {  // write the new value over it
            if (Locks) lockByte(mf, 512LL * b);
            mustWrite(mf, block, 512, 512LL * b);
            if (Locks) unlockByte(mf, 512LL * b);
        }
        if (Locks) unlockByte(mf, 0);
        mustWrite(tf, first, 4, field);
        if (Locks) unlockByte(tf, rec);
    }
    ::close(tf);
    ::close(mf);
}

void BM_MemoRewrite_Floor(benchmark::State& state) { memoRewriteRaw<true>(state, photoFloorPath, photoFloorMemoPath); }
void BM_MemoRewrite_Pread(benchmark::State& state) { memoRewriteRaw<false>(state, photoPlainPath, photoPlainMemoPath); }

}  // namespace

#define XP_TRIPLE(name, unit)                                               \
    BENCHMARK(BM_##name##_Ours)->Unit(unit)->Repetitions(3)->MinTime(0.2);  \
    BENCHMARK(BM_##name##_Floor)->Unit(unit)->Repetitions(3)->MinTime(0.2); \
    BENCHMARK(BM_##name##_Pread)->Unit(unit)->Repetitions(3)->MinTime(0.2)

XP_TRIPLE(ReadText, benchmark::kMicrosecond);
XP_TRIPLE(ReadMemo, benchmark::kMicrosecond);
XP_TRIPLE(WriteText, benchmark::kMicrosecond);
XP_TRIPLE(Append, benchmark::kMicrosecond);
XP_TRIPLE(Find, benchmark::kMillisecond);
XP_TRIPLE(Scan, benchmark::kMillisecond);
XP_TRIPLE(MemoRewrite, benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!initialize(argc, argv, false)) return 1;
    buildFixtures();
    // The fastest repetition of each, in CPU time of the benchmark thread, system calls included: on a
    // shared machine the wall clock mostly measures waiting for a core.
    FastestRuns reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    struct Goal {
        const char* bench;
        const char* name;
        bool ms;
    } goals[] = {{"ReadText", "readField text", false},    {"ReadMemo", "readField memo", false},
                 {"WriteText", "writeField text", false},  {"Append", "appendRecord", false},
                 {"Find", "findRecord whole table", true}, {"Scan", "full scan 9 fields per row", true},
                 {"MemoRewrite", "memo rewrite", false}};
    std::printf("\nCPU time per operation (user + system), fastest of 3 repetitions\n");
    for (const Goal& g : goals) {
        const std::string b = std::string("BM_") + g.bench;
        const double scale = g.ms ? 1 : 1e3;
        const char* unit = g.ms ? "ms" : "us";
        const double ours = reporter.cpuMs(b + "_Ours") * scale;
        const double pread = reporter.cpuMs(b + "_Pread") * scale;
        printGoal(g.name, ours, unit, "floor", reporter.cpuMs(b + "_Floor") * scale, 1.3);
        if (ours > 0 && pread > 0)
            std::printf("RATIO %s: ours %.3f %s, baseline pread %.3f %s, ratio %.2f\n", g.name, ours, unit, pread, unit,
                        ours / pread);
    }
    return 0;
}
