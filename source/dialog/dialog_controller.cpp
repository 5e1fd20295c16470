#include "dialog/dialog_controller.h"

#include "dialog/host_translation.h"
#include "dialog/own_setting.h"
#include "localization/localized_string.h"
#include "module/host_context.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace Brennovar::Zintara {

namespace {

constexpr char kRowTemplate[] = "AttributeMappingRow";
constexpr char kRowControllerName[] = "AttributeMappingViewController";
constexpr std::size_t kRowNameLength = sizeof kRowControllerName - 1;

LocalizedString activeMarkerTrack(u"Active Marker Track");
LocalizedString newMarkerTrack(u"New Marker Track");
LocalizedString newMarkerTrackPerSourceTrack(u"New Marker Track per Source Track");
LocalizedString addMarkers(u"Add Markers");

/// A known value as it is, anything else as -1 (shown as no choice).
int32 shownValue(int32 value, int32 highest) {
    return value >= 0 && value <= highest ? value : -1;
}

} // namespace

DialogController::DialogController(IModel& model, IDialogService* dialogService)
    : model_(model), dialogService_(dialogService), parameters_(hostObjectProvider(), nullptr) {
    const OwnSetting setting(settingOwn_);
    buildParameters();
    buildRowControllers();
    mappingListener_.reset(Core::makeChangeListener<MappingChangeEvent>(
        [this](const MappingChangeEvent& event) { onMappingChange(event); }));
    model_.getMappingModel().addListener(mappingListener_.get());
}

DialogController::~DialogController() {
    parameters_.removeAll();
    model_.getMappingModel().removeListener(mappingListener_.get());
    mappingListener_.reset();
    // The dialog is over: a row controller the host still holds changes nothing any more.
    rowSet_.end();
    rowControllers_.clear();
}

bool DialogController::belowRowLimit() noexcept {
    return model_.getMappingModel().getMappings().size() < kRowLimit;
}

void DialogController::buildParameters() noexcept {
    parameters_.removeAll();
    parameters_.setController(controllerFace());
    parameters_.addInteger(kMarkerType, "markerType", 0, 1,
                           shownValue(model_.getMarkerType(), kCycleMarker), false, false);
    addTargetTrackTypeList();
    parameters_.addInteger(kCombineAdjacentEvents, "combineAdjacentEvents", 0, 1,
                           model_.getCombineAdjacent() ? 1 : 0, false, false);
    parameters_.addToggle(kAttributeMappingChanged, "attributeMappingChanged", false, false);
    if (IHostParameter* add =
            parameters_.addToggle(kAddAttributeMapping, "addAttributeMapping", false, false))
        add->setEnabled(belowRowLimit());
    const HostTranslation translate;
    if (IHostParameter* ok = parameters_.addText(kOk, "ok", translate(addMarkers.lookup()), false))
        ok->connect(nullptr, kOk);
}

void DialogController::addTargetTrackTypeList() noexcept {
    IHostParameter* parameter = parameters_.addStringList(
        kMarkerTargetTrackType, "markerTargetTrackType", nullptr, nullptr, false);
    Owned<IStringListParameter> list = Owned<IStringListParameter>::query(parameter);
    if (!list)
        return;
    const HostTranslation translate;
    for (LocalizedString* text :
         {&activeMarkerTrack, &newMarkerTrack, &newMarkerTrackPerSourceTrack})
        list->addString(translate(text->lookup()));
    parameter->setValue(shownValue(model_.getTargetTrackType(), kNewMarkerTrackPerSourceTrack), 0);
}

void DialogController::buildRowControllers() noexcept {
    rowSet_.end();
    rowControllers_.clear();
    const std::size_t rows = model_.getMappingModel().getMappings().size();
    try {
        rowSet_ = RowSet();
        rowControllers_.reserve(rows);
        for (std::size_t i = 0; i < rows; ++i)
            rowControllers_.emplace_back(new AttributeMappingViewController(
                model_.getMappingModel(), static_cast<uint32>(i), rowSet_));
    } catch (...) {
        // Without memory for every row the list offers none rather than the wrong ones.
        rowControllers_.clear();
    }
}

void DialogController::onMappingChange(const MappingChangeEvent& event) noexcept {
    if (event.kind != MappingChangeEvent::kMappingAdded &&
        event.kind != MappingChangeEvent::kMappingChanged &&
        event.kind != MappingChangeEvent::kMappingRemoved)
        return;
    if (IHostParameter* add = parameters_.findByTag(kAddAttributeMapping))
        add->setEnabled(belowRowLimit());
    buildRowControllers();
    if (IHostParameter* changed = parameters_.findByTag(kAttributeMappingChanged)) {
        const OwnSetting setting(settingOwn_);
        changed->setValue(changed->getValue() < 1 ? 1 : 0, 0);
    }
}

ResultCode DialogController::getParameter(const char* name, IHostParameter** parameter) noexcept {
    if (!parameter)
        return ResultInvalidArgument;
    *parameter = parameters_.findByName(name);
    return *parameter ? ResultOk : ResultFalse;
}

ResultCode DialogController::onParameterChanged(IHostParameter*, int32 tag) noexcept {
    if (settingOwn_)
        return ResultOk;
    IHostParameter* own = parameters_.findByTag(tag);
    if (!own)
        return ResultFalse;
    const int32 value = own->getValue();
    try {
        switch (tag) {
        case kMarkerType:
            model_.setMarkerType(value);
            break;
        case kMarkerTargetTrackType:
            model_.setTargetTrackType(value);
            break;
        case kCombineAdjacentEvents:
            model_.setCombineAdjacent(value != 0);
            break;
        case kAddAttributeMapping:
            if (!belowRowLimit())
                return ResultFalse;
            model_.getMappingModel().addMapping();
            break;
        default:
            break;
        }
    } catch (...) {
        return ResultFalse;
    }
    return ResultOk;
}

ResultCode DialogController::getSubController(const char* name,
                                              IPlugController** controller) noexcept {
    if (!name || !controller || std::strncmp(name, kRowControllerName, kRowNameLength) != 0)
        return ResultFalse;
    // The row index in decimal, without leading zeros.
    const std::string_view digits(name + kRowNameLength);
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || end != digits.data() + digits.size() ||
        (digits.size() > 1 && digits.front() == '0') || index >= rowControllers_.size())
        return ResultFalse;
    *controller = rowControllers_[index]->controllerFace();
    return ResultOk;
}

FUnknown* DialogController::buildView(const char* name) noexcept {
    if (name && dialogService_ && std::strcmp(name, kRowTemplate) == 0)
        dialogService_->buildTemplateView(name, controllerFace());
    return nullptr;
}

} // namespace Brennovar::Zintara
