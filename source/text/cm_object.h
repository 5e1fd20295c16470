#pragma once

#include "module/fobject.h"

#include <string>
#include <string_view>

namespace Brennovar {

class CmObject;

/// The static record that describes one class of the base library: its name, its base class's
/// record (null for `CmObject`) and a function that makes an empty instance (count 1; null when
/// memory runs out).
struct ClassDescriptor {
    const char* name;
    const ClassDescriptor* base;
    CmObject* (*create)() noexcept;
};

/// The base library's object: an `FObject` with equality, ordering, hashing, persistence and
/// cloning. By default identity decides: an object equals only itself and objects sort by
/// address. Subclasses override these with their content.
class CmObject : public FObject {
public:
    static const ClassDescriptor kDescriptor;

    CmObject() noexcept = default;

    const char* className() const noexcept override;
    /// True for "CmObject"; with `askBaseClasses`, also for the names of its bases.
    bool isKindOf(const char* name, bool askBaseClasses = true) const noexcept override;

    /// True when `other` is this very object.
    virtual bool isEqual(const CmObject* other) const noexcept;
    /// 0 for the same object, otherwise -1 or 1 by the order of the two addresses.
    virtual int32 compareTo(const CmObject* other) const noexcept;
    /// The address shifted right by 4, modulo `tableSize`. A table size of 0 gives 0.
    virtual uint32 hashValue(uint32 tableSize) const noexcept;

    // Persistence in two read/write pairs: a binary record read from the front of `in` (which
    // is advanced past it) or appended to `out`, and a text form. The defaults do nothing; the
    // binary pair reports success and the text pair failure.
    virtual bool load(std::string_view& in) noexcept;
    virtual bool save(std::string& out) const noexcept;
    virtual bool loadText(std::string_view in) noexcept;
    virtual bool saveText(std::string& out) const noexcept;

    virtual const ClassDescriptor& classDescriptor() const noexcept;
    /// A new object of the same class with count 1 (for `CmObject`: an empty one); the caller
    /// releases it. Null when memory runs out.
    virtual CmObject* clone() const noexcept;
};

} // namespace Brennovar
