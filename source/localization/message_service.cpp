#include "localization/message_service.h"

#include <cstdio>
#include <utility>

namespace Brennovar::Zintara {

namespace {

// Like everything of the module, the service is used on the host's calling thread only.
MessageService::Handler& currentHandler() {
    static MessageService::Handler handler;
    return handler;
}

void writeToStandardError(std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    std::fputc('\n', stderr);
}

} // namespace

void MessageService::report(std::string_view message) noexcept {
    try {
        if (const Handler& handler = currentHandler())
            handler(message);
        else
            writeToStandardError(message);
    } catch (...) {
        // A report is best effort; a failing handler must not take the caller down.
    }
}

MessageService::Handler MessageService::setHandler(Handler handler) noexcept {
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace Brennovar::Zintara
