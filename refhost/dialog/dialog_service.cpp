#include "refhost/dialog/dialog_service.h"

#include "platform/embedded_resources.h"
#include "refhost/core/host_environment.h"
#include "refhost/core/text_conversion.h"
#include "refhost/resources/skin_container.h"

namespace Brennovar::RefHost {

ResultCode DialogService::registerSkin(ModuleHandle module, const char16_t* fileName) noexcept {
    if (!fileName)
        return ResultInvalidArgument;
    try {
        SkinRegistration registration{module, utf8(fileName), false, {}};
        if (environment().faults().refuseSkin) {
            registration.error = "the host refuses skins (fault injected)";
        } else if (auto bytes = Platform::findResource(module, registration.name); !bytes) {
            registration.error = "no resource \"" + registration.name + "\" in the module";
        } else {
            std::string error;
            registration.accepted = validateSkinContainer(*bytes, error);
            if (!registration.accepted)
                registration.error = "\"" + registration.name + "\": " + error;
        }
        skins_.push_back(registration);
        return registration.accepted ? ResultOk : ResultFalse;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode DialogService::runDialog(const char* templateName,
                                    IPlugController* controller) noexcept {
    if (!templateName)
        return ResultInvalidArgument;
    try {
        ResultCode result = runner_ ? runner_(templateName, controller) : ResultFalse;
        runs_.push_back({templateName, result});
        return result;
    } catch (...) {
        return ResultFailed;
    }
}

FUnknown* DialogService::buildTemplateView(const char*, IPlugController*) noexcept {
    return nullptr;
}

FUnknown* DialogService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IDialogService::iid)
        return static_cast<IDialogService*>(this);
    return nullptr;
}

std::string DialogService::describe() const {
    return "service IDialogService";
}

std::string DialogService::lastSkinError() const {
    return skins_.empty() ? std::string() : skins_.back().error;
}

} // namespace Brennovar::RefHost
