#pragma once
// Turns a failed Win32 call into the runtime error the user sees.
#include <windows.h>

#include "platform/runtimeerror.h"

namespace pw::win {

// The system's own text for `error`, without its closing full stop.
Text systemMessage(DWORD error);
int errorNumberFor(DWORD error);
// `what` says what was being done, e.g. u"open \"C:\\a.txt\" for appending".
[[noreturn]] void throwWinError(DWORD error, TextView what);
[[noreturn]] inline void throwLastError(TextView what) { throwWinError(GetLastError(), what); }

}  // namespace pw::win
