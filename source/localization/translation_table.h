#pragma once

#include "host/i_translation_service.h"
#include "localization/string_pool.h"
#include "localization/translation_dictionary.h"
#include "localization/translation_sink.h"
#include "module/module_names.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Brennovar::Zintara {

/// The texts of one user language: a dictionary from English key texts to their translations,
/// the texts of the default language ("us"), and the languages that the documents offered.
///
/// The module keeps one table as a static object (see module_translation_table.h); the first
/// table constructed becomes the module-wide current table that LocalizedString reads.
///
/// A host that wants to translate a module's texts itself (the reference host does) makes its
/// own instance and fills it from the module:
///
///     TranslationTable table(TranslationTable::Registration::kPrivate);
///     table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
///     table.loadTranslations(moduleHandle, u"translation.xml", nullptr);
///     const char16_t* text = table.translate(u"Add Markers");
///
/// kNone keeps the table from reading a loose "translation.xml" or the host program's own
/// resource, so it holds exactly what the module supplies.
///
/// The table is an ITranslationService (it also answers the alternative id and FUnknown), but
/// its lifetime belongs to whoever constructed it: addRef and release only count. Every
/// operation runs on the host's calling thread.
class TranslationTable : public ITranslationService, public TranslationSink {
public:
    enum class Registration {
        /// Becomes the module-wide current table when there is none yet.
        kMayBecomeCurrent,
        /// Never becomes the current table (the pseudolocalization table, a host's own table).
        kPrivate,
    };
    enum class DocumentSources {
        /// The loose "translation.xml" in the settings folder, else the main program's resource.
        kDefault,
        /// None: the caller loads what it wants.
        kNone,
    };
    struct Language {
        const char* code;
        const char16_t* name;
    };

    static constexpr std::string_view kDefaultLanguage = "us";
    static constexpr std::string_view kPseudoLanguage = "xx";
    static constexpr std::string_view kDocumentName = Names::kTranslationResource;
    static constexpr std::string_view kLanguageFileName = "lang.cfg";

    explicit TranslationTable(Registration registration = Registration::kMayBecomeCurrent) noexcept;
    ~TranslationTable() override;
    TranslationTable(const TranslationTable&) = delete;
    TranslationTable& operator=(const TranslationTable&) = delete;

    /// The module-wide current table, or null.
    static TranslationTable* current() noexcept;
    /// The lookup in the current table; the key itself when there is no current table.
    static const char16_t* lookupInCurrent(const char16_t* key) noexcept;

    // FUnknown
    ResultCode queryInterface(const Guid& iid, void** obj) noexcept override;
    uint32 addRef() noexcept override;
    uint32 release() noexcept override;

    // ITranslationService
    ResultCode loadFromMemory(const void* buffer, int32 size, int32* out) noexcept override;
    ResultCode unnamedOperation4() noexcept override;
    ResultCode getLanguage(char* out) noexcept override;
    /// A negative size is refused like 0.
    ResultCode getString(const char16_t* key, char16_t* buffer, int32 size) noexcept override;
    const char16_t* translate(const char16_t* key) noexcept override;
    ResultCode loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                const char16_t* identifier) noexcept override;

    // TranslationSink: the class's own virtual operations.
    /// Ignored when a language with the same first two code characters is present.
    void addLanguage(std::string_view code, std::u16string_view name) noexcept override;
    /// 0 stored, 1 dropped. Only the current language goes to the dictionary; "us" texts that
    /// differ from their key go to the default-language list; "=" stands for the default
    /// language's text. With the current language "xx" every entry stores a pseudo-translation.
    ResultCode addString(std::u16string_view key, std::string_view language,
                         std::u16string_view text) noexcept override;

    /// Loads the table for the user: language from "lang.cfg" in the settings folder (else the
    /// user's UI language), then the default documents, then the pseudolocalization language
    /// when enabled; a language that the documents do not offer falls back to "us". With
    /// `loadingDisabled` nothing is read and every lookup gives the key.
    void initialise(bool loadingDisabled) noexcept;
    /// Loads the table for the given language (its first two characters; "us" when shorter)
    /// without "lang.cfg" or pseudolocalization.
    void initialiseForLanguage(std::string_view code,
                               DocumentSources sources = DocumentSources::kDefault) noexcept;
    /// Makes `code` (its first two characters) the current language and marks the table loaded,
    /// reading nothing and leaving the library's language index alone.
    void activateLanguage(std::string_view code) noexcept;
    /// Reads a document file, languages taken over.
    bool loadFile(const std::string& path) noexcept;
    /// Writes the code of the language at `index` of the language list to "lang.cfg" when it
    /// differs from the current one; it takes effect at the next initialisation. False for an
    /// index outside the list or when the file cannot be written.
    bool selectLanguage(int index) noexcept;
    /// The list position of the current language; 0 when it is not in the list.
    int languageIndex() const noexcept;
    /// Parses a document with a checking sink instead of the table, without a report: printf
    /// conversions of every translation must match its key. On failure `message` is
    /// "printf mismatch at line N" or the parser's message, and `line` the line.
    static bool validate(const void* buffer, int32 size, std::string& message, int& line) noexcept;

    /// The translation of `key`: current language, then default language, then the key itself
    /// (null instead of the key when nullWhenMissing is set). Null for a null key.
    const char16_t* lookup(const char16_t* key) const noexcept;

    bool isLoaded() const noexcept { return loaded_; }
    void setNullWhenMissing(bool value) noexcept { nullWhenMissing_ = value; }
    /// The current language code, null until initialised.
    const char* currentLanguage() const noexcept;
    const std::vector<Language>& languages() const noexcept { return languages_; }
    std::size_t dictionarySize() const noexcept { return dictionary_.size(); }
    std::size_t defaultTextCount() const noexcept { return defaultTexts_.size(); }

private:
    bool read(std::span<const std::uint8_t> document, bool takeLanguages) noexcept;
    bool readDefaultDocuments() noexcept;
    void setCurrentLanguage(std::string_view code) noexcept;
    void publishLanguageIndex() const noexcept;
    const char16_t* defaultText(std::u16string_view key) const noexcept;
    ResultCode store(std::u16string_view key, std::u16string_view text,
                     bool sameAsDefault) noexcept;
    bool hasLanguage(std::string_view code) const noexcept;

    std::atomic<int32> refCount_{1};
    StringPool pool_;
    std::vector<Language> languages_;
    TranslationDictionary dictionary_;
    // The default language's texts by key, so that neither an "=" entry nor a lookup scans them
    // all. Keys and texts live in the pool.
    std::unordered_map<std::u16string_view, const char16_t*> defaultTexts_;
    std::array<char, 3> currentCode_{};
    bool loaded_ = false;
    bool loadingDisabled_ = false;
    bool nullWhenMissing_ = false;
    std::set<std::u16string> loadedIdentifiers_;
};

} // namespace Brennovar::Zintara
