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

  // Whether all of `in` converts without a single invalid or truncated sequence.
  bool convertsCleanly(std::string_view in) {
    if (!opened(cd_)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::string out(4096, '\0');
    while (srcLeft > 0) {
      char* dst = out.data();
      std::size_t dstLeft = out.size();
      if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
      if (errno != E2BIG) return false;
    }
    return true;
  }

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

bool isValidCp932(std::string_view bytes) {
  if (isAscii(bytes)) return true;
  thread_local Converter converter("UTF-8", "CP932");
  return converter.convertsCleanly(bytes);
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0u) != 0x80u) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

bool isUtf8InsteadOfSjis(std::string_view bytes) {
  return !isAscii(bytes) && isValidUtf8(bytes) && !isValidCp932(bytes);
}

}  // namespace vesk::core
