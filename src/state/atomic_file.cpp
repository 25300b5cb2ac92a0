#include "state/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "state/file_error.h"

namespace qm {
namespace {

// Closes and removes a temporary file that never made it into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Create() {
    do {
      fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
      // Nothing was created, so there is nothing of ours to remove.
      committed_ = true;
      ThrowErrno();
    }
  }

  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
      if (put < 0) {
        if (errno == EINTR) continue;
        ThrowErrno();
      }
      bytes.remove_prefix(static_cast<std::size_t>(put));
    }
  }

  void SyncAndClose() {
    if (::fsync(fd_) != 0) ThrowErrno();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) ThrowErrno();
  }

  void RenameTo(const std::string& path) {
    if (::rename(path_.c_str(), path.c_str()) != 0) ThrowErrno();
    committed_ = true;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Makes the rename itself survive a power cut. The new file is already in place by then, so a
// folder that cannot be synced is not worth telling the player about.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string TemporaryPathFor(const std::string& path) {
  return path + ".tmp";
}

void MakeFoldersFor(const std::string& path) {
  if (path.empty()) throw FileFailure(kAccessDenied);
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) throw FileFailure(kInvalidFileName);
    return;
  }
  if (errno != ENOENT) ThrowErrno();
  if (folder != "/" && folder != ".") MakeFoldersFor(folder);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ThrowErrno();
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TemporaryFile temporary(TemporaryPathFor(path));
  temporary.Create();
  temporary.Write(bytes);
  temporary.SyncAndClose();
  temporary.RenameTo(path);
  SyncFolder(FolderOf(path));
}

bool TryWriteFileAtomically(const std::string& path, std::string_view bytes) {
  try {
    WriteFileAtomically(path, bytes);
  } catch (const FileFailure&) {
    return false;
  }
  return true;
}

}  // namespace qm
