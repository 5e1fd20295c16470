#include "host_session.h"

namespace Brennovar::RefHost {

bool HostSession::load(const std::string& modulePath) {
    return loader_.load(modulePath);
}

bool HostSession::startService() {
    return loader_.startService(host_.context());
}

std::vector<std::string> HostSession::finish() {
    std::vector<std::string> problems = host_.environment().problems();
    host_.closeProject();
    if (!loader_.stopService())
        problems.push_back(loader_.error());
    // Whatever the service did not remove at terminate still holds host references to module
    // objects; they go back now, while the module's code is still loaded.
    if (std::size_t left = host_.releaseClientObjects())
        problems.push_back("the module left " + std::to_string(left) +
                           " listener(s) or handler(s) registered after terminate");
    if (!loader_.unload())
        problems.push_back(loader_.error());
    ReferenceReport report = host_.references();
    if (!report.clean()) {
        std::string text = report.text();
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        problems.push_back(text);
    }
    return problems;
}

} // namespace Brennovar::RefHost
