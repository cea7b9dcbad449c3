#include "platform/posix/posixerror.h"

#include <cerrno>
#include <cstring>

namespace pw::posix {

int errorNumberFor(int error) {
  switch (error) {
    case ENOENT: case ENOTDIR: return err::PathNotFound;
    case EACCES: case EPERM: case EROFS: case ETXTBSY: return err::PermissionDenied;
    case ENOSPC: case EFBIG: case EDQUOT: return err::DiskFull;
    case ENAMETOOLONG: case EINVAL: case EILSEQ: return err::BadFileName;
    case ENOMEM: return err::OutOfMemory;
    default: return err::PathFileAccess;
  }
}

Text errnoText(int error) {
  Text reason = fromUtf8(std::strerror(error));
  if (!reason.empty()) reason[0] = asciiLower(reason[0]);
  return reason;
}

void throwErrno(int error, TextView what) {
  throwCouldNot(errorNumberFor(error), what, errnoText(error));
}

}  // namespace pw::posix
