// The table check: every rule of the layout that a reader relies on, reported in words.
#include "store/table_check.h"

#include <cstring>
#include <set>
#include <unordered_map>

#include "store/byte_locks.h"
#include "store/ciphered_file.h"
#include "store/file_cipher.h"
#include "store/open_table.h"
#include "store/path_case.h"
#include "store/store_errors.h"
#include "store/table_format.h"
#include "store/table_recovery.h"
#include "store/text_rules.h"

namespace xp {

using namespace format;

namespace {

std::string str(int64_t v) { return std::to_string(v); }

struct Checker {
    TableCheckReport report;
    void problem(int code, std::string s) {
        if (report.problems.empty()) report.code = code;
        report.problems.push_back(std::move(s));
    }
    void note(std::string s) { report.notes.push_back(std::move(s)); }
};

}  // namespace

TableCheckReport checkTable(const std::string& givenPath, const std::string& password, int lockWaitMs) {
    Checker c;
    FileSystem& fs = *FileSystem::posix();
    const std::string path = resolvePathCase(withDefaultExtension(givenPath));
    const std::string memoPath = resolvePathCase(memoPathFor(path));
    int e = 0;
    auto opened = fs.open(path, OpenMode::Read, e);
    if (!opened) {
        c.problem(errorFromErrno(e), "cannot open " + path + ": " + std::strerror(e));
        return c.report;
    }
    // The files outlive the guards that unlock them.
    CipheredFile table(std::move(opened), nullptr);
    File* raw = &table.raw();
    // A reader's sharing marker and the whole-table lock: no writer is half way through a change while
    // the files are read, and a table opened exclusively elsewhere is not read at all.
    if (int r = takeShareMarkers(*raw, true, 1, lockWaitMs); r != 0) {
        c.problem(r, "the table is open exclusively elsewhere");
        return c.report;
    }
    ByteLocks tableLocks;
    tableLocks.attach(raw, true, false);
    if (int r = tableLocks.lockWhole(lockWaitMs); r != 0) {
        c.problem(r, "the table stayed locked by a writer");
        return c.report;
    }
    WholeLockGuard tableWhole(tableLocks);
    if (hasLeftovers(fs, path, memoPath)) {
        c.report.recoveryPending = true;
        c.report.code = err::OpenFailed;
        return c.report;
    }

    uint8_t h[kHeaderSize];
    if (raw->readAt(h, sizeof h, 0) != kHeaderSize) {
        c.problem(err::NotATable, "file is shorter than the 112-byte header");
        return c.report;
    }
    std::shared_ptr<const CipherKey> key;
    if (std::memcmp(h, "WCDB", 4) == 0) {
        if (password.empty()) {
            c.problem(err::BadPassword, "table is protected: a password is needed");
            return c.report;
        }
        key = cipherKey(password);
        applyCipher(*key, h, sizeof h, 0);
        if (!equalsIgnoreCase(std::string_view(reinterpret_cast<char*>(h + kPasswordOffset), 32),
                              passwordCheck(password))) {
            c.problem(err::BadPassword, "password does not match the password check");
            return c.report;
        }
        for (int k = 32; k < 36; ++k) {
            if (h[kPasswordOffset + k] != 0) c.problem(err::NotATable, "password block is not followed by zero bytes");
        }
    } else if (std::memcmp(h, "WEDB", 4) == 0) {
        if (!password.empty()) c.note("table is not protected; the password was not needed");
        for (int k = 0; k < kPasswordBlockSize; ++k) {
            if (h[kPasswordOffset + k] != 0) {
                c.problem(err::NotATable, "unprotected table has a non-zero password block");
                break;
            }
        }
    } else {
        c.problem(err::NotATable, "magic is neither WEDB nor WCDB");
        return c.report;
    }
    table.setKey(key);

    const int32_t version = getI32(h + 4);
    const int32_t count = getI32(h + 16);
    const int32_t nextSerial = getI32(h + 20);
    const int32_t recordLength = getI32(h + 24);
    if (version > kVersion) {
        c.problem(err::VersionTooHigh, "version is " + str(version) + ", newer than 65536");
    } else if (version != kVersion) {
        c.problem(err::NotATable, "version is " + str(version) + ", expected 65536");
    }
    if (count < 0) c.problem(err::NotATable, "record count is negative: " + str(count));
    if (nextSerial < 1) c.problem(err::NotATable, "next serial is below 1: " + str(nextSerial));
    if (recordLength <= 0) {
        c.problem(err::NotATable, "record length is not positive: " + str(recordLength));
        return c.report;
    }
    const int64_t length = table.size();
    uint8_t nb[4];
    if (table.readAt(nb, 4, kFieldCountOffset) != 4 || getI32(nb) <= 0) {
        c.problem(err::NotATable, "field count is missing or not positive");
        return c.report;
    }
    const int32_t n = getI32(nb);
    const int64_t first = kDescriptorsOffset + kDescriptorSize * static_cast<int64_t>(n);
    if (first > length) {
        c.problem(err::NotATable, "file ends inside the field table (" + str(n) + " fields declared)");
        return c.report;
    }
    std::vector<FieldDesc> fields(static_cast<size_t>(n));
    int64_t expectedOffset = 4;
    bool hasMemo = false;
    for (int32_t k = 0; k < n; ++k) {
        uint8_t d[kDescriptorSize] = {};
        table.readAt(d, sizeof d, kDescriptorsOffset + kDescriptorSize * k);
        FieldDesc& f = fields[static_cast<size_t>(k)];
        const std::string which = "field " + str(k + 1);
        if (!decodeDescriptor(d, f)) {
            c.problem(err::NotATable, which +
                                          ": descriptor is invalid (name without NUL, bad type, negative offset or a "
                                          "text length outside 1..1024)");
            return c.report;
        }
        if (f.offset != expectedOffset)
            c.problem(err::NotATable, which + ": offset " + str(f.offset) + ", expected " + str(expectedOffset));
        expectedOffset += f.size;
        hasMemo = hasMemo || isMemoType(f.type);
    }
    if (expectedOffset != recordLength) {
        c.problem(err::NotATable, "record length is " + str(recordLength) + ", the fields need " + str(expectedOffset));
    }
    // Nothing below is meaningful (or safe to size buffers by) unless the layout holds.
    if (!layoutMatches(fields, recordLength)) return c.report;
    const int64_t counted = std::max(count, 0);
    if (first + counted * recordLength > kMaxFileLength) {
        c.problem(err::NotATable, "record count " + str(count) + " is beyond what a table file can hold");
        return c.report;
    }
    const int64_t expectedLength = first + counted * recordLength;
    const int64_t whole = (length - first) / recordLength;
    if (whole < counted) {
        c.problem(err::SizeError, "file length is " + str(length) + ", the header's " + str(count) + " records need " +
                                      str(expectedLength));
    } else if (whole > counted) {
        c.problem(err::SizeError, "file holds " + str(whole - counted) + " whole records after the header's " +
                                      str(count) + " (an open that may write cuts them off and keeps a copy)");
    } else if (length != expectedLength) {
        c.note("file has " + str(length - expectedLength) +
               " bytes after its last record, left by an interrupted append (an open that may write cuts them "
               "off and keeps a copy)");
    }
    const int64_t present = std::min<int64_t>(counted, whole);
    c.report.records = static_cast<int32_t>(present);

    // Records: serials and the memo chains they own.
    std::vector<uint8_t> rec(present > 0 ? static_cast<size_t>(recordLength) : 0);
    std::set<int64_t> serials;
    std::vector<std::pair<int64_t, int32_t>> chains;  // record index, first block
    for (int64_t i = 0; i < present; ++i) {
        table.readAt(rec.data(), rec.size(), first + i * recordLength);
        const int32_t s = getI32(rec.data());
        const int64_t a = s < 0 ? -static_cast<int64_t>(s) : s;
        if (s == 0) c.problem(err::NotATable, "record " + str(i + 1) + " has serial 0");
        if (a >= nextSerial)
            c.problem(err::NotATable, "record " + str(i + 1) + " has serial " + str(a) + ", not below the next serial");
        if (!serials.insert(a).second) c.problem(err::NotATable, "serial " + str(a) + " appears twice");
        for (const FieldDesc& f : fields) {
            if (isMemoType(f.type) && getI32(rec.data() + f.offset) != 0)
                chains.emplace_back(i, getI32(rec.data() + f.offset));
        }
    }
    if (!hasMemo) return c.report;

    auto memoRaw = fs.open(memoPath, OpenMode::Read, e);
    if (!memoRaw) {
        c.problem(err::MemoReadFailed, "memo file cannot be opened: " + std::string(std::strerror(e)));
        return c.report;
    }
    CipheredFile memo(std::move(memoRaw), key);
    ByteLocks memoLocks;
    memoLocks.attach(&memo.raw(), true, false);
    if (int r = memoLocks.lockWhole(lockWaitMs); r != 0) {
        c.problem(r, "the memo file stayed locked by a writer");
        return c.report;
    }
    WholeLockGuard memoWhole(memoLocks);
    uint8_t mh[kMemoHeaderSize];
    if (memo.readAt(mh, sizeof mh, 0) != kMemoHeaderSize || std::memcmp(mh, "WEDT", 4) != 0) {
        c.problem(err::MemoReadFailed, "memo file has no WEDT header");
        return c.report;
    }
    const int32_t blocks = getI32(mh + 16);
    const int32_t freeCount = getI32(mh + 20);
    const int32_t freeHead = getI32(mh + 24);
    const int64_t memoLength = memo.size();
    c.report.memoBlocks = blocks;
    if (getI32(mh + 4) != version) c.problem(err::MemoVersion, "memo file version differs from the table's");
    if (blocks <= 0 || blocks > kMaxMemoBlocks) {
        c.problem(err::MemoReadFailed, "memo block count " + str(blocks) + " is out of range");
        return c.report;
    }
    if (memoLength < static_cast<int64_t>(blocks) * kMemoBlockSize) {
        c.problem(err::MemoDamaged,
                  "memo file holds " + str(memoLength / kMemoBlockSize) + " blocks, the header counts " + str(blocks));
    } else if (memoLength != static_cast<int64_t>(blocks) * kMemoBlockSize) {
        c.note("memo file has " + str(memoLength - static_cast<int64_t>(blocks) * kMemoBlockSize) +
               " bytes after its last counted block");
    }
    if (freeCount < 0 || freeCount >= blocks)
        c.problem(err::MemoReadFailed, "free count " + str(freeCount) + " is out of range");
    if (freeHead < 0 || freeHead >= blocks)
        c.problem(err::MemoReadFailed, "free-list head " + str(freeHead) + " is out of range");

    const int32_t usable = static_cast<int32_t>(std::min<int64_t>(blocks, memoLength / kMemoBlockSize));
    auto head = [&](int32_t b, int32_t& prev, int32_t& next, int32_t& used) {
        uint8_t bh[kMemoBlockHeader] = {};
        memo.readAt(bh, sizeof bh, static_cast<int64_t>(b) * kMemoBlockSize);
        prev = getI32(bh);
        next = getI32(bh + 4);
        used = getI32(bh + 8);
    };
    std::unordered_map<int32_t, std::string> owner;  // block -> what it belongs to
    for (const auto& [index, start] : chains) {
        const std::string who = "record " + str(index + 1);
        int32_t b = start, expectPrev = 0;
        int64_t steps = 0;
        while (b != 0) {
            if (b < 1 || b >= usable) {
                c.problem(err::MemoDamaged, who + ": chain refers to block " + str(b) + ", outside the memo file");
                break;
            }
            auto [it, fresh] = owner.emplace(b, who);
            if (!fresh) {
                c.problem(err::MemoDamaged, who + ": block " + str(b) + " is also used by " + it->second);
                break;
            }
            int32_t prev, next, used;
            head(b, prev, next, used);
            if (prev != expectPrev)
                c.problem(err::MemoDamaged,
                          who + ": block " + str(b) + " links back to " + str(prev) + ", expected " + str(expectPrev));
            if (used < 1 || used > kMemoDataSize)
                c.problem(err::MemoDamaged, who + ": block " + str(b) + " has used count " + str(used));
            else if (next != 0 && used != kMemoDataSize)
                c.problem(err::MemoDamaged, who + ": block " + str(b) + " is not full but is not the last");
            expectPrev = b;
            b = next;
            if (++steps > usable) break;
        }
    }
    // The free list: exactly `freeCount` free blocks from the head.
    int32_t b = freeHead, expectPrev = 0;
    int32_t walked = 0;
    while (b != 0 && walked <= blocks) {
        if (b < 1 || b >= usable) {
            c.problem(err::MemoDamaged, "free list refers to block " + str(b) + ", outside the memo file");
            break;
        }
        auto [it, fresh] = owner.emplace(b, "the free list");
        if (!fresh) {
            c.problem(err::MemoDamaged, "free block " + str(b) + " is also used by " + it->second);
            break;
        }
        int32_t prev, next, used;
        head(b, prev, next, used);
        if (used != 0) c.problem(err::MemoDamaged, "free block " + str(b) + " has used count " + str(used));
        // The head's own back link may still name the block that last left the list.
        if (walked > 0 && prev != expectPrev)
            c.problem(err::MemoDamaged,
                      "free block " + str(b) + " links back to " + str(prev) + ", expected " + str(expectPrev));
        expectPrev = b;
        b = next;
        ++walked;
    }
    if (walked != freeCount)
        c.problem(err::MemoDamaged, "free list holds " + str(walked) + " blocks, the header counts " + str(freeCount));
    int32_t orphans = 0;
    for (int32_t k = 1; k < usable; ++k) orphans += owner.count(k) ? 0 : 1;
    if (orphans > 0) c.note(str(orphans) + " memo blocks belong to no value and are not on the free list");
    return c.report;
}

}  // namespace xp
