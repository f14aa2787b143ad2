// File cipher: RC4 per 4096-byte block. The keystream of a block depends only on the password and the
// block number, so the keystreams are cached in a bounded direct-mapped table: a field read then costs a
// table look-up and an XOR instead of a key schedule and 4 KB of RC4 output.
#include "store/file_cipher.h"

#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "store/md5.h"

namespace xp {
namespace {

constexpr int64_t kBlockSize = 4096;
constexpr int kDropped = 36;          // output bytes discarded after each block key schedule
constexpr size_t kCacheSlots = 4096;  // 16 MB of keystreams at most
constexpr size_t kMaxInternedKeys = 64;

struct Rc4 {
    uint8_t s[256];
    uint8_t i = 0, j = 0;

    void schedule(const uint8_t* key, size_t len) {
        for (int k = 0; k < 256; ++k) s[k] = static_cast<uint8_t>(k);
        uint8_t jj = 0;
        size_t at = 0;  // k mod len, without a division per step
        for (int k = 0; k < 256; ++k) {
            jj = static_cast<uint8_t>(jj + s[k] + key[at]);
            if (++at == len) at = 0;
            std::swap(s[k], s[jj]);
        }
        i = j = 0;
    }

    uint8_t next() {
        i = static_cast<uint8_t>(i + 1);
        j = static_cast<uint8_t>(j + s[i]);
        std::swap(s[i], s[j]);
        return s[static_cast<uint8_t>(s[i] + s[j])];
    }
};

// RC4 over each of N 40-byte block keys, its first kDropped output bytes dropped and the next kBlockSize
// bytes written to outs[n]: the same bytes as Rc4 gives, made with the states in 32-bit words and the
// indices in registers. RC4 is one chain of dependent steps, so two independent runs interleaved take
// little more time than one: keystreams are made two blocks at a time (the block asked for and the one
// after it, which records appended or read in order need next).
template <int N>
void blockRc4(const uint8_t (*keys)[40], uint8_t* const* outs) {
    uint32_t s[N][256];
    uint32_t j[N] = {};
    for (int n = 0; n < N; ++n)
        for (uint32_t k = 0; k < 256; ++k) s[n][k] = k;
    size_t at = 0;
    for (uint32_t k = 0; k < 256; ++k) {
        for (int n = 0; n < N; ++n) {
            const uint32_t t = s[n][k];
            j[n] = (j[n] + t + keys[n][at]) & 0xFF;
            s[n][k] = s[n][j[n]];
            s[n][j[n]] = t;
        }
        if (++at == sizeof keys[0]) at = 0;
    }
    uint32_t i = 0;
    for (int n = 0; n < N; ++n) j[n] = 0;
    auto step = [&](int n) -> uint8_t {
        const uint32_t ti = s[n][i];
        j[n] = (j[n] + ti) & 0xFF;
        const uint32_t tj = s[n][j[n]];
        s[n][i] = tj;
        s[n][j[n]] = ti;
        return static_cast<uint8_t>(s[n][(ti + tj) & 0xFF]);
    };
    for (int k = 0; k < kDropped; ++k) {
        i = (i + 1) & 0xFF;
        for (int n = 0; n < N; ++n) step(n);
    }
    for (int64_t k = 0; k < kBlockSize; ++k) {
        i = (i + 1) & 0xFF;
        for (int n = 0; n < N; ++n) outs[n][k] = step(n);
    }
}

}  // namespace

class CipherKey {
public:
    CipherKey(uint64_t id, const std::string& password) : id_(id), check_(passwordCheck(password)) {
        s0_.schedule(reinterpret_cast<const uint8_t*>(password.data()), password.size());
    }
    uint64_t id() const { return id_; }

    // The block seed: output bytes 4b .. 4b + 3 of the password's RC4 stream. Called under the cache lock.
    uint32_t seed(uint32_t block) const {
        while (seeds_.size() <= block) {
            uint32_t v = 0;
            for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(s0_.next()) << (8 * k);
            seeds_.push_back(v);
        }
        return seeds_[block];
    }

    // The keystream of `block` into `out` and, when `nextOut` is given, that of block + 1 into it.
    void blockKeystreams(uint32_t block, uint8_t* out, uint8_t* nextOut) const {
        uint8_t keys[2][40];
        blockKey(block, keys[0]);
        if (!nextOut) {
            blockRc4<1>(keys, &out);
            return;
        }
        blockKey(block + 1, keys[1]);
        uint8_t* const outs[2] = {out, nextOut};
        blockRc4<2>(keys, outs);
    }

private:
    void blockKey(uint32_t block, uint8_t (&key)[40]) const {
        const uint32_t sd = seed(block);
        const uint32_t tail = block ^ sd;
        for (int k = 0; k < 4; ++k) key[k] = static_cast<uint8_t>(sd >> (8 * k));
        std::memcpy(key + 4, check_.data(), 32);
        for (int k = 0; k < 4; ++k) key[36 + k] = static_cast<uint8_t>(tail >> (8 * k));
    }

    uint64_t id_;
    std::string check_;
    mutable Rc4 s0_;
    mutable std::vector<uint32_t> seeds_;
};

namespace {

struct Slot {
    uint64_t keyId = 0;  // 0 = empty
    uint32_t block = 0;
    std::unique_ptr<uint8_t[]> data;
};

struct Cache {
    std::mutex mutex;
    std::vector<Slot> slots = std::vector<Slot>(kCacheSlots);
    std::map<std::string, std::shared_ptr<const CipherKey>> keys;
    uint64_t nextId = 1;
};

Cache& cache() {
    static Cache c;
    return c;
}

// data ^= keystream, eight bytes at a time: a record or a memo block is hundreds of bytes.
void xorInto(uint8_t* data, const uint8_t* ks, size_t n) {
    size_t k = 0;
    for (; k + 8 <= n; k += 8) {
        uint64_t a, b;
        std::memcpy(&a, data + k, 8);
        std::memcpy(&b, ks + k, 8);
        a ^= b;
        std::memcpy(data + k, &a, 8);
    }
    for (; k < n; ++k) data[k] ^= ks[k];
}

}  // namespace

std::string passwordCheck(std::string_view password) {
    static const char* hex = "0123456789abcdef";
    const auto digest = md5(password);
    std::string out;
    out.reserve(32);
    for (int k = 15; k >= 0; --k) {
        out.push_back(hex[digest[static_cast<size_t>(k)] >> 4]);
        out.push_back(hex[digest[static_cast<size_t>(k)] & 15]);
    }
    return out;
}

std::shared_ptr<const CipherKey> cipherKey(const std::string& password) {
    if (password.empty()) return nullptr;
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.keys.find(password);
    if (it != c.keys.end()) return it->second;
    // Ids are never reused, so dropping the interned keys cannot make a cached keystream match the
    // wrong password.
    if (c.keys.size() >= kMaxInternedKeys) c.keys.clear();
    auto key = std::make_shared<const CipherKey>(c.nextId++, password);
    c.keys.emplace(password, key);
    return key;
}

void applyCipher(const CipherKey& key, uint8_t* data, size_t n, int64_t offset) {
    if (offset < 4) {
        const int64_t skip = 4 - offset;
        if (static_cast<int64_t>(n) <= skip) return;
        data += skip;
        n -= static_cast<size_t>(skip);
        offset = 4;
    }
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    while (n > 0) {
        const auto block = static_cast<uint32_t>(offset / kBlockSize);
        const auto within = static_cast<size_t>(offset % kBlockSize);
        const size_t take = std::min(n, static_cast<size_t>(kBlockSize) - within);
        Slot& slot = c.slots[(block + key.id() * 2654435761u) % kCacheSlots];
        if (slot.keyId != key.id() || slot.block != block) {
            Slot& next = c.slots[(block + 1 + key.id() * 2654435761u) % kCacheSlots];
            const bool withNext = next.keyId != key.id() || next.block != block + 1;
            for (Slot* s : {&slot, &next})
                if (!s->data) s->data = std::make_unique<uint8_t[]>(kBlockSize);
            key.blockKeystreams(block, slot.data.get(), withNext ? next.data.get() : nullptr);
            slot.keyId = key.id();
            slot.block = block;
            if (withNext) {
                next.keyId = key.id();
                next.block = block + 1;
            }
        }
        xorInto(data, slot.data.get() + within, take);
        data += take;
        n -= take;
        offset += static_cast<int64_t>(take);
    }
}

void clearKeystreamCache() {
    Cache& c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    for (Slot& s : c.slots) s.keyId = 0;
}

}  // namespace xp
