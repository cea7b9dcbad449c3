// Built as the window's handlers are, this must not build: code above the platform's interfaces
// never sees a backend's header.
#include "platform/x11/x11windows.h"
