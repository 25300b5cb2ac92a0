#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qm {

// Reads the game's text files one value at a time, the way they have always been read: a text
// runs to the end of its line, a number is the next run of non-blank characters wherever it
// starts, and after either the rest of the line is dropped. A file that ends early gives 0 and
// empty texts. Every failure throws FileFailure.
class TextReader {
 public:
  // Opens the file; a folder or a device in its place counts as access denied.
  explicit TextReader(const std::string& path);
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  std::string ReadText();
  std::int32_t ReadNumber();
  // Closes early so a close failure can be reported; the destructor closes quietly otherwise.
  void Close();

 private:
  // The next byte without taking it, or -1 at the end of the file.
  int Peek();
  void Take() { ++pos_; }
  void SkipLineEnd();
  void SkipRestOfLine();

  int fd_ = -1;
  std::array<char, 4096> buffer_{};
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_eof_ = false;
};

// True for a whole decimal number with an optional sign that fits in 32 bits.
bool ParseDecimal(const std::string& token, std::int32_t& value);

}  // namespace qm
