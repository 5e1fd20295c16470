#include "refhost/translation_service.h"

#include "refhost/host_environment.h"

#include <cstring>

namespace Brennovar::RefHost {

ResultCode TranslationService::loadFromMemory(const void* buffer, int32 size, int32* out) noexcept {
    if (out)
        *out = 0;
    return buffer && size >= 0 ? 0 : 1;
}

ResultCode TranslationService::getLanguage(char* out) noexcept {
    if (!out)
        return ResultInvalidArgument;
    std::memcpy(out, "en", 3);
    return ResultOk;
}

ResultCode TranslationService::getString(const char16_t* key, char16_t* buffer,
                                         int32 size) noexcept {
    if (!key || !buffer || size < 1)
        return ResultInvalidArgument;
    int32 length = 0;
    while (length < size - 1 && key[length]) {
        buffer[length] = key[length];
        ++length;
    }
    buffer[length] = 0;
    return ResultOk;
}

const char16_t* TranslationService::translate(const char16_t* key) noexcept {
    return key;
}

ResultCode TranslationService::loadTranslations(ModuleHandle module, const char16_t* resourceName,
                                                const char16_t*) noexcept {
    try {
        requests_.push_back({module, resourceName ? resourceName : u""});
    } catch (...) {
        return 1;
    }
    return environment().faults().failLoadTranslations ? 1 : 0;
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
