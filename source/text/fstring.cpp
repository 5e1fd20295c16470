#include "text/fstring.h"

namespace Brennovar {

FString::~FString() = default;

} // namespace Brennovar
