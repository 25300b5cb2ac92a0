#pragma once

#include <exception>
#include <string>

namespace qm {

// Every failure of the mixer arrives as one of these, carrying only its English message text.
class EPcmMixError : public std::exception {
 public:
  explicit EPcmMixError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

// Texts raised from more than one place.
inline constexpr char kMsgInvalidSession[] = "Invalid Session handle";
inline constexpr char kMsgNoMemory[] =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";
inline constexpr char kMsgInvalidChannel[] = "Invalid channel number";
inline constexpr char kMsgChannelNotOpen[] = "The specified channel was not open";
inline constexpr char kMsgWriteFailed[] = "Failed to write block to device";
inline constexpr char kMsgNoData[] = "The data chunk has no data";
inline constexpr char kMsgFormatNotSupported[] = "File format not supported";

[[noreturn]] inline void Fail(std::string message) {
  throw EPcmMixError(std::move(message));
}

}  // namespace qm
