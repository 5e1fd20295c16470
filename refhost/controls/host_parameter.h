#pragma once

#include "host/menus.h"
#include "host/parameters.h"
#include "host/plug_controller.h"
#include "refhost/controls/menu_entry.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// The kinds of parameter object a client can ask the host for (getObject with a parameter
/// class id, or the menu parameter class id).
enum class ParameterKind { kToggle, kInteger, kText, kStringList, kMenu };

/// The kind's name as reports show it ("toggle", "string list", ...).
const char* parameterKindName(ParameterKind kind) noexcept;

/// A parameter object of the host: what a dialog control is bound to.
///
/// The client side (the module's controllers) uses the interfaces; the host side (the dialog
/// runtime, tests) uses the plain operations below. A change made by the user is stored and then
/// reported to the connected controller's onParameterChanged with the parameter's tag; a
/// parameter connected to no controller reports nothing. Changes the client makes are reported
/// back to it only under the host's echo behaviour (see HostBehaviours). Every change, from
/// either side, advances version(), which is how the runtime notices that a view depending on
/// the parameter must be rebuilt; a watcher, when set, hears of every change at once.
///
/// The menu kind also answers IMenuAccess; its menu, items and sub-menus are host objects too.
/// The string-list kind answers IStringListParameter; setStrings takes a null-terminated array of
/// null-terminated 16-bit texts.
///
/// The host does not hold the connected controller: when the clients have released their last
/// reference to the parameter, it disconnects, so that a controller that is gone is never called.
class HostParameter : public HostFaces<CountedObject, IHostParameter, IParameterDisplay,
                                       IStringListParameter, IParameterValue, IMenuAccess> {
public:
    HostParameter(HostEnvironment& environment, ParameterKind kind);
    ~HostParameter() override;

    // Host side.
    ParameterKind kind() const noexcept;
    int32 tag() const noexcept;
    int32 value() const noexcept;
    int32 minimum() const noexcept;
    int32 maximum() const noexcept;
    bool enabled() const noexcept;
    float displayValue() const noexcept;
    /// The display flag bits the client set (bit values as given to setDisplayFlag).
    int32 displayFlags() const noexcept;
    std::u16string text() const;
    /// The entries of a string-list parameter, in the order added.
    const std::vector<std::u16string>& strings() const noexcept;
    /// The connected controller (borrowed), null when none.
    IPlugController* controller() const noexcept;
    /// The entries of a menu parameter's menu as they stand now (empty for other kinds).
    std::vector<MenuEntry> menuEntries() const;
    std::uint64_t version() const noexcept;
    /// How many UTF-16 units of the text the client's last getText got when its buffer was too
    /// small for the whole text (cut at a whole character); 0 when it got the whole text.
    std::size_t textCutTo() const noexcept;
    /// The last kKeptCalls calls a client made to change the parameter, in order ("setMinimum 0",
    /// "setDisplayFlag 16 0", "connect 3", ...), for tests and diagnostics.
    const std::vector<std::string>& clientCalls() const noexcept;
    static constexpr std::size_t kKeptCalls = 64;

    /// The user sets the value (a toggle's change, a radio choice, a list index, a menu item's
    /// number): stored, then reported. Returns the controller's answer, ResultOk when no
    /// controller is connected.
    /// A toggle stores 0 or 1, an integer is kept within its range; a list index or menu number
    /// that names no entry is refused with ResultInvalidArgument and changes nothing.
    ResultCode userSetValue(int32 value);
    /// The user types a text into a text parameter: stored, then reported as above.
    ResultCode userSetText(const std::u16string& text);
    /// Called after every change from either side (empty: none). The runtime watches the
    /// parameters its dependent views depend on when it rebuilds them at once.
    void watch(std::function<void()> watcher);

    // IHostParameter, IParameterDisplay, IStringListParameter, IParameterValue, IMenuAccess:
    // as declared in the host's interfaces.
    int32 getValue() noexcept override;
    ResultCode setOn(bool on) noexcept override;
    ResultCode connect(IPlugController* controller, int32 tag) noexcept override;
    int32 getTag() noexcept override;
    ResultCode setEnabled(bool enabled) noexcept override;
    ResultCode setText(const char16_t* text, int32 flags) noexcept override;
    ResultCode setValue(int32 value, int32 flags) noexcept override;
    ResultCode setMinimum(int32 minimum) noexcept override;
    ResultCode setMaximum(int32 maximum) noexcept override;
    ResultCode setDisplayValue(float value) noexcept override;
    ResultCode setDisplayFlag(int32 flag, bool on) noexcept override;
    ResultCode addString(const char16_t* text) noexcept override;
    ResultCode setStrings(const void* strings) noexcept override;
    ResultCode getText(char16_t* buffer, int32 capacity) noexcept override;
    IMenu* getMenu() noexcept override;
    ResultCode menuChanged() noexcept override;

    /// Disconnects from the controller when the clients' last reference goes.
    uint32 release() noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

private:
    ResultCode report();
    void changed() noexcept;
    /// Under the echo behaviour, reports a change the client made to the connected controller.
    void echo() noexcept;
    /// Records a client call (its name and up to two arguments) and advances the version.
    void clientChanged(const char* call, std::initializer_list<double> arguments = {}) noexcept;

    struct State;
    std::unique_ptr<State> state_;
};

} // namespace Brennovar::RefHost
