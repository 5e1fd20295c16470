#pragma once

#include "localization/translation_sink.h"

namespace Brennovar::Zintara {

/// Checks, instead of storing, that every translation keeps the printf conversions of its key:
/// each "%" of the key is paired with the next "%" of the text, in order, and where the
/// characters after a pair differ while the key's is a letter, the entry is refused
/// (ResultFailed), which stops the parse. Entries written as "=" are not checked.
class PrintfCheckSink : public TranslationSink {
public:
    void addLanguage(std::string_view code, std::u16string_view name) noexcept override;
    ResultCode addString(std::u16string_view key, std::string_view language,
                         std::u16string_view text) noexcept override;
};

} // namespace Brennovar::Zintara
