#include "model/mapping_model.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace Brennovar::Zintara {

namespace {

bool keysMatch(const char* a, const char* b) noexcept {
    return a && b && std::strcmp(a, b) == 0;
}

MappingAttributeList::const_iterator findEntry(const MappingAttributeList& list,
                                               const char* key) noexcept {
    return std::ranges::find_if(list, [key](const MappingAttributeHandle& entry) {
        return keysMatch(entry->getKey(), key);
    });
}

MappingAttributeList copyEntries(const MappingAttributeList& list) {
    MappingAttributeList copy;
    copy.reserve(list.size());
    for (const MappingAttributeHandle& entry : list)
        copy.push_back(std::make_shared<MappingAttribute>(entry->getKey(), entry->getName(),
                                                          entry->getGroup(), entry->isUsed()));
    return copy;
}

// The entry of `to` at the position that `entry` has in `from`. Rows are mapped by position
// rather than by key so that a copy reproduces every row exactly, duplicate keys included.
IMappingAttribute* counterpart(const MappingAttributeList& from, const MappingAttributeList& to,
                               const IMappingAttribute* entry) noexcept {
    if (!entry)
        return nullptr;
    for (std::size_t i = 0; i < from.size(); ++i) {
        if (from[i].get() == entry)
            return to[i].get();
    }
    return nullptr;
}

} // namespace

MappingModel::MappingModel(const MappingModel& other)
    : IMappingModel(), sources_(copyEntries(other.sources_)),
      targets_(copyEntries(other.targets_)) {
    // The copy keeps every row as it is, including rows that still lack a side and their free
    // texts, so that a model restored from a copy gives back exactly what the user had.
    rows_.reserve(other.rows_.size());
    for (const MappingEntry& row : other.rows_) {
        MappingEntry& copy = rows_.emplace_back();
        copy.source = counterpart(other.sources_, sources_, row.source);
        copy.target = counterpart(other.targets_, targets_, row.target);
        copy.data = row.data;
    }
    for (const MappingAttributeHandle& entry : targets_)
        entry->setUsed(false);
    for (const MappingEntry& row : rows_) {
        if (row.target)
            row.target->setUsed(true);
    }
}

MappingModel& MappingModel::operator=(const MappingModel& other) {
    MappingModel copy(other);
    *this = std::move(copy);
    return *this;
}

void MappingModel::addSourceAttribute(MappingAttributeHandle attribute) {
    if (!attribute)
        return;
    const char* key = attribute->getKey();
    sources_.push_back(std::move(attribute));
    notify(MappingChangeEvent::kSourceAttributeAdded, key, 0);
}

void MappingModel::addTargetAttribute(MappingAttributeHandle attribute) {
    if (!attribute)
        return;
    const char* key = attribute->getKey();
    targets_.push_back(std::move(attribute));
    notify(MappingChangeEvent::kTargetAttributeAdded, key, 0);
}

const MappingAttributeHandle& MappingModel::getSourceAttribute(const char* key) const {
    auto found = findEntry(sources_, key);
    if (found == sources_.end())
        throw std::out_of_range("entry not found");
    return *found;
}

const MappingAttributeHandle& MappingModel::getTargetAttribute(const char* key) const {
    auto found = findEntry(targets_, key);
    if (found == targets_.end())
        throw std::out_of_range("entry not found");
    return *found;
}

void MappingModel::addMapping(const char* sourceKey, const char* targetKey) {
    int32 index = addMapping();
    // Both sides are always tried, so listeners see each accepted change before a removal.
    bool sourceSet = setMappingSource(index, sourceKey);
    bool targetSet = setMappingTarget(index, targetKey);
    if (!sourceSet || !targetSet)
        removeMapping(index);
}

int32 MappingModel::addMapping() {
    rows_.emplace_back();
    auto index = static_cast<int32>(rows_.size() - 1);
    notify(MappingChangeEvent::kMappingAdded, "", index);
    return index;
}

bool MappingModel::setMappingSource(int32 index, const char* key) {
    if (!isValidIndex(index) || !key || !*key)
        return false;
    auto found = findEntry(sources_, key);
    if (found == sources_.end())
        return false;
    rows_[static_cast<std::size_t>(index)].source = found->get();
    notify(MappingChangeEvent::kMappingChanged, key, index);
    return true;
}

bool MappingModel::setMappingTarget(int32 index, const char* key) {
    if (!isValidIndex(index) || !key || !*key)
        return false;
    auto found = findEntry(targets_, key);
    if (found == targets_.end())
        return false;
    bool taken = std::ranges::any_of(rows_, [key](const MappingEntry& row) {
        return row.target && keysMatch(row.target->getKey(), key);
    });
    if (taken)
        return false;
    MappingEntry& row = rows_[static_cast<std::size_t>(index)];
    if (row.target)
        row.target->setUsed(false);
    row.target = found->get();
    row.target->setUsed(true);
    notify(MappingChangeEvent::kMappingChanged, key, index);
    return true;
}

void MappingModel::clearMappingSource(int32 index) noexcept {
    if (isValidIndex(index))
        rows_[static_cast<std::size_t>(index)].source = nullptr;
}

void MappingModel::clearMappingTarget(int32 index) noexcept {
    if (!isValidIndex(index))
        return;
    MappingEntry& row = rows_[static_cast<std::size_t>(index)];
    if (row.target)
        row.target->setUsed(false);
    row.target = nullptr;
}

bool MappingModel::removeMapping(int32 index) {
    if (!isValidIndex(index))
        return false;
    IMappingAttribute* target = rows_[static_cast<std::size_t>(index)].target;
    rows_.erase(rows_.begin() + index);
    if (target)
        target->setUsed(false);
    notify(MappingChangeEvent::kMappingRemoved, target ? target->getKey() : "", index);
    return true;
}

void MappingModel::removeAllMappings() {
    for (auto index = static_cast<int32>(rows_.size()) - 1; index >= 0; --index)
        removeMapping(index);
}

void MappingModel::addListener(MappingChangeListener* listener) {
    if (listener && std::ranges::find(listeners_, listener) == listeners_.end())
        listeners_.push_back(listener);
}

void MappingModel::removeListener(MappingChangeListener* listener) noexcept {
    auto found = std::ranges::find(listeners_, listener);
    if (found != listeners_.end())
        listeners_.erase(found);
}

bool MappingModel::isValidIndex(int32 index) const noexcept {
    return index >= 0 && static_cast<std::size_t>(index) < rows_.size();
}

void MappingModel::notify(MappingChangeEvent::Kind kind, const char* key, int32 index) {
    const MappingChangeEvent event{kind, key ? key : "", index};
    // Walks a snapshot so that a listener that adds or removes registrations from inside
    // onChange cannot invalidate the walk; a listener removed meanwhile is not called any more.
    const std::vector<MappingChangeListener*> snapshot = listeners_;
    for (MappingChangeListener* listener : snapshot) {
        if (std::ranges::find(listeners_, listener) != listeners_.end())
            listener->onChange(event);
    }
}

} // namespace Brennovar::Zintara
