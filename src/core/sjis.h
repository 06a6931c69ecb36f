// Text of the data files is Shift-JIS (code page 932). Lines are split and keys compared on the raw bytes;
// values are converted to UTF-8 afterwards. A byte sequence that is not CP932 becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vesk::core {

std::string sjisToUtf8(std::string_view bytes);
// The reverse, for writing data files (the demo line generator, tests). Characters without a CP932 form
// become '?'.
std::string utf8ToSjis(std::string_view utf8);

// Whether the bytes are well-formed in each encoding (ASCII is both).
bool isValidCp932(std::string_view bytes);
bool isValidUtf8(std::string_view bytes);
// A data file saved as UTF-8 by mistake: valid UTF-8 with non-ASCII text that is not valid CP932. Its names and
// texts would be read as garbled Shift-JIS.
bool isUtf8InsteadOfSjis(std::string_view bytes);

}  // namespace vesk::core
