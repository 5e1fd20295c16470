#pragma once

#include "host/module_handle.h"

namespace Brennovar::Platform {

/// This module's own handle: its load address as dladdr reports it. Recorded when the library
/// is attached to the process (a load-time constructor), which stands in for the process-attach
/// hook of the original platform.
ModuleHandle moduleHandle();

} // namespace Brennovar::Platform
