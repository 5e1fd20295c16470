#pragma once

#include "host/i_host_object_provider.h"
#include "host/parameters.h"
#include "module/pvalue_list.h"

namespace Brennovar {

/// The keeper of a controller's host parameter objects: makes them through the host's object
/// provider, configures them, connects them to the controller under their tags and files them
/// under the names by which the skin binds its controls.
///
/// Parameters returned by the add operations and the finds are borrowed: the container keeps
/// the reference and releases it in removeAll or when it is destroyed. Parameters are connected
/// to the controller set at the moment they are added. Host thread only.
class PValueContainer {
public:
    /// Takes one reference on the factory (null: every add operation answers null). The
    /// controller is not owned.
    PValueContainer(IHostObjectProvider* factory, IPlugController* controller) noexcept;
    PValueContainer(const PValueContainer&) = delete;
    PValueContainer& operator=(const PValueContainer&) = delete;
    virtual ~PValueContainer();

    void setController(IPlugController* controller) noexcept { controller_ = controller; }
    IPlugController* controller() const noexcept { return controller_; }

    /// Value 0 or 1; display value 1.0 or 0.0; display flag 1 set to `flag`.
    IHostParameter* addToggle(int32 tag, const char* name, bool value, bool flag) noexcept;
    /// Minimum, maximum, value, in this order; display value; display flags 1 and 16.
    IHostParameter* addInteger(int32 tag, const char* name, int32 minimum, int32 maximum,
                               int32 value, bool flag1, bool flag2) noexcept;
    IHostParameter* addText(int32 tag, const char* name, const char16_t* text, bool flag) noexcept;
    /// `strings` is handed to the host as it is (a null-terminated array of 16-bit texts); its
    /// first text is the initial text when none is given.
    IHostParameter* addStringList(int32 tag, const char* name, const void* strings,
                                  const char16_t* initialText, bool flag) noexcept;
    /// Adopts a parameter made elsewhere together with the caller's reference, connecting it
    /// when a controller is set. A null parameter does nothing; with a null name the reference
    /// is released and nothing is added.
    void addParameter(IHostParameter* parameter, int32 tag, const char* name) noexcept;

    /// The first parameter filed under exactly this name; null when none.
    IHostParameter* findByName(const char* name) const noexcept;
    /// The first parameter that reports this tag; null when none.
    IHostParameter* findByTag(int32 tag) const noexcept;
    /// Releases every parameter and forgets them.
    void removeAll() noexcept;

private:
    /// A new parameter of the class, or null.
    IHostParameter* create(const Guid& classId) noexcept;
    /// Appends the entry; when that fails the parameter is released and null returned.
    IHostParameter* append(IHostParameter* parameter, const char* name) noexcept;
    void connect(IHostParameter* parameter, int32 tag) noexcept;

    IHostObjectProvider* factory_;
    IPlugController* controller_;
    PValueList entries_;
};

} // namespace Brennovar
