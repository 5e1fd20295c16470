#include "info_command.h"

#include "language_option.h"
#include "module/fuid.h"
#include "platform/embedded_resources.h"
#include "refhost/core/text_conversion.h"
#include "refhost/files/json_writer.h"
#include "refhost/resources/skin_container.h"
#include "refhost/services/translation_service.h"
#include "refhost/session/host_session.h"
#include "tool_conventions.h"

#include <climits>
#include <cstdio>
#include <expat.h>
#include <iostream>
#include <memory>
#include <set>
#include <string>

namespace Brennovar::RefHost {

namespace {

/// The resources a module of this kind is known to carry.
constexpr const char* kKnownResources[] = {"skin.kxp", "translation.xml"};

/// Texts the module's dialog shows besides those of its skin: it looks them up and passes them
/// to the host's translation.
constexpr const char16_t* kControllerTexts[] = {u"Active Marker Track",
                                                u"New Marker Track",
                                                u"New Marker Track per Source Track",
                                                u"Add Markers",
                                                u"Media",
                                                u"Audio - Assets"};

/// The texts of the skin's titles, tips, captions and placeholders, in document order, each once.
std::vector<std::string> skinTexts(ModuleHandle module) {
    std::vector<std::string> texts;
    auto bytes = Platform::findResource(module, "skin.kxp");
    std::string error;
    std::optional<SkinContainer> container;
    if (bytes)
        container = readContainer(*bytes, error);
    if (!container)
        return texts;
    for (const ContainerEntry& entry : container->entries) {
        if (entry.name != "skin.xml")
            continue;
        struct Collector {
            std::vector<std::string>* texts;
            std::set<std::string> seen;
        } collector{&texts, {}};
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &collector);
        XML_SetStartElementHandler(
            parser, [](void* data, const XML_Char*, const XML_Char** attributes) {
                auto* c = static_cast<Collector*>(data);
                for (int i = 0; attributes[i]; i += 2) {
                    std::string name = attributes[i];
                    if ((name == "title" || name == "tip" || name == "placeholder") &&
                        c->seen.insert(attributes[i + 1]).second)
                        c->texts->push_back(attributes[i + 1]);
                }
            });
        XML_Parse(parser, reinterpret_cast<const char*>(entry.data.data()),
                  static_cast<int>(entry.data.size()), 1);
        XML_ParserFree(parser);
    }
    return texts;
}

std::string orNone(const std::string& text) {
    return text.empty() ? "(none)" : text;
}

std::string factoryFlags(int32 flags) {
    std::string text = std::to_string(flags);
    std::string meaning;
    for (int bit = 0; bit < 32; ++bit) {
        if (!(static_cast<uint32>(flags) & (1u << bit)))
            continue;
        meaning += meaning.empty() ? "" : ", ";
        meaning += bit == 4 ? "class information in 16-bit text" : "bit " + std::to_string(bit);
    }
    return meaning.empty() ? text : text + " (" + meaning + ")";
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
    if (!entry.hasInfoUnicode) {
        printField("16-bit record", "not offered");
        return;
    }
    const ClassInfoUnicode& wide = entry.infoUnicode;
    bool same = entry.hasInfo2 && utf8(fieldText(wide.name)) == fieldText(entry.info2.name) &&
                utf8(fieldText(wide.vendor)) == fieldText(entry.info2.vendor) &&
                utf8(fieldText(wide.version)) == fieldText(entry.info2.version) &&
                utf8(fieldText(wide.sdkVersion)) == fieldText(entry.info2.sdkVersion) &&
                fieldText(wide.category) == fieldText(entry.info2.category) &&
                fieldText(wide.subCategories) == fieldText(entry.info2.subCategories) &&
                wide.classFlags == entry.info2.classFlags && wide.classId == entry.info2.classId;
    if (same) {
        printField("16-bit record", "the same texts");
        return;
    }
    printField("16-bit record", "differs:");
    printField("  name", utf8(fieldText(wide.name)));
    printField("  category", fieldText(wide.category));
    printField("  vendor", orNone(utf8(fieldText(wide.vendor))));
    printField("  version", orNone(utf8(fieldText(wide.version))));
    printField("  SDK version", orNone(utf8(fieldText(wide.sdkVersion))));
}

void printModule(const ModuleLoader& loader) {
    const FactoryInfo& factory = loader.factoryInfo();
    std::cout << "Module " << loader.path() << '\n';
    std::cout << "  load address    " << loader.moduleHandle() << "\n\n";
    std::cout << "Factory\n";
    printField("vendor", orNone(fieldText(factory.vendor)), false);
    printField("url", orNone(fieldText(factory.url)), false);
    printField("email", orNone(fieldText(factory.email)), false);
    printField("flags", factoryFlags(factory.flags), false);
    std::cout << "\nClasses (" << loader.classes().size() << ")\n";
    for (std::size_t i = 0; i < loader.classes().size(); ++i)
        printClass(i, loader.classes()[i]);
}

void printDialogTexts(Host& host, ModuleHandle module) {
    TranslationService& translations = host.translationService();
    std::cout << "\nDialog texts (" << translations.language() << ")\n";
    auto print = [&translations](const std::u16string& key) {
        std::cout << "  " << utf8(key) << " -> " << utf8(translations.translate(key.c_str()))
                  << '\n';
    };
    for (const std::string& text : skinTexts(module))
        print(utf16(text));
    for (const char16_t* text : kControllerTexts)
        print(text);
}

void printService(Host& host) {
    const std::vector<Command>& commands = host.commands();
    std::cout << "\nService\n";
    std::cout << "  initialize      ResultOk\n";
    std::cout << "  commands (" << commands.size() << ")\n";
    for (const Command& command : commands)
        std::cout << "    \"" << utf8(command.title) << "\"\n      category " << command.category
                  << ", name \"" << command.name << "\", flags " << command.flags << '\n';
    for (const SkinRegistration& skin : host.dialogService().skins())
        std::cout << "  skin            " << skin.name
                  << (skin.accepted ? " (registered)" : " (refused: " + skin.error + ")") << '\n';
    for (const TranslationService::Request& request : host.translationService().requests())
        std::cout << "  translations    " << utf8(request.resourceName) << " (requested)\n";
}

void printResources(const ModuleLoader& loader) {
    std::cout << "\nResources\n";
    for (const char* name : kKnownResources) {
        auto bytes = Platform::findResource(loader.moduleHandle(), name);
        std::cout << "  " << name << std::string(16 - std::string(name).size(), ' ')
                  << (bytes ? std::to_string(bytes->size()) + " bytes" : std::string("not found"))
                  << '\n';
    }
}

/// The description while the module is loaded, as the start of one JSON object; the caller
/// adds what comes at the end of the session.
void describeJson(JsonWriter& out, HostSession& session, bool started) {
    const ModuleLoader& loader = session.loader();
    Host& host = session.host();
    out.beginObject().member("module", loader.path());
    const FactoryInfo& factory = loader.factoryInfo();
    out.key("factory").beginObject();
    out.member("vendor", fieldText(factory.vendor)).member("url", fieldText(factory.url));
    out.member("email", fieldText(factory.email)).member("flags", factory.flags).endObject();
    out.key("classes").beginArray();
    for (const ModuleClass& entry : loader.classes()) {
        out.beginObject().member("name", fieldText(entry.info.name));
        out.member("classId", FUID(entry.info.classId).toString());
        out.member("category", fieldText(entry.info.category));
        out.member("cardinality", entry.info.cardinality);
        if (entry.hasInfo2) {
            out.member("classFlags", static_cast<std::int64_t>(entry.info2.classFlags));
            out.member("subCategories", fieldText(entry.info2.subCategories));
            out.member("vendor", fieldText(entry.info2.vendor));
            out.member("version", fieldText(entry.info2.version));
            out.member("sdkVersion", fieldText(entry.info2.sdkVersion));
        }
        out.endObject();
    }
    out.endArray().key("resources").beginObject();
    for (const char* name : kKnownResources) {
        auto bytes = Platform::findResource(loader.moduleHandle(), name);
        out.key(name);
        if (bytes)
            out.value(static_cast<std::int64_t>(bytes->size()));
        else
            out.value(false);
    }
    out.endObject().key("service").beginObject().member("started", started);
    out.key("commands").beginArray();
    for (const Command& command : host.commands())
        out.beginObject()
            .member("title", utf8(command.title))
            .member("category", command.category)
            .member("name", command.name)
            .member("flags", command.flags)
            .endObject();
    out.endArray().key("skins").beginArray();
    for (const SkinRegistration& skin : host.dialogService().skins())
        out.beginObject()
            .member("name", skin.name)
            .member("accepted", skin.accepted)
            .member("error", skin.error)
            .endObject();
    out.endArray().endObject();
    TranslationService& translations = host.translationService();
    out.member("language", translations.language()).key("languages").beginArray();
    for (const auto& language : translations.languages())
        out.beginObject()
            .member("code", language.code)
            .member("name", utf8(language.name))
            .endObject();
    out.endArray().key("dialogTexts").beginArray();
    if (started) {
        auto add = [&](const std::u16string& key) {
            out.beginObject()
                .member("text", utf8(key))
                .member("translation", utf8(translations.translate(key.c_str())))
                .endObject();
        };
        for (const std::string& dialogText : skinTexts(loader.moduleHandle()))
            add(utf16(dialogText));
        for (const char16_t* dialogText : kControllerTexts)
            add(dialogText);
    }
    out.endArray();
}

std::string summaryOf(HostSession& session, bool started) {
    const std::size_t classes = session.loader().classes().size();
    std::string text = std::to_string(classes) + (classes == 1 ? " class" : " classes");
    if (!started)
        return text + ", the service did not start";
    const std::size_t commands = session.host().commands().size();
    return text + ", " + std::to_string(commands) + (commands == 1 ? " command" : " commands") +
           " registered";
}

int runInfo(const std::string& modulePath, const std::string& language, bool json) {
    if (modulePath.empty())
        throw HostError(kExitBadInput, "--module needs a file name");
    HostSession session;
    if (!language.empty())
        session.host().translationService().setLanguage(language);
    if (!session.load(modulePath))
        throw HostError(kExitModuleFailed, session.loader().error());
    if (!json) {
        printModule(session.loader());
        printResources(session.loader());
    }
    int status = kExitOk;
    const bool started = session.startService();
    std::vector<std::string> warnings;
    if (started) {
        if (std::string warning = session.host().translationService().languageWarning(language);
            !warning.empty())
            warnings.push_back(std::move(warning));
        if (!json) {
            printService(session.host());
            std::cout << "  languages       " << session.host().translationService().offeredText()
                      << '\n';
            printDialogTexts(session.host(), session.loader().moduleHandle());
        }
    } else {
        if (!json)
            std::cout << "\nService\n  not started: " << session.loader().error() << '\n';
        status = kExitModuleFailed;
    }
    const std::string summary = summaryOf(session, started);
    std::vector<std::string> problems;
    if (json) {
        std::string text;
        JsonWriter out(text);
        describeJson(out, session, started);
        problems = session.finish();
        out.key("warnings").beginArray();
        for (const std::string& warning : warnings)
            out.value(warning);
        out.endArray().key("problems").beginArray();
        for (const std::string& problem : problems)
            out.value(problem);
        out.endArray().member("summary", summary).endObject();
        std::cout << text << '\n';
    } else {
        problems = session.finish();
        std::cout << '\n' << summary << '\n';
        ToolConventions::printWarnings(warnings);
        for (const std::string& problem : problems)
            std::cerr << "zintara-host: " << problem << '\n';
    }
    if (!problems.empty() && status == kExitOk)
        status = kExitCheckFailed;
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
    ToolConventions::setAction(*info, *json, [modulePath, language, json] {
        return runInfo(*modulePath, *language, *json);
    });
}

} // namespace Brennovar::RefHost
