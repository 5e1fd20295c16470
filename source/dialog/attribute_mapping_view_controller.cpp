#include "dialog/attribute_mapping_view_controller.h"

#include "dialog/host_translation.h"
#include "dialog/own_setting.h"
#include "host/menus.h"
#include "localization/localized_string.h"
#include "module/host_context.h"
#include "text/text_string.h"

#include <cstring>

namespace Brennovar::Zintara {

namespace {

constexpr char kFreeTextKey[] = "FreeText";

LocalizedString mediaTitle(u"Media");
LocalizedString audioAssetsTitle(u"Audio - Assets");

bool isFreeText(const IMappingAttribute* entry) {
    return entry && std::strcmp(entry->getKey(), kFreeTextKey) == 0;
}

bool inGroup(const IMappingAttribute& entry, const char* group) {
    return std::strcmp(entry.getGroup(), group) == 0;
}

/// A new menu item with title, tag and enabled state; empty when the host makes none.
Owned<IMenuItem> newItem(const char16_t* title, int32 tag, bool enabled) {
    Owned<IMenuItem> item = hostObject<IMenuItem>(IMenuItem::iid);
    if (item) {
        item->setTitle(title);
        item->setTag(tag);
        item->setEnabled(enabled);
    }
    return item;
}

} // namespace

AttributeMappingViewController::AttributeMappingViewController(IMappingModel& model, uint32 row,
                                                               RowSet rows)
    : model_(model), row_(row), rows_(std::move(rows)), parameters_(hostObjectProvider(), nullptr) {
    parameters_.setController(controllerFace());
    const OwnSetting setting(settingOwn_);
    buildParameters();
}

AttributeMappingViewController::~AttributeMappingViewController() {
    parameters_.removeAll();
}

MappingEntry* AttributeMappingViewController::row() noexcept {
    MappingList& rows = model_.getMappings();
    return row_ < rows.size() ? &rows[row_] : nullptr;
}

void AttributeMappingViewController::buildParameters() noexcept {
    parameters_.removeAll();
    const MappingEntry* entry = row();
    const IMappingAttribute* source = entry ? entry->source : nullptr;
    const IMappingAttribute* target = entry ? entry->target : nullptr;
    addMenu(kSelectSourceAttribute, "selectSourceAttribute", model_.getSourceAttributes(), false,
            source);
    addMenu(kSelectTargetAttribute, "selectTargetAttribute", model_.getTargetAttributes(), true,
            target);
    parameters_.addToggle(kDeleteAttribute, "deleteAttribute", false, false);

    String text;
    if (entry && entry->data.kind() == FTaggedValue::kString16)
        text.assign(entry->data.string16);
    else if (entry && entry->data.kind() == FTaggedValue::kString8)
        text = String(entry->data.string8);
    parameters_.addText(kFreeText, "freeText", text.wideText(), false);

    IHostParameter* toggle = parameters_.addToggle(kToggleFreeText, "toggleFreeText", false, false);
    if (toggle && source)
        toggle->setOn(isFreeText(source));
}

void AttributeMappingViewController::addMenu(int32 tag, const char* name,
                                             const MappingAttributeList& entries, bool usedCheck,
                                             const IMappingAttribute* current) noexcept {
    Owned<IHostParameter> made = hostObject<IHostParameter>(HostClass::kMenuParameter);
    if (!made)
        return;
    parameters_.addParameter(made.detach(), tag, name);
    // Found again rather than kept: the container may have had to let the parameter go.
    IHostParameter* menu = parameters_.findByTag(tag);
    if (!menu)
        return;
    fillMenu(menu, entries, tag, usedCheck);
    selectEntry(tag, menu, entries, current);
}

void AttributeMappingViewController::fillMenu(IHostParameter* menuParameter,
                                              const MappingAttributeList& entries, int32 tag,
                                              bool usedCheck) noexcept {
    Owned<IMenuAccess> access = Owned<IMenuAccess>::query(menuParameter);
    IMenu* menu = access ? access->getMenu() : nullptr;
    if (!menu)
        return;
    menu->removeAll();
    const HostTranslation translate;
    if (Owned<IMenuItem> none = newItem(translate(u"-"), tag, true))
        menu->insert(none.get());
    const uint32 first = firstAttributeIndex_[tag];
    const int32 count = menu->count();
    firstAttributeIndex_[tag] = count > 0 ? static_cast<uint32>(count) : 0;

    Owned<ISubMenu> media = hostObject<ISubMenu>(ISubMenu::iid);
    Owned<ISubMenu> audioAssets = hostObject<ISubMenu>(ISubMenu::iid);
    for (const MappingAttributeHandle& entry : entries) {
        const bool enabled = !usedCheck || !entry->isUsed();
        Owned<IMenuItem> item = newItem(translate(entry->getTitle()), tag, enabled);
        if (!item)
            continue;
        if (inGroup(*entry, kAttributeGroupMedia)) {
            if (media)
                media->insert(item.get());
        } else if (inGroup(*entry, kAttributeGroupAudioAssets)) {
            if (audioAssets)
                audioAssets->insert(item.get());
        } else {
            menu->insert(item.get());
        }
    }
    if (media && audioAssets && media->count() > 0 && audioAssets->count() > 0) {
        for (auto [subMenu, title] : {std::pair{media.get(), &mediaTitle},
                                      std::pair{audioAssets.get(), &audioAssetsTitle}}) {
            if (Owned<IMenuItem> item = Owned<IMenuItem>::query(subMenu)) {
                item->setTitle(translate(title->lookup()));
                menu->insert(item.get());
            }
        }
    }
    access->menuChanged();
    // Without the empty choice the entries' numbers moved: the row's choice is shown again.
    if (const MappingEntry* row = this->row(); row && firstAttributeIndex_[tag] != first) {
        const OwnSetting setting(settingOwn_);
        selectEntry(tag, menuParameter, entries, usedCheck ? row->target : row->source);
    }
}

void AttributeMappingViewController::selectEntry(int32 tag, IHostParameter* menuParameter,
                                                 const MappingAttributeList& entries,
                                                 const IMappingAttribute* current) const noexcept {
    if (!current)
        return;
    uint32 value = firstAttributeIndex_[tag];
    for (const MappingAttributeHandle& entry : entries) {
        if (std::strcmp(entry->getKey(), current->getKey()) == 0) {
            menuParameter->setValue(static_cast<int32>(value), 0);
            return;
        }
        ++value;
    }
}

const IMappingAttribute*
AttributeMappingViewController::entryForValue(int32 tag, const MappingAttributeList& entries,
                                              int32 value) const noexcept {
    const uint32 first = firstAttributeIndex_[tag];
    if (value < 0 || static_cast<uint32>(value) < first)
        return nullptr;
    const std::size_t position = static_cast<uint32>(value) - first;
    return position < entries.size() ? entries[position].get() : nullptr;
}

ResultCode AttributeMappingViewController::getParameter(const char* name,
                                                        IHostParameter** parameter) noexcept {
    if (!parameter)
        return ResultInvalidArgument;
    *parameter = parameters_.findByName(name);
    return *parameter ? ResultOk : ResultFalse;
}

ResultCode AttributeMappingViewController::onParameterChanged(IHostParameter* parameter,
                                                              int32 tag) noexcept {
    if (settingOwn_)
        return ResultOk;
    // A controller of an earlier set may have an index that names another row by now.
    if (!rows_.isCurrent() || !row())
        return ResultFalse;
    Owned<IParameterValue> value = Owned<IParameterValue>::query(parameter);
    if (!value)
        return ResultFalse;
    const int32 v = value->getValue();
    const auto index = static_cast<int32>(row_);
    try {
        switch (tag) {
        case kSelectSourceAttribute: {
            const IMappingAttribute* entry =
                entryForValue(kSelectSourceAttribute, model_.getSourceAttributes(), v);
            const IMappingAttribute* current = row()->source;
            // Choosing the source the row has changes nothing, whoever reports it.
            if (entry && current && std::strcmp(entry->getKey(), current->getKey()) == 0)
                break;
            if (IHostParameter* toggle = parameters_.findByTag(kToggleFreeText)) {
                const OwnSetting setting(settingOwn_);
                toggle->setOn(isFreeText(entry));
            }
            if (entry)
                model_.setMappingSource(index, entry->getKey());
            else
                model_.clearMappingSource(index);
            break;
        }
        case kSelectTargetAttribute: {
            const IMappingAttribute* entry =
                entryForValue(kSelectTargetAttribute, model_.getTargetAttributes(), v);
            if (entry)
                model_.setMappingTarget(index, entry->getKey());
            else
                model_.clearMappingTarget(index);
            break;
        }
        case kDeleteAttribute:
            // The dialog controller rebuilds its rows while this runs and may release this
            // controller: nothing of it is used after this call.
            model_.removeMapping(index);
            break;
        case kFreeText:
            setFreeText(*value.get());
            break;
        default:
            break;
        }
    } catch (...) {
        return ResultFalse;
    }
    return ResultOk;
}

void AttributeMappingViewController::setFreeText(IParameterValue& value) noexcept {
    char16_t buffer[kFreeTextCapacity] = {};
    // A text the host cannot hand over leaves the row's text as it was.
    if (value.getText(buffer, kFreeTextCapacity) != ResultOk)
        return;
    buffer[kFreeTextCapacity - 1] = 0;
    if (MappingEntry* entry = row())
        entry->data.copyFrom(FTaggedValue::fromString16(buffer));
}

ResultCode AttributeMappingViewController::updateMenu(IHostParameter* menuParameter) noexcept {
    if (!menuParameter)
        return ResultInvalidArgument;
    const int32 tag = menuParameter->getTag();
    if (tag == kSelectSourceAttribute)
        fillMenu(menuParameter, model_.getSourceAttributes(), tag, false);
    else if (tag == kSelectTargetAttribute)
        fillMenu(menuParameter, model_.getTargetAttributes(), tag, true);
    return ResultOk;
}

} // namespace Brennovar::Zintara
