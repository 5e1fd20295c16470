#pragma once

#include "host/plugin_factory.h"

#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace Brennovar::Testing {

/// The built module (path in ZINTARA_MODULE), loaded with dlopen as a host loads it.
class LoadedModule {
public:
    LoadedModule() {
        const char* path = std::getenv("ZINTARA_MODULE");
        if (!path)
            throw std::runtime_error("ZINTARA_MODULE is not set");
        handle_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            throw std::runtime_error(dlerror());
        initDll = reinterpret_cast<InitDllFunction>(dlsym(handle_, "InitDll"));
        exitDll = reinterpret_cast<ExitDllFunction>(dlsym(handle_, "ExitDll"));
        getPluginFactory =
            reinterpret_cast<GetPluginFactoryFunction>(dlsym(handle_, "GetPluginFactory"));
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;
    ~LoadedModule() { dlclose(handle_); }

    InitDllFunction initDll = nullptr;
    ExitDllFunction exitDll = nullptr;
    GetPluginFactoryFunction getPluginFactory = nullptr;

private:
    void* handle_ = nullptr;
};

} // namespace Brennovar::Testing
