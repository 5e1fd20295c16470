#include "refhost/project/attribute_store.h"

#include <cstring>

namespace Brennovar::RefHost {

namespace {

bool sameText16(const char16_t* a, const char16_t* b) noexcept {
    if (!a || !b)
        return a == b;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

} // namespace

bool sameValue(const FTaggedValue& a, const FTaggedValue& b) noexcept {
    if (a.kind() != b.kind())
        return false;
    switch (a.kind()) {
    case FTaggedValue::kString8:
        return (!a.string8 || !b.string8) ? a.string8 == b.string8
                                          : std::strcmp(a.string8, b.string8) == 0;
    case FTaggedValue::kString16:
        return sameText16(a.string16, b.string16);
    case FTaggedValue::kObject:
        return a.object == b.object;
    default:
        return a.integer == b.integer;
    }
}

bool AttributeStore::storable(const FTaggedValue& value) noexcept {
    switch (value.kind()) {
    case FTaggedValue::kEmpty:
    case FTaggedValue::kInteger:
    case FTaggedValue::kString8:
    case FTaggedValue::kString16:
        return true;
    default:
        return false;
    }
}

void AttributeStore::set(const std::string& key, const FTaggedValue& value) {
    FTaggedValue copy(value);
    if (copy.isEmpty()) {
        erase(key);
        return;
    }
    if (!values_)
        values_ = std::make_unique<Entries>();
    (*values_)[key] = std::move(copy);
}

void AttributeStore::erase(const std::string& key) noexcept {
    if (values_)
        values_->erase(key);
}

const FTaggedValue* AttributeStore::find(std::string_view key) const noexcept {
    if (!values_)
        return nullptr;
    auto found = values_->find(key);
    return found == values_->end() ? nullptr : &found->second;
}

const AttributeStore::Entries& AttributeStore::entries() const noexcept {
    static const Entries none;
    return values_ ? *values_ : none;
}

} // namespace Brennovar::RefHost
