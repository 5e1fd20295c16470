// The battery's tests of the module as a library: what a host's plug-in scan and its load and
// unload cycles do to it.
#include "refhost/core/host_error.h"
#include "refhost/loading/module_exports.h"
#include "refhost/session/host_session.h"
#include "refhost/validation/validation_check.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace Brennovar::RefHost {

namespace {

constexpr double kScanWarningSeconds = 0.1;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

CheckOutcome loadBindNow(const CheckSettings& settings, std::mt19937_64&) {
    ModuleLoader loader;
    if (!loader.load(settings.module))
        return CheckOutcome::failed(loader.error());
    if (!loader.unload())
        return CheckOutcome::failed(loader.error());
    return CheckOutcome::passed();
}

CheckOutcome exactExports(const CheckSettings& settings, std::mt19937_64&) {
    std::vector<std::string> sorted;
    try {
        sorted = moduleExports(settings.module);
    } catch (const HostError& error) {
        return CheckOutcome::failed(error.what());
    }
    const std::vector<std::string> expected = {"ExitDll", "GetPluginFactory", "InitDll"};
    std::sort(sorted.begin(), sorted.end());
    if (sorted == expected)
        return CheckOutcome::passed();
    std::string listed;
    for (const std::string& name : sorted)
        listed += (listed.empty() ? "" : ", ") + name;
    return CheckOutcome::failed("exports " + std::to_string(sorted.size()) +
                                " symbols, expected exactly InitDll, ExitDll and "
                                "GetPluginFactory: " +
                                listed);
}

CheckOutcome scanTime(const CheckSettings& settings, std::mt19937_64&) {
    double slowest = 0;
    for (int scan = 0, scans = scaled(settings.level, 1, 20); scan < scans; ++scan) {
        const auto start = std::chrono::steady_clock::now();
        ModuleLoader loader;
        if (!loader.load(settings.module) || !loader.unload())
            return CheckOutcome::failed(loader.error());
        slowest = std::max(slowest, secondsSince(start));
    }
    if (slowest > kScanWarningSeconds)
        return CheckOutcome::warning("a scan took " + std::to_string(std::lround(slowest * 1000)) +
                                     " ms (load, factory, records, release, unload); hosts "
                                     "expect under 100 ms");
    return CheckOutcome::passed();
}

// The factory's answers to what a careless host asks, and whether its three records of each
// class tell the same story.
CheckOutcome factoryAnswers(const CheckSettings& settings, std::mt19937_64& random) {
    ModuleLoader loader;
    if (!loader.load(settings.module))
        return CheckOutcome::failed(loader.error());
    IPluginFactory* factory = loader.factory();
    const int32 count = factory->countClasses();
    std::vector<std::string> problems;
    auto expect = [&](bool ok, const std::string& what) {
        if (!ok)
            problems.push_back(what);
    };
    ClassInfo info{};
    for (int32 index : {-1, count, count + 1, static_cast<int32>(random() | 0x80000000u)})
        expect(factory->getClassInfo(index, &info) == ResultInvalidArgument,
               "getClassInfo(" + std::to_string(index) + ") is not refused");
    expect(count < 1 || factory->getClassInfo(0, nullptr) == ResultInvalidArgument,
           "getClassInfo with a null record is not refused");
    Guid unknown{};
    for (auto& byte : unknown.bytes)
        byte = static_cast<std::uint8_t>(random());
    void* object = &info;
    expect(factory->createInstance(unknown, FUnknown::iid, &object) == ResultNoInterface && !object,
           "createInstance of an unknown class does not answer ResultNoInterface with null");
    for (const ModuleClass& entry : loader.classes()) {
        const std::string name = fieldText(entry.info.name);
        object = &info;
        expect(factory->createInstance(entry.info.classId, unknown, &object) == ResultNoInterface &&
                   !object,
               "createInstance of \"" + name +
                   "\" for an unknown interface does not answer "
                   "ResultNoInterface with null");
        if (entry.hasInfo2)
            expect(entry.info2.classId == entry.info.classId &&
                       fieldText(entry.info2.name) == name &&
                       fieldText(entry.info2.category) == fieldText(entry.info.category) &&
                       entry.info2.cardinality == entry.info.cardinality,
                   "getClassInfo2 of \"" + name + "\" disagrees with getClassInfo");
        if (entry.hasInfoUnicode && entry.hasInfo2) {
            const std::string name2 = fieldText(entry.info2.name);
            const std::string version = fieldText(entry.info2.version);
            expect(entry.infoUnicode.classId == entry.info.classId &&
                       fieldText(entry.infoUnicode.name) ==
                           std::u16string(name2.begin(), name2.end()) &&
                       fieldText(entry.infoUnicode.version) ==
                           std::u16string(version.begin(), version.end()) &&
                       fieldText(entry.infoUnicode.category) == fieldText(entry.info2.category),
                   "getClassInfoUnicode of \"" + name + "\" disagrees with getClassInfo2");
        }
    }
    if (!loader.unload())
        problems.push_back(loader.error());
    return problems.empty() ? CheckOutcome::passed() : CheckOutcome::failed(joined(problems));
}

// Load and unload cycles in one host, each starting and stopping the service, with every
// reference the module took from the host given back.
CheckOutcome entryPointCycles(const CheckSettings& settings, std::mt19937_64&) {
    const int cycles = scaled(settings.level, 1, 10000);
    Host host;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        ModuleLoader loader;
        bool ok = loader.load(settings.module) && loader.startService(host.context()) &&
                  loader.stopService();
        host.releaseClientObjects();
        ok = loader.unload() && ok;
        if (!ok)
            return CheckOutcome::failed("cycle " + std::to_string(cycle) + ": " + loader.error());
    }
    const ReferenceReport report = host.references();
    if (!report.clean()) {
        std::string text = report.text();
        return CheckOutcome::failed("after " + std::to_string(cycles) +
                                    " cycles: " + text.substr(0, text.find('\n')) +
                                    (text.find('\n') + 1 < text.size() ? " (and more)" : ""));
    }
    return CheckOutcome::passed();
}

// Several service objects of the module alive in one host at once, as when a host opens a
// second window on the same module.
CheckOutcome sideBySide(const CheckSettings& settings, std::mt19937_64&) {
    HostSession session;
    if (!session.load(settings.module) || !session.startService())
        return CheckOutcome::failed(session.loader().error());
    const ModuleLoader& loader = session.loader();
    const Guid& classId =
        loader.classes()[static_cast<std::size_t>(loader.serviceClassIndex())].info.classId;
    std::vector<Owned<IPluginBase>> services;
    std::vector<std::string> problems;
    for (int i = 1, count = scaled(settings.level, 2, 16); i < count; ++i) {
        Owned<IPluginBase> service;
        ResultCode result =
            loader.factory()->createInstance(classId, IPluginBase::iid, service.putVoid());
        if (result != ResultOk || !service) {
            service.detach();
            problems.push_back("createInstance of instance " + std::to_string(i + 1) +
                               " answered " + resultText(result));
            break;
        }
        if ((result = service->initialize(session.host().context())) != ResultOk)
            problems.push_back("initialize of instance " + std::to_string(i + 1) + " answered " +
                               resultText(result));
        services.push_back(std::move(service));
    }
    for (auto& service : services)
        if (ResultCode result = service->terminate(); result != ResultOk)
            problems.push_back("terminate answered " + resultText(result));
    services.clear();
    for (std::string& problem : session.finish())
        problems.push_back(std::move(problem));
    return problems.empty() ? CheckOutcome::passed() : CheckOutcome::failed(joined(problems));
}

} // namespace

std::vector<ValidationCheck> loadingChecks() {
    return {
        {"load-bind-now", "loads with every symbol bound at once and unloads", loadBindNow},
        {"exports", "exports exactly InitDll, ExitDll and GetPluginFactory", exactExports},
        {"scan-time", "load, factory, records, release and unload; a warning above 100 ms",
         scanTime},
        {"factory-answers", "unknown ids and bad indexes refused, the three records agree",
         factoryAnswers},
        {"entry-point-cycles",
         "InitDll/ExitDll and load/unload cycles, 1 to 10 000 with level, "
         "every reference given back",
         entryPointCycles},
        {"side-by-side-instances", "several service instances alive and initialized at once",
         sideBySide},
    };
}

} // namespace Brennovar::RefHost
