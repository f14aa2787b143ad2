// The viewer's prefetch cache: the photo on screen and its neighbours decoded at display size in the
// background, so that stepping to the next or previous photo is a lookup.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/imaging_file.h"
#include "ui/image.h"

namespace xp {

class DisplayCache {
public:
    // Pictures are decoded to fit maxWidth × maxHeight (decodeForDisplay). `workers` background threads
    // decode what prefetch() asks for. Pictures fetched with get() that were not asked for are kept
    // until the next prefetch, at most `capacity` of them.
    DisplayCache(int maxWidth, int maxHeight, int workers = 1, int capacity = 2);
    // Stops the workers; a decode under way is finished and thrown away.
    ~DisplayCache();
    DisplayCache(const DisplayCache&) = delete;
    DisplayCache& operator=(const DisplayCache&) = delete;

    // Keeps and decodes ahead exactly these photos, most urgent first (the one shown, then the next,
    // then the previous). Pictures of other photos are dropped. Returns at once.
    void prefetch(const std::vector<std::string>& paths);

    // The display picture of a photo: a lookup once it is prefetched, a wait while its decode is under
    // way, a decode on the calling thread otherwise. A file changed since it was decoded (turned, say)
    // is decoded again. Empty picture if the file cannot be decoded.
    std::shared_ptr<const ui::Image> get(const std::string& path);

    // The picture if it is ready and current, without waiting; nullptr otherwise.
    std::shared_ptr<const ui::Image> peek(const std::string& path);

    // Forgets a photo's picture (its file is about to change or is gone).
    void invalidate(const std::string& path);

    // Waits until no prefetch is queued or under way.
    void waitIdle();

private:
    enum class State { Queued, Decoding, Ready };
    struct Entry {
        std::uint64_t id = 0;
        std::string path;
        State state = State::Queued;
        int priority = -1;  // position in the last prefetch list, -1 if not asked for
        std::uint64_t lastUse = 0;
        FileStamp stamp;
        std::shared_ptr<const ui::Image> picture;
    };

    void work();
    Entry* find(const std::string& path);
    Entry* findId(std::uint64_t id);
    Entry& add(const std::string& path);
    void trim();
    std::shared_ptr<const ui::Image> decode(const std::string& path, FileStamp& stamp) const;

    const int maxWidth_;
    const int maxHeight_;
    const int capacity_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
    std::uint64_t clock_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace xp
