#pragma once

#include "module/funknown.h"

#include <string_view>

namespace Brennovar::Zintara {

/// Receives the content of a translation document in document order: the translation table
/// itself, or a checking sink that only validates.
class TranslationSink {
public:
    virtual ~TranslationSink() = default;

    /// A language of the document's language table.
    virtual void addLanguage(std::string_view code, std::u16string_view name) noexcept = 0;
    /// One translation of `key` into `language`. 0 stored, 1 dropped; ResultFailed stops the
    /// parse.
    virtual ResultCode addString(std::u16string_view key, std::string_view language,
                                 std::u16string_view text) noexcept = 0;
};

} // namespace Brennovar::Zintara
