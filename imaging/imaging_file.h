// Reading image files in growing prefixes and writing result files so that no half-written file is left.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace xp {

// Reads a file from its start, only as far as asked: a tile taken from the embedded thumbnail needs the
// first few kilobytes of a 10 MB photo, a decoded one needs it all. The buffer is kept across open()
// calls and handed to a process-wide pool when the reader goes, so that neither a worker that reads
// photo after photo nor a new worker thread pays again for fresh memory (faulting in 10 MB page by page
// costs about as much as decoding a tile).
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens a file for reading; false if it cannot be opened or is not a regular file.
    bool open(const std::string& path);
    void close();

    std::size_t fileSize() const { return fileSize_; }
    // Makes at least min(n, fileSize()) bytes available; false on a read error.
    bool ensure(std::size_t n);
    bool readAll() { return ensure(fileSize_); }

    const std::uint8_t* data() const { return buffer_; }
    std::size_t size() const { return size_; }

private:
    int fd_ = -1;
    std::size_t fileSize_ = 0;
    std::uint8_t* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// Writes the bytes to a new file beside the target and renames it onto the target, so that the target is
// either the old file or the complete new one. The new file gets the usual permissions (0666 less the
// umask). False if any step fails (the temporary file is then removed).
bool writeFileReplacing(const std::string& target, const std::uint8_t* data, std::size_t size);

// Forces what was written to a file, or the entries of a folder (after a rename inside it), onto the
// disk. False if the path cannot be opened or the flush fails.
bool flushToDisk(const std::string& path);

// Identity of a file's current content as far as the file system tells: changes when the file is
// rewritten or replaced. A missing file gives a stamp with exists == false.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;

    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const std::string& path);

}  // namespace xp
