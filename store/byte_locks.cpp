// Nesting byte-range locks over open-file-description locks, with the retry policy of the lock wait.
#include "store/byte_locks.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "store/store_errors.h"
#include "store/table_format.h"

namespace xp {
namespace {

int64_t tickMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void lockRetryPause() { std::this_thread::sleep_for(std::chrono::milliseconds(20 + tickMs() % 20)); }

int retryLock(File& file, int64_t start, int64_t length, bool exclusive, int waitMs) {
    const int64_t begin = waitMs > 0 ? tickMs() : 0;
    for (;;) {
        const int r = file.lock(start, length, exclusive);
        if (r == 0) return 0;
        if (r != -EAGAIN) return errorFromErrno(-r) == err::Unknown ? err::LockFailed : errorFromErrno(-r);
        if (waitMs == 0 || (waitMs > 0 && tickMs() - begin >= waitMs)) return err::LockFailed;
        lockRetryPause();
    }
}

int takeShareMarkers(File& markers, bool readOnly, int shareMode, int waitMs) {
    const bool denyRead = shareMode == 2 || shareMode == 4;
    const bool denyWrite = shareMode == 3 || shareMode == 4;
    struct Marker {
        int64_t pos;
        bool wanted;
        bool exclusive;
    } marks[] = {{format::kShareReadMarker, true, denyRead},
                 {format::kShareWriteMarker, !readOnly || denyWrite, denyWrite}};
    for (const Marker& m : marks) {
        if (!m.wanted) continue;
        int r = retryLock(markers, m.pos, 1, m.exclusive, waitMs);
        if (r != 0) return err::ShareConflict;
    }
    return 0;
}

void ByteLocks::attach(File* file, bool enabled, bool exclusive) {
    file_ = file;
    enabled_ = enabled;
    exclusive_ = exclusive;
    held_.clear();
    whole_ = 0;
}

void ByteLocks::clear() {
    held_.clear();
    whole_ = 0;
}

ByteLocks::Held* ByteLocks::find(int64_t pos) {
    for (Held& h : held_) {
        if (h.pos == pos) return &h;
    }
    return nullptr;
}

bool ByteLocks::inWholeRange(int64_t pos) { return pos >= 0 && pos < format::kWholeTableLockLength; }

int ByteLocks::lock(int64_t pos, int waitMs) {
    if (Held* h = find(pos)) {
        ++h->count;
        return 0;
    }
    if (enabled_ && !(whole_ > 0 && inWholeRange(pos))) {
        const int r = retryLock(*file_, pos, 1, exclusive_, waitMs);
        if (r != 0) return r;
    }
    held_.push_back({pos, 1});
    return 0;
}

void ByteLocks::unlock(int64_t pos) {
    Held* h = find(pos);
    if (!h) return;
    if (--h->count > 0) return;
    *h = held_.back();
    held_.pop_back();
    // Under the whole-table lock the byte stays covered; the whole lock's release unlocks it.
    if (enabled_ && !(whole_ > 0 && inWholeRange(pos))) file_->unlock(pos, 1);
}

std::vector<std::pair<int64_t, int64_t>> ByteLocks::gaps() const {
    std::vector<int64_t> bytes;
    for (const Held& h : held_) {
        if (inWholeRange(h.pos)) bytes.push_back(h.pos);
    }
    std::sort(bytes.begin(), bytes.end());
    std::vector<std::pair<int64_t, int64_t>> out;
    int64_t from = 0;
    for (int64_t b : bytes) {
        if (b > from) out.emplace_back(from, b - from);
        from = b + 1;
    }
    if (from < format::kWholeTableLockLength) out.emplace_back(from, format::kWholeTableLockLength - from);
    return out;
}

int ByteLocks::lockWhole(int waitMs) {
    if (whole_ > 0 || !enabled_) {
        ++whole_;
        return 0;
    }
    const auto parts = gaps();
    for (size_t k = 0; k < parts.size(); ++k) {
        const int r = retryLock(*file_, parts[k].first, parts[k].second, exclusive_, waitMs);
        if (r != 0) {
            for (size_t u = 0; u < k; ++u) file_->unlock(parts[u].first, parts[u].second);
            return r;
        }
    }
    ++whole_;
    return 0;
}

void ByteLocks::unlockWhole() {
    if (whole_ == 0) return;
    if (--whole_ > 0 || !enabled_) return;
    for (const auto& [start, length] : gaps()) file_->unlock(start, length);
}

}  // namespace xp
