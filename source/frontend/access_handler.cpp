#include "frontend/access_handler.h"

#include "module/host_context.h"

#include <cstring>

namespace Brennovar::Zintara {

namespace {

constexpr char16_t kSkinResource[] = u"skin.kxp";

bool isCommandName(const char* name) {
    return name && (std::strcmp(name, AccessHandler::kDialogCommand) == 0 ||
                    std::strcmp(name, AccessHandler::kCurrentSettingsCommand) == 0);
}

} // namespace

AccessHandler::AccessHandler(std::unique_ptr<IModuleHandleProvider> moduleHandleProvider)
    : moduleHandleProvider_(std::move(moduleHandleProvider)) {}

AccessHandler::~AccessHandler() = default;

ResultCode AccessHandler::onInitialize() noexcept {
    dialogService_ = hostService<IDialogService>();
    if (!dialogService_)
        return ResultFalse;
    ModuleHandle module = moduleHandleProvider_ ? moduleHandleProvider_->getModuleHandle() : nullptr;
    if (dialogService_->registerSkin(module, kSkinResource) != ResultOk)
        return ResultFalse;
    return ResultOk;
}

ResultCode AccessHandler::terminate() noexcept {
    return ResultOk;
}

ResultCode AccessHandler::executeCommand(const char* category, const char* name,
                                         bool) noexcept {
    if (!category || std::strcmp(category, kCategory) != 0)
        return ResultFalse;
    if (!isCommandName(name))
        return ResultFalse;
    return ResultFalse;
}

} // namespace Brennovar::Zintara
