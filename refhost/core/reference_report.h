#pragma once

#include "module/funknown.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// How one host object stands with its clients.
struct ReferenceEntry {
    /// A readable name of the object ("marker track 'Markers'", "service IProjectEdit").
    std::string object;
    /// References the clients still hold (never negative: over-releases are refused).
    int32 outstanding = 0;
    /// References handed out or taken by clients over the object's life.
    uint32 handedOut = 0;
    /// Releases refused because the clients held no reference any more.
    uint32 overReleases = 0;
};

/// The host's account of the references its clients obtained, at the moment it was made.
struct ReferenceReport {
    /// Objects whose references were not all released, in creation order.
    std::vector<ReferenceEntry> leaks;
    /// Objects released more often than referenced, in creation order.
    std::vector<ReferenceEntry> overReleases;
    /// References handed out to clients in total.
    uint64_t handedOut = 0;

    /// No leak and no over-release.
    bool clean() const noexcept { return leaks.empty() && overReleases.empty(); }
    /// One line per finding ("leak: cycle-marker 'Verse' (1 reference not released)",
    /// "over-release: node of ... (released 1 time more than referenced)"), or, when clean,
    /// "references: all released (n references handed out)".
    std::string text() const;
};

} // namespace Brennovar::RefHost
