#pragma once

#include "module/funknown.h"

namespace Brennovar::Platform {

/// A random (version 4) GUID from the operating system's random source.
Guid randomGuid();

} // namespace Brennovar::Platform
