// GBK <-> UTF-8 conversion through glibc's iconv, with one cached converter per direction and thread.
#include "appdata/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace xp {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on an unconvertible or truncated sequence appends `replacement` and skips one byte.
    std::string convert(std::string_view in, std::string_view replacement) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buf[4096];
        while (srcLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, dst - buf);
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: one bad byte, replace it and go on.
            out.append(replacement);
            ++src;
            --srcLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf, dst - buf);
        return out;
    }

private:
    iconv_t cd_;
};

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string toGbk(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    thread_local Converter conv("GB18030", "UTF-8");
    return conv.convert(utf8, "?");
}

std::string fromGbk(std::string_view gbk) {
    if (isAscii(gbk)) return std::string(gbk);
    thread_local Converter conv("UTF-8", "GB18030");
    return conv.convert(gbk, "\xEF\xBF\xBD");
}

}  // namespace xp
