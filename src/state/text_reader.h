#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// The bytes of one of the game's text files. A folder, a device or a pipe in its place counts as
// access denied (and is never waited on). Only the first kMaxTextFileBytes are read: the game's
// files are a few kilobytes, and what lies past that could only be read as a single endless line.
// Every failure, the close included, throws FileFailure.
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{16} << 20;
std::string ReadTextFile(const std::string& path);

// Reads values out of a text file's bytes one at a time, the way the game's files have always
// been read: a text runs to the end of its line, a number is the next run of non-blank characters
// wherever it starts, and after either the rest of the line is dropped. Bytes that end early give
// 0 and empty texts. A number that is none throws FileFailure(kNotANumber). The bytes must outlive
// the reader.
class TextReader {
 public:
  explicit TextReader(std::string_view bytes)
      : pos_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  std::string ReadText();
  std::int32_t ReadNumber();

 private:
  void SkipLineEnd();
  void SkipRestOfLine();

  const char* pos_;
  const char* end_;
};

// True for a whole decimal number with an optional sign that fits in 32 bits.
bool ParseDecimal(std::string_view token, std::int32_t& value);

}  // namespace qm
