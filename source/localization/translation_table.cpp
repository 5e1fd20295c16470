#include "localization/translation_table.h"

#include "localization/language_code_table.h"
#include "localization/message_service.h"
#include "localization/parse_failure.h"
#include "localization/printf_check_sink.h"
#include "localization/pseudo_localization.h"
#include "localization/translation_document_reader.h"
#include "platform/code_page.h"
#include "platform/embedded_resources.h"
#include "platform/language.h"
#include "platform/settings_folder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace Brennovar::Zintara {

namespace {

constinit std::atomic<TranslationTable*> currentTable{nullptr};

constexpr std::u16string_view kSameAsDefault = u"=";
constexpr std::u16string_view kPseudoLanguageName = u"Pseudolocalization";

// Language codes match on their first two characters.
bool sameLanguage(std::string_view a, std::string_view b) {
    return a.substr(0, 2) == b.substr(0, 2);
}

std::filesystem::path settingsFile(std::string_view name) {
    std::filesystem::path folder = Platform::settingsFolder();
    if (folder.empty())
        return {};
    return std::filesystem::path(folder) / name;
}

std::span<const std::uint8_t> bytesOf(const void* buffer, std::size_t size) {
    return {static_cast<const std::uint8_t*>(buffer), size};
}

// The first two bytes of "lang.cfg", when the file has them and they are two characters.
std::optional<std::string> languageFromFile() noexcept {
    try {
        std::filesystem::path path = settingsFile(TranslationTable::kLanguageFileName);
        if (path.empty())
            return std::nullopt;
        std::ifstream file(path, std::ios::binary);
        char code[3] = {};
        file.read(code, 2);
        if (std::char_traits<char>::length(code) != 2)
            return std::nullopt;
        return std::string(code);
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace

TranslationTable::TranslationTable(Registration registration) noexcept {
    if (registration == Registration::kMayBecomeCurrent) {
        TranslationTable* none = nullptr;
        currentTable.compare_exchange_strong(none, this);
    }
}

TranslationTable::~TranslationTable() {
    TranslationTable* self = this;
    currentTable.compare_exchange_strong(self, nullptr);
}

TranslationTable* TranslationTable::current() noexcept {
    return currentTable.load();
}

const char16_t* TranslationTable::lookupInCurrent(const char16_t* key) noexcept {
    if (!key)
        return nullptr;
    TranslationTable* table = current();
    return table ? table->lookup(key) : key;
}

ResultCode TranslationTable::queryInterface(const Guid& iid, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    if (iid == ITranslationService::iid || iid == ITranslationService::alternativeIid ||
        iid == FUnknown::iid) {
        addRef();
        *obj = static_cast<ITranslationService*>(this);
        return ResultOk;
    }
    *obj = nullptr;
    return ResultNoInterface;
}

uint32 TranslationTable::addRef() noexcept {
    return static_cast<uint32>(refCount_.fetch_add(1) + 1);
}

uint32 TranslationTable::release() noexcept {
    return static_cast<uint32>(refCount_.fetch_sub(1) - 1);
}

ResultCode TranslationTable::loadFromMemory(const void* buffer, int32 size, int32* out) noexcept {
    if (out)
        *out = 0;
    if (!buffer || size <= 0)
        return ResultFalse;
    return read(bytesOf(buffer, static_cast<std::size_t>(size)), false) ? ResultOk : ResultFalse;
}

ResultCode TranslationTable::unnamedOperation4() noexcept {
    return ResultNotImplemented;
}

ResultCode TranslationTable::getLanguage(char* out) noexcept {
    if (!out)
        return ResultOk;
    const char* code = currentLanguage();
    if (!code)
        code = LanguageCodeTable::codeOfWindowsId(Platform::systemDefaultLanguage());
    std::size_t length = std::min<std::size_t>(std::char_traits<char>::length(code), 2);
    std::copy_n(code, length, out);
    out[length] = '\0';
    return ResultOk;
}

ResultCode TranslationTable::getString(const char16_t* key, char16_t* buffer, int32 size) noexcept {
    if (!key || !buffer || size <= 0)
        return ResultInvalidArgument;
    const char16_t* text = lookup(key);
    if (!text) {
        buffer[0] = u'\0';
        return ResultOk;
    }
    std::size_t length = std::char_traits<char16_t>::length(text);
    std::size_t copied = std::min(length, static_cast<std::size_t>(size) - 1);
    std::copy_n(text, copied, buffer);
    buffer[copied] = u'\0';
    return ResultOk;
}

const char16_t* TranslationTable::translate(const char16_t* key) noexcept {
    return lookup(key);
}

ResultCode TranslationTable::loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                              const char16_t* identifier) noexcept {
    try {
        if (identifier && loadedIdentifiers_.contains(identifier))
            return ResultOk;
        if (!resourceName)
            return ResultFalse;
        std::string name;
        if (!Platform::wideToMultiByte(Platform::kCodePageUtf8, resourceName, name))
            return ResultFalse;
        auto resource = Platform::findResource(module, name);
        if (!resource || !read(*resource, false))
            return ResultFalse;
        if (identifier)
            loadedIdentifiers_.insert(identifier);
        return ResultOk;
    } catch (...) {
        return ResultFalse;
    }
}

bool TranslationTable::hasLanguage(std::string_view code) const noexcept {
    return std::any_of(languages_.begin(), languages_.end(),
                       [&](const Language& language) { return sameLanguage(language.code, code); });
}

void TranslationTable::addLanguage(std::string_view code, std::u16string_view name) noexcept {
    if (hasLanguage(code))
        return;
    const char* storedCode = pool_.store(code);
    const char16_t* storedName = pool_.store(name);
    if (!storedCode || !storedName)
        return;
    try {
        languages_.push_back({storedCode, storedName});
    } catch (...) {
        // Out of memory: the language is simply not offered.
    }
}

const char16_t* TranslationTable::defaultText(std::u16string_view key) const noexcept {
    auto found = defaultTexts_.find(key);
    return found == defaultTexts_.end() ? nullptr : found->second;
}

ResultCode TranslationTable::store(std::u16string_view key, std::u16string_view text,
                                   bool sameAsDefault) noexcept {
    if (dictionary_.find(key))
        return ResultFalse;
    const char16_t* storedKey = pool_.store(key);
    const char16_t* storedText = sameAsDefault ? storedKey : pool_.store(text);
    if (!storedKey || !storedText)
        return ResultFalse;
    return dictionary_.insert({{storedKey, key.size()}, storedText, sameAsDefault}) ? ResultOk
                                                                                    : ResultFalse;
}

ResultCode TranslationTable::addString(std::u16string_view key, std::string_view language,
                                       std::u16string_view text) noexcept {
    std::string_view current = currentCode_.data();
    if (current == kPseudoLanguage) {
        if (dictionary_.find(key))
            return ResultOk;
        try {
            store(key, pseudoText(language == kDefaultLanguage ? text : key, u'[', u']'), false);
        } catch (...) {
            // Out of memory: the key keeps showing untranslated.
        }
        return ResultOk;
    }
    if (language == current) {
        if (text == kSameAsDefault) {
            if (defaultText(key))
                return ResultOk;
            // Resolved at lookup time: the default language's entry may still follow.
            return store(key, key, true);
        }
        return store(key, text, false);
    }
    if (language == kDefaultLanguage) {
        // "=" in the default language itself says "the key", which needs no entry.
        if (text == key || text == kSameAsDefault)
            return ResultFalse;
        // The first text of a key wins; a later one is accepted and never shown.
        if (defaultText(key))
            return ResultOk;
        const char16_t* storedKey = pool_.store(key);
        const char16_t* storedText = pool_.store(text);
        if (!storedKey || !storedText)
            return ResultFalse;
        try {
            defaultTexts_.emplace(std::u16string_view(storedKey, key.size()), storedText);
        } catch (...) {
            return ResultFalse;
        }
        return ResultOk;
    }
    return ResultFalse;
}

const char16_t* TranslationTable::lookup(const char16_t* key) const noexcept {
    if (!key)
        return nullptr;
    if (!loaded_)
        return key;
    if (loadingDisabled_)
        return nullWhenMissing_ ? nullptr : key;
    std::u16string_view keyText(key);
    if (!dictionary_.empty()) {
        const TranslationDictionary::Entry* entry = dictionary_.find(keyText);
        if (entry && entry->translation && entry->translation[0] != u'\0') {
            if (!entry->sameAsDefault)
                return entry->translation;
            const char16_t* text = defaultText(keyText);
            return text ? text : entry->translation;
        }
    }
    if (const char16_t* text = defaultText(keyText))
        return text;
    return nullWhenMissing_ ? nullptr : key;
}

const char* TranslationTable::currentLanguage() const noexcept {
    return currentCode_[0] ? currentCode_.data() : nullptr;
}

void TranslationTable::setCurrentLanguage(std::string_view code) noexcept {
    if (code.size() < 2)
        code = kDefaultLanguage;
    currentCode_ = {code[0], code[1], '\0'};
}

void TranslationTable::activateLanguage(std::string_view code) noexcept {
    setCurrentLanguage(code);
    loaded_ = true;
}

void TranslationTable::publishLanguageIndex() const noexcept {
    const char* code = currentLanguage();
    LanguageCodeTable::setCurrentIndex(code ? LanguageCodeTable::indexOfCode(code)
                                            : LanguageCodeTable::kDefaultIndex);
}

bool TranslationTable::read(std::span<const std::uint8_t> document, bool takeLanguages) noexcept {
    if (loadingDisabled_ || document.empty())
        return false;
    std::optional<ParseFailure> failure =
        TranslationDocumentReader::read(document, *this, takeLanguages);
    if (!failure)
        return true;
    try {
        MessageService::report(TranslationDocumentReader::report(document, *failure));
    } catch (...) {
        // The report is lost; the load still fails.
    }
    return false;
}

bool TranslationTable::loadFile(const std::string& path) noexcept {
    try {
        std::ifstream file(path, std::ios::binary);
        if (!file)
            return false;
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
        if (file.bad())
            return false;
        return read(bytes, true);
    } catch (...) {
        return false;
    }
}

bool TranslationTable::readDefaultDocuments() noexcept {
    try {
        std::filesystem::path loose = settingsFile(kDocumentName);
        if (!loose.empty() && loadFile(loose.string()))
            return true;
    } catch (...) {
        // No loose file then; the resource still counts.
    }
    auto resource = Platform::findResource(nullptr, kDocumentName);
    return resource && read(*resource, true);
}

void TranslationTable::initialise(bool loadingDisabled) noexcept {
    loaded_ = true;
    loadingDisabled_ = loadingDisabled;
    if (loadingDisabled)
        return;
    setCurrentLanguage(languageFromFile().value_or(
        LanguageCodeTable::codeOfWindowsId(Platform::userDefaultUiLanguage())));
    readDefaultDocuments();
    if (isPseudoEnabled())
        addLanguage(kPseudoLanguage, kPseudoLanguageName);
    if (!hasLanguage(currentCode_.data())) {
        dictionary_.clear();
        setCurrentLanguage(kDefaultLanguage);
    }
    publishLanguageIndex();
}

void TranslationTable::initialiseForLanguage(std::string_view code,
                                             DocumentSources sources) noexcept {
    loaded_ = true;
    loadingDisabled_ = false;
    setCurrentLanguage(code);
    if (sources == DocumentSources::kDefault)
        readDefaultDocuments();
    publishLanguageIndex();
}

int TranslationTable::languageIndex() const noexcept {
    const char* code = currentLanguage();
    if (!code)
        return 0;
    for (std::size_t i = 0; i < languages_.size(); ++i)
        if (sameLanguage(languages_[i].code, code))
            return static_cast<int>(i);
    return 0;
}

bool TranslationTable::selectLanguage(int index) noexcept {
    if (index < 0 || static_cast<std::size_t>(index) >= languages_.size())
        return false;
    std::string_view code = languages_[static_cast<std::size_t>(index)].code;
    code = code.substr(0, 2);
    const char* current = currentLanguage();
    if (current && code == current)
        return true;
    try {
        std::filesystem::path file = settingsFile(kLanguageFileName);
        if (file.empty())
            return false;
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(code.data(), static_cast<std::streamsize>(code.size()));
        return static_cast<bool>(out.flush());
    } catch (...) {
        return false;
    }
}

bool TranslationTable::validate(const void* buffer, int32 size, std::string& message,
                                int& line) noexcept {
    message.clear();
    line = 0;
    PrintfCheckSink checker;
    std::optional<ParseFailure> failure =
        buffer && size > 0 ? TranslationDocumentReader::read(
                                 bytesOf(buffer, static_cast<std::size_t>(size)), checker, true)
                           : TranslationDocumentReader::read({}, checker, true);
    if (!failure)
        return true;
    line = failure->line;
    try {
        if (failure->refusedBySink) {
            char text[64];
            std::snprintf(text, sizeof text, "printf mismatch at line %d", line);
            message = text;
        } else {
            message = failure->message;
        }
    } catch (...) {
        message.clear();
    }
    return false;
}

} // namespace Brennovar::Zintara
