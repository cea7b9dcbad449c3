#include "platform/files.h"

#include "platform/runtimeerror.h"

namespace pw {

void throwBadFileName(TextView path) {
  throw RuntimeError(err::BadFileName, u"Bad file name: " + quoted(path) + u".");
}

void throwNotAFile(TextView path, TextView purpose, TextView what) {
  throw RuntimeError(err::PathFileAccess, u"Could not open " + quoted(path) + u" " + Text(purpose) + u": it is " +
                                              Text(what) + u", not a file. Choose a file, or a new name.");
}

}  // namespace pw
