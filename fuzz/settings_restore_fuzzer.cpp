// Fuzz target for restoring the settings from whatever attributes a stored project carries:
// any set of keys, types and values must restore without a crash, a hang or unbounded work, and
// what the restored settings store must restore into a fresh model and store again to the very
// same attributes.
#include "model/model.h"
#include "module/module_names.h"
#include "refhost/host/host.h"
#include "refhost/project/attribute_store.h"
#include "refhost/project/project_object.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace Brennovar;
using namespace Brennovar::RefHost;

namespace Names = Zintara::Names;

constexpr std::array<const char*, 8> kKeys = {Names::kMarkerTypeKey,    Names::kTargetTrackTypeKey,
                                              Names::kCombineKey,       Names::kMappingSizeKey,
                                              Names::kMappingSourceKey, Names::kMappingTargetKey,
                                              Names::kMappingDataKey,   Names::kSettingsKeyPrefix};
// Attribute keys, so that inputs find valid rows as well as broken ones.
constexpr std::array<const char*, 8> kAttributeKeys = {
    "EventName",         "TrackName",          "FreeText",   "Counter",
    "MarkerDescription", "User:STR_MAComment", "MarkerName", "MediaComment"};

// Reads the input as records: key, row number, type, length and payload.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string bytes(std::size_t count) {
        count = std::min(count, size_ - std::min(at_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + at_), count);
        at_ += count;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

FUnknown* hostObject(Project& project) {
    return static_cast<IHostTrack*>(&project.root());
}

void clear(Project& project) {
    std::vector<std::string> keys;
    for (const auto& entry : project.root().attributes().entries())
        keys.push_back(entry.first);
    for (const std::string& key : keys)
        project.root().setAttribute(key.c_str(), FTaggedValue{}, true);
}

void fill(Project& project, Input& input) {
    while (!input.done()) {
        const std::uint8_t keyByte = input.byte();
        std::string key = kKeys[keyByte % kKeys.size()];
        if (keyByte % kKeys.size() >= 4)
            key += std::to_string(static_cast<int>(input.byte()) - 8);
        FTaggedValue value;
        switch (input.byte() % 4) {
        case 0: {
            std::int64_t number = 0;
            const std::string raw = input.bytes(input.byte() % 9);
            std::memcpy(&number, raw.data(), raw.size());
            value = FTaggedValue::fromInteger(number);
            break;
        }
        case 1: {
            // Assigned from a named value, so the copy owns its text.
            const std::string text = input.bytes(input.byte());
            const FTaggedValue borrowed = FTaggedValue::fromString8(text.c_str());
            value = borrowed;
            break;
        }
        case 2:
            value = FTaggedValue::fromString8(kAttributeKeys[input.byte() % kAttributeKeys.size()]);
            break;
        default: {
            const std::string raw = input.bytes(input.byte() * 2u);
            std::u16string text(raw.size() / 2, u'\0');
            std::memcpy(text.data(), raw.data(), text.size() * 2);
            const FTaggedValue borrowed = FTaggedValue::fromString16(text.c_str());
            value = borrowed;
            break;
        }
        }
        project.root().setAttribute(key.c_str(), value, true);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Host host;
    static Project& stored = host.createProject("stored");
    static Project& first = host.createProject("first");
    static Project& second = host.createProject("second");
    for (Project* project : {&stored, &first, &second})
        clear(*project);
    Input input(data, size);
    fill(stored, input);

    Zintara::Model restored;
    restored.restore(hostObject(stored));
    restored.store(hostObject(first));
    Zintara::Model again;
    again.restore(hostObject(first));
    again.store(hostObject(second));
    const auto& a = first.root().attributes().entries();
    const auto& b = second.root().attributes().entries();
    if (a.size() != b.size() ||
        !std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
            return x.first == y.first && sameValue(x.second, y.second);
        }))
        __builtin_trap();
    return 0;
}
