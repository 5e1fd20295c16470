#pragma once

#include "host/module_handle.h"
#include "module/funknown.h"

namespace Brennovar {

/// Translation of user-visible texts. The host provides one; the module's own translation table
/// implements the same interface.
class ITranslationService : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("43634416-41C1-4C3B-8559-3DE8AA53E652");
    /// A second id that the module's own table also answers.
    static constexpr Guid alternativeIid = Guid::fromText("ACA41C61-EEA9-4EFE-9C61-A09FFC185D47");

    /// Parses a translation document held in memory; *out is always set to 0 (when not null).
    /// 0 on success, 1 on failure.
    virtual ResultCode loadFromMemory(const void* buffer, int32 size, int32* out) noexcept = 0;
    /// An operation of the host's table without a name; always ResultNotImplemented.
    virtual ResultCode unnamedOperation4() noexcept = 0;
    /// Writes the current two-letter language code and its terminator (3 bytes) into out.
    virtual ResultCode getLanguage(char* out) noexcept = 0;
    /// Copies the translation (at most size - 1 units, then a terminator).
    virtual ResultCode getString(const char16_t* key, char16_t* buffer, int32 size) noexcept = 0;
    /// The translation of key, or the key itself; null for a null key. The text stays owned by
    /// the service.
    virtual const char16_t* translate(const char16_t* key) noexcept = 0;
    /// Loads the named translation resource of a module. 0 on success, 1 on failure.
    virtual ResultCode loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                        const char16_t* identifier) noexcept = 0;
};

} // namespace Brennovar
