#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace qm {
namespace {

bool IsCp932TrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Bytes of one undecodable CP932 character: a lead byte takes its trail byte with it, so that the
// trail byte does not reappear as a stray ASCII letter or backslash.
size_t Cp932BadLength(const char* src, size_t left) {
  const auto lead = static_cast<unsigned char>(src[0]);
  if (left >= 2 && IsCp932LeadByte(lead) && IsCp932TrailByte(static_cast<unsigned char>(src[1])))
    return 2;
  return 1;
}

// Converts with iconv; on an invalid sequence either fails or substitutes `replacement` for
// each undecodable CP932 character.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::vector<char> buf(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  bool ok = true;
  while (src_left > 0) {
    char* dst = buf.data();
    size_t dst_left = buf.size();
    size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
    out.append(buf.data(), buf.size() - dst_left);
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (replacement == nullptr) {
        ok = false;
        break;
      }
      out += replacement;
      const size_t bad = Cp932BadLength(src, src_left);
      src += bad;
      src_left -= bad;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::string> Cp932FromUtf8(std::string_view utf8) {
  return Convert("CP932", "UTF-8", utf8, nullptr);
}

std::string Utf8FromCp932(std::string_view cp932) {
  return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD").value_or(std::string());
}

std::string Sj(std::string_view utf8) {
  auto out = Cp932FromUtf8(utf8);
  if (!out) {
    std::fprintf(stderr, "text has no CP932 form: %.*s\n", static_cast<int>(utf8.size()),
                 utf8.data());
    std::abort();
  }
  return *out;
}

std::string Dec(long long value) {
  return std::to_string(value);
}

}  // namespace qm
