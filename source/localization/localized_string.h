#pragma once

#include <atomic>

namespace Brennovar::Zintara {

/// One of the component's user-visible English texts and its localized form. Declared as a
/// static; the text is looked up once in the module's current translation table and then kept
/// for the module's life, so later language changes do not affect it.
///
///     static LocalizedString title(u"Add Markers");
///     const char16_t* shown = title.lookup();
class LocalizedString {
public:
    explicit constexpr LocalizedString(const char16_t* key) noexcept : key_(key) {}
    LocalizedString(const LocalizedString&) = delete;
    LocalizedString& operator=(const LocalizedString&) = delete;

    const char16_t* key() const noexcept { return key_; }

    /// The localized text, never null: the current language's translation, else the default
    /// language's text, else the key (pseudo-translated when pseudolocalization is active); an
    /// empty translation gives the empty text.
    const char16_t* lookup() noexcept;

private:
    const char16_t* key_;
    // Atomic so that two first uses at once agree on one text.
    std::atomic<const char16_t*> cached_{nullptr};
};

} // namespace Brennovar::Zintara
