#pragma once

#include "host_session.h"

#include <string>

namespace Brennovar::RefHost {

class Project;

/// What the dialog and script commands share: the module, the project (a file or the demo),
/// the settings stored in it before it opens and the host's language.
struct SessionOptions {
    std::string module = ZINTARA_DEFAULT_MODULE;
    std::string project;
    std::string settings;
    std::string language;
};

/// Reads the project, applies the settings and the language, loads the module, starts its
/// service and opens the project. Warnings (unknown settings keys, a language the module does
/// not offer) go to standard error. Throws CommandFailure when the project or settings cannot be
/// read (the session is untouched) or the module cannot be started (the session is finished).
Project& openSession(HostSession& session, const SessionOptions& options);

} // namespace Brennovar::RefHost
