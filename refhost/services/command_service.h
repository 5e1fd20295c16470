#pragma once

#include "host/i_command_registry.h"
#include "host/plugin_base.h"
#include "refhost/core/client_list.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// One command as a client added it.
struct Command {
    /// Borrowed: identifies the client's commands for removeCommands; never called.
    FUnknown* handler = nullptr;
    std::string category;
    std::u16string title;
    int32 flags = 0;
    std::string displayCategory;
    std::string name;
};

/// What running a command by name came to.
struct CommandRun {
    /// A command of that name is registered.
    bool found = false;
    /// An action handler answered ResultOk when asked with checkOnly true.
    bool available = false;
    /// What that handler answered when the command ran; ResultFalse when it did not run.
    ResultCode result = ResultFalse;
};

/// ICommandRegistry and IActionHandlerRegistry: the host's command table and the objects that
/// run commands.
class CommandService : public HostFaces<CountedObject, ICommandRegistry, IActionHandlerRegistry> {
public:
    explicit CommandService(HostEnvironment& environment) : HostFaces(environment) {}

    /// Appends the command. ResultInvalidArgument for a null handler, category or name;
    /// ResultFalse when a command of that category and name is already registered. A null
    /// title or display category is stored as empty.
    ResultCode addCommand(FUnknown* handler, const char* category, const char16_t* title,
                          int32 flags, const char* displayCategory,
                          const char* name) noexcept override;
    /// Removes every command of the handler. ResultFalse when it had none.
    ResultCode removeCommands(FUnknown* handler) noexcept override;
    /// The host keeps a reference until removeActionHandler. ResultInvalidArgument for null,
    /// ResultFalse when already registered.
    ResultCode addActionHandler(IActionHandler* handler) noexcept override;
    /// Releases the host's reference. ResultFalse when not registered.
    ResultCode removeActionHandler(IActionHandler* handler) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    const std::vector<Command>& commands() const noexcept { return commands_; }
    /// The first command with that name (and category, when not empty); null when none.
    const Command* findCommand(std::string_view name, std::string_view category = {}) const;
    std::size_t actionHandlerCount() const noexcept { return handlers_.size(); }

    /// Runs a command the way a workstation does: asks each action handler in registration
    /// order with checkOnly true, and runs the command (checkOnly false) on the first that
    /// answers ResultOk.
    CommandRun run(std::string_view name, std::string_view category = {});

    /// Releases the host's references to the action handlers and forgets them (and the
    /// commands); returns how many handlers there were. Call it while their module is loaded.
    std::size_t releaseHandlers() noexcept;

private:
    std::vector<Command> commands_;
    ClientList<IActionHandler> handlers_;
};

} // namespace Brennovar::RefHost
