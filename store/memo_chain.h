// Memo values: chains of 512-byte blocks in the memo file, the free list and the give-back of trailing
// free blocks. Every walk is bounded, so a damaged chain (a cycle, a block beyond the file) ends with an
// error instead of looping or reading out of bounds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/byte_locks.h"
#include "store/ciphered_file.h"

namespace xp {

class MemoChain {
public:
    MemoChain(CipheredFile& file, ByteLocks& locks, int lockWaitMs) : file_(file), locks_(locks), wait_(lockWaitMs) {}

    // Reads the value whose chain starts at `first` (0 = empty). Returns 0 or an error code.
    int read(int32_t first, std::string& out);

    // Writes `value` over the chain that starts at `oldFirst`, reusing its blocks in order, and gives the
    // new first block (0 for an empty value). Returns 0 or an error code.
    int write(int32_t oldFirst, std::string_view value, int32_t& newFirst);

private:
    struct Header {
        uint8_t bytes[32];
        int32_t blockCount() const;
        int32_t freeCount() const;
        int32_t freeHead() const;
        void set(int32_t blockCount, int32_t freeCount, int32_t freeHead);
    };
    struct BlockHead {
        int32_t prev = 0, next = 0, used = 0;
    };
    int readHead(int32_t block, BlockHead& head);
    int writeHead(int32_t block, const BlockHead& head);
    int writeLink(int32_t block, int64_t within, int32_t value);
    int writeHeader(const Header& header);
    static int ioError(int64_t r, int fallback);

    CipheredFile& file_;
    ByteLocks& locks_;
    int wait_;
};

}  // namespace xp
