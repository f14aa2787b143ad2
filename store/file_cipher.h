// The password check and the file cipher of protected tables: an RC4 keystream per 4096-byte block,
// keyed by the password, so any byte range can be enciphered or deciphered on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace xp {

// 32 lowercase hexadecimal digits: the MD5 digest of the password bytes, last digest byte first.
std::string passwordCheck(std::string_view password);

// The keying material of one password; shared by every table opened with it.
class CipherKey;

// The key of a password; nullptr for the empty password, which means no cipher.
std::shared_ptr<const CipherKey> cipherKey(const std::string& password);

// Enciphers or deciphers (the same operation) `n` bytes that lie at file offset `offset`. The first four
// bytes of a file are never enciphered, so any part of the range below offset 4 is left as it is.
void applyCipher(const CipherKey& key, uint8_t* data, size_t n, int64_t offset);

// Forgets every cached keystream (benchmarks use it to measure the uncached cost).
void clearKeystreamCache();

}  // namespace xp
