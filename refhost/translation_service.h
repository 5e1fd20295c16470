#pragma once

#include "host/translation_service.h"
#include "refhost/counted_object.h"
#include "refhost/host_faces.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// ITranslationService of the host. It has no translations of its own yet: translate(key) is
/// the key itself, getString copies the key, and the host's language is English ("en").
/// loadTranslations records the request and answers 0 (1 under the failLoadTranslations fault).
class TranslationService : public HostFaces<CountedObject, ITranslationService> {
public:
    explicit TranslationService(HostEnvironment& environment) : HostFaces(environment) {}

    /// Accepts any document (nothing to parse into yet): 0; *out is set to 0. 1 for a null
    /// buffer or a negative size.
    ResultCode loadFromMemory(const void* buffer, int32 size, int32* out) noexcept override;
    ResultCode unnamedOperation4() noexcept override { return ResultNotImplemented; }
    /// Writes "en" and its terminator. ResultInvalidArgument for null.
    ResultCode getLanguage(char* out) noexcept override;
    /// Copies the key (at most size - 1 units, then a terminator). ResultInvalidArgument for a
    /// null key or buffer or a size below 1.
    ResultCode getString(const char16_t* key, char16_t* buffer, int32 size) noexcept override;
    /// The key itself; null for null.
    const char16_t* translate(const char16_t* key) noexcept override;
    ResultCode loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                const char16_t* identifier) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    struct Request {
        ModuleHandle module = nullptr;
        std::u16string resourceName;
    };
    /// Every loadTranslations call, in order.
    const std::vector<Request>& requests() const noexcept { return requests_; }

private:
    std::vector<Request> requests_;
};

} // namespace Brennovar::RefHost
