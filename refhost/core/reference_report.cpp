#include "refhost/core/reference_report.h"

namespace Brennovar::RefHost {

namespace {

std::string plural(uint64_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

} // namespace

std::string ReferenceReport::text() const {
    if (clean())
        return "references: all released (" + plural(handedOut, "reference") + " handed out)\n";
    std::string text;
    for (const ReferenceEntry& entry : leaks)
        text += "leak: " + entry.object + " (" +
                plural(static_cast<uint64_t>(entry.outstanding), "reference") + " not released)\n";
    for (const ReferenceEntry& entry : overReleases)
        text += "over-release: " + entry.object + " (released " +
                plural(entry.overReleases, "time") + " more than referenced)\n";
    return text;
}

} // namespace Brennovar::RefHost
