#include "refhost/loading/module_loader.h"

#include "refhost/loading/module_file_check.h"

#include <cstdio>
#include <dlfcn.h>
#include <utility>

namespace Brennovar::RefHost {

namespace {

// A factory that claims more classes than this is broken; the loader does not walk millions of
// indexes on its word.
constexpr int32 kMaxClasses = 1024;

constexpr const char* kServiceCategory = "Service";

std::string dlError() {
    const char* text = dlerror();
    return text ? text : "unknown reason";
}

} // namespace

std::string resultText(ResultCode result) {
    const char* name = nullptr;
    switch (result) {
    case ResultOk:
        name = "ResultOk";
        break;
    case ResultFalse:
        name = "ResultFalse";
        break;
    case ResultNoInterface:
        name = "ResultNoInterface";
        break;
    case ResultInvalidArgument:
        name = "ResultInvalidArgument";
        break;
    case ResultNotImplemented:
        name = "ResultNotImplemented";
        break;
    case ResultFailed:
        name = "ResultFailed";
        break;
    default:
        break;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result));
    return name ? std::string(name) + " (" + hex + ")" : std::string(hex);
}

ModuleLoader::~ModuleLoader() {
    unload();
}

bool ModuleLoader::fail(std::string message) {
    error_ = "module " + path_ + ": " + std::move(message);
    return false;
}

bool ModuleLoader::open(const std::string& path) {
    if (library_ && !unload())
        return false;
    path_ = path;
    error_.clear();
    if (std::string problem = ModuleFileCheck::problem(path); !problem.empty())
        return fail(problem);
    dlerror();
    library_ = dlopen(ModuleFileCheck::loadPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_)
        return fail("cannot be loaded: " + dlError());
    if (!resolveEntryPoints()) {
        closeLibrary();
        return false;
    }
    return true;
}

bool ModuleLoader::load(const std::string& path) {
    if (!open(path))
        return false;
    if (!initDll_()) {
        // The module refused to start, so it has nothing to finish: no ExitDll.
        closeLibrary();
        return fail("InitDll reported a failure");
    }
    initDllCalled_ = true;
    if (!readFactory() || !readClasses()) {
        std::string message = std::move(error_);
        unload();
        error_ = std::move(message);
        return false;
    }
    return true;
}

bool ModuleLoader::resolveEntryPoints() {
    struct Symbol {
        const char* name;
        void* address;
    };
    Symbol symbols[] = {{"InitDll", nullptr}, {"ExitDll", nullptr}, {"GetPluginFactory", nullptr}};
    for (Symbol& symbol : symbols) {
        dlerror();
        symbol.address = dlsym(library_, symbol.name);
        if (!symbol.address)
            return fail(std::string("does not export ") + symbol.name + ": " + dlError());
    }
    initDll_ = reinterpret_cast<InitDllFunction>(symbols[0].address);
    exitDll_ = reinterpret_cast<ExitDllFunction>(symbols[1].address);
    getPluginFactory_ = reinterpret_cast<GetPluginFactoryFunction>(symbols[2].address);

    // The load address of the object that holds GetPluginFactory: what the module itself
    // reports as its handle, and what resource lookups are given.
    Dl_info info{};
    if (dladdr(symbols[2].address, &info) == 0 || !info.dli_fbase)
        return fail("the load address of GetPluginFactory cannot be determined");
    moduleHandle_ = info.dli_fbase;
    return true;
}

bool ModuleLoader::readFactory() {
    factory_.reset(getPluginFactory_());
    if (!factory_)
        return fail("GetPluginFactory returned no factory");
    factory2_ = Owned<IPluginFactory2>::query(factory_.get());
    factory3_ = Owned<IPluginFactory3>::query(factory_.get());
    factoryInfo_ = FactoryInfo{};
    ResultCode result = factory_->getFactoryInfo(&factoryInfo_);
    if (result != ResultOk)
        return fail("getFactoryInfo failed: " + resultText(result));
    return true;
}

bool ModuleLoader::readClasses() {
    classes_.clear();
    serviceClass_ = -1;
    int32 count = factory_->countClasses();
    if (count < 0 || count > kMaxClasses)
        return fail("countClasses answered " + std::to_string(count) + ", expected 0 to " +
                    std::to_string(kMaxClasses));
    for (int32 i = 0; i < count; ++i) {
        ModuleClass entry;
        ResultCode result = factory_->getClassInfo(i, &entry.info);
        if (result != ResultOk)
            return fail("getClassInfo(" + std::to_string(i) + ") failed: " + resultText(result));
        entry.hasInfo2 = factory2_ && factory2_->getClassInfo2(i, &entry.info2) == ResultOk;
        entry.hasInfoUnicode =
            factory3_ && factory3_->getClassInfoUnicode(i, &entry.infoUnicode) == ResultOk;
        if (serviceClass_ < 0 && fieldText(entry.info.category) == kServiceCategory)
            serviceClass_ = static_cast<int>(classes_.size());
        classes_.push_back(entry);
    }
    return true;
}

bool ModuleLoader::startService(FUnknown* hostContext) {
    if (!factory_)
        return fail("cannot start the service: the module is not loaded");
    if (instance_)
        return fail("the service is already running");
    if (serviceClass_ < 0)
        return fail("the factory lists no class of category \"Service\"");
    const ClassInfo& info = classes_[static_cast<std::size_t>(serviceClass_)].info;
    ResultCode result = factory_->createInstance(info.classId, FUnknown::iid, instance_.putVoid());
    if (result != ResultOk || !instance_) {
        // On failure the out pointer carries no reference, whatever the module left in it.
        instance_.detach();
        return fail("createInstance of the service class \"" + fieldText(info.name) +
                    "\" failed: " + resultText(result == ResultOk ? ResultFailed : result));
    }
    service_ = Owned<IPluginBase>::query(instance_.get());
    if (!service_) {
        instance_.reset();
        return fail("the service object does not answer IPluginBase");
    }
    result = service_->initialize(hostContext);
    if (result != ResultOk) {
        // A host gives a service whose initialize stopped half way the chance to take back
        // what it had registered before releasing it.
        service_->terminate();
        service_.reset();
        instance_.reset();
        return fail("initialize of the service failed: " + resultText(result));
    }
    initialized_ = true;
    return true;
}

bool ModuleLoader::stopService() {
    bool ok = true;
    if (service_ && initialized_) {
        ResultCode result = service_->terminate();
        if (result != ResultOk)
            ok = fail("terminate of the service failed: " + resultText(result));
    }
    initialized_ = false;
    service_.reset();
    instance_.reset();
    return ok;
}

bool ModuleLoader::unload() {
    if (!library_)
        return true;
    bool ok = stopService();
    factory3_.reset();
    factory2_.reset();
    factory_.reset();
    if (initDllCalled_ && !exitDll_())
        ok = fail("ExitDll reported a failure");
    initDllCalled_ = false;
    closeLibrary();
    if (library_)
        ok = false;
    return ok;
}

void ModuleLoader::closeLibrary() {
    if (!library_)
        return;
    if (dlclose(library_) != 0) {
        fail("cannot be closed: " + dlError());
        return;
    }
    library_ = nullptr;
    initDll_ = nullptr;
    exitDll_ = nullptr;
    getPluginFactory_ = nullptr;
    moduleHandle_ = nullptr;
}

} // namespace Brennovar::RefHost
