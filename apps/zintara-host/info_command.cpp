#include "info_command.h"

#include "language_option.h"
#include "module/fuid.h"
#include "module/module_names.h"
#include "platform/embedded_resources.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/skin_document.h"
#include "refhost/loading/module_loader.h"
#include "refhost/session/host_session.h"
#include "tool_conventions.h"

#include <climits>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>

namespace Brennovar::RefHost {

namespace {

using Json = nlohmann::ordered_json;

/// The resources a module of this kind is known to carry.
constexpr const char* kKnownResources[] = {Zintara::Names::kSkinResource,
                                           Zintara::Names::kTranslationResource};

/// Texts the module's dialog shows besides those of its skin: it looks them up and passes them
/// to the host's translation.
constexpr const char16_t* kControllerTexts[] = {u"Active Marker Track",
                                                u"New Marker Track",
                                                u"New Marker Track per Source Track",
                                                u"Add Markers",
                                                u"Media",
                                                u"Audio - Assets"};

/// Everything info reports, gathered once while the module is loaded; the text and the JSON are
/// both written from it after the session has ended.
struct ModuleReport {
    const ModuleLoader* loader = nullptr;
    std::string chosen;
    std::string loadAddress;
    std::vector<std::pair<std::string, std::optional<std::size_t>>> resources;
    bool started = false;
    std::string startError;
    std::vector<Command> commands;
    std::vector<SkinRegistration> skins;
    std::vector<std::string> requested;
    std::string language;
    std::string offered;
    Json languages = Json::array();
    std::vector<std::pair<std::string, std::string>> dialogTexts;
    std::vector<std::string> warnings;
    std::vector<std::string> problems;
    std::string summary;
};

/// The texts of the skin's titles, tips and placeholders, in document order, each once.
void collectSkinTexts(const SkinElement& element, std::set<std::string>& seen,
                      std::vector<std::string>& texts) {
    for (const auto& [name, value] : element.attributes)
        if ((name == "title" || name == "tip" || name == "placeholder") &&
            seen.insert(value).second)
            texts.push_back(value);
    for (const SkinElement& child : element.children)
        collectSkinTexts(child, seen, texts);
}

std::vector<std::string> skinTexts(ModuleHandle module) {
    std::vector<std::string> texts;
    std::set<std::string> seen;
    try {
        if (auto bytes = Platform::findResource(module, Zintara::Names::kSkinResource))
            collectSkinTexts(SkinDocument::fromContainer(*bytes).root(), seen, texts);
    } catch (const HostError&) {
        // A skin the host cannot read has no texts to list; the service says it was refused.
    }
    return texts;
}

void collectService(ModuleReport& report, Host& host, ModuleHandle module) {
    report.commands = host.commands();
    report.skins = host.dialogService().skins();
    for (const TranslationService::Request& request : host.translationService().requests())
        report.requested.push_back(utf8(request.resourceName));
    TranslationService& translations = host.translationService();
    for (const std::string& text : skinTexts(module))
        report.dialogTexts.emplace_back(text, utf8(translations.translate(utf16(text).c_str())));
    for (const char16_t* text : kControllerTexts)
        report.dialogTexts.emplace_back(utf8(text), utf8(translations.translate(text)));
}

std::string count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

int collect(HostSession& session, const std::string& modulePath, const std::string& language,
            ModuleReport& report) {
    if (!session.load(modulePath))
        throw HostError(kExitModuleFailed, session.loader().error());
    const ModuleLoader& loader = session.loader();
    Host& host = session.host();
    report.loader = &loader;
    std::ostringstream address;
    address << loader.moduleHandle();
    report.loadAddress = address.str();
    for (const char* name : kKnownResources) {
        auto bytes = Platform::findResource(loader.moduleHandle(), name);
        report.resources.emplace_back(name, bytes ? std::optional(bytes->size()) : std::nullopt);
    }
    report.started = session.startService();
    if (report.started) {
        collectService(report, host, loader.moduleHandle());
        if (std::string warning = host.translationService().languageWarning(language);
            !warning.empty())
            report.warnings.push_back(std::move(warning));
    } else {
        report.startError = session.loader().error();
    }
    report.language = host.translationService().language();
    report.offered = host.translationService().offeredText();
    for (const auto& offered : host.translationService().languages())
        report.languages.push_back({{"code", offered.code}, {"name", utf8(offered.name)}});
    report.summary = count(loader.classes().size(), "class", "classes") +
                     (report.started ? ", " + count(report.commands.size(), "command", "commands") +
                                           " registered"
                                     : ", the service did not start");
    report.problems = session.finish();
    if (!report.started)
        return kExitModuleFailed;
    return report.problems.empty() ? kExitOk : kExitCheckFailed;
}

std::string orNone(const std::string& text) {
    return text.empty() ? "(none)" : text;
}

std::string factoryFlags(int32 flags) {
    std::string meaning;
    for (int bit = 0; bit < 32; ++bit) {
        if (!(static_cast<uint32>(flags) & (1u << bit)))
            continue;
        meaning += meaning.empty() ? "" : ", ";
        meaning += bit == 4 ? "class information in 16-bit text" : "bit " + std::to_string(bit);
    }
    return std::to_string(flags) + (meaning.empty() ? "" : " (" + meaning + ")");
}

std::string cardinality(int32 value) {
    if (value == INT32_MAX)
        return std::to_string(value) + " (any number of instances)";
    return std::to_string(value) + (value == 1 ? " (one instance)" : " instances");
}

/// One labelled line; class details are indented one step further than the rest.
void printField(const char* label, const std::string& value, bool classDetail = true) {
    std::cout << (classDetail ? "    " : "  ") << label
              << std::string(16 - std::string(label).size(), ' ') << value << '\n';
}

bool sameTexts(const ModuleClass& entry) {
    const ClassInfoUnicode& wide = entry.infoUnicode;
    const ClassInfo2& info = entry.info2;
    return entry.hasInfo2 && utf8(fieldText(wide.name)) == fieldText(info.name) &&
           utf8(fieldText(wide.vendor)) == fieldText(info.vendor) &&
           utf8(fieldText(wide.version)) == fieldText(info.version) &&
           utf8(fieldText(wide.sdkVersion)) == fieldText(info.sdkVersion) &&
           fieldText(wide.category) == fieldText(info.category) &&
           fieldText(wide.subCategories) == fieldText(info.subCategories) &&
           wide.classFlags == info.classFlags && wide.classId == info.classId;
}

void printClass(std::size_t index, const ModuleClass& entry) {
    std::cout << "  [" << index << "] " << fieldText(entry.info.name) << '\n';
    printField("class id", FUID(entry.info.classId).toString());
    printField("category", fieldText(entry.info.category));
    printField("cardinality", cardinality(entry.info.cardinality));
    if (!entry.hasInfo2) {
        printField("details", "not offered (no extended class information)");
    } else {
        const ClassInfo2& info = entry.info2;
        printField("class flags", std::to_string(info.classFlags));
        printField("sub-categories", orNone(fieldText(info.subCategories)));
        printField("vendor", orNone(fieldText(info.vendor)));
        printField("version", orNone(fieldText(info.version)));
        printField("SDK version", orNone(fieldText(info.sdkVersion)));
    }
    if (!entry.hasInfoUnicode)
        return printField("16-bit record", "not offered");
    if (sameTexts(entry))
        return printField("16-bit record", "the same texts");
    const ClassInfoUnicode& wide = entry.infoUnicode;
    printField("16-bit record", "differs:");
    printField("  name", utf8(fieldText(wide.name)));
    printField("  category", fieldText(wide.category));
    printField("  vendor", orNone(utf8(fieldText(wide.vendor))));
    printField("  version", orNone(utf8(fieldText(wide.version))));
    printField("  SDK version", orNone(utf8(fieldText(wide.sdkVersion))));
}

void printText(const ModuleReport& report) {
    const ModuleLoader& loader = *report.loader;
    const FactoryInfo& factory = loader.factoryInfo();
    std::cout << "Module " << loader.path() << " (" << report.chosen << ")\n  load address    "
              << report.loadAddress << "\n\nFactory\n";
    printField("vendor", orNone(fieldText(factory.vendor)), false);
    printField("url", orNone(fieldText(factory.url)), false);
    printField("email", orNone(fieldText(factory.email)), false);
    printField("flags", factoryFlags(factory.flags), false);
    std::cout << "\nClasses (" << loader.classes().size() << ")\n";
    for (std::size_t i = 0; i < loader.classes().size(); ++i)
        printClass(i, loader.classes()[i]);
    std::cout << "\nResources\n";
    for (const auto& [name, size] : report.resources)
        std::cout << "  " << name << std::string(16 - name.size(), ' ')
                  << (size ? std::to_string(*size) + " bytes" : std::string("not found")) << '\n';
    std::cout << "\nService\n";
    if (!report.started) {
        std::cout << "  not started: " << report.startError << '\n';
    } else {
        std::cout << "  initialize      ResultOk\n  commands (" << report.commands.size() << ")\n";
        for (const Command& command : report.commands)
            std::cout << "    \"" << utf8(command.title) << "\"\n      category "
                      << command.category << ", name \"" << command.name << "\", flags "
                      << command.flags << '\n';
        for (const SkinRegistration& skin : report.skins)
            std::cout << "  skin            " << skin.name
                      << (skin.accepted ? " (registered)" : " (refused: " + skin.error + ")")
                      << '\n';
        for (const std::string& resource : report.requested)
            std::cout << "  translations    " << resource << " (requested)\n";
        std::cout << "  languages       " << report.offered << "\n\nDialog texts ("
                  << report.language << ")\n";
        for (const auto& [text, translation] : report.dialogTexts)
            std::cout << "  " << text << " -> " << translation << '\n';
    }
    std::cout << '\n' << report.summary << '\n';
    ToolConventions::printProblems(report.warnings, report.problems);
}

Json describeJson(const ModuleReport& report) {
    const ModuleLoader& loader = *report.loader;
    const FactoryInfo& factory = loader.factoryInfo();
    Json out = {{"module", loader.path()},
                {"moduleChosen", report.chosen},
                {"factory",
                 {{"vendor", fieldText(factory.vendor)},
                  {"url", fieldText(factory.url)},
                  {"email", fieldText(factory.email)},
                  {"flags", factory.flags}}},
                {"classes", Json::array()}};
    for (const ModuleClass& entry : loader.classes()) {
        Json item = {{"name", fieldText(entry.info.name)},
                     {"classId", FUID(entry.info.classId).toString()},
                     {"category", fieldText(entry.info.category)},
                     {"cardinality", entry.info.cardinality}};
        if (entry.hasInfo2) {
            item["classFlags"] = entry.info2.classFlags;
            item["subCategories"] = fieldText(entry.info2.subCategories);
            item["vendor"] = fieldText(entry.info2.vendor);
            item["version"] = fieldText(entry.info2.version);
            item["sdkVersion"] = fieldText(entry.info2.sdkVersion);
        }
        out["classes"].push_back(std::move(item));
    }
    Json& resources = out["resources"] = Json::object();
    for (const auto& [name, size] : report.resources)
        resources[name] = size ? Json(*size) : Json(false);
    Json service = {
        {"started", report.started}, {"commands", Json::array()}, {"skins", Json::array()}};
    for (const Command& command : report.commands)
        service["commands"].push_back({{"title", utf8(command.title)},
                                       {"category", command.category},
                                       {"name", command.name},
                                       {"flags", command.flags}});
    for (const SkinRegistration& skin : report.skins)
        service["skins"].push_back(
            {{"name", skin.name}, {"accepted", skin.accepted}, {"error", skin.error}});
    out["service"] = std::move(service);
    out["language"] = report.language;
    out["languages"] = report.languages;
    out["dialogTexts"] = Json::array();
    for (const auto& [text, translation] : report.dialogTexts)
        out["dialogTexts"].push_back({{"text", text}, {"translation", translation}});
    out["warnings"] = report.warnings;
    out["problems"] = report.problems;
    out["summary"] = report.summary;
    return out;
}

int runInfo(const std::string& modulePath, const std::string& chosen, const std::string& language,
            bool json) {
    if (modulePath.empty())
        throw HostError(kExitBadInput, "--module needs a file name");
    HostSession session;
    if (!language.empty())
        session.host().translationService().setLanguage(language);
    ModuleReport report;
    report.chosen = chosen;
    const int status = collect(session, modulePath, language, report);
    if (json)
        ToolConventions::printJson(describeJson(report));
    else
        printText(report);
    return status;
}

} // namespace

void addInfoCommand(CLI::App& app) {
    auto modulePath = std::make_shared<std::string>(kDefaultModule);
    auto language = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    CLI::App* info = app.add_subcommand(
        "info", "Show the module's factory and classes, what its service registers with a host, "
                "and the resources it carries");
    info->add_option("--module", *modulePath, "The module to load")->capture_default_str();
    addLanguageOption(*info, *language);
    ToolConventions::addJsonFlag(*info, *json);
    ToolConventions::setAction(*info, *json, [info, modulePath, language, json] {
        const std::string chosen =
            info->count("--module") > 0 ? "--module" : ToolConventions::defaultModule().reason;
        return runInfo(*modulePath, chosen, *language, *json);
    });
}

int printVersion(bool json) {
    const ModuleChoice& choice = ToolConventions::defaultModule();
    ModuleLoader loader;
    const bool loaded = loader.load(choice.path);
    std::string version;
    const int service = loader.serviceClassIndex();
    if (loaded && service >= 0 && loader.classes()[static_cast<std::size_t>(service)].hasInfo2)
        version = fieldText(loader.classes()[static_cast<std::size_t>(service)].info2.version);
    if (json) {
        Json module = {{"path", choice.path}, {"chosen", choice.reason}};
        Json out = {{"version", ZINTARA_HOST_VERSION}, {"module", module}};
        if (loaded)
            out["module"]["version"] = version;
        else
            out["error"] = {{"status", kExitModuleFailed}, {"message", loader.error()}};
        ToolConventions::printJson(out);
    } else {
        std::cout << "zintara-host " << ZINTARA_HOST_VERSION << "\nmodule " << choice.path << " ("
                  << choice.reason << ")";
        if (loaded)
            std::cout << ", version " << orNone(version);
        std::cout << '\n';
        if (!loaded)
            ToolConventions::report(HostError(kExitModuleFailed, loader.error()), false);
    }
    return loaded ? kExitOk : kExitModuleFailed;
}

} // namespace Brennovar::RefHost
