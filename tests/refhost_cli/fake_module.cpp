// A small stand-in module for the loader's tests, built once per fault: FAKE_FAULT names how it
// misbehaves, and FAKE_<FAULT> is defined where the fault leaves an export out. Every reference
// it hands out is counted; ExitDll reports a failure while any is still outstanding, so a loader
// that leaks or over-releases is caught at unload.

#include "host/i_host_object_provider.h"
#include "host/plugin_base.h"
#include "host/plugin_factory.h"

#include <atomic>
#include <cstring>
#include <string_view>

using namespace Brennovar;

namespace {

constexpr std::string_view kFault = FAKE_FAULT;
constexpr Guid kServiceId = Guid::fromText("11111111-2222-3333-4444-555555555555");
constexpr Guid kOtherId = Guid::fromText("66666666-7777-8888-9999-AAAAAAAAAAAA");

std::atomic<int> outstanding{0};
int loads = 0;
bool terminated = true;

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

/// An object whose every reference is counted in `outstanding`; it answers the interfaces
/// `Self::answers` accepts.
template <class Self, class Interface>
class Counted : public Interface {
public:
    Counted() { ++outstanding; }
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        *obj = nullptr;
        if (!Self::answers(id))
            return ResultNoInterface;
        addRef();
        *obj = this;
        return ResultOk;
    }
    uint32 addRef() noexcept override {
        ++outstanding;
        return static_cast<uint32>(++count_);
    }
    uint32 release() noexcept override {
        --outstanding;
        int left = --count_;
        if (left == 0)
            delete static_cast<Self*>(this);
        return static_cast<uint32>(left);
    }

private:
    std::atomic<int> count_{1};
};

class Service final : public Counted<Service, IPluginBase> {
public:
    static bool answers(const Guid& id) {
        return id == FUnknown::iid || (id == IPluginBase::iid && kFault != "no_plugin_base");
    }
    ResultCode initialize(FUnknown* context) noexcept override {
        if (!context)
            return ResultInvalidArgument;
        context->queryInterface(IHostObjectProvider::iid, reinterpret_cast<void**>(&provider_));
        if (!provider_)
            return ResultFalse;
        terminated = false;
        return kFault == "initialize_fails" ? ResultFalse : ResultOk;
    }
    ResultCode terminate() noexcept override {
        if (provider_ && kFault != "leaks_host_reference")
            provider_->release();
        if (provider_ && kFault == "releases_host_twice")
            provider_->release();
        provider_ = nullptr;
        terminated = true;
        return kFault == "terminate_fails" ? ResultFalse : ResultOk;
    }

private:
    IHostObjectProvider* provider_ = nullptr;
};

class Factory final : public Counted<Factory, IPluginFactory3> {
public:
    static bool answers(const Guid& id) {
        return id == IPluginFactory::iid || id == IPluginFactory2::iid ||
               id == IPluginFactory3::iid || id == FUnknown::iid;
    }
    ResultCode getFactoryInfo(FactoryInfo* info) noexcept override {
        std::memset(info, 0, sizeof *info);
        setText(info->vendor, "Fake Vendor");
        setText(info->url, "https://fake.invalid");
        setText(info->email, "mailto:fake@fake.invalid");
        info->flags = 16;
        if (kFault == "unterminated_text")
            std::memset(info->vendor, 'V', sizeof info->vendor);
        return kFault == "factory_info_fails" ? ResultFailed : ResultOk;
    }
    int32 countClasses() noexcept override { return kFault == "too_many_classes" ? 1025 : 2; }
    ResultCode getClassInfo(int32 index, ClassInfo* info) noexcept override {
        if (kFault == "class_info_fails" && index == 1)
            return ResultFailed;
        ClassInfo2 full;
        ResultCode result = getClassInfo2(index, &full);
        if (result == ResultOk)
            std::memcpy(info, &full, sizeof *info);
        return result;
    }
    ResultCode createInstance(const Guid& classId, const Guid& interfaceId,
                              void** obj) noexcept override {
        *obj = nullptr;
        if (kFault == "create_fails" || !(classId == kServiceId))
            return ResultNoInterface;
        auto* service = new Service;
        ResultCode result = service->queryInterface(interfaceId, obj);
        service->release();
        return result;
    }
    ResultCode getClassInfo2(int32 index, ClassInfo2* info) noexcept override {
        if (index < 0 || index > 1)
            return ResultInvalidArgument;
        std::memset(info, 0, sizeof *info);
        info->classId = index == 0 ? kOtherId : kServiceId;
        info->cardinality = 1;
        setText(info->category,
                index == 0 || kFault == "no_service" ? "Audio Module Class" : "Service");
        setText(info->name, index == 0 ? "Fake Effect" : "Fake Service");
        setText(info->version, "2.3.4");
        return ResultOk;
    }
    ResultCode getClassInfoUnicode(int32, ClassInfoUnicode*) noexcept override {
        return ResultNotImplemented;
    }
    ResultCode setHostContext(FUnknown*) noexcept override { return ResultNotImplemented; }
};

} // namespace

extern "C" {

#ifndef FAKE_MISSING_INIT_DLL
__attribute__((visibility("default"))) bool InitDll() {
    ++loads;
    return kFault != "init_dll_fails";
}
#endif

#ifndef FAKE_MISSING_EXPORTS
__attribute__((visibility("default"))) bool ExitDll() {
    --loads;
    return loads == 0 && outstanding == 0 && terminated;
}
#endif

#if !defined(FAKE_MISSING_EXPORTS) && !defined(FAKE_MISSING_FACTORY)
__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() {
    if (kFault == "null_factory")
        return nullptr;
    return new Factory;
}
#endif

} // extern "C"

#ifdef FAKE_UNSAFE_SKIN
// A skin container whose first entry would be written outside the folder it is extracted to,
// carried as a resource note the way the module carries its own.
asm(R"(
    .pushsection .note.brennovar.resource, "a", %note
    .balign 4
    .long 10, .Ldesc_end - .Ldesc, 10
    .asciz "Brennovar"
    .balign 4
.Ldesc:
    .long .Lname_end - .Lname, .Ldata_end - .Ldata
.Lname:
    .ascii "SKIN.KXP"
.Lname_end:
    .balign 4
.Ldata:
    .ascii "Brennovar Resource File\r\n"
.Lentry0:
    .ascii "escaped"
.Lentry1:
    .ascii "<skin/>"
.Ldirectory:
    .long 2, .Lentry0 - .Ldata, .Lentry1 - .Lentry0
    .asciz "../escaped.txt"
    .long 2, .Lentry1 - .Ldata, .Ldirectory - .Lentry1
    .asciz "skin.xml"
.Ldigest:
    .ascii "0123456789ABCDEF0123456789ABCDEF"
    .long .Ldigest - .Ldirectory, 2, 48
    .ascii "KXP2"
.Ldata_end:
.Ldesc_end:
    .balign 4
    .popsection
)");
#endif
