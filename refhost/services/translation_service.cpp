#include "refhost/services/translation_service.h"

#include "localization/language_code_table.h"
#include "localization/translation_document_reader.h"
#include "platform/embedded_resources.h"
#include "platform/language.h"
#include "refhost/core/host_environment.h"
#include "refhost/core/text_conversion.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace Brennovar::RefHost {

using Zintara::LanguageCodeTable;
using Zintara::TranslationTable;

namespace {

// Takes only the language table of a translation document.
class LanguageList : public Zintara::TranslationSink {
public:
    explicit LanguageList(std::vector<TranslationService::OfferedLanguage>& languages)
        : languages_(languages) {}
    void addLanguage(std::string_view code, std::u16string_view name) noexcept override {
        try {
            if (std::none_of(languages_.begin(), languages_.end(),
                             [&](const auto& language) { return language.code == code; }))
                languages_.push_back({std::string(code), std::u16string(name)});
        } catch (...) {
            // Out of memory: the language is not listed.
        }
    }
    ResultCode addString(std::u16string_view, std::string_view,
                         std::u16string_view) noexcept override {
        return ResultOk;
    }

private:
    std::vector<TranslationService::OfferedLanguage>& languages_;
};

} // namespace

TranslationService::TranslationService(HostEnvironment& environment) : HostFaces(environment) {
    setLanguage(LanguageCodeTable::codeOfWindowsId(Platform::userDefaultUiLanguage()));
}

void TranslationService::setLanguage(std::string_view code) {
    language_ = code.substr(0, 2);
    table_ = std::make_unique<TranslationTable>(TranslationTable::Registration::kPrivate);
    table_->initialiseForLanguage(language_, TranslationTable::DocumentSources::kNone);
}

ResultCode TranslationService::loadFromMemory(const void* buffer, int32 size, int32* out) noexcept {
    return table_->loadFromMemory(buffer, size, out);
}

ResultCode TranslationService::getLanguage(char* out) noexcept {
    if (!out)
        return ResultInvalidArgument;
    std::memcpy(out, language_.c_str(), language_.size() + 1);
    return ResultOk;
}

ResultCode TranslationService::getString(const char16_t* key, char16_t* buffer,
                                         int32 size) noexcept {
    if (!key || !buffer || size < 1)
        return ResultInvalidArgument;
    return table_->getString(key, buffer, size);
}

const char16_t* TranslationService::translate(const char16_t* key) noexcept {
    return table_->translate(key);
}

ResultCode TranslationService::loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                                const char16_t* identifier) noexcept {
    ResultCode result = environment().faults().failLoadTranslations
                            ? 1
                            : table_->loadTranslations(module, resourceName, identifier);
    if (result == ResultOk && resourceName) {
        LanguageList list(languages_);
        if (auto document = Platform::findResource(module, utf8(resourceName)))
            Zintara::TranslationDocumentReader::read(*document, list, true);
    }
    try {
        requests_.push_back({module, resourceName ? resourceName : u"", result});
    } catch (...) {
        return 1;
    }
    return result;
}

FUnknown* TranslationService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == ITranslationService::iid)
        return static_cast<ITranslationService*>(this);
    return nullptr;
}

std::string TranslationService::describe() const {
    return "service ITranslationService";
}

std::string TranslationService::offeredText() const {
    std::string list;
    for (const auto& language : languages_)
        list += (list.empty() ? "" : ", ") + language.code + " (" + utf8(language.name) + ")";
    return list.empty() ? "none" : list;
}

std::string TranslationService::languageWarning(const std::string& requested) const {
    // Pseudolocalization is the module's own, offered whatever its document lists.
    if (requested.empty() || requested == Zintara::TranslationTable::kPseudoLanguage)
        return {};
    std::string lower = requested;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string nearest;
    for (const auto& language : languages_) {
        if (language.code == requested)
            return {};
        if (language.code == lower || (lower == "en" && language.code == "us"))
            nearest = language.code;
    }
    return "the module offers no language \"" + requested + "\"" +
           (nearest.empty() ? "" : " (did you mean \"" + nearest + "\"?)") +
           "; its texts stay untranslated. Offered: " + offeredText();
}

} // namespace Brennovar::RefHost
