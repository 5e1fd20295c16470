#include "refhost/core/host_behaviours.h"

#include "refhost/core/host_error.h"

namespace Brennovar::RefHost {

namespace {

bool& flag(HostBehaviours& behaviours, std::size_t index) {
    switch (index) {
    case 0:
        return behaviours.echo;
    case 1:
        return behaviours.lateRebuild;
    case 2:
        return behaviours.doubleClick;
    default:
        return behaviours.immediateRebuild;
    }
}

} // namespace

HostBehaviours HostBehaviours::fromBits(unsigned bits) {
    HostBehaviours behaviours;
    for (std::size_t i = 0; i < kNames.size(); ++i)
        flag(behaviours, i) = (bits >> i & 1u) != 0;
    return behaviours;
}

HostBehaviours HostBehaviours::parse(std::string_view list) {
    HostBehaviours behaviours;
    while (!list.empty()) {
        const std::size_t end = list.find(',');
        const std::string_view name = list.substr(0, end);
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
        if (name == "all") {
            behaviours = fromBits(kAll);
            continue;
        }
        if (name == "none" || name.empty())
            continue;
        std::size_t index = 0;
        while (index < kNames.size() && kNames[index] != name)
            ++index;
        if (index == kNames.size()) {
            std::string known;
            for (std::string_view each : kNames)
                known += std::string(each) + ", ";
            throw HostError(kExitBadInput, "unknown host behaviour \"" + std::string(name) +
                                               "\" (known: " + known + "all, none)");
        }
        flag(behaviours, index) = true;
    }
    return behaviours;
}

std::string HostBehaviours::names() const {
    std::string text;
    HostBehaviours self = *this;
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (flag(self, i)) {
            if (!text.empty())
                text += ',';
            text += kNames[i];
        }
    return text.empty() ? "none" : text;
}

} // namespace Brennovar::RefHost
