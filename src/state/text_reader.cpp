#include "state/text_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "state/file_error.h"

namespace qm {
namespace {

constexpr std::size_t kMaxNumberLength = 32;

bool IsBlank(int c) {
  return c >= 0 && c <= ' ';
}

bool IsLineEnd(int c) {
  // Lines end at CR; a lone LF ends one too, so a file saved by a Unix editor still reads line
  // by line instead of running into one endless first line.
  return c == '\r' || c == '\n';
}

}  // namespace

bool ParseDecimal(const std::string& token, std::int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
    negative = token[i] == '-';
    ++i;
  }
  if (i == token.size()) return false;
  std::int64_t magnitude = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > INT64_C(2147483648)) return false;
  }
  const std::int64_t signed_value = negative ? -magnitude : magnitude;
  if (signed_value > INT32_MAX || signed_value < INT32_MIN) return false;
  value = static_cast<std::int32_t>(signed_value);
  return true;
}

TextReader::TextReader(const std::string& path) {
  do {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) ThrowErrno();
  struct stat info {};
  if (::fstat(fd_, &info) != 0) {
    const int e = errno;
    ::close(fd_);
    fd_ = -1;
    throw FileFailure(FileErrorCode(e));
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw FileFailure(kAccessDenied);
  }
}

TextReader::~TextReader() {
  if (fd_ >= 0) ::close(fd_);
}

void TextReader::Close() {
  const int fd = fd_;
  fd_ = -1;
  if (fd >= 0 && ::close(fd) != 0 && errno != EINTR) ThrowErrno();
}

int TextReader::Peek() {
  if (pos_ < end_) return static_cast<unsigned char>(buffer_[pos_]);
  if (at_eof_ || fd_ < 0) return -1;
  ssize_t got;
  do {
    got = ::read(fd_, buffer_.data(), buffer_.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) ThrowErrno();
  pos_ = 0;
  end_ = static_cast<std::size_t>(got);
  if (got == 0) {
    at_eof_ = true;
    return -1;
  }
  return static_cast<unsigned char>(buffer_[0]);
}

void TextReader::SkipLineEnd() {
  const int c = Peek();
  if (c == '\r') {
    Take();
    if (Peek() == '\n') Take();
  } else if (c == '\n') {
    Take();
  }
}

void TextReader::SkipRestOfLine() {
  int c;
  while ((c = Peek()) >= 0 && !IsLineEnd(c))
    Take();
  SkipLineEnd();
}

std::string TextReader::ReadText() {
  std::string text;
  int c;
  while ((c = Peek()) >= 0 && !IsLineEnd(c)) {
    text.push_back(static_cast<char>(c));
    Take();
  }
  SkipLineEnd();
  return text;
}

std::int32_t TextReader::ReadNumber() {
  int c;
  while (IsBlank(c = Peek()))
    Take();
  if (c < 0) return 0;
  std::string token;
  while ((c = Peek()) >= 0 && !IsBlank(c) && token.size() < kMaxNumberLength) {
    token.push_back(static_cast<char>(c));
    Take();
  }
  std::int32_t value = 0;
  if (!ParseDecimal(token, value)) throw FileFailure(kNotANumber);
  SkipRestOfLine();
  return value;
}

}  // namespace qm
