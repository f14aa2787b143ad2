// The tile cache file: a header, then records appended one after another, each checked on its own.
//
// All numbers little-endian.
//   header, 40 bytes: "XPTILES1"; u32 version (1); u16 tile width; u16 tile height; u32 bytes per pixel
//     (3); u32 zero; u64 file id (random, new whenever the file is rebuilt, never 0); u64 hash of bytes
//     0..31.
//   record, 48 bytes + name + pixels: u32 "TILE"; u32 record length; i64 photo size; i64 photo
//     modification time (ns since the epoch); u16 name length (1..1024); u16 width; u16 height; u16 zero;
//     u64 hash of the pixels; u64 hash of bytes 0..39 and the name, seeded with the file id; the name
//     (the photo's file name as the file system spells it); the pixels (packed RGB rows).
// A later record of a name replaces the earlier ones. Nothing follows the last record except, after a
// writer was killed, part of one record, which the next writer cuts off.
#include "imaging/tile_cache.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

namespace xp {

namespace {

constexpr std::uint8_t kMagic[8] = {'X', 'P', 'T', 'I', 'L', 'E', 'S', '1'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kBytesPerPixel = 3;
constexpr std::uint64_t kHeaderSize = 40;
constexpr std::uint32_t kRecordMagic = 0x454C4954;  // "TILE"
constexpr std::uint64_t kRecordHead = 48;
constexpr std::size_t kMaxName = 1024;
constexpr int kMaxTileSide = 1024;
// A record's head and a usual file name come in one read.
constexpr std::size_t kScanRead = kRecordHead + 256;
// Below half a megapixel, decoding a photo for its tile costs no more than keeping the tile and reading
// it back.
constexpr std::int64_t kWorthKeepingPixels = 500000;
// How long an append waits for another process's append to finish before it leaves that tile out.
constexpr auto kLockWait = std::chrono::seconds(2);

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void put64(std::uint8_t* p, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint16_t get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t get32(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | p[i];
    return v;
}
std::uint64_t get64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

std::uint64_t rotl(std::uint64_t x, int r) { return x << r | x >> (64 - r); }

// A 64-bit hash that takes 32 bytes per step in four independent lanes: about as fast as the memory
// it reads, and any damage of the bytes changes it. Not a defence against someone crafting a file;
// whoever can write the cache can change the photos too.
std::uint64_t hashBytes(const std::uint8_t* p, std::size_t n, std::uint64_t seed) {
    constexpr std::uint64_t P1 = 0x9E3779B185EBCA87ull, P2 = 0xC2B2AE3D27D4EB4Full, P3 = 0x165667B19E3779F9ull;
    const std::size_t total = n;
    auto mix = [](std::uint64_t acc, std::uint64_t w) { return rotl(acc + w * P2, 31) * P1; };
    std::uint64_t h;
    if (n >= 32) {
        std::uint64_t a = seed + P1 + P2, b = seed + P2, c = seed, d = seed - P1;
        for (; n >= 32; p += 32, n -= 32) {
            a = mix(a, get64(p));
            b = mix(b, get64(p + 8));
            c = mix(c, get64(p + 16));
            d = mix(d, get64(p + 24));
        }
        h = rotl(a, 1) + rotl(b, 7) + rotl(c, 12) + rotl(d, 18);
        for (std::uint64_t lane : {a, b, c, d}) h = (h ^ mix(0, lane)) * P1 + P3;
    } else {
        h = seed + P3;
    }
    h += total;
    for (; n >= 8; p += 8, n -= 8) h = rotl(h ^ mix(0, get64(p)), 27) * P1 + P3;
    for (; n > 0; ++p, --n) h = rotl(h ^ (*p * P3), 11) * P1;
    h ^= h >> 33;
    h *= P2;
    h ^= h >> 29;
    h *= P3;
    h ^= h >> 32;
    return h;
}

std::uint64_t recordHeadHash(const std::uint8_t* record, std::size_t nameLength, std::uint64_t fileId) {
    return hashBytes(record + kRecordHead, nameLength, hashBytes(record, 40, fileId));
}

bool readExactly(int fd, void* buf, std::size_t n, std::uint64_t offset) {
    auto* p = static_cast<std::uint8_t*>(buf);
    while (n > 0) {
        const ssize_t got = ::pread(fd, p, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool writeExactly(int fd, const void* buf, std::size_t n, std::uint64_t offset) {
    const auto* p = static_cast<const std::uint8_t*>(buf);
    while (n > 0) {
        const ssize_t put = ::pwrite(fd, p, n, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return true;
}

// The file id of a sound header for tiles of this size; 0 otherwise.
std::uint64_t headerId(const std::uint8_t* b, int tileWidth, int tileHeight) {
    if (std::memcmp(b, kMagic, sizeof kMagic) != 0 || get32(b + 8) != kVersion || get16(b + 12) != tileWidth ||
        get16(b + 14) != tileHeight || get32(b + 16) != kBytesPerPixel || get32(b + 20) != 0 ||
        get64(b + 32) != hashBytes(b, 32, 0))
        return 0;
    return get64(b + 24);
}

std::uint64_t newFileId() {
    std::uint64_t id = 0;
    if (::getrandom(&id, sizeof id, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof id))
        id = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
             (static_cast<std::uint64_t>(::getpid()) << 32);
    return id ? id : 1;
}

// The append lock: an exclusive lock on the file's first byte, held from reading where the file ends to
// writing the new record. It belongs to the open file, not to the process, so that no close() elsewhere
// in the process drops it; readers never take it.
bool lockForAppend(int fd) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        if (::fcntl(fd, F_OFD_SETLK, &fl) == 0) return true;
        if (errno == EINTR) continue;
        if ((errno != EAGAIN && errno != EACCES) || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void unlockAfterAppend(int fd) {
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    ::fcntl(fd, F_OFD_SETLK, &fl);
}

}  // namespace

std::optional<TileKey> tileKeyOf(const std::string& photoPath) {
    struct stat st {};
    if (::stat(photoPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const std::size_t slash = photoPath.find_last_of('/');
    TileKey key;
    key.name = slash == std::string::npos ? photoPath : photoPath.substr(slash + 1);
    if (key.name.empty()) return std::nullopt;
    key.size = st.st_size;
    key.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return key;
}

TileCache::TileCache(const std::string& folder, Maker make, int tileWidth, int tileHeight)
    : path_(folder + "/" + kTileCacheFileName),
      make_(make ? std::move(make) : Maker([tileWidth, tileHeight](const std::string& photo) {
          MadeTile t = makeTile(photo, tileWidth, tileHeight);
          return Made{std::move(t.tile), t.origin == TileOrigin::Decoded && t.photoPixels >= kWorthKeepingPixels};
      })),
      tileWidth_(tileWidth),
      tileHeight_(tileHeight) {
    if (tileWidth < 1 || tileHeight < 1 || tileWidth > kMaxTileSide || tileHeight > kMaxTileSide) {
        writeFailed_ = true;
        return;
    }
    openExisting();
}

TileCache::~TileCache() {
    if (fd_ >= 0) ::close(fd_);
}

void TileCache::openExisting() {
    // Non-blocking, so that something other than a file under the cache's name cannot hang the open.
    bool writable = true;
    int fd = ::open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        writable = false;
        fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    }
    if (fd < 0) return;  // no cache yet: the first tile kept makes one
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        writeFailed_ = true;
        return;
    }
    fd_ = fd;
    writable_ = writable;
    writeFailed_ = !writable;
    std::uint8_t header[kHeaderSize];
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size < kHeaderSize || !readExactly(fd, header, kHeaderSize, 0)) return;
    const std::uint64_t id = headerId(header, tileWidth_, tileHeight_);
    if (id == 0) return;  // not a cache of these tiles: the first writer rebuilds it
    fileId_ = id;
    knownEnd_ = scan(fd, kHeaderSize, size);
}

bool TileCache::openForWriting() {
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::lock_guard lock(mutex_);
    fd_ = fd;
    writable_ = true;
    return true;
}

// Indexes the whole, sound records from `from` on, up to `end`; returns where the last of them ends. The
// first record that does not hold together ends the scan. Sets scanReadError_ when the file could not
// be read (which is not damage: nothing may be cut off for it).
std::uint64_t TileCache::scan(int fd, std::uint64_t from, std::uint64_t end) {
    scanReadError_ = false;
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(tileWidth_) * tileHeight_ * kBytesPerPixel;
    std::vector<std::pair<std::string, Entry>> found;
    std::vector<std::uint8_t> buf(kScanRead);
    std::uint64_t at = from;
    while (at <= end && end - at >= kRecordHead) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kScanRead, end - at));
        if (!readExactly(fd, buf.data(), want, at)) {
            scanReadError_ = true;
            break;
        }
        const std::uint8_t* b = buf.data();
        const std::size_t nameLength = get16(b + 24);
        const std::uint64_t length = get32(b + 4);
        if (get32(b) != kRecordMagic || nameLength == 0 || nameLength > kMaxName || get16(b + 26) != tileWidth_ ||
            get16(b + 28) != tileHeight_ || get16(b + 30) != 0 || length != kRecordHead + nameLength + pixelBytes ||
            length > end - at)
            break;
        if (kRecordHead + nameLength > want) {
            buf.resize(kRecordHead + nameLength);
            if (!readExactly(fd, buf.data(), buf.size(), at)) {
                scanReadError_ = true;
                break;
            }
            b = buf.data();
        }
        if (get64(b + 40) != recordHeadHash(b, nameLength, fileId_)) break;
        Entry e;
        e.size = static_cast<std::int64_t>(get64(b + 8));
        e.mtimeNs = static_cast<std::int64_t>(get64(b + 16));
        e.pixelOffset = at + kRecordHead + nameLength;
        e.pixelHash = get64(b + 32);
        found.emplace_back(std::string(reinterpret_cast<const char*>(b + kRecordHead), nameLength), e);
        at += length;
    }
    std::lock_guard lock(mutex_);
    for (auto& [name, e] : found) index_[std::move(name)] = e;
    return at;
}

// Under the append lock: brings the index up to the file as it now is (records other processes added,
// a file rebuilt or cut meanwhile) and cuts off a torn or damaged tail, so that the next record lands
// right after the last sound one. False when the file cannot be read or fixed.
bool TileCache::catchUp() {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return false;
    std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    std::uint8_t header[kHeaderSize];
    std::uint64_t id = 0;
    if (size >= kHeaderSize) {
        if (!readExactly(fd_, header, kHeaderSize, 0)) return false;
        id = headerId(header, tileWidth_, tileHeight_);
    }
    if (id == 0) return rebuild();
    if (id != fileId_ || size < knownEnd_) {
        // Rebuilt or cut by someone else: what was indexed may no longer be where it was.
        std::lock_guard lock(mutex_);
        index_.clear();
        fileId_ = id;
        knownEnd_ = kHeaderSize;
    }
    if (size > knownEnd_) {
        const std::uint64_t end = scan(fd_, knownEnd_, size);
        if (scanReadError_) return false;
        if (end < size && ::ftruncate(fd_, static_cast<off_t>(end)) != 0) return false;
        knownEnd_ = end;
    }
    return true;
}

// Under the append lock: starts the file afresh, empty but for a new header.
bool TileCache::rebuild() {
    {
        std::lock_guard lock(mutex_);
        index_.clear();
    }
    fileId_ = 0;
    knownEnd_ = 0;
    std::uint8_t header[kHeaderSize] = {};
    std::memcpy(header, kMagic, sizeof kMagic);
    put32(header + 8, kVersion);
    put16(header + 12, static_cast<std::uint16_t>(tileWidth_));
    put16(header + 14, static_cast<std::uint16_t>(tileHeight_));
    put32(header + 16, kBytesPerPixel);
    const std::uint64_t id = newFileId();
    put64(header + 24, id);
    put64(header + 32, hashBytes(header, 32, 0));
    if (::ftruncate(fd_, 0) != 0 || !writeExactly(fd_, header, kHeaderSize, 0)) return false;
    fileId_ = id;
    knownEnd_ = kHeaderSize;
    return true;
}

bool TileCache::append(std::vector<std::uint8_t>& record, const TileKey& key, std::uint64_t pixelHash) {
    if (!lockForAppend(fd_)) return false;  // another writer is stuck: leave this tile out, try the next
    bool ok = catchUp();
    if (ok) {
        put64(record.data() + 40, recordHeadHash(record.data(), key.name.size(), fileId_));
        ok = writeExactly(fd_, record.data(), record.size(), knownEnd_);
        if (!ok) {
            // A full disk: the part written goes again, and the cache stops growing.
            if (::ftruncate(fd_, static_cast<off_t>(knownEnd_)) != 0) {}
            writeFailed_ = true;
        }
    }
    if (ok) {
        Entry e;
        e.size = key.size;
        e.mtimeNs = key.mtimeNs;
        e.pixelOffset = knownEnd_ + kRecordHead + key.name.size();
        e.pixelHash = pixelHash;
        knownEnd_ += record.size();
        std::lock_guard lock(mutex_);
        index_[key.name] = e;
        ++counts_.added;
    }
    unlockAfterAppend(fd_);
    return ok;
}

bool TileCache::add(const TileKey& key, const ui::Image& tile) {
    const std::size_t pixelBytes = static_cast<std::size_t>(tileWidth_) * tileHeight_ * kBytesPerPixel;
    if (tile.width != tileWidth_ || tile.height != tileHeight_ || tile.pixels.size() != pixelBytes ||
        key.name.empty() || key.name.size() > kMaxName)
        return false;
    // The record is put together before any lock; only its head hash, which depends on the file it
    // goes into, waits for the lock.
    std::vector<std::uint8_t> record(kRecordHead + key.name.size() + pixelBytes);
    std::uint8_t* r = record.data();
    const std::uint64_t pixelHash = hashBytes(tile.pixels.data(), pixelBytes, 0);
    put32(r, kRecordMagic);
    put32(r + 4, static_cast<std::uint32_t>(record.size()));
    put64(r + 8, static_cast<std::uint64_t>(key.size));
    put64(r + 16, static_cast<std::uint64_t>(key.mtimeNs));
    put16(r + 24, static_cast<std::uint16_t>(key.name.size()));
    put16(r + 26, static_cast<std::uint16_t>(tileWidth_));
    put16(r + 28, static_cast<std::uint16_t>(tileHeight_));
    put64(r + 32, pixelHash);
    std::memcpy(r + kRecordHead, key.name.data(), key.name.size());
    std::memcpy(r + kRecordHead + key.name.size(), tile.pixels.data(), pixelBytes);

    std::lock_guard writing(writeMutex_);
    if (writeFailed_) return false;
    if (!writable_ && !openForWriting()) {
        writeFailed_ = true;
        return false;
    }
    return append(record, key, pixelHash);
}

ui::Image TileCache::find(const TileKey& key) {
    Entry e;
    int fd = -1;
    {
        std::lock_guard lock(mutex_);
        auto it = index_.find(key.name);
        if (it == index_.end() || it->second.bad || it->second.size != key.size || it->second.mtimeNs != key.mtimeNs)
            return {};
        e = it->second;
        fd = fd_;
    }
    ui::Image tile{tileWidth_, tileHeight_, {}};
    tile.pixels.resize(static_cast<std::size_t>(tileWidth_) * tileHeight_ * kBytesPerPixel);
    if (fd >= 0 && readExactly(fd, tile.pixels.data(), tile.pixels.size(), e.pixelOffset) &&
        hashBytes(tile.pixels.data(), tile.pixels.size(), 0) == e.pixelHash)
        return tile;
    // Damaged (or rewritten by someone else since it was indexed): the tile is made afresh, and this
    // entry is not read again.
    std::lock_guard lock(mutex_);
    auto it = index_.find(key.name);
    if (it != index_.end() && it->second.pixelOffset == e.pixelOffset) it->second.bad = true;
    return {};
}

ui::Image TileCache::tile(const std::string& photoPath) {
    // The key is taken before the tile is made: a photo that changes meanwhile is then stored under its
    // old key, which no longer matches, and never a new key with an old picture.
    const std::optional<TileKey> key = tileKeyOf(photoPath);
    if (key) {
        ui::Image cached = find(*key);
        if (!cached.empty()) {
            std::lock_guard lock(mutex_);
            ++counts_.hits;
            return cached;
        }
    }
    Made made = make_(photoPath);
    {
        std::lock_guard lock(mutex_);
        ++counts_.made;
    }
    if (key && made.keep) add(*key, made.tile);
    return std::move(made.tile);
}

TileCache::Counts TileCache::counts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

}  // namespace xp
