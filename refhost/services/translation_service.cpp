#include "refhost/services/translation_service.h"

#include "localization/language_code_table.h"
#include "platform/language.h"
#include "refhost/core/host_environment.h"

#include <cstring>

namespace Brennovar::RefHost {

using Zintara::LanguageCodeTable;
using Zintara::TranslationTable;

TranslationService::TranslationService(HostEnvironment& environment) : HostFaces(environment) {
    setLanguage(LanguageCodeTable::codeOfWindowsId(Platform::userDefaultUiLanguage()));
}

void TranslationService::setLanguage(std::string_view code) {
    language_ = code.substr(0, 2);
    table_ = std::make_unique<TranslationTable>(TranslationTable::Registration::kPrivate);
    table_->initialiseForLanguage(language_, TranslationTable::DocumentSources::kNone);
}

std::vector<std::string> TranslationService::languages() const {
    std::vector<std::string> codes;
    for (const TranslationTable::Language& language : table_->languages())
        codes.emplace_back(language.code);
    return codes;
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

} // namespace Brennovar::RefHost
