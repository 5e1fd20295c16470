#pragma once

namespace Brennovar {

/// What the host is given to find a module's embedded resources. On Windows this is the module
/// handle; here it is the module's load address (the base that dladdr reports), which is what a
/// Windows module handle is. Null stands for the main program.
using ModuleHandle = const void*;

} // namespace Brennovar
