#include "state/file_error.h"

#include <cerrno>

#include "platform/cp932.h"
#include "platform/edition.h"

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
      text = Tx("ﾌｧｲﾙが見つかりません");
      break;
    case kInvalidFileName:
      text = Tx("不正なﾌｧｲﾙ名です");
      break;
    case kTooManyOpenFiles:
      text = Tx("ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます");
      break;
    case kAccessDenied:
      text = Tx("ﾌｧｲﾙへのｱｸｾｽが拒否されました");
      break;
    case kDiskFull:
      text = Tx("ﾃﾞｨｽｸがいっぱいです");
      break;
    case kNotANumber:
      text = Tx("入力値が数値ではありません");
      break;
    default:
      text = Fill(Tx("I/O ｴﾗｰ (%1)"), {Dec(code)});
      break;
  }
  // The box ends a sentence with a full stop, but not one that already ends in punctuation.
  if (text.empty() || static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace qm
