#include "dialog_preview.h"

#include "localization/translation_table.h"
#include "platform/embedded_resources.h"
#include "refhost/core/host_error.h"
#include "refhost/dialog/dialog_runtime.h"
#include "refhost/dialog/preview/dialog_layout.h"
#include "refhost/dialog/preview/preview_page.h"
#include "refhost/files/output_file.h"
#include "refhost/session/host_session.h"
#include "text_cells.h"
#include "tool_conventions.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

namespace Brennovar::RefHost {

namespace {

using nlohmann::json;

// One language's dialog, laid out.
struct Preview {
    std::string language;
    /// The languages the module's translation document offers.
    std::vector<std::string> offered;
    std::string html;
    int width = 0;
    int height = 0;
    std::vector<TextCut> cuts;
    std::vector<std::string> warnings;
    std::vector<std::string> problems;
};

// Opens the dialog in options.language and lays it out; throws HostError when the session
// cannot start.
void preview(const SessionOptions& options, Preview& result) {
    HostSession session;
    Project& project = session.open(options, result.warnings);
    Host& host = session.host();
    result.language = host.translationService().language();
    for (const auto& language : host.translationService().languages())
        if (language.code != Zintara::TranslationTable::kPseudoLanguage)
            result.offered.emplace_back(language.code);
    std::vector<std::string> problems;
    result.problems = session.showDialog(project, [&](DialogRuntime& runtime) {
        DialogLayout layout(runtime);
        result.width = layout.dialog().width;
        result.height = layout.dialog().height;
        result.cuts = layout.cuts();
        const SkinRegistration& skin = host.dialogService().skins().back();
        try {
            auto bytes = Platform::findResource(skin.module, skin.name);
            if (!bytes)
                throw FileError(skin.name, "", "the module has no resource \"" + skin.name + "\"");
            result.html = PreviewPage::html(layout, AtlasImages::load(runtime.skin(), *bytes),
                                            result.language);
        } catch (const HostError& error) {
            problems.push_back("the skin's icons cannot be drawn: " + error.problem());
        }
        for (const std::string& problem : runtime.problems())
            problems.push_back("the dialog shows a problem: " + problem);
        runtime.close(ResultFalse);
    });
    for (std::string& problem : problems)
        result.problems.push_back(std::move(problem));
    for (std::string& problem : session.finish())
        result.problems.push_back(std::move(problem));
}

json cutsJson(const Preview& preview) {
    json cuts = json::array();
    for (const TextCut& cut : preview.cuts)
        cuts.push_back({{"language", preview.language},
                        {"control", cut.control},
                        {"text", cut.text},
                        {"needed", cut.needed},
                        {"available", cut.available},
                        {"cutBy", cut.needed - cut.available}});
    return cuts;
}

void printCuts(const Preview& preview) {
    for (const TextCut& cut : preview.cuts)
        std::cout << printable(preview.language) << ": " << printable(cut.control) << " \""
                  << printable(cut.text) << "\" does not fit: needs " << cut.needed << " px, has "
                  << cut.available << " px (cut by " << cut.needed - cut.available << " px)\n";
}

} // namespace

int writeDialogPreview(const SessionOptions& options, const std::string& file, bool json) {
    Preview result;
    preview(options, result);
    int status = result.problems.empty() ? kExitOk : kExitCheckFailed;
    if (!result.html.empty()) {
        try {
            OutputFile::replace(file, result.html, options.inputs());
        } catch (const HostError& error) {
            result.problems.push_back(error.what());
            status = kExitOutputFailed;
        }
    }
    if (json) {
        nlohmann::json out = {{"file", file},
                              {"language", result.language},
                              {"width", result.width},
                              {"height", result.height},
                              {"cuts", cutsJson(result)},
                              {"warnings", result.warnings},
                              {"hostProblems", result.problems}};
        ToolConventions::printJson(out);
    } else {
        if (status != kExitOutputFailed && !result.html.empty())
            std::cout << "wrote " << file << ": the dialog in \"" << result.language << "\", "
                      << result.width << " x " << result.height << " px\n";
        printCuts(result);
        std::cout << result.cuts.size() << (result.cuts.size() == 1 ? " text does" : " texts do")
                  << " not fit\n";
        ToolConventions::printProblems(result.warnings, result.problems);
    }
    return status;
}

int checkDialogFit(const SessionOptions& options, bool json) {
    SessionOptions each = options;
    each.language = std::string(Zintara::TranslationTable::kDefaultLanguage);
    Preview first;
    preview(each, first);
    std::vector<std::string> languages = first.offered;
    languages.emplace_back(Zintara::TranslationTable::kPseudoLanguage);

    nlohmann::json out = {{"languages", nlohmann::json::array()}};
    std::size_t cuts = 0;
    // Every language reads the same project and settings: their warnings are said once.
    const std::vector<std::string> warnings = first.warnings;
    std::vector<std::string> problems;
    for (const std::string& language : languages) {
        Preview result;
        each.language = language;
        if (language == first.language)
            result = first;
        else
            preview(each, result);
        cuts += result.cuts.size();
        for (const std::string& problem : result.problems)
            problems.push_back(language + ": " + problem);
        out["languages"].push_back(
            {{"language", language}, {"cuts", cutsJson(result)}, {"fits", result.cuts.empty()}});
        if (!json)
            printCuts(result);
    }
    out["fits"] = cuts == 0;
    out["warnings"] = warnings;
    out["hostProblems"] = problems;
    if (json) {
        ToolConventions::printJson(out);
    } else {
        std::cout << languages.size() << " languages checked, " << cuts
                  << (cuts == 1 ? " text does" : " texts do") << " not fit\n";
        ToolConventions::printProblems(warnings, problems);
    }
    return cuts == 0 && problems.empty() ? kExitOk : kExitCheckFailed;
}

} // namespace Brennovar::RefHost
