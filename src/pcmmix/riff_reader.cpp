#include "pcmmix/riff_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool ReadHeader(RiffSource& source, std::int64_t at, RiffChunk& chunk) {
  std::uint8_t header[8];
  if (source.ReadAt(at, header, sizeof header) != sizeof header) return false;
  chunk.id = Le32(header);
  chunk.size = Le32(header + 4);
  chunk.data = at + 8;
  return true;
}

}  // namespace

std::size_t MemoryRiffSource::ReadAt(std::int64_t offset, void* out, std::size_t count) {
  if (offset < 0 || offset >= Size()) return 0;
  const std::size_t n = std::min(count, bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(out, bytes_.data() + offset, n);
  return n;
}

FileRiffSource::FileRiffSource(const std::string& path) {
  // Opened without waiting, so that a pipe in the sound's place is refused instead of holding
  // the start until a writer comes; on a plain file the flag changes nothing.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st {};
  // Only a plain file has a size to trust; a folder or a pipe is not a sound.
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return;
  }
  file_ = ::fdopen(fd, "rb");
  if (file_ == nullptr) {
    ::close(fd);
    return;
  }
  size_ = st.st_size;
}

FileRiffSource::~FileRiffSource() {
  if (file_) std::fclose(file_);
}

std::size_t FileRiffSource::ReadAt(std::int64_t offset, void* out, std::size_t count) {
  if (offset < 0 || offset >= size_) return 0;
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
  return std::fread(out, 1, count, file_);
}

bool FindRiffForm(RiffSource& source, std::uint32_t form, RiffChunk& out) {
  const std::int64_t end = source.Size();
  for (std::int64_t at = 0; at + 12 <= end;) {
    RiffChunk chunk;
    std::uint8_t type[4];
    if (!ReadHeader(source, at, chunk) || source.ReadAt(at + 8, type, 4) != 4) return false;
    if (chunk.id == FourCc("RIFF") && Le32(type) == form) {
      out = chunk;
      return true;
    }
    at = chunk.End();
  }
  return false;
}

bool FindSubChunk(RiffSource& source, const RiffChunk& parent, std::int64_t from, std::uint32_t id,
                  RiffChunk& out) {
  const std::int64_t end = std::min(parent.data + parent.size, source.Size());
  for (std::int64_t at = std::max(from, parent.data + 4); at + 8 <= end;) {
    RiffChunk chunk;
    if (!ReadHeader(source, at, chunk)) return false;
    if (chunk.id == id) {
      out = chunk;
      return true;
    }
    at = chunk.End();
  }
  return false;
}

}  // namespace qm
