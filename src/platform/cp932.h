#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Game text is kept as CP932 (Shift-JIS as Windows extends it) bytes everywhere, because byte
// counts drive the message box reveal and the odd-length padding. Unicode appears only where text
// is drawn or typed.

// A lead byte of a double-byte CP932 character.
bool IsCp932LeadByte(unsigned char byte);

// UTF-8 to CP932; nullopt when a character has no CP932 form.
std::optional<std::string> Cp932FromUtf8(std::string_view utf8);
// CP932 to UTF-8; undecodable bytes become U+FFFD so drawing never fails.
std::string Utf8FromCp932(std::string_view cp932);

// The CP932 bytes of a UTF-8 literal from our own sources. Our literals are all representable, so
// an unrepresentable one is a programming error and aborts loudly.
std::string Sj(std::string_view utf8);

// Decimal text of a signed number, the way the game writes numbers into messages.
std::string Dec(long long value);

}  // namespace qm
