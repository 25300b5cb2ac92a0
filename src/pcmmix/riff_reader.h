#pragma once

// Finding chunks in RIFF bytes, from a file or from memory. Every size in a chunk header is only
// a claim: searches stop at the end of the bytes really there, and nothing is read beyond them.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace qm {

class RiffSource {
 public:
  virtual ~RiffSource() = default;
  virtual std::int64_t Size() const = 0;
  // Copies up to `count` bytes from `offset`; returns how many were there.
  virtual std::size_t ReadAt(std::int64_t offset, void* out, std::size_t count) = 0;
};

class MemoryRiffSource final : public RiffSource {
 public:
  explicit MemoryRiffSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  std::size_t ReadAt(std::int64_t offset, void* out, std::size_t count) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

class FileRiffSource final : public RiffSource {
 public:
  // Opens `path` for reading; IsOpen() tells whether that worked.
  explicit FileRiffSource(const std::string& path);
  ~FileRiffSource() override;
  FileRiffSource(const FileRiffSource&) = delete;
  FileRiffSource& operator=(const FileRiffSource&) = delete;
  bool IsOpen() const { return file_ != nullptr; }
  std::int64_t Size() const override { return size_; }
  std::size_t ReadAt(std::int64_t offset, void* out, std::size_t count) override;

 private:
  std::FILE* file_ = nullptr;
  std::int64_t size_ = 0;
};

constexpr std::uint32_t FourCc(const char (&id)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(id[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(id[3])) << 24;
}

struct RiffChunk {
  std::uint32_t id = 0;
  std::uint32_t size = 0;  // as the header claims it
  std::int64_t data = 0;   // offset of the first byte after the header
  // Where the chunk ends as declared, with its pad byte when the size is odd.
  std::int64_t End() const { return data + size + (size & 1); }
};

// The first top-level "RIFF" chunk of form type `form`, scanning from the start.
bool FindRiffForm(RiffSource& source, std::uint32_t form, RiffChunk& out);
// The first chunk `id` inside `parent` (a RIFF chunk) at or after offset `from`.
bool FindSubChunk(RiffSource& source, const RiffChunk& parent, std::int64_t from, std::uint32_t id,
                  RiffChunk& out);

}  // namespace qm
