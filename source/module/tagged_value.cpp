#include "module/tagged_value.h"

#include <cstdlib>
#include <cstring>

namespace Brennovar {

char* duplicateString8(const char* text) {
    if (!text)
        return nullptr;
    std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}

char16_t* duplicateString16(const char16_t* text) {
    if (!text)
        return nullptr;
    std::size_t length = 0;
    while (text[length])
        ++length;
    auto* copy = static_cast<char16_t*>(std::malloc((length + 1) * sizeof(char16_t)));
    if (copy)
        std::memcpy(copy, text, (length + 1) * sizeof(char16_t));
    return copy;
}

FTaggedValue FTaggedValue::fromInteger(int64 value) {
    FTaggedValue v;
    v.type = kInteger;
    v.integer = value;
    return v;
}

FTaggedValue FTaggedValue::fromString8(const char* text) {
    FTaggedValue v;
    v.type = kString8;
    v.string8 = const_cast<char*>(text);
    return v;
}

FTaggedValue FTaggedValue::fromString16(const char16_t* text) {
    FTaggedValue v;
    v.type = kString16;
    v.string16 = const_cast<char16_t*>(text);
    return v;
}

void FTaggedValue::release() {
    if (owns()) {
        switch (kind()) {
        case kString8:
            std::free(string8);
            break;
        case kString16:
            std::free(string16);
            break;
        case kObject:
            if (object)
                object->release();
            break;
        default:
            break;
        }
    }
    type = kEmpty;
    integer = 0;
}

void FTaggedValue::copyFrom(const FTaggedValue& other) {
    if (&other == this)
        return;
    release();
    type = other.type;
    switch (other.kind()) {
    // A null string stays a string of its kind, owning its null payload.
    case kString8:
        string8 = duplicateString8(other.string8);
        type = kString8 | kOwner;
        break;
    case kString16:
        string16 = duplicateString16(other.string16);
        type = kString16 | kOwner;
        break;
    case kObject:
        object = other.object;
        if (object)
            object->addRef();
        type = static_cast<std::uint16_t>(kObject | kOwner);
        break;
    default:
        integer = other.integer;
        break;
    }
}

} // namespace Brennovar
