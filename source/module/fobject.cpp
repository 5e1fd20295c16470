#include "module/fobject.h"

#include "module/fuid.h"

#include <cstring>

namespace Brennovar {

namespace {
// Generated during static initialisation, i.e. when the module is loaded.
const FUID objectId = FUID::generate();
} // namespace

const Guid& FObject::iid() {
    return objectId.bytes();
}

bool classNameEquals(const char* a, const char* b) noexcept {
    return a && b && std::strcmp(a, b) == 0;
}

ResultCode FObject::queryInterface(const Guid& id, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    if (id == FUnknown::iid || id == IDependent::iid || id == FObject::iid()) {
        addRef();
        *obj = static_cast<IDependent*>(this);
        return ResultOk;
    }
    *obj = nullptr;
    return ResultNoInterface;
}

void FObject::update(FUnknown*, int32) noexcept {}

bool FObject::isClass(const char* name) const noexcept {
    return isKindOf(name, false);
}

const char* FObject::className() const noexcept {
    return "FObject";
}

bool FObject::isKindOf(const char* name, bool) const noexcept {
    return classNameEquals(name, "FObject");
}

// Without an update handler (the component installs none) dependents are not kept and change
// notifications are delivered at once.
void FObject::addDependent(IDependent*) noexcept {}
void FObject::removeDependent(IDependent*) noexcept {}
void FObject::notifyChange(int32 message) noexcept {
    onChangeNotified(message);
}
void FObject::notifyChangeLater(int32 message) noexcept {
    onChangeNotified(message);
}
void FObject::onChangeNotified(int32) noexcept {}

bool FObject::isSameInstance(const FObject* other) const noexcept {
    return other == this;
}

FObject* FObject::fromUnknown(FUnknown* unknown) noexcept {
    if (!unknown)
        return nullptr;
    void* face = nullptr;
    if (unknown->queryInterface(FObject::iid(), &face) != ResultOk || !face)
        return nullptr;
    auto* object = static_cast<FObject*>(static_cast<IDependent*>(face));
    object->release();
    return object;
}

} // namespace Brennovar
