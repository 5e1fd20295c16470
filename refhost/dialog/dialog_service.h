#pragma once

#include "host/dialog_service.h"
#include "host/plug_controller.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <functional>
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
};

/// IDialogService of the host.
///
/// registerSkin finds the named resource among the module's embedded resources and checks it
/// as a skin container; the outcome and any error are kept for the tool to report. runDialog
/// hands the dialog to the dialog runner when one is set (a test or tool playing the user) and
/// otherwise answers ResultFalse: the host cannot show dialogs yet, so no dialog is confirmed.
/// buildTemplateView answers null.
class DialogService : public HostFaces<CountedObject, IDialogService> {
public:
    /// Plays the user of a modal dialog: gets the template name and the controller (borrowed),
    /// returns ResultOk for a confirmed dialog.
    using DialogRunner = std::function<ResultCode(const char* templateName, IPlugController*)>;

    explicit DialogService(HostEnvironment& environment) : HostFaces(environment) {}

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
    const std::vector<SkinRegistration>& skins() const noexcept { return skins_; }
    /// The error of the last refused registerSkin; empty when the last one was accepted.
    std::string lastSkinError() const;
    const std::vector<DialogRun>& dialogRuns() const noexcept { return runs_; }

private:
    DialogRunner runner_;
    std::vector<SkinRegistration> skins_;
    std::vector<DialogRun> runs_;
};

} // namespace Brennovar::RefHost
