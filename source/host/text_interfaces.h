#pragma once

#include "module/funknown.h"

namespace Brennovar {

/// Lets the host write a text into an object that the component hands it.
class IStringResult : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("550798BC-8720-49DB-8492-0A153B50B7A8");
    virtual void setResultText(const char* text) noexcept = 0;
};

/// A text object of either width. Returned pointers stay owned by the object and are valid
/// until it next changes.
class IString : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("F99DB7A3-0FC1-4821-800B-0CF98E348EDF");
    virtual void setNarrowText(const char* text) noexcept = 0;
    virtual void setWideText(const char16_t* text) noexcept = 0;
    virtual const char* getNarrowText() noexcept = 0;
    virtual const char16_t* getWideText() noexcept = 0;
    /// Takes over a malloc-allocated, zero-terminated buffer of the given width.
    virtual void adoptText(void* buffer, bool wide) noexcept = 0;
    virtual bool isWideText() noexcept = 0;
};

} // namespace Brennovar
