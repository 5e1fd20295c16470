#pragma once

#include "host/i_dialog_service.h"
#include "host/plug_controller.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"
#include "refhost/dialog/skin_document.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// One registerSkin call and its outcome.
struct SkinRegistration {
    ModuleHandle module = nullptr;
    /// The resource name as UTF-8.
    std::string name;
    bool accepted = false;
    /// Why the skin was refused; empty when accepted.
    std::string error;
};

/// One runDialog call.
struct DialogRun {
    std::string templateName;
    ResultCode result = ResultFalse;
    /// What the rendered dialog showed broken (see DialogRuntime::problems).
    std::vector<std::string> problems;
};

class DialogRuntime;
class TranslationService;

/// IDialogService of the host.
///
/// registerSkin finds the named resource among the module's embedded resources and checks it
/// as a skin container; the outcome and any error are kept for the tool to report, and the
/// skin description of an accepted container is parsed once, for every dialog to come.
///
/// runDialog renders the template from the last accepted skin with a DialogRuntime and hands it
/// to the dialog driver (a person's stand-in: a script, a test) until the driver closes it;
/// a dialog nobody closes is cancelled (ResultFalse). Without a skin the dialog cannot be shown
/// and is answered ResultFalse. A dialog runner, when set, answers instead without rendering.
/// buildTemplateView builds into the dialog being rendered and answers null.
class DialogService : public HostFaces<CountedObject, IDialogService> {
public:
    /// Plays the user of a modal dialog: gets the template name and the controller (borrowed),
    /// returns ResultOk for a confirmed dialog.
    using DialogRunner = std::function<ResultCode(const char* templateName, IPlugController*)>;
    /// Works a rendered dialog as its user: calls DialogRuntime::close to end it.
    using DialogDriver = std::function<void(DialogRuntime&)>;

    /// Dialogs show their texts in the language of `translation`, which outlives the service.
    DialogService(HostEnvironment& environment, TranslationService& translation)
        : HostFaces(environment), translation_(translation) {}

    /// ResultOk when the resource exists and is a valid skin container; ResultFalse otherwise
    /// (and under the refuseSkin fault); ResultInvalidArgument for a null name.
    ResultCode registerSkin(ModuleHandle module, const char16_t* fileName) noexcept override;
    /// The runner's answer, or ResultFalse without a runner; ResultInvalidArgument for a null
    /// template name.
    ResultCode runDialog(const char* templateName, IPlugController* controller) noexcept override;
    FUnknown* buildTemplateView(const char* templateName,
                                IPlugController* controller) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    void setDialogRunner(DialogRunner runner) { runner_ = std::move(runner); }
    void setDialogDriver(DialogDriver driver) { driver_ = std::move(driver); }
    /// A driver for as long as the scope lasts, cleared however it ends.
    class DriverScope {
    public:
        DriverScope(DialogService& service, DialogDriver driver) : service_(service) {
            service_.setDialogDriver(std::move(driver));
        }
        ~DriverScope() { service_.setDialogDriver(nullptr); }
        DriverScope(const DriverScope&) = delete;
        DriverScope& operator=(const DriverScope&) = delete;

    private:
        DialogService& service_;
    };
    /// The skin description of the last accepted registerSkin; null when none was accepted.
    const SkinDocument* skin() const noexcept { return skin_.get(); }
    const std::vector<SkinRegistration>& skins() const noexcept { return skins_; }
    /// The error of the last refused registerSkin; empty when the last one was accepted.
    std::string lastSkinError() const;
    const std::vector<DialogRun>& dialogRuns() const noexcept { return runs_; }

private:
    ResultCode render(const char* templateName, IPlugController* controller, DialogRun& run);

    TranslationService& translation_;
    DialogRunner runner_;
    DialogDriver driver_;
    std::shared_ptr<const SkinDocument> skin_;
    // The dialog being shown, for buildTemplateView; null between dialogs.
    DialogRuntime* showing_ = nullptr;
    std::vector<SkinRegistration> skins_;
    std::vector<DialogRun> runs_;
};

} // namespace Brennovar::RefHost
