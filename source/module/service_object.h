#pragma once

#include "module/funknown.h"

namespace Brennovar {

/// The create function the factory registers for the module's service class: a new service
/// object as its FUnknown, carrying the one reference it was made with; null when it cannot be
/// allocated. The context is not used. Kept apart from the entry points, so that a test module
/// can link the same entry points over a service of its own.
FUnknown* createServiceObject(void* context);

} // namespace Brennovar
