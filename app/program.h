#pragma once
#include "platform/desktop.h"

namespace pw {

// The whole program: the application object, the platform's services, the window, the event loop.
int runPagewick(int argc, char** argv, DesktopOptions options = {});

}  // namespace pw
