#pragma once

#include "module/counted_face.h"

namespace Brennovar {

/// The reference-counted base class with class-name tests. Its face towards the host is its
/// IDependent table. Slots after the destructor are only called from inside the module; under
/// the Itanium ABI the virtual destructor takes two entries, so they sit one place later than
/// on the original platform, which the host never notices.
class FObject : public CountedFace<FObject, IDependent> {
public:
    /// The FObject id: a random id generated when the module is loaded, so that only code
    /// inside this module can ask an FUnknown for the FObject behind it.
    static const Guid& iid();

    FObject() = default;
    FObject(const FObject&) = delete;
    FObject& operator=(const FObject&) = delete;

    ResultCode queryInterface(const Guid& iid, void** obj) noexcept override;
    void update(FUnknown* changed, int32 message) noexcept override;

    virtual ~FObject() = default;
    /// isKindOf with base classes not asked.
    virtual bool isClass(const char* name) const noexcept;
    virtual const char* className() const noexcept;
    /// True for "FObject" exactly; a null name gives false.
    virtual bool isKindOf(const char* name, bool askBaseClasses = true) const noexcept;
    virtual void addDependent(IDependent* dependent) noexcept;
    virtual void removeDependent(IDependent* dependent) noexcept;
    virtual void notifyChange(int32 message) noexcept;
    virtual void notifyChangeLater(int32 message) noexcept;
    virtual void onChangeNotified(int32 message) noexcept;
    virtual bool isSameInstance(const FObject* other) const noexcept;

    /// The FObject behind an FUnknown of this module, or null (no reference is kept).
    static FObject* fromUnknown(FUnknown* unknown) noexcept;
};

/// Byte-for-byte comparison, terminator included; null never matches.
bool classNameEquals(const char* a, const char* b) noexcept;

} // namespace Brennovar
