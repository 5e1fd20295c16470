#include "refhost/dialog/dialog_service.h"

#include "platform/embedded_resources.h"
#include "refhost/core/host_environment.h"
#include "refhost/core/host_error.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/dialog_runtime.h"
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
            try {
                if (validateSkinContainer(*bytes, error))
                    skin_ =
                        std::make_shared<const SkinDocument>(SkinDocument::fromContainer(*bytes));
                registration.accepted = error.empty();
            } catch (const HostError& refused) {
                error = refused.problem();
            }
            if (!error.empty())
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
        DialogRun run{templateName, ResultFalse, {}};
        run.result =
            runner_ ? runner_(templateName, controller) : render(templateName, controller, run);
        runs_.push_back(std::move(run));
        return runs_.back().result;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode DialogService::render(const char* templateName, IPlugController* controller,
                                 DialogRun& run) {
    if (!skin_) {
        run.problems.push_back("no skin is registered");
        return ResultFalse;
    }
    // The skin stays alive for this dialog even if the module registers another meanwhile.
    std::shared_ptr<const SkinDocument> skin = skin_;
    DialogRuntime runtime(*skin, environment(), translation_);
    // buildTemplateView builds into this dialog while it is shown, whatever ends the showing.
    struct Showing {
        DialogRuntime*& slot;
        DialogRuntime* outer;
        ~Showing() { slot = outer; }
    } showing{showing_, std::exchange(showing_, &runtime)};
    if (runtime.open(templateName, controller) && driver_)
        driver_(runtime);
    run.problems = runtime.problems();
    return runtime.result();
}

FUnknown* DialogService::buildTemplateView(const char* templateName,
                                           IPlugController* controller) noexcept {
    try {
        if (showing_ && templateName)
            showing_->buildTemplateView(templateName, controller);
    } catch (...) {
    }
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
