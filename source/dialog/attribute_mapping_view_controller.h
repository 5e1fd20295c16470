#pragma once

#include "dialog/row_set.h"
#include "host/plug_controller.h"
#include "model/mapping_model.h"
#include "module/implements.h"
#include "module/pvalue_container.h"

#include <array>

namespace Brennovar::Zintara {

/// The controller of one row of the dialog's attribute-mapping list: the source menu (or the
/// free text), the target menu and the delete button of mapping row `row`, written straight into
/// the mapping model. The dialog controller makes one per row and replaces all of them after
/// every change of the rows; a controller of an earlier set of rows, or whose row is gone,
/// answers ResultFalse to every change. A change the host reports while the controller is
/// itself setting one of its parameters is the host's echo of that setting and is ignored, as is
/// a choice of the source the row already has.
class AttributeMappingViewController
    : public Vorn::ImplementsImpl<Vorn::Detail::QueryInterfaceEnd<Vorn::Detail::RefCounted>,
                                  Vorn::Directly<IPlugController, IOptionMenuCallback>,
                                  Vorn::Indirectly<>> {
public:
    enum Tag : int32 {
        kSelectSourceAttribute = 0,
        kSelectTargetAttribute = 1,
        kDeleteAttribute = 2,
        kFreeText = 3,
        kToggleFreeText = 4,
    };
    /// The capacity, in 16-bit units, in which the free text is fetched from the host.
    static constexpr int32 kFreeTextCapacity = 1024;

    /// The count starts at 1 for the creator. The mapping model is borrowed; `rows` is the set
    /// of row controllers this one belongs to.
    AttributeMappingViewController(IMappingModel& model, uint32 row, RowSet rows);
    ~AttributeMappingViewController() override;

    // IPlugController
    ResultCode getParameter(const char* name, IHostParameter** parameter) noexcept override;
    /// Writes the change into the row. A removed row (tag 2) may release this controller
    /// before the call returns.
    ResultCode onParameterChanged(IHostParameter* parameter, int32 tag) noexcept override;

    // IOptionMenuCallback
    /// Refills the source (tag 0) or target (tag 1) menu; the current value stays, unless the
    /// menu's first entry moved (the host made the empty choice this time and not the last, or
    /// the other way round): then the row's choice is shown at its new number.
    ResultCode updateMenu(IHostParameter* menuParameter) noexcept override;

    IPlugController* controllerFace() noexcept { return this; }

private:
    MappingEntry* row() noexcept;
    void buildParameters() noexcept;
    void addMenu(int32 tag, const char* name, const MappingAttributeList& entries, bool usedCheck,
                 const IMappingAttribute* current) noexcept;
    void fillMenu(IHostParameter* menuParameter, const MappingAttributeList& entries, int32 tag,
                  bool usedCheck) noexcept;
    void selectEntry(int32 tag, IHostParameter* menuParameter, const MappingAttributeList& entries,
                     const IMappingAttribute* current) const noexcept;
    const IMappingAttribute* entryForValue(int32 tag, const MappingAttributeList& entries,
                                           int32 value) const noexcept;
    void setFreeText(IParameterValue& value) noexcept;

    IMappingModel& model_;
    uint32 row_;
    RowSet rows_;
    PValueContainer parameters_;
    // The number of the first catalogue entry in the source (tag 0) and the target (tag 1)
    // menu: 1 after the empty choice, 0 when the host made none.
    std::array<uint32, 2> firstAttributeIndex_ = {1, 1};
    // True while this controller sets values of its own parameters.
    bool settingOwn_ = false;
};

} // namespace Brennovar::Zintara
