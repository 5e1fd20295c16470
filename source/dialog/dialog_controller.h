#pragma once

#include "dialog/attribute_mapping_view_controller.h"
#include "dialog/row_set.h"
#include "host/i_dialog_service.h"
#include "host/plug_controller.h"
#include "model/model.h"
#include "module/implements.h"
#include "module/owned.h"
#include "module/pvalue_container.h"

#include <vector>

namespace Brennovar::Zintara {

/// The controller of the dialog "ZintaraDialog": offers the settings as named host parameters,
/// writes every change straight into the live settings, keeps one row controller per mapping
/// row and flips "attributeMappingChanged" after every change of the rows so that the host
/// rebuilds the row list. It does not know how the dialog ends; the dialog command restores the
/// settings when the user cancels. Changes the host reports while the controller sets its own
/// parameters are the host's echo of them and are ignored.
class DialogController
    : public Vorn::ImplementsImpl<Vorn::Detail::QueryInterfaceEnd<Vorn::Detail::RefCounted>,
                                  Vorn::Directly<IPlugController, IPlugController3, IViewBuilder>,
                                  Vorn::Indirectly<>> {
public:
    enum Tag : int32 {
        kMarkerType = 0,
        kMarkerTargetTrackType = 1,
        kCombineAdjacentEvents = 2,
        kAttributeMappingChanged = 3,
        kAddAttributeMapping = 4,
        kOk = 5,
    };
    /// The most mapping rows the dialog offers (the skin repeats the row template 8 times).
    static constexpr std::size_t kRowLimit = 8;

    /// The count starts at 1 for the creator. Model and dialog service are borrowed and must
    /// outlive the controller.
    DialogController(IModel& model, IDialogService* dialogService);
    ~DialogController() override;

    // IPlugController
    ResultCode getParameter(const char* name, IHostParameter** parameter) noexcept override;
    ResultCode onParameterChanged(IHostParameter* parameter, int32 tag) noexcept override;
    // IPlugController3
    /// "AttributeMappingViewController" followed by a row index; *controller is borrowed.
    ResultCode getSubController(const char* name, IPlugController** controller) noexcept override;
    // IViewBuilder
    /// Has the host build "AttributeMappingRow" with this controller; always returns null.
    FUnknown* buildView(const char* name) noexcept override;

    IPlugController* controllerFace() noexcept { return this; }

private:
    void buildParameters() noexcept;
    void addTargetTrackTypeList() noexcept;
    void buildRowControllers() noexcept;
    void onMappingChange(const MappingChangeEvent& event) noexcept;
    bool belowRowLimit() noexcept;

    IModel& model_;
    IDialogService* dialogService_;
    PValueContainer parameters_;
    std::vector<Owned<AttributeMappingViewController>> rowControllers_;
    RowSet rowSet_;
    Owned<MappingChangeListener> mappingListener_;
    // True while this controller sets values of its own parameters.
    bool settingOwn_ = false;
};

} // namespace Brennovar::Zintara
