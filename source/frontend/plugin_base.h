#pragma once

#include "host/i_host_object_provider.h"
#include "host/plugin_base.h"
#include "module/fobject.h"
#include "module/host_context.h"

namespace Brennovar::Zintara {

/// An FObject with IPluginBase. initialize takes the host's IHostObjectProvider into the
/// module-wide pointer and hands over to T's onInitialize.
template <class T>
class PluginBase : public FObject, public IPluginBase {
public:
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        return PluginBase::baseQueryInterface(id, obj);
    }
    uint32 addRef() noexcept override { return FObject::addRef(); }
    uint32 release() noexcept override { return FObject::release(); }

    const char* className() const noexcept override { return "PluginBase"; }
    bool isKindOf(const char* name, bool askBaseClasses = true) const noexcept override {
        if (classNameEquals(name, "PluginBase"))
            return true;
        return askBaseClasses && name && FObject::isKindOf(name, true);
    }

    ResultCode initialize(FUnknown* context) noexcept override {
        if (!context)
            return ResultInvalidArgument;
        IHostObjectProvider*& provider = hostObjectProvider();
        // The result code is not looked at: only the pointer counts. A provider held from an
        // earlier initialize is given back first so that it is not lost.
        if (provider)
            provider->release();
        provider = nullptr;
        context->queryInterface(IHostObjectProvider::iid, reinterpret_cast<void**>(&provider));
        if (!provider)
            return ResultFalse;
        return onInitialize();
    }

    /// The first virtual slot after FObject's fourteen.
    virtual ResultCode onInitialize() noexcept = 0;

protected:
    // Non-virtual steps for the interface-implementation template: IPluginBase, then FObject.
    ResultCode baseQueryInterface(const Guid& id, void** obj) noexcept {
        if (!obj)
            return ResultInvalidArgument;
        if (id == IPluginBase::iid) {
            FObject::addRef();
            *obj = static_cast<IPluginBase*>(this);
            return ResultOk;
        }
        return FObject::queryInterface(id, obj);
    }
    uint32 baseAddRef() noexcept { return FObject::addRef(); }
    uint32 baseRelease() noexcept { return FObject::release(); }
};

} // namespace Brennovar::Zintara
