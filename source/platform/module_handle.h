#pragma once

#include "host/module_handle.h"

namespace Brennovar::Platform {

/// This module's own handle, recorded when the library is attached to the process: on Windows
/// the handle that DllMain receives, on Linux the load address as dladdr reports it (a
/// load-time constructor stands in for the process-attach hook). Null in a program that links
/// the code directly, which stands for the program itself.
ModuleHandle moduleHandle();

} // namespace Brennovar::Platform
