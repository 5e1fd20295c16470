#pragma once

#include "refhost/session/host_session.h"

#include <string>

namespace Brennovar::RefHost {

/// `zintara-host dialog --html FILE`: opens the dialog in the session's language and writes
/// its preview page; prints the texts that do not fit. Returns the exit status.
int writeDialogPreview(const SessionOptions& options, const std::string& file, bool json);

/// `zintara-host dialog --check-fit`: lays the dialog out in every language the module offers
/// and in pseudolocalization, and lists every text that does not fit. Returns kExitCheckFailed
/// when one does not (or the host found a problem).
int checkDialogFit(const SessionOptions& options, bool json);

} // namespace Brennovar::RefHost
