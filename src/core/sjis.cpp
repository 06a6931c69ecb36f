#include "core/sjis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace vesk::core {
namespace {

bool isAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// iconv_open reports failure as (iconv_t)-1.
bool opened(iconv_t cd) {
  return cd != reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
}

// One conversion descriptor per direction and thread; iconv descriptors are not thread-safe.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (opened(cd_)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of in; an unconvertible input byte is skipped and `replacement` written instead.
  std::string convert(std::string_view in, std::string_view replacement) {
    std::string out;
    if (!opened(cd_)) return std::string(in);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
      const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        const std::size_t used = static_cast<std::size_t>(dst - out.data());
        out.resize(out.size() * 2);
        dst = out.data() + used;
        dstLeft = out.size() - used;
        continue;
      }
      // EILSEQ or EINVAL (a truncated sequence at the end): replace one byte and go on.
      if (dstLeft < replacement.size()) {
        const std::size_t used = static_cast<std::size_t>(dst - out.data());
        out.resize(out.size() * 2 + replacement.size());
        dst = out.data() + used;
        dstLeft = out.size() - used;
      }
      std::copy(replacement.begin(), replacement.end(), dst);
      dst += replacement.size();
      dstLeft -= replacement.size();
      ++src;
      --srcLeft;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string sjisToUtf8(std::string_view bytes) {
  if (isAscii(bytes)) return std::string(bytes);
  thread_local Converter converter("UTF-8", "CP932");
  return converter.convert(bytes, "\xEF\xBF\xBD");
}

std::string utf8ToSjis(std::string_view utf8) {
  if (isAscii(utf8)) return std::string(utf8);
  thread_local Converter converter("CP932", "UTF-8");
  return converter.convert(utf8, "?");
}

}  // namespace vesk::core
