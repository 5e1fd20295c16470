#include "module/host_context.h"
#include "module/plugin_factory.h"
#include "module/service_object.h"

#include <cstring>
#include <new>

namespace Brennovar {

namespace {

constexpr Guid kServiceClassId = Guid::fromText("D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA");

int32 loadCounter = 0;

template <std::size_t N>
void setText(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

// Built once per module lifetime; function-local statics are initialised thread-safely.
const FactoryInfo& moduleFactoryInfo() {
    static const FactoryInfo info = [] {
        FactoryInfo i;
        setText(i.vendor, "Brennovar");
        setText(i.url, "https://www.brennovar.com");
        setText(i.email, "mailto:support@brennovar.com");
        i.flags = 16;
        return i;
    }();
    return info;
}

const ClassInfo2& serviceClassInfo() {
    static const ClassInfo2 info = [] {
        ClassInfo2 i;
        std::memset(&i, 0, sizeof i);
        i.classId = kServiceClassId;
        i.cardinality = 1;
        setText(i.category, "Service");
        setText(i.name, "Zintara");
        i.classFlags = 0;
        setText(i.version, "1.0.0.79");
        return i;
    }();
    return info;
}

} // namespace

} // namespace Brennovar

using namespace Brennovar;

extern "C" {

__attribute__((visibility("default"))) bool InitDll() {
    ++loadCounter;
    return true;
}

__attribute__((visibility("default"))) bool ExitDll() {
    --loadCounter;
    if (loadCounter == 0) {
        // The host object provider is kept for the module's life; the module's life ends here,
        // so its reference goes back to the host.
        IHostObjectProvider*& provider = Zintara::hostObjectProvider();
        if (provider)
            provider->release();
        provider = nullptr;
    }
    return loadCounter >= 0;
}

__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() {
    if (factoryPointer) {
        factoryPointer->addRef();
        return factoryPointer;
    }
    auto* factory = new (std::nothrow) CPluginFactory(moduleFactoryInfo());
    if (!factory)
        return nullptr;
    factoryPointer = factory;
    factory->registerClass(&serviceClassInfo(), &createServiceObject, nullptr);
    return factory;
}

} // extern "C"
