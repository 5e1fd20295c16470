#pragma once

#include "host/module_handle.h"
#include "host/plugin_base.h"
#include "host/plugin_factory.h"
#include "module/owned.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// What a module's factory says about one of its classes. ClassInfo is always there; the other
/// two records only when the factory answers the newer factory interfaces (otherwise zeroed).
struct ModuleClass {
    ClassInfo info{};
    bool hasInfo2 = false;
    ClassInfo2 info2{};
    bool hasInfoUnicode = false;
    ClassInfoUnicode infoUnicode{};
};

/// The text of a fixed-width record field. A module need not terminate a full field, so the
/// text ends at the first zero or at the field's end, whichever comes first.
template <class Char, std::size_t N>
std::basic_string<Char> fieldText(const Char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != 0)
        ++length;
    return std::basic_string<Char>(field, length);
}

/// A result code as a person reads it: its name when it is one of the common codes, and its
/// value in hexadecimal ("ResultNoInterface (0x80004002)").
std::string resultText(ResultCode result);

/// Loads a component module the way a workstation does and keeps track of every reference it
/// obtains, so that unloading gives each one back exactly once.
///
/// load() checks the file (ModuleFileCheck; a bare file name is a file in the current folder),
/// opens the library (RTLD_NOW | RTLD_LOCAL), calls InitDll, takes the factory from
/// GetPluginFactory and reads its information; startService() creates the class of category
/// "Service" and initializes it with the host context; stopService() terminates and releases
/// it; unload() releases the factory, calls ExitDll and closes the library. Each step that
/// fails returns false and leaves a message naming the module, the step and the reason in
/// error(); whatever was obtained before the failure is given back. The destructor unloads.
class ModuleLoader {
public:
    ModuleLoader() = default;
    ModuleLoader(const ModuleLoader&) = delete;
    ModuleLoader& operator=(const ModuleLoader&) = delete;
    ~ModuleLoader();

    bool load(const std::string& path);
    /// Only maps the module and finds its entry points and handle, running none of its code
    /// beyond what loading a library runs: no InitDll, no factory. unload() closes it.
    bool open(const std::string& path);
    /// hostContext is borrowed; the service takes its own references from it.
    bool startService(FUnknown* hostContext);
    /// Terminates the service (when it was initialized) and releases it. False when terminate
    /// answers anything but ResultOk; the service is released either way.
    bool stopService();
    /// Stops the service, releases the factory, calls ExitDll and closes the library. False when
    /// ExitDll reports a failure or the library cannot be closed. Nothing to do: true.
    bool unload();

    bool isLoaded() const { return library_ != nullptr; }
    const std::string& path() const { return path_; }
    const std::string& error() const { return error_; }

    const FactoryInfo& factoryInfo() const { return factoryInfo_; }
    const std::vector<ModuleClass>& classes() const { return classes_; }
    /// The index in classes() of the class that startService creates; -1 before load().
    int serviceClassIndex() const { return serviceClass_; }
    /// The module's load address, by which a host finds its embedded resources.
    ModuleHandle moduleHandle() const { return moduleHandle_; }

    /// The module's factory, borrowed; null when the module is not loaded.
    IPluginFactory* factory() const { return factory_.get(); }
    /// The running service, borrowed; null when it is not running.
    IPluginBase* service() const { return service_.get(); }
    /// Asks the running service for another of its interfaces; empty when it has none.
    template <class T>
    Owned<T> queryService() const {
        return Owned<T>::query(service_.get());
    }

private:
    bool fail(std::string message);
    bool resolveEntryPoints();
    bool readFactory();
    bool readClasses();
    void closeLibrary();

    std::string path_;
    std::string error_;
    void* library_ = nullptr;
    InitDllFunction initDll_ = nullptr;
    ExitDllFunction exitDll_ = nullptr;
    GetPluginFactoryFunction getPluginFactory_ = nullptr;
    bool initDllCalled_ = false;
    ModuleHandle moduleHandle_ = nullptr;

    Owned<IPluginFactory> factory_;
    Owned<IPluginFactory2> factory2_;
    Owned<IPluginFactory3> factory3_;
    FactoryInfo factoryInfo_{};
    std::vector<ModuleClass> classes_;
    int serviceClass_ = -1;

    Owned<FUnknown> instance_;
    Owned<IPluginBase> service_;
    bool initialized_ = false;
};

} // namespace Brennovar::RefHost
