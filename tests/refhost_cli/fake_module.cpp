// A small stand-in module for the loader's tests, built several times with FAKE_FAULT choosing
// how it misbehaves. Every reference it hands out is counted; ExitDll reports a failure while
// any is still outstanding, so a loader that leaks or over-releases is caught at unload.

#include "host/i_host_object_provider.h"
#include "host/plugin_base.h"
#include "host/plugin_factory.h"

#include <atomic>
#include <cstring>

#define FAKE_HEALTHY 0
#define FAKE_MISSING_EXPORTS 1
#define FAKE_NULL_FACTORY 2
#define FAKE_NO_SERVICE 3
#define FAKE_CREATE_FAILS 4
#define FAKE_INITIALIZE_FAILS 5
#define FAKE_UNTERMINATED_TEXT 6
#define FAKE_LEAKS_HOST_REFERENCE 7
#define FAKE_RELEASES_HOST_TWICE 8
#define FAKE_INIT_DLL_FAILS 9
#define FAKE_FACTORY_INFO_FAILS 10
#define FAKE_CLASS_INFO_FAILS 11
#define FAKE_TOO_MANY_CLASSES 12
#define FAKE_NO_PLUGIN_BASE 13
#define FAKE_TERMINATE_FAILS 14
#define FAKE_MISSING_INIT_DLL 15
#define FAKE_MISSING_FACTORY 16
#define FAKE_UNSAFE_SKIN 17

#ifndef FAKE_FAULT
#error "FAKE_FAULT must be defined"
#endif

using namespace Brennovar;

namespace {

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

class Service final : public IPluginBase {
public:
    Service() { ++outstanding; }
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        if (id == FUnknown::iid || (id == IPluginBase::iid && FAKE_FAULT != FAKE_NO_PLUGIN_BASE)) {
            addRef();
            *obj = this;
            return ResultOk;
        }
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override {
        ++outstanding;
        return static_cast<uint32>(++count_);
    }
    uint32 release() noexcept override {
        --outstanding;
        int left = --count_;
        if (left == 0)
            delete this;
        return static_cast<uint32>(left);
    }
    ResultCode initialize(FUnknown* context) noexcept override {
        if (!context)
            return ResultInvalidArgument;
        context->queryInterface(IHostObjectProvider::iid, reinterpret_cast<void**>(&provider_));
        if (!provider_)
            return ResultFalse;
        terminated = false;
        return FAKE_FAULT == FAKE_INITIALIZE_FAILS ? ResultFalse : ResultOk;
    }
    ResultCode terminate() noexcept override {
        if (provider_ && FAKE_FAULT != FAKE_LEAKS_HOST_REFERENCE)
            provider_->release();
        if (provider_ && FAKE_FAULT == FAKE_RELEASES_HOST_TWICE)
            provider_->release();
        provider_ = nullptr;
        terminated = true;
        return FAKE_FAULT == FAKE_TERMINATE_FAILS ? ResultFalse : ResultOk;
    }

private:
    std::atomic<int> count_{1};
    IHostObjectProvider* provider_ = nullptr;
};

class Factory final : public IPluginFactory3 {
public:
    Factory() { ++outstanding; }
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        if (id == IPluginFactory::iid || id == IPluginFactory2::iid || id == IPluginFactory3::iid ||
            id == FUnknown::iid) {
            addRef();
            *obj = this;
            return ResultOk;
        }
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override {
        ++outstanding;
        return static_cast<uint32>(++count_);
    }
    uint32 release() noexcept override {
        --outstanding;
        int left = --count_;
        if (left == 0)
            delete this;
        return static_cast<uint32>(left);
    }
    ResultCode getFactoryInfo(FactoryInfo* info) noexcept override {
        std::memset(info, 0, sizeof *info);
        setText(info->vendor, "Fake Vendor");
        setText(info->url, "https://fake.invalid");
        setText(info->email, "mailto:fake@fake.invalid");
        info->flags = 16;
#if FAKE_FAULT == FAKE_UNTERMINATED_TEXT
        std::memset(info->vendor, 'V', sizeof info->vendor);
#endif
        return FAKE_FAULT == FAKE_FACTORY_INFO_FAILS ? ResultFailed : ResultOk;
    }
    int32 countClasses() noexcept override {
        return FAKE_FAULT == FAKE_TOO_MANY_CLASSES ? 1025 : 2;
    }
    ResultCode getClassInfo(int32 index, ClassInfo* info) noexcept override {
        if (FAKE_FAULT == FAKE_CLASS_INFO_FAILS && index == 1)
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
        if (FAKE_FAULT == FAKE_CREATE_FAILS || !(classId == kServiceId))
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
                index == 0 || FAKE_FAULT == FAKE_NO_SERVICE ? "Audio Module Class" : "Service");
        setText(info->name, index == 0 ? "Fake Effect" : "Fake Service");
        setText(info->version, "2.3.4");
        return ResultOk;
    }
    ResultCode getClassInfoUnicode(int32, ClassInfoUnicode*) noexcept override {
        return ResultNotImplemented;
    }
    ResultCode setHostContext(FUnknown*) noexcept override {
        return ResultNotImplemented;
    }

private:
    std::atomic<int> count_{1};
};

} // namespace

extern "C" {

#if FAKE_FAULT != FAKE_MISSING_INIT_DLL
__attribute__((visibility("default"))) bool InitDll() {
    ++loads;
    return FAKE_FAULT != FAKE_INIT_DLL_FAILS;
}
#endif

#if FAKE_FAULT != FAKE_MISSING_EXPORTS
__attribute__((visibility("default"))) bool ExitDll() {
    --loads;
    return loads == 0 && outstanding == 0 && terminated;
}
#endif

#if FAKE_FAULT != FAKE_MISSING_EXPORTS && FAKE_FAULT != FAKE_MISSING_FACTORY
__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() {
    if (FAKE_FAULT == FAKE_NULL_FACTORY)
        return nullptr;
    return new Factory;
}
#endif

} // extern "C"

#if FAKE_FAULT == FAKE_UNSAFE_SKIN
// A skin container whose first entry would be written outside the folder it is extracted to,
// carried as a resource note the way the module carries its own.
asm(R"(
    .pushsection .note.brennovar.resource, "a", %note
    .balign 4
    .long 10
    .long .Ldesc_end - .Ldesc
    .long 10
    .asciz "Brennovar"
    .balign 4
.Ldesc:
    .long .Lname_end - .Lname
    .long .Ldata_end - .Ldata
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
