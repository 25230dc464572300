// Text between the platform interfaces (UTF-8) and the system's wide-character calls.
#pragma once

#include <string>
#include <string_view>

namespace corvane::windows {

// The text as the W functions take it; false for text that is not UTF-8 or holds a NUL, which
// no Windows name or command line can.
bool ToWide(const std::string& utf8, std::wstring& wide);
std::string ToUtf8(std::wstring_view wide);

// The system's own text for an error code, in the user's language, on one line and without the
// closing period, as strerror's are.
std::string SystemMessage(unsigned long code);

} // namespace corvane::windows
