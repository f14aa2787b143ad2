// Deciphering reads and enciphering writes; the scratch buffer is reused so a write allocates nothing.
#include "store/ciphered_file.h"

#include <cstring>
#include <vector>

namespace xp {

int64_t CipheredFile::readAt(void* buf, size_t n, int64_t offset) {
    const int64_t r = file_->readAt(buf, n, offset);
    if (r > 0 && key_) applyCipher(*key_, static_cast<uint8_t*>(buf), static_cast<size_t>(r), offset);
    return r;
}

int64_t CipheredFile::writeAt(const void* buf, size_t n, int64_t offset) {
    if (!key_) return file_->writeAt(buf, n, offset);
    thread_local std::vector<uint8_t> scratch;
    if (scratch.size() < n) scratch.resize(n);
    std::memcpy(scratch.data(), buf, n);
    applyCipher(*key_, scratch.data(), n, offset);
    return file_->writeAt(scratch.data(), n, offset);
}

}  // namespace xp
