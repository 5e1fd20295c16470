#include "refhost/services/command_service.h"

namespace Brennovar::RefHost {

ResultCode CommandService::addCommand(FUnknown* handler, const char* category,
                                      const char16_t* title, int32 flags,
                                      const char* displayCategory, const char* name) noexcept {
    if (!handler || !category || !name)
        return ResultInvalidArgument;
    if (findCommand(name, category))
        return ResultFalse;
    try {
        commands_.push_back({handler, category, title ? title : u"", flags,
                             displayCategory ? displayCategory : "", name});
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode CommandService::removeCommands(FUnknown* handler) noexcept {
    auto removed = std::erase_if(
        commands_, [handler](const Command& command) { return command.handler == handler; });
    return handler && removed > 0 ? ResultOk : ResultFalse;
}

ResultCode CommandService::addActionHandler(IActionHandler* handler) noexcept {
    return handlers_.add(handler);
}

ResultCode CommandService::removeActionHandler(IActionHandler* handler) noexcept {
    return handlers_.remove(handler);
}

FUnknown* CommandService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == ICommandRegistry::iid)
        return static_cast<ICommandRegistry*>(this);
    if (id == IActionHandlerRegistry::iid)
        return static_cast<IActionHandlerRegistry*>(this);
    return nullptr;
}

std::string CommandService::describe() const {
    return "service ICommandRegistry";
}

const Command* CommandService::findCommand(std::string_view name, std::string_view category) const {
    for (const Command& command : commands_)
        if (command.name == name && (category.empty() || command.category == category))
            return &command;
    return nullptr;
}

CommandRun CommandService::run(std::string_view name, std::string_view category) {
    CommandRun outcome;
    const Command* command = findCommand(name, category);
    if (!command)
        return outcome;
    outcome.found = true;
    // Copies: the command table may change while a command runs.
    const std::string commandCategory = command->category;
    const std::string commandName = command->name;
    handlers_.notify([&](IActionHandler* handler) {
        if (handler->executeCommand(commandCategory.c_str(), commandName.c_str(), true) != ResultOk)
            return false;
        outcome.available = true;
        outcome.result =
            handler->executeCommand(commandCategory.c_str(), commandName.c_str(), false);
        return true;
    });
    return outcome;
}

std::size_t CommandService::releaseHandlers() noexcept {
    commands_.clear();
    return handlers_.releaseAll();
}

} // namespace Brennovar::RefHost
