#pragma once

#include "host/i_translation_service.h"
#include "localization/translation_table.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <memory>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// ITranslationService of the host: a translation table for the host's language, filled with
/// what modules load into it (loadTranslations reads the module's embedded translation
/// document). Texts without a translation are their own translation.
class TranslationService : public HostFaces<CountedObject, ITranslationService> {
public:
    /// The host's language is the user's UI language until setLanguage.
    explicit TranslationService(HostEnvironment& environment);

    /// Switches to the language with this two-letter code ("de", "fr", ...; "us" is English).
    /// Translations loaded before are dropped: set the language before modules load theirs.
    void setLanguage(std::string_view code);
    const std::string& language() const noexcept { return language_; }

    ResultCode loadFromMemory(const void* buffer, int32 size, int32* out) noexcept override;
    ResultCode unnamedOperation4() noexcept override { return ResultNotImplemented; }
    /// Writes the host's language code and its terminator. ResultInvalidArgument for null.
    ResultCode getLanguage(char* out) noexcept override;
    /// Copies the translation (at most size - 1 units, then a terminator). ResultInvalidArgument
    /// for a null key or buffer or a size below 1.
    ResultCode getString(const char16_t* key, char16_t* buffer, int32 size) noexcept override;
    /// The translation, or the key itself; null for null.
    const char16_t* translate(const char16_t* key) noexcept override;
    /// Loads the named translation resource of the module: 0 on success, 1 when it is missing or
    /// malformed (and under the failLoadTranslations fault).
    ResultCode loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                const char16_t* identifier) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    struct Request {
        ModuleHandle module = nullptr;
        std::u16string resourceName;
        ResultCode result = 0;
    };
    /// A language that a loaded translation document offers.
    struct OfferedLanguage {
        std::string code;
        std::u16string name;
    };
    /// The languages the loaded translation documents offer, in their order.
    const std::vector<OfferedLanguage>& languages() const noexcept { return languages_; }
    /// The offered languages as one text: "de (Deutsch), us (English), ..." or "none".
    std::string offeredText() const;
    /// Empty when the module offers the requested language (or none was requested); otherwise
    /// a warning that names the code, the nearest offered one and the list, since the host then
    /// shows the module's texts untranslated.
    std::string languageWarning(const std::string& requested) const;

    /// Every loadTranslations call, in order.
    const std::vector<Request>& requests() const noexcept { return requests_; }

private:
    std::string language_;
    std::unique_ptr<Zintara::TranslationTable> table_;
    std::vector<OfferedLanguage> languages_;
    std::vector<Request> requests_;
};

} // namespace Brennovar::RefHost
