// Reading and writing memo chains.
//
// Crash safety beyond the format: when a write takes blocks from the free list or from the end of the
// file, the memo header is written before the blocks, so a process killed half way leaves blocks that
// belong to nobody (a leak) rather than a block that is both free and in use. Freed blocks get their
// links before the header points at them, for the same reason. The resulting bytes are exactly those of
// the block-by-block algorithm of the format; only the order of the writes differs.
#include "store/memo_chain.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "store/store_errors.h"
#include "store/table_format.h"

namespace xp {

using format::getI32;
using format::kMemoBlockHeader;
using format::kMemoBlockSize;
using format::kMemoDataSize;
using format::putI32;

int32_t MemoChain::Header::blockCount() const { return getI32(bytes + 16); }
int32_t MemoChain::Header::freeCount() const { return getI32(bytes + 20); }
int32_t MemoChain::Header::freeHead() const { return getI32(bytes + 24); }
void MemoChain::Header::set(int32_t count, int32_t freeCount, int32_t head) {
    putI32(bytes + 16, count);
    putI32(bytes + 20, freeCount);
    putI32(bytes + 24, head);
}

int MemoChain::ioError(int64_t r, int fallback) {
    if (r >= 0) return fallback;
    const int code = errorFromErrno(static_cast<int>(-r));
    return code == err::Unknown ? fallback : code;
}

namespace {

// Releases a memo lock when the scope ends, also when a fatal error unwinds through it.
class Held {
public:
    Held(ByteLocks& locks, int64_t pos) : locks_(locks), pos_(pos) {}
    ~Held() {
        if (active_) locks_.unlock(pos_);
    }
    void release() {
        if (active_) locks_.unlock(pos_);
        active_ = false;
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

private:
    ByteLocks& locks_;
    int64_t pos_;
    bool active_ = true;
};

// A set of block numbers that stays linear for short chains.
class Visited {
public:
    bool insert(int32_t b) {
        if (sorted_) {
            auto it = std::lower_bound(v_.begin(), v_.end(), b);
            if (it != v_.end() && *it == b) return false;
            v_.insert(it, b);
            return true;
        }
        if (std::find(v_.begin(), v_.end(), b) != v_.end()) return false;
        v_.push_back(b);
        if (v_.size() > 32) {
            std::sort(v_.begin(), v_.end());
            sorted_ = true;
        }
        return true;
    }
    bool contains(int32_t b) const {
        return sorted_ ? std::binary_search(v_.begin(), v_.end(), b) : std::find(v_.begin(), v_.end(), b) != v_.end();
    }

private:
    std::vector<int32_t> v_;
    bool sorted_ = false;
};

}  // namespace

int MemoChain::read(int32_t first, std::string& out) {
    out.clear();
    if (first == 0) return 0;
    uint8_t block[kMemoBlockSize];
    int32_t f = first;
    int64_t steps = 0;
    int64_t limit = -1;  // blocks in the file, looked up once a chain gets long
    int32_t recent[64];  // on the stack: a value read costs no allocation for its bookkeeping
    while (f != 0) {
        if (f < 0) return err::MemoAccess;
        // A chain cannot be longer than the file has blocks; short chains are also checked for a
        // repeated block so that a small cycle ends at once.
        if (++steps <= 64) {
            if (std::find(recent, recent + steps - 1, f) != recent + steps - 1) return err::MemoAccess;
            recent[steps - 1] = f;
        } else {
            if (limit < 0) {
                const int64_t size = file_.size();
                if (size < 0) return ioError(size, err::MemoAccess);
                limit = size / kMemoBlockSize;
            }
            if (steps > limit) return err::MemoAccess;
        }
        const int64_t pos = static_cast<int64_t>(f) * kMemoBlockSize;
        if (int r = locks_.lock(pos, wait_); r != 0) return r;
        const int64_t r = file_.readAt(block, sizeof block, pos);
        locks_.unlock(pos);
        if (r < kMemoBlockHeader) return ioError(r, err::MemoAccess);
        const int32_t used = getI32(block + 8);
        if (used < 0 || used > kMemoDataSize || kMemoBlockHeader + used > r) return err::MemoAccess;
        out.append(reinterpret_cast<const char*>(block + kMemoBlockHeader), static_cast<size_t>(used));
        f = getI32(block + 4);
    }
    return 0;
}

int MemoChain::readHead(int32_t block, BlockHead& head) {
    uint8_t b[kMemoBlockHeader];
    const int64_t pos = static_cast<int64_t>(block) * kMemoBlockSize;
    if (int r = locks_.lock(pos, wait_); r != 0) return r;
    const int64_t r = file_.readAt(b, sizeof b, pos);
    locks_.unlock(pos);
    if (r != kMemoBlockHeader) return ioError(r, err::MemoAccess);
    head.prev = getI32(b);
    head.next = getI32(b + 4);
    head.used = getI32(b + 8);
    return 0;
}

int MemoChain::writeHead(int32_t block, const BlockHead& head) {
    uint8_t b[kMemoBlockHeader];
    putI32(b, head.prev);
    putI32(b + 4, head.next);
    putI32(b + 8, head.used);
    const int64_t pos = static_cast<int64_t>(block) * kMemoBlockSize;
    if (int r = locks_.lock(pos, wait_); r != 0) return r;
    const int64_t r = file_.writeAt(b, sizeof b, pos);
    locks_.unlock(pos);
    return r == kMemoBlockHeader ? 0 : ioError(r, err::MemoAccess);
}

int MemoChain::writeLink(int32_t block, int64_t within, int32_t value) {
    uint8_t b[4];
    putI32(b, value);
    const int64_t pos = static_cast<int64_t>(block) * kMemoBlockSize;
    if (int r = locks_.lock(pos, wait_); r != 0) return r;
    const int64_t r = file_.writeAt(b, sizeof b, pos + within);
    locks_.unlock(pos);
    return r == 4 ? 0 : ioError(r, err::MemoAccess);
}

int MemoChain::writeHeader(const Header& header) {
    const int64_t r = file_.writeAt(header.bytes, sizeof header.bytes, 0);
    return r == static_cast<int64_t>(sizeof header.bytes) ? 0 : ioError(r, err::MemoAccess);
}

int MemoChain::write(int32_t oldFirst, std::string_view value, int32_t& newFirst) {
    newFirst = 0;
    if (oldFirst == 0 && value.empty()) return 0;
    if (int r = locks_.lock(0, wait_); r != 0) return r;
    Held headerLock(locks_, 0);

    Header header;
    if (int64_t r = file_.readAt(header.bytes, sizeof header.bytes, 0);
        r != static_cast<int64_t>(sizeof header.bytes)) {
        return ioError(r, err::MemoAccess);
    }
    int32_t blockCount = header.blockCount();
    int32_t freeCount = std::max(0, header.freeCount());
    int32_t freeHead = header.freeHead();
    if (blockCount < 1) return err::MemoAccess;
    auto valid = [&](int32_t b) { return b >= 1 && b < blockCount; };

    // The old chain, as far as it is sound.
    std::vector<int32_t> old;
    Visited seen;
    for (int32_t f = oldFirst; valid(f) && static_cast<int64_t>(old.size()) < blockCount && seen.insert(f);) {
        BlockHead h;
        if (int r = readHead(f, h); r != 0) return r;
        old.push_back(f);
        f = h.next;
    }

    // Choose a block for each 500-byte piece: the old chain first, then the free list, then new blocks.
    const size_t pieces = (value.size() + kMemoDataSize - 1) / kMemoDataSize;
    std::vector<int32_t> chosen;
    chosen.reserve(pieces);
    bool allocated = false;
    for (size_t i = 0; i < pieces; ++i) {
        if (i < old.size()) {
            chosen.push_back(old[i]);
            continue;
        }
        if (freeCount > 0 && valid(freeHead) && !seen.contains(freeHead)) {
            BlockHead h;
            if (int r = readHead(freeHead, h); r != 0) return r;
            if (h.used == 0) {
                seen.insert(freeHead);
                chosen.push_back(freeHead);
                freeHead = h.next;
                --freeCount;
                allocated = true;
                continue;
            }
            freeCount = 0;  // the list is damaged: stop taking from it rather than hand out a used block
        }
        // The memo file may not grow past the lockable range (nor its block count overflow).
        if (blockCount >= format::kMaxMemoBlocks) return err::MemoAccess;
        chosen.push_back(blockCount++);
        allocated = true;
    }
    if (allocated) {
        header.set(blockCount, freeCount, freeHead);
        if (int r = writeHeader(header); r != 0) return r;
    }

    // Write the pieces, last first: the first block, which the record points at, is written last, so a
    // write that fails part way never leaves it linked to a block that was not written yet.
    uint8_t block[kMemoBlockSize];
    for (size_t i = pieces; i-- > 0;) {
        const size_t from = i * kMemoDataSize;
        const size_t used = std::min<size_t>(kMemoDataSize, value.size() - from);
        std::memset(block, 0, sizeof block);
        putI32(block, i > 0 ? chosen[i - 1] : 0);
        putI32(block + 4, i + 1 < pieces ? chosen[i + 1] : 0);
        putI32(block + 8, static_cast<int32_t>(used));
        std::memcpy(block + kMemoBlockHeader, value.data() + from, used);
        const int64_t pos = static_cast<int64_t>(chosen[i]) * kMemoBlockSize;
        if (int r = locks_.lock(pos, wait_); r != 0) return r;
        const int64_t w = file_.writeAt(block, sizeof block, pos);
        locks_.unlock(pos);
        if (w != kMemoBlockSize) return ioError(w, err::MemoAccess);
    }
    newFirst = pieces > 0 ? chosen[0] : 0;

    // Free what is left of the old chain onto the head of the free list.
    if (old.size() <= pieces) return 0;
    const std::vector<int32_t> freed(old.begin() + static_cast<std::ptrdiff_t>(pieces), old.end());
    const int32_t oldHead = freeCount > 0 && valid(freeHead) ? freeHead : 0;
    bool lastFreed = false;
    for (size_t j = 0; j < freed.size(); ++j) {
        BlockHead h;
        h.prev = j > 0 ? freed[j - 1] : 0;
        h.next = j + 1 < freed.size() ? freed[j + 1] : oldHead;
        h.used = 0;
        if (int r = writeHead(freed[j], h); r != 0) return r;
        lastFreed = lastFreed || freed[j] == blockCount - 1;
    }
    if (oldHead != 0) {
        if (int r = writeLink(oldHead, 0, freed.back()); r != 0) return r;
    }
    freeHead = freed.front();
    freeCount = (oldHead != 0 ? freeCount : 0) + static_cast<int32_t>(freed.size());

    // Give trailing free blocks back to the file system.
    if (lastFreed) {
        int32_t b = blockCount - 1;
        while (b >= 1) {
            BlockHead h;
            if (int r = readHead(b, h); r != 0) return r;
            if (h.used != 0) break;
            // The head is recognised by identity: its stored previous may still name the block that took
            // the head before it, which is in use now.
            if (b == freeHead) {
                freeHead = h.next;
                --freeCount;
            } else if (valid(h.prev) && h.prev < b) {
                if (int r = writeLink(h.prev, 4, h.next); r != 0) return r;
                --freeCount;
            }
            if (valid(h.next) && h.next < b) {
                if (int r = writeLink(h.next, 0, h.prev); r != 0) return r;
            }
            --b;
        }
        blockCount = b + 1;
        if (freeHead < 1 || freeHead > b || freeCount <= 0) {
            freeHead = 0;
            freeCount = 0;
        }
        if (int r = file_.truncate(static_cast<int64_t>(blockCount) * kMemoBlockSize); r != 0) {
            return ioError(r, err::MemoAccess);
        }
    }
    header.set(blockCount, freeCount, freeHead);
    return writeHeader(header);
}

}  // namespace xp
