#include "state/text_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>

#include "platform/decimal.h"
#include "state/file_error.h"

namespace qm {
namespace {

constexpr std::size_t kMaxNumberLength = 32;

// Each byte's class in one lookup: the readers test a byte once instead of against each of the
// characters in turn, which keeps the per-byte work of the fuzzed parsers small.
constexpr unsigned char kBlank = 1;
constexpr unsigned char kLineEnd = 2;

constexpr std::array<unsigned char, 256> kByteClass = [] {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c <= ' '; ++c)
    table[static_cast<std::size_t>(c)] = kBlank;
  // Lines end at CR; a lone LF ends one too, so a file saved by a Unix editor still reads line
  // by line instead of running into one endless first line.
  table['\r'] |= kLineEnd;
  table['\n'] |= kLineEnd;
  return table;
}();

bool Is(char c, unsigned char byte_class) {
  return (kByteClass[static_cast<unsigned char>(c)] & byte_class) != 0;
}

}  // namespace

bool ParseDecimal(std::string_view token, std::int32_t& value) {
  const auto number = ParseWholeDecimal(token);
  if (number) value = *number;
  return number.has_value();
}

std::string ReadTextFile(const std::string& path) {
  int fd;
  // Without O_NONBLOCK a pipe put in the file's place would hold the game until a writer came;
  // on a regular file the flag changes nothing.
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) ThrowErrno();
  int failure = 0;
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    failure = FileErrorCode(errno);
  } else if (!S_ISREG(info.st_mode)) {
    failure = kAccessDenied;
  } else {
    bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)),
                                       kMaxTextFileBytes));
    std::size_t got = 0;
    // The size is only a hint: the file may grow or shrink while it is read.
    for (;;) {
      if (got == bytes.size()) {
        if (got == kMaxTextFileBytes) break;
        bytes.resize(std::min(kMaxTextFileBytes, got + 4096));
      }
      const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        failure = FileErrorCode(errno);
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
  }
  if (::close(fd) != 0 && errno != EINTR && failure == 0) failure = FileErrorCode(errno);
  if (failure != 0) throw FileFailure(failure);
  return bytes;
}

void TextReader::SkipLineEnd() {
  if (pos_ == end_) return;
  if (*pos_ == '\r') {
    ++pos_;
    if (pos_ != end_ && *pos_ == '\n') ++pos_;
  } else if (*pos_ == '\n') {
    ++pos_;
  }
}

void TextReader::SkipRestOfLine() {
  while (pos_ != end_ && !Is(*pos_, kLineEnd))
    ++pos_;
  SkipLineEnd();
}

std::string TextReader::ReadText() {
  const char* start = pos_;
  while (pos_ != end_ && !Is(*pos_, kLineEnd))
    ++pos_;
  std::string text(start, pos_);
  SkipLineEnd();
  return text;
}

std::int32_t TextReader::ReadNumber() {
  while (pos_ != end_ && Is(*pos_, kBlank))
    ++pos_;
  if (pos_ == end_) return 0;
  const char* start = pos_;
  const char* limit =
      static_cast<std::size_t>(end_ - pos_) > kMaxNumberLength ? pos_ + kMaxNumberLength : end_;
  while (pos_ != limit && !Is(*pos_, kBlank))
    ++pos_;
  std::int32_t value = 0;
  if (!ParseDecimal(std::string_view(start, static_cast<std::size_t>(pos_ - start)), value))
    throw FileFailure(kNotANumber);
  SkipRestOfLine();
  return value;
}

}  // namespace qm
