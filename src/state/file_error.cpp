#include "state/file_error.h"

#include <cerrno>

#include "platform/cp932.h"

namespace qm {

int FileErrorCode(int e) {
  switch (e) {
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return kInvalidFileName;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
      return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EIO:
      // Its own number would read as "access denied".
      return kDiskReadError;
    default:
      return e;
  }
}

void ThrowErrno() {
  throw FileFailure(FileErrorCode(errno));
}

std::string FileErrorText(int code) {
  std::string text;
  switch (code) {
    case kFileNotFound:
      text = Sj("ﾌｧｲﾙが見つかりません");
      break;
    case kInvalidFileName:
      text = Sj("不正なﾌｧｲﾙ名です");
      break;
    case kTooManyOpenFiles:
      text = Sj("ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
      break;
    case kAccessDenied:
      text = Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました");
      break;
    case kDiskFull:
      text = Sj("ﾃﾞｨｽｸがいっぱいです");
      break;
    case kNotANumber:
      text = Sj("入力値が数値ではありません");
      break;
    default:
      text = Sj("I/O ｴﾗｰ (") + Dec(code) + ")";
      break;
  }
  // The box ends a sentence with a full stop, but not one that already ends in punctuation.
  if (text.empty() || static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace qm
