#pragma once

#include "module/funknown.h"

namespace Brennovar::Platform {

/// A random (version 4) GUID: CoCreateGuid on Windows, the kernel's random source on Linux.
Guid randomGuid();

} // namespace Brennovar::Platform
