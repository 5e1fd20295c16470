#pragma once

#include "model/model.h"

#include <string>
#include <vector>

namespace Brennovar::Zintara::Testing {

/// A row's source and target keys, "" where one is unset.
struct RowKeys {
    std::string source;
    std::string target;
    bool operator==(const RowKeys&) const = default;
};

inline std::vector<RowKeys> rowKeys(const IMappingModel& model) {
    std::vector<RowKeys> keys;
    for (const MappingEntry& row : model.getMappings())
        keys.push_back(
            {row.source ? row.source->getKey() : "", row.target ? row.target->getKey() : ""});
    return keys;
}

inline std::string text8(const FTaggedValue& value) {
    return value.kind() == FTaggedValue::kString8 && value.string8 ? value.string8 : "<none>";
}

inline std::u16string text16(const FTaggedValue& value) {
    return value.kind() == FTaggedValue::kString16 && value.string16 ? value.string16 : u"<none>";
}

inline std::vector<std::string> usedTargets(const IMappingModel& model) {
    std::vector<std::string> used;
    for (const auto& entry : model.getTargetAttributes())
        if (entry->isUsed())
            used.emplace_back(entry->getKey());
    return used;
}

} // namespace Brennovar::Zintara::Testing
