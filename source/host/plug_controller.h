#pragma once

#include "host/parameters.h"
#include "module/funknown.h"

namespace Brennovar {

/// A dialog controller: the host binds the skin's controls to its parameters by name.
class IPlugController : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("0466B781-A086-11D5-BECC-00A0C9A636BC");
    /// *parameter is borrowed (no reference added) or null; ResultOk when found.
    virtual ResultCode getParameter(const char* name, IHostParameter** parameter) noexcept = 0;
    virtual ResultCode onParameterChanged(IHostParameter* parameter, int32 tag) noexcept = 0;
};

class IPlugController3 : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("E9E38A1D-BFA8-4FBF-A35B-5F00907B66E1");
    /// *controller is borrowed; left unchanged when no sub-controller has the name.
    virtual ResultCode getSubController(const char* name,
                                        IPlugController** controller) noexcept = 0;
};

class IViewBuilder : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("53D29FE8-ED00-400B-9E6D-4DD80444B116");
    /// Builds the named view, or does nothing; the component always returns null.
    virtual FUnknown* buildView(const char* name) noexcept = 0;
};

class IOptionMenuCallback : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("DC8940C5-A4BF-4BED-9449-853684332A88");
    /// Called before the host shows the menu of a menu parameter.
    virtual ResultCode updateMenu(IHostParameter* menuParameter) noexcept = 0;
};

} // namespace Brennovar
