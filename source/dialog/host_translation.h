#pragma once

#include "host/i_translation_service.h"
#include "module/host_context.h"

namespace Brennovar::Zintara {

/// The host's translation service as it is at this moment, for the texts of one menu or one
/// set of parameters; a host without one shows the texts as they are.
class HostTranslation {
public:
    HostTranslation() : service_(hostService<ITranslationService>()) {}

    /// The host's translation of the text, or the text itself.
    const char16_t* operator()(const char16_t* text) const noexcept {
        const char16_t* translated = service_ ? service_->translate(text) : nullptr;
        return translated ? translated : text;
    }

private:
    Owned<ITranslationService> service_;
};

} // namespace Brennovar::Zintara
