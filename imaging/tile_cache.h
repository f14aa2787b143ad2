// The tile cache of a folder of photos: the finished tile of each photo kept in one file, keyed by the
// photo's file name, size and modification time, so that opening the folder again takes each tile from
// the file instead of decoding the photo. The file travels with the folder; deleting it is always safe.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "imaging/thumbnail.h"
#include "imaging/thumbnail_pipeline.h"
#include "ui/image.h"

namespace xp {

// The cache file's name inside the folder given to TileCache.
inline constexpr char kTileCacheFileName[] = "tiles.cache";

// What identifies a photo's content for the cache: its file name (not its path, so that the cache stays
// good when the folder is reached by another path, from another workstation), size and modification
// time. Replacing the file (turning the photo) changes its time, and so its key.
struct TileKey {
    std::string name;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;

    bool operator==(const TileKey&) const = default;
};
// The key of a photo file as it is now; nothing when the file cannot be examined.
std::optional<TileKey> tileKeyOf(const std::string& photoPath);

// One cache file, shared by every thread of the process and by other processes (other workstations on
// a shared folder). Nothing in the file is trusted: a record whose lengths, offsets or checksums do not
// hold is never used, and a file that is damaged, cut short or not a cache at all is rebuilt by the next
// writer. Records are only ever appended, under a byte-range lock, so that two loads of the same folder
// at once interleave whole records; a writer killed half way leaves a torn last record, which readers
// skip and the next writer cuts off. A folder that cannot be written simply gets no cache.
class TileCache {
public:
    // A tile as the maker made it; `keep` says whether it is worth a place in the cache (a tile made
    // from the photo's embedded thumbnail is made again as fast as it is read back, and a failed decode
    // must be tried again next time).
    struct Made {
        ui::Image tile;
        bool keep = false;
    };
    using Maker = std::function<Made(const std::string& photoPath)>;

    // The cache in `folder`/kTileCacheFileName (the file is made with the first tile kept). `make`
    // defaults to the photo tile of makeTile, kept when it was decoded from a photo of at least half a
    // megapixel (smaller photos decode about as fast as their tile is read back). Tiles of
    // another size than tileWidth × tileHeight are neither read nor kept.
    explicit TileCache(const std::string& folder, Maker make = {}, int tileWidth = kTileSize,
                       int tileHeight = kTileSize);
    ~TileCache();
    TileCache(const TileCache&) = delete;
    TileCache& operator=(const TileCache&) = delete;

    // The photo's tile: from the cache when its key matches an entry whose pixels check out, made
    // otherwise (and added when the maker says to keep it). Safe to call from several threads at once.
    ui::Image tile(const std::string& photoPath);

    // tile() as a tile maker for a ThumbnailPipeline; the cache must outlive the pipeline.
    ThumbnailPipeline::TileMaker maker() {
        return [this](const std::string& path) { return tile(path); };
    }

    // Looks a key up without making anything: the cached tile, or an empty picture.
    ui::Image find(const TileKey& key);
    // Adds a tile for a key (replacing any earlier one of the same name). False when the cache file
    // could not be written; the cache then stops trying for the rest of its life.
    bool add(const TileKey& key, const ui::Image& tile);

    const std::string& file() const { return path_; }

    struct Counts {
        int hits = 0;   // tiles taken from the file
        int made = 0;   // tiles made by the maker
        int added = 0;  // records appended to the file
    };
    Counts counts() const;

private:
    struct Entry {
        std::int64_t size = 0;
        std::int64_t mtimeNs = 0;
        std::uint64_t pixelOffset = 0;
        std::uint64_t pixelHash = 0;
        bool bad = false;  // its pixels did not check out: never read again
    };

    void openExisting();
    bool openForWriting();
    std::uint64_t scan(int fd, std::uint64_t from, std::uint64_t end);
    bool catchUp();
    bool rebuild();
    bool append(std::vector<std::uint8_t>& record, const TileKey& key, std::uint64_t pixelHash);

    const std::string path_;
    const Maker make_;
    const int tileWidth_;
    const int tileHeight_;

    // Appends run one at a time under writeMutex_ (taken first); the index, the counts and the
    // descriptor's identity are guarded by mutex_, which is never held across a wait for the file lock.
    std::mutex writeMutex_;
    mutable std::mutex mutex_;
    int fd_ = -1;
    bool writable_ = false;
    bool writeFailed_ = false;
    std::uint64_t fileId_ = 0;    // of the header the index was built from; 0: no valid header seen
    std::uint64_t knownEnd_ = 0;  // end of the last whole record seen
    bool scanReadError_ = false;
    std::unordered_map<std::string, Entry> index_;
    Counts counts_;
};

}  // namespace xp
