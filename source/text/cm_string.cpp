#include "text/cm_string.h"

#include "platform/code_page.h"

#include <new>

namespace Brennovar {

namespace {

CmObject* createCmString() noexcept {
    return new (std::nothrow) CmString;
}

const CmString* asCmString(const CmObject* other) {
    return other && other->isKindOf("CmString", true) ? static_cast<const CmString*>(other)
                                                      : nullptr;
}

void appendLittleEndian(std::string& out, uint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32 readLittleEndian(std::string_view in, std::size_t at, int bytes) {
    uint32 value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32{static_cast<unsigned char>(in[at + i])} << (8 * i);
    return value;
}

constexpr std::size_t kHeaderSize = 5;

} // namespace

const ClassDescriptor CmString::kDescriptor = {"CmString", &CmObject::kDescriptor, &createCmString};

ResultCode CmString::queryInterface(const Guid& iid, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    if (iid == IStringResult::iid) {
        addRef();
        *obj = static_cast<IStringResult*>(this);
        return ResultOk;
    }
    if (iid == IString::iid) {
        addRef();
        *obj = static_cast<IString*>(this);
        return ResultOk;
    }
    return FObject::queryInterface(iid, obj);
}

uint32 CmString::addRef() noexcept {
    return FObject::addRef();
}

uint32 CmString::release() noexcept {
    return FObject::release();
}

const char* CmString::className() const noexcept {
    return "CmString";
}

bool CmString::isKindOf(const char* name, bool askBaseClasses) const noexcept {
    if (classNameEquals(name, "CmString"))
        return true;
    return askBaseClasses && name && CmObject::isKindOf(name, true);
}

bool CmString::isEqual(const CmObject* other) const noexcept {
    if (const CmString* text = asCmString(other))
        if (compare(*text, -1, kCaseSensitive) == 0)
            return true;
    return CmObject::isEqual(other);
}

int32 CmString::compareTo(const CmObject* other) const noexcept {
    if (const CmString* text = asCmString(other))
        return compare(*text, -1, kCaseSensitive);
    return CmObject::compareTo(other);
}

uint32 CmString::hashValue(uint32 tableSize) const noexcept {
    if (tableSize == 0 || isEmpty())
        return 0;
    uint32 h = 0;
    const void* buffer = rawBuffer();
    for (uint32 i = 0; i < FString::length(); ++i) {
        // 8-bit characters count as signed, so bytes of 128 and above add a wrapped negative.
        uint32 c = isWide() ? uint32{static_cast<const char16_t*>(buffer)[i]}
                            : static_cast<uint32>(static_cast<int32>(
                                  static_cast<signed char>(static_cast<const char*>(buffer)[i])));
        h = ((h << 6) + c) % tableSize;
    }
    return h;
}

bool CmString::load(std::string_view& in) noexcept {
    if (in.size() < kHeaderSize || static_cast<unsigned char>(in[0]) > 1)
        return false;
    bool wide = in[0] == 1;
    uint32 count = readLittleEndian(in, 1, 4);
    std::size_t unit = wide ? 2 : 1;
    if (count > kMaxLength || (in.size() - kHeaderSize) / unit < count)
        return false;
    std::string_view body = in.substr(kHeaderSize, count * unit);
    bool stored;
    if (wide) {
        std::u16string units;
        try {
            units.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                units.push_back(static_cast<char16_t>(readLittleEndian(body, i * 2, 2)));
        } catch (const std::bad_alloc&) {
            return false;
        }
        FString copy(units.c_str(), static_cast<int32>(count), false);
        stored = copy.length() == count;
        if (stored)
            static_cast<FString&>(*this) = std::move(copy);
    } else {
        FString copy(body.data(), static_cast<int32>(count), false);
        stored = copy.length() == count;
        if (stored)
            static_cast<FString&>(*this) = std::move(copy);
    }
    if (stored)
        in.remove_prefix(kHeaderSize + count * unit);
    return stored;
}

bool CmString::save(std::string& out) const noexcept {
    uint32 count = FString::length();
    try {
        out.push_back(isWide() ? 1 : 0);
        appendLittleEndian(out, count, 4);
        for (uint32 i = 0; i < count; ++i) {
            if (isWide())
                appendLittleEndian(out, static_cast<const char16_t*>(rawBuffer())[i], 2);
            else
                out.push_back(static_cast<const char*>(rawBuffer())[i]);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CmString::loadText(std::string_view in) noexcept {
    if (in.empty()) {
        assign(u"");
        return true;
    }
    if (in.size() > kMaxLength)
        return false;
    FString copy(in.data(), static_cast<int32>(in.size()), false);
    if (copy.length() != in.size() || !copy.convertToWide(Platform::kCodePageUtf8))
        return false;
    static_cast<FString&>(*this) = std::move(copy);
    return true;
}

bool CmString::saveText(std::string& out) const noexcept {
    // Reads the raw buffer: saving must not convert the string in place.
    std::u16string units;
    std::string utf8;
    if (isWide()) {
        try {
            units.assign(static_cast<const char16_t*>(rawBuffer()), FString::length());
        } catch (const std::bad_alloc&) {
            return false;
        }
    } else if (!Platform::multiByteToWide(
                   Platform::kCodePageDefault,
                   std::string_view(static_cast<const char*>(rawBuffer()), FString::length()),
                   units)) {
        return false;
    }
    if (!Platform::wideToMultiByte(Platform::kCodePageUtf8, units, utf8))
        return false;
    try {
        out += utf8;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

const ClassDescriptor& CmString::classDescriptor() const noexcept {
    return kDescriptor;
}

CmObject* CmString::clone() const noexcept {
    auto* copy = new (std::nothrow) CmString;
    if (!copy)
        return nullptr;
    copy->assign(*this);
    if (copy->FString::length() != FString::length()) {
        copy->release();
        return nullptr;
    }
    return copy;
}

void CmString::setResultText(const char* text) noexcept {
    assign(text);
}

void CmString::setNarrowText(const char* text) noexcept {
    assign(text);
}

void CmString::setWideText(const char16_t* text) noexcept {
    assign(text);
}

const char* CmString::getNarrowText() noexcept {
    return narrowText();
}

const char16_t* CmString::getWideText() noexcept {
    return wideText();
}

void CmString::adoptText(void* buffer, bool wide) noexcept {
    adoptBuffer(buffer, wide);
}

bool CmString::isWideText() noexcept {
    return isWide();
}

} // namespace Brennovar
