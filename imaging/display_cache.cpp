// The prefetch cache: a handful of entries under one mutex, decoded outside it.
#include "imaging/display_cache.h"

#include <algorithm>

#include "imaging/display_decode.h"

namespace xp {

DisplayCache::DisplayCache(int maxWidth, int maxHeight, int workers, int capacity)
    : maxWidth_(maxWidth), maxHeight_(maxHeight), capacity_(std::max(capacity, 0)) {
    for (int i = 0; i < std::max(workers, 1); ++i) threads_.emplace_back([this] { work(); });
}

DisplayCache::~DisplayCache() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
}

DisplayCache::Entry* DisplayCache::find(const std::string& path) {
    for (Entry& e : entries_)
        if (e.path == path) return &e;
    return nullptr;
}

DisplayCache::Entry* DisplayCache::findId(std::uint64_t id) {
    for (Entry& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

DisplayCache::Entry& DisplayCache::add(const std::string& path) {
    Entry e;
    e.id = nextId_++;
    e.path = path;
    entries_.push_back(std::move(e));
    return entries_.back();
}

std::shared_ptr<const ui::Image> DisplayCache::decode(const std::string& path, FileStamp& stamp) const {
    // Stamped before decoding: a file that changes meanwhile then looks stale and is decoded again.
    stamp = fileStamp(path);
    return std::make_shared<const ui::Image>(decodeForDisplay(path, maxWidth_, maxHeight_));
}

void DisplayCache::trim() {
    // Drop the least recently used pictures that nobody asked for; entries being decoded stay.
    for (;;) {
        int extra = 0;
        for (const Entry& e : entries_) extra += e.priority < 0 ? 1 : 0;
        if (extra <= capacity_) return;
        auto victim = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it)
            if (it->priority < 0 && it->state == State::Ready &&
                (victim == entries_.end() || it->lastUse < victim->lastUse))
                victim = it;
        if (victim == entries_.end()) return;
        entries_.erase(victim);
    }
}

void DisplayCache::prefetch(const std::vector<std::string>& paths) {
    {
        std::lock_guard lock(mutex_);
        for (Entry& e : entries_) e.priority = -1;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            Entry* e = find(paths[i]);
            if (!e) e = &add(paths[i]);
            if (e->priority < 0) e->priority = static_cast<int>(i);
        }
        // What is no longer asked for goes; a decode under way finishes and is dropped at the next trim.
        std::erase_if(entries_, [](const Entry& e) { return e.priority < 0 && e.state != State::Decoding; });
    }
    changed_.notify_all();
}

void DisplayCache::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        Entry* job = nullptr;
        changed_.wait(lock, [&] {
            if (stopping_) return true;
            job = nullptr;
            for (Entry& e : entries_)
                if (e.state == State::Queued && e.priority >= 0 && (!job || e.priority < job->priority)) job = &e;
            return job != nullptr;
        });
        if (stopping_) return;
        job->state = State::Decoding;
        const std::uint64_t id = job->id;
        const std::string path = job->path;
        lock.unlock();
        FileStamp stamp;
        std::shared_ptr<const ui::Image> picture = decode(path, stamp);
        lock.lock();
        if (Entry* e = findId(id)) {
            e->state = State::Ready;
            e->stamp = stamp;
            e->picture = std::move(picture);
        }
        changed_.notify_all();
    }
}

std::shared_ptr<const ui::Image> DisplayCache::get(const std::string& path) {
    const FileStamp now = fileStamp(path);
    std::unique_lock lock(mutex_);
    for (;;) {
        Entry* e = find(path);
        if (e && e->state == State::Decoding) {
            // A worker is on it: waiting is never slower than starting over here.
            const std::uint64_t id = e->id;
            changed_.wait(lock, [&] {
                Entry* f = findId(id);
                return !f || f->state != State::Decoding;
            });
            continue;
        }
        if (e && e->state == State::Ready && e->stamp == now) {
            e->lastUse = ++clock_;
            return e->picture;
        }
        if (!e) e = &add(path);
        e->state = State::Decoding;
        const std::uint64_t id = e->id;
        lock.unlock();
        FileStamp stamp;
        std::shared_ptr<const ui::Image> picture = decode(path, stamp);
        lock.lock();
        if (Entry* f = findId(id)) {
            f->state = State::Ready;
            f->stamp = stamp;
            f->picture = picture;
            f->lastUse = ++clock_;
        }
        trim();
        changed_.notify_all();
        return picture;
    }
}

std::shared_ptr<const ui::Image> DisplayCache::peek(const std::string& path) {
    const FileStamp now = fileStamp(path);
    std::lock_guard lock(mutex_);
    Entry* e = find(path);
    if (!e || e->state != State::Ready || !(e->stamp == now)) return nullptr;
    e->lastUse = ++clock_;
    return e->picture;
}

void DisplayCache::invalidate(const std::string& path) {
    std::lock_guard lock(mutex_);
    Entry* e = find(path);
    if (!e) return;
    if (e->state == State::Decoding) {
        // The decode under way may have read the old file: detach it and queue a fresh one if wanted.
        const int priority = e->priority;
        std::erase_if(entries_, [&](const Entry& x) { return x.path == path; });
        if (priority >= 0) add(path).priority = priority;
    } else if (e->priority >= 0) {
        e->state = State::Queued;
        e->picture.reset();
    } else {
        std::erase_if(entries_, [&](const Entry& x) { return x.path == path; });
    }
    changed_.notify_all();
}

void DisplayCache::waitIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        for (const Entry& e : entries_)
            if (e.state == State::Decoding || (e.state == State::Queued && e.priority >= 0)) return false;
        return true;
    });
}

}  // namespace xp
