#pragma once

#include <functional>
#include <string_view>

namespace Brennovar::Zintara {

/// Where the library's reports go (today only the report of a translation document that failed
/// to parse). Standard error by default; a host or a test can install its own handler. Used on
/// the host's calling thread only, like the rest of the module.
class MessageService {
public:
    using Handler = std::function<void(std::string_view message)>;

    /// Passes `message` to the current handler. Never throws; a handler that throws is ignored.
    static void report(std::string_view message) noexcept;
    /// Installs `handler` (an empty one restores standard error) and returns the previous one.
    static Handler setHandler(Handler handler) noexcept;
};

} // namespace Brennovar::Zintara
