#include "model/model_storage.h"

#include "host/host_object.h"
#include "model/model.h"
#include "module/module_names.h"
#include "module/owned.h"

#include <array>
#include <charconv>
#include <cstring>

namespace Brennovar::Zintara {

namespace {

using Names::kCombineKey;
using Names::kMappingDataKey;
using Names::kMappingSizeKey;
using Names::kMappingSourceKey;
using Names::kMappingTargetKey;
using Names::kMarkerTypeKey;
using Names::kTargetTrackTypeKey;

// Restoring reads on past row numbers that hold neither key (a damaged project loses only those
// rows) and ends after this many in a row, so that a huge stored count costs no more than what
// the project holds.
constexpr int64 kMissingRowsThatEndTheRows = 1000;

// A row key: the prefix followed by the row number in decimal, without separator. Built in place,
// since restoring a huge stored count looks up a thousand missing rows.
class RowKey {
public:
    template <std::size_t N>
    RowKey(const char (&prefix)[N], int64 number) noexcept {
        static_assert(N + kLongestNumber <= kCapacity);
        std::memcpy(text_.data(), prefix, N - 1);
        char* end = std::to_chars(text_.data() + N - 1, text_.data() + kCapacity - 1, number).ptr;
        *end = '\0';
    }
    const char* c_str() const noexcept { return text_.data(); }

private:
    static constexpr std::size_t kLongestNumber = 20; // "-9223372036854775808"
    static constexpr std::size_t kCapacity = 64;
    std::array<char, kCapacity> text_;
};

void writeInteger(IHostObject& host, const char* key, int64 value) noexcept {
    const FTaggedValue tagged = FTaggedValue::fromInteger(value);
    host.setAttribute(key, tagged, true);
}

void writeString(IHostObject& host, const RowKey& key, const char* text) noexcept {
    const FTaggedValue tagged = FTaggedValue::fromString8(text);
    host.setAttribute(key.c_str(), tagged, true);
}

// Each read gets a fresh value: the host fills it with an owned copy that the destructor frees.
bool readInteger(IHostObject& host, const char* key, int64& value) noexcept {
    FTaggedValue tagged;
    if (host.getAttribute(key, tagged) != ResultOk || tagged.kind() != FTaggedValue::kInteger)
        return false;
    value = tagged.integer;
    return true;
}

void storeTo(const IModel& model, IHostObject& host) {
    writeInteger(host, kMarkerTypeKey, model.getMarkerType());
    writeInteger(host, kTargetTrackTypeKey, model.getTargetTrackType());
    writeInteger(host, kCombineKey, model.getCombineAdjacent() ? 1 : 0);
    int64 written = 0;
    for (const MappingEntry& row : model.getMappingModel().getMappings()) {
        if (!row.isComplete())
            continue;
        ++written;
        writeString(host, RowKey(kMappingSourceKey, written), row.source->getKey());
        writeString(host, RowKey(kMappingTargetKey, written), row.target->getKey());
        // Also when empty: the host keeps what earlier stores wrote, and data stored under this
        // number for another row must not attach itself to this one. An empty value restores as
        // an empty data value, in this version and in earlier ones.
        host.setAttribute(RowKey(kMappingDataKey, written).c_str(), row.data, true);
    }
    writeInteger(host, kMappingSizeKey, written);
}

// Returns false when the object holds neither key for this row number.
bool restoreRow(IMappingModel& mapping, IHostObject& host, int64 number) {
    FTaggedValue source;
    FTaggedValue target;
    bool hasSource =
        host.getAttribute(RowKey(kMappingSourceKey, number).c_str(), source) == ResultOk;
    bool hasTarget =
        host.getAttribute(RowKey(kMappingTargetKey, number).c_str(), target) == ResultOk;
    if (!hasSource && !hasTarget)
        return false;
    if (!hasSource || !hasTarget || source.kind() != FTaggedValue::kString8 ||
        target.kind() != FTaggedValue::kString8)
        return true;
    MappingList& rows = mapping.getMappings();
    const std::size_t before = rows.size();
    mapping.addMapping(source.string8, target.string8);
    if (rows.size() != before + 1)
        return true;
    FTaggedValue data;
    if (host.getAttribute(RowKey(kMappingDataKey, number).c_str(), data) == ResultOk)
        rows.back().data = data;
    return true;
}

void restoreFrom(IModel& model, IHostObject& host) {
    int64 value = 0;
    if (readInteger(host, kMarkerTypeKey, value))
        model.setMarkerType(static_cast<int32>(value));
    if (readInteger(host, kTargetTrackTypeKey, value))
        model.setTargetTrackType(static_cast<int32>(value));
    if (readInteger(host, kCombineKey, value))
        model.setCombineAdjacent(value != 0);

    // A stored size of 0 is a list the user emptied and restores as one; without a size, or with
    // one that is mistyped or negative, the rows stay as they are.
    FTaggedValue size;
    if (host.getAttribute(kMappingSizeKey, size) != ResultOk ||
        size.kind() != FTaggedValue::kInteger || size.integer < 0)
        return;
    const int64 count = size.integer;
    IMappingModel& mapping = model.getMappingModel();
    mapping.removeAllMappings();
    int64 missingInARow = 0;
    for (int64 number = 1; number <= count && missingInARow < kMissingRowsThatEndTheRows; ++number)
        missingInARow = restoreRow(mapping, host, number) ? 0 : missingInARow + 1;
}

} // namespace

void storeModel(const IModel& model, FUnknown* object) noexcept {
    auto host = Owned<IHostObject>::query(object);
    if (!host)
        return;
    // Allocation (or a listener) may throw; nothing may reach the host, which is told nothing
    // either way, so an incomplete store or restore just ends.
    try {
        storeTo(model, *host.get());
    } catch (...) {
    }
}

void restoreModel(IModel& model, FUnknown* object) noexcept {
    auto host = Owned<IHostObject>::query(object);
    if (!host)
        return;
    try {
        restoreFrom(model, *host.get());
    } catch (...) {
    }
}

} // namespace Brennovar::Zintara
