// A module that loads the real one and passes its entry points through, with one fault added,
// chosen by FIXTURE_FAULT, for the validation battery's self-test. FIXTURE_REAL_MODULE is the
// path of the real module.
#include "host/plugin_factory.h"

#include <atomic>
#include <dlfcn.h>

namespace {

#define FIXTURE_EXTRA_EXPORT 0
#define FIXTURE_LYING_FACTORY 1

using namespace Brennovar;

void* realModule = nullptr;
int loads = 0;

template <class Function>
Function entryPoint(const char* name) {
    return reinterpret_cast<Function>(dlsym(realModule, name));
}

// The real factory behind a face that answers getClassInfoUnicode with another name than the
// other two records.
class LyingFactory final : public IPluginFactory3 {
public:
    explicit LyingFactory(IPluginFactory* real) : real_(real) {
        real_->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&real3_));
    }

    ResultCode queryInterface(const Guid& iid, void** object) noexcept override {
        if (iid == IPluginFactory::iid || iid == IPluginFactory2::iid ||
            iid == IPluginFactory3::iid || iid == FUnknown::iid) {
            addRef();
            *object = this;
            return ResultOk;
        }
        *object = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return ++count_; }
    uint32 release() noexcept override {
        const uint32 left = --count_;
        if (left == 0) {
            real3_->release();
            real_->release();
            delete this;
        }
        return left;
    }
    ResultCode getFactoryInfo(FactoryInfo* info) noexcept override {
        return real_->getFactoryInfo(info);
    }
    int32 countClasses() noexcept override { return real_->countClasses(); }
    ResultCode getClassInfo(int32 index, ClassInfo* info) noexcept override {
        return real_->getClassInfo(index, info);
    }
    ResultCode createInstance(const Guid& classId, const Guid& interfaceId,
                              void** object) noexcept override {
        return real_->createInstance(classId, interfaceId, object);
    }
    ResultCode getClassInfo2(int32 index, ClassInfo2* info) noexcept override {
        return real3_->getClassInfo2(index, info);
    }
    ResultCode getClassInfoUnicode(int32 index, ClassInfoUnicode* info) noexcept override {
        const ResultCode result = real3_->getClassInfoUnicode(index, info);
        if (result == ResultOk)
            info->name[0] = u'X';
        return result;
    }
    ResultCode setHostContext(FUnknown* context) noexcept override {
        return real3_->setHostContext(context);
    }

private:
    std::atomic<uint32> count_{1};
    IPluginFactory* real_;
    IPluginFactory3* real3_ = nullptr;
};

} // namespace

extern "C" {

__attribute__((visibility("default"))) bool InitDll() {
    if (!realModule && !(realModule = dlopen(FIXTURE_REAL_MODULE, RTLD_NOW | RTLD_LOCAL)))
        return false;
    ++loads;
    return entryPoint<bool (*)()>("InitDll")();
}

__attribute__((visibility("default"))) bool ExitDll() {
    const bool ok = entryPoint<bool (*)()>("ExitDll")();
    if (--loads == 0) {
        dlclose(realModule);
        realModule = nullptr;
    }
    return ok;
}

__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() {
    IPluginFactory* real = entryPoint<IPluginFactory* (*)()>("GetPluginFactory")();
#if FIXTURE_FAULT == FIXTURE_LYING_FACTORY
    return real ? new LyingFactory(real) : nullptr;
#else
    return real;
#endif
}

#if FIXTURE_FAULT == FIXTURE_EXTRA_EXPORT
// A debugging aid left in a build: a fourth export a host does not expect.
__attribute__((visibility("default"))) int ZintaraDebugDump() {
    return loads;
}
#endif

} // extern "C"
