#pragma once

#include "module/funknown.h"

namespace Brennovar {

class IPlugController;

/// A parameter object made by the host for a dialog control (getObject with a parameter class
/// id). It has no id of its own and is used as returned.
class IHostParameter : public FUnknown {
public:
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual int32 getValue() noexcept = 0;
    virtual ResultCode setOn(bool on) noexcept = 0;
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    /// Changes are reported to controller->onParameterChanged with the tag; a null controller
    /// disconnects.
    virtual ResultCode connect(IPlugController* controller, int32 tag) noexcept = 0;
    virtual ResultCode reserved10() noexcept { return ResultNotImplemented; }
    virtual int32 getTag() noexcept = 0;
    virtual ResultCode reserved12() noexcept { return ResultNotImplemented; }
    virtual ResultCode setEnabled(bool enabled) noexcept = 0;
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved16() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved17() noexcept { return ResultNotImplemented; }
    /// The second argument is always 0.
    virtual ResultCode setText(const char16_t* text, int32 flags) noexcept = 0;
    /// The second argument is always 0.
    virtual ResultCode setValue(int32 value, int32 flags) noexcept = 0;
    virtual ResultCode setMinimum(int32 minimum) noexcept = 0;
    virtual ResultCode setMaximum(int32 maximum) noexcept = 0;
};

/// Reading a parameter's value.
class IParameterValue : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("2E61B9C2-AB2F-47C9-9CFB-458BDB6E4E1F");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual int32 getValue() noexcept = 0;
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved10() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved11() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved12() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved13() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved16() noexcept { return ResultNotImplemented; }
    /// Writes the parameter's text, at most capacity units including the terminator.
    virtual ResultCode getText(char16_t* buffer, int32 capacity) noexcept = 0;
};

/// How a parameter is displayed.
class IParameterDisplay : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("F9EAE1EF-6373-4416-8560-41B38BF8BB15");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved8() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved10() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved11() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved12() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved13() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved14() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved15() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved16() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved17() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved18() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved19() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved20() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved21() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved22() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved23() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved24() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved25() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved26() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved27() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved28() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved29() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved30() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved31() noexcept { return ResultNotImplemented; }
    virtual ResultCode setDisplayValue(float value) noexcept = 0;
    virtual ResultCode reserved33() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved34() noexcept { return ResultNotImplemented; }
    virtual ResultCode setDisplayFlag(int32 flag, bool on) noexcept = 0;
};

/// A parameter whose value is an index into a list of texts.
class IStringListParameter : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("D96D547F-A0C4-4C71-B629-32490B911ACD");
    /// Appends one entry (copied by the host). Its slot is not fixed by the operations the
    /// component shares with the host elsewhere; it is taken to precede setStrings.
    virtual ResultCode addString(const char16_t* text) noexcept = 0;
    /// Replaces the entries; the layout behind the pointer is the host's.
    virtual ResultCode setStrings(const void* strings) noexcept = 0;
};

} // namespace Brennovar
