#pragma once

#include "refhost/session/host_session.h"

namespace Brennovar::RefHost {

/// `zintara-host run --script FILE`: runs the session script in one loaded module on one
/// project and prints how every step went; returns the exit status.
int runScript(const SessionOptions& options, const std::string& scriptPath, bool json);

} // namespace Brennovar::RefHost
