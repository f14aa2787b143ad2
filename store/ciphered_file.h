// A table or memo file seen in plain form: reads are deciphered and writes enciphered with the table's
// key (when it has one), at the offsets where the bytes lie.
#pragma once

#include <memory>

#include "store/file_cipher.h"
#include "store/file_system.h"

namespace xp {

class CipheredFile {
public:
    CipheredFile() = default;
    CipheredFile(std::unique_ptr<File> file, std::shared_ptr<const CipherKey> key)
        : file_(std::move(file)), key_(std::move(key)) {}

    bool isOpen() const { return file_ != nullptr; }
    File& raw() { return *file_; }
    const std::shared_ptr<const CipherKey>& key() const { return key_; }
    void setKey(std::shared_ptr<const CipherKey> key) { key_ = std::move(key); }
    void close() { file_.reset(); }

    // As File::readAt, deciphering the bytes read.
    int64_t readAt(void* buf, size_t n, int64_t offset);
    // As File::writeAt, enciphering a copy of the bytes first.
    int64_t writeAt(const void* buf, size_t n, int64_t offset);
    int truncate(int64_t length) { return file_->truncate(length); }
    int64_t size() { return file_->size(); }
    int sync() { return file_->sync(); }

private:
    std::unique_ptr<File> file_;
    std::shared_ptr<const CipherKey> key_;
};

}  // namespace xp
