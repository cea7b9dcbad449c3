#pragma once
// Turns a failed system call into the runtime error the user sees.
#include <string_view>

#include "platform/runtimeerror.h"

namespace pw::posix {

// `what` says what was being done, e.g. u"open \"/tmp/a.txt\" for appending".
[[noreturn]] void throwErrno(int error, TextView what);
int errorNumberFor(int error);
// strerror's text, starting in lower case to follow a colon.
Text errnoText(int error);

}  // namespace pw::posix
