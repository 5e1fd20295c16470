#include "text/cm_object.h"

#include <cstdint>
#include <new>

namespace Brennovar {

namespace {

CmObject* createCmObject() noexcept {
    return new (std::nothrow) CmObject;
}

} // namespace

const ClassDescriptor CmObject::kDescriptor = {"CmObject", nullptr, &createCmObject};

const char* CmObject::className() const noexcept {
    return "CmObject";
}

bool CmObject::isKindOf(const char* name, bool askBaseClasses) const noexcept {
    if (classNameEquals(name, "CmObject"))
        return true;
    return askBaseClasses && name && FObject::isKindOf(name, true);
}

bool CmObject::isEqual(const CmObject* other) const noexcept {
    return other == this;
}

int32 CmObject::compareTo(const CmObject* other) const noexcept {
    if (other == this)
        return 0;
    return reinterpret_cast<std::uintptr_t>(this) < reinterpret_cast<std::uintptr_t>(other) ? -1
                                                                                            : 1;
}

uint32 CmObject::hashValue(uint32 tableSize) const noexcept {
    if (tableSize == 0)
        return 0;
    return static_cast<uint32>((reinterpret_cast<std::uintptr_t>(this) >> 4) % tableSize);
}

bool CmObject::load(std::string_view&) noexcept {
    return true;
}

bool CmObject::save(std::string&) const noexcept {
    return true;
}

bool CmObject::loadText(std::string_view) noexcept {
    return false;
}

bool CmObject::saveText(std::string&) const noexcept {
    return false;
}

const ClassDescriptor& CmObject::classDescriptor() const noexcept {
    return kDescriptor;
}

CmObject* CmObject::clone() const noexcept {
    return new (std::nothrow) CmObject;
}

} // namespace Brennovar
