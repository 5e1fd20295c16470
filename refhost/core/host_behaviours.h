#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// Ways a workstation may behave where a client cannot count on one answer, chosen per run so
/// that a client is tried under each. All are off by default: the host then reports only the
/// user's changes and rebuilds dependent views at its next idle after each user action.
///
/// - echo: every value, state or text a client sets on a connected parameter (setValue, setOn,
///   setText) is reported to the parameter's controller at once, with its tag, as a user's
///   change would be.
/// - lateRebuild: dependent views are rebuilt only when the user pauses, so the user works on
///   views, and drives controllers, of an older build.
/// - doubleClick: a press of a push switch is sometimes reported twice before the host
///   rebuilds anything.
/// - immediateRebuild: a dependent view is rebuilt at once, inside the call that changed its
///   parameter, so a controller may lose the host's last reference to it while one of its own
///   calls is still running.
///
/// Where a behaviour needs a choice (when the user pauses, which presses are doubled), a seed
/// draws it at random: a pause after 1 to 5 actions, every other press doubled on average.
/// Without a seed the user pauses only when told (DialogRuntime::pause) and every press is
/// doubled.
struct HostBehaviours {
    bool echo = false;
    bool lateRebuild = false;
    bool doubleClick = false;
    bool immediateRebuild = false;
    std::optional<std::uint64_t> seed;

    /// The names, in this order, as lists give them.
    static constexpr std::array<std::string_view, 4> kNames = {"echo", "late-rebuild",
                                                               "double-click", "immediate-rebuild"};

    /// The behaviours of a comma-separated list of names ("echo,late-rebuild"; "all" for every
    /// one, "none" or an empty list for none). Throws HostError naming an unknown
    /// name and the known ones.
    static HostBehaviours parse(std::string_view list);
    /// The behaviours whose bits are set: bit i stands for kNames[i].
    static HostBehaviours fromBits(unsigned bits);
    static constexpr unsigned kAll = (1u << kNames.size()) - 1;

    /// The names of the behaviours that are on, comma-separated; "none" when none is.
    std::string names() const;
    bool any() const noexcept { return echo || lateRebuild || doubleClick || immediateRebuild; }
};

} // namespace Brennovar::RefHost
