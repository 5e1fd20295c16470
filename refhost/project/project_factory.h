#pragma once

#include <string_view>

namespace Brennovar::RefHost {

class Project;

/// Where new projects come from: the host keeps every project it makes, so that what they hold
/// can be taken back before a module is unloaded. Readers of project files build into it.
class ProjectFactory {
public:
    /// A new, empty project, not yet open.
    virtual Project& createProject(std::string_view name) = 0;

protected:
    ~ProjectFactory() = default;
};

} // namespace Brennovar::RefHost
