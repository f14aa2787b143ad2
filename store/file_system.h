// The file layer under the record store: positioned reads and writes, truncation, size, sync and
// open-file-description byte-range locks. The engine only talks to files through this interface, so
// tests can put a layer in between that fails chosen calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace xp {

// Every call returns a byte count or 0 on success, or a negated errno value on failure.
class File {
public:
    virtual ~File() = default;
    // Reads up to n bytes at offset; fewer only at the end of the file.
    virtual int64_t readAt(void* buf, size_t n, int64_t offset) = 0;
    // Writes all n bytes at offset, or fails.
    virtual int64_t writeAt(const void* buf, size_t n, int64_t offset) = 0;
    virtual int truncate(int64_t length) = 0;
    virtual int64_t size() = 0;
    virtual int sync() = 0;
    // Locks [start, start + length) for this open file description; -EAGAIN when another holds it.
    virtual int lock(int64_t start, int64_t length, bool exclusive) = 0;
    virtual int unlock(int64_t start, int64_t length) = 0;
};

enum class OpenMode {
    Read,          // existing file, reading only
    ReadWrite,     // existing file, reading and writing
    Create,        // created empty for reading and writing, replacing an existing file
    OpenOrCreate,  // reading and writing, created when missing; an existing file keeps its bytes
    CreateNew,     // created for reading and writing; fails with EEXIST when the name is taken
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // nullptr on failure, with the errno value in `error`. Only regular files open: a directory, device,
    // FIFO or socket fails with EISDIR (directory) or ENODEV (anything else), and opening never blocks.
    virtual std::unique_ptr<File> open(const std::string& path, OpenMode mode, int& error) = 0;
    virtual int rename(const std::string& from, const std::string& to) = 0;
    virtual int remove(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    // Makes a rename or a removal inside `folder` durable.
    virtual int syncFolder(const std::string& folder) = 0;

    // The operating system's files.
    static std::shared_ptr<FileSystem> posix();
};

}  // namespace xp
