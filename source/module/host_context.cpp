#include "module/host_context.h"

namespace Brennovar::Zintara {

IHostObjectProvider*& hostObjectProvider() {
    static IHostObjectProvider* provider = nullptr;
    return provider;
}

} // namespace Brennovar::Zintara
