#pragma once

#include <exception>
#include <string>

namespace qm {

// Codes of the player's error box, one per cause it can name; any other number is shown as is.
constexpr int kFileNotFound = 2;
constexpr int kInvalidFileName = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kDiskReadError = 100;
constexpr int kDiskFull = 101;
constexpr int kNotANumber = 106;

// A failed open, read, write or close of the saved game, the chart or the voyage log. Carries the
// code of the error box; thrown inside the file layer and turned into the box at its edge.
class FileFailure : public std::exception {
 public:
  explicit FileFailure(int code) : code_(code) {}
  int code() const { return code_; }
  const char* what() const noexcept override { return "file failure"; }

 private:
  int code_;
};

// The error box code for a system error number.
int FileErrorCode(int errno_value);

// Throws the failure for the current errno.
[[noreturn]] void ThrowErrno();

// The error box text of a code, CP932, with the full stop the box adds.
std::string FileErrorText(int code);

}  // namespace qm
