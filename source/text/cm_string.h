#pragma once

#include "host/text_interfaces.h"
#include "text/cm_object.h"
#include "text/fstring.h"

namespace Brennovar {

/// A reference-counted text object: a `CmObject` that is also an `FString` and offers the host's
/// text interfaces, so that the host can write a text into an object that the component hands
/// it and the component can read it back. Its count and its destruction on the last release are
/// `FObject`'s; it may also live on the stack for the duration of one host call, as long as the
/// host's references are balanced by then.
///
/// Reading operations convert the text in place (see `String`), so it must not be read from two
/// threads at once.
class CmString : public CmObject, public FString, public IStringResult, public IString {
public:
    static const ClassDescriptor kDescriptor;

    /// Empty and wide, count 1.
    CmString() noexcept = default;

    /// IStringResult and IString, each with one added reference; anything else goes to FObject.
    ResultCode queryInterface(const Guid& iid, void** obj) noexcept override;
    uint32 addRef() noexcept override;
    uint32 release() noexcept override;

    const char* className() const noexcept override;
    /// True for "CmString"; with `askBaseClasses`, also for "CmObject" and "FObject".
    bool isKindOf(const char* name, bool askBaseClasses = true) const noexcept override;

    /// True for another "CmString" with the same text (case-sensitive), else identity.
    bool isEqual(const CmObject* other) const noexcept override;
    /// The text comparison for another "CmString", else the order of addresses.
    int32 compareTo(const CmObject* other) const noexcept override;
    /// h = ((h << 6) + c) mod tableSize over the characters (8-bit ones signed); 0 for an empty
    /// text or a table size of 0.
    uint32 hashValue(uint32 tableSize) const noexcept override;

    /// Binary record: one byte width (0 8-bit, 1 16-bit), the length as 32-bit little-endian,
    /// then the characters (16-bit ones little-endian). A short or oversized record fails and
    /// changes nothing.
    bool load(std::string_view& in) noexcept override;
    bool save(std::string& out) const noexcept override;
    /// Text form: the text as UTF-8 (8-bit text taken in code page 0). Invalid UTF-8 fails and
    /// changes nothing; a loaded text is 16-bit.
    bool loadText(std::string_view in) noexcept override;
    bool saveText(std::string& out) const noexcept override;

    const ClassDescriptor& classDescriptor() const noexcept override;
    /// A new `CmString` holding a copy of the text in the same width; null when memory runs out.
    CmObject* clone() const noexcept override;

    // IStringResult
    void setResultText(const char* text) noexcept override;

    // IString. Returned pointers stay owned by this object and are valid until it next changes
    // (including a read in the other width).
    void setNarrowText(const char* text) noexcept override;
    void setWideText(const char16_t* text) noexcept override;
    const char* getNarrowText() noexcept override;
    const char16_t* getWideText() noexcept override;
    void adoptText(void* buffer, bool wide) noexcept override;
    bool isWideText() noexcept override;
};

} // namespace Brennovar
