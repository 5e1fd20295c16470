#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace Brennovar::Zintara {

/// Key → translation for the current language: a hash table of 2048 buckets over texts that a
/// StringPool owns. The first entry for a key wins.
class TranslationDictionary {
public:
    static constexpr std::size_t kBucketCount = 2048;

    /// One stored translation. `sameAsDefault` marks an entry written as "=" in the document:
    /// its text is the default language's text for the key, decided at lookup time so that it
    /// does not depend on whether the default language's entry comes before or after it.
    struct Entry {
        std::u16string_view key;
        const char16_t* translation = nullptr;
        bool sameAsDefault = false;
    };

    /// False (and nothing changes) when the key is already present or memory runs out. `key`
    /// must stay valid as long as the dictionary holds it.
    bool insert(const Entry& entry) noexcept;
    /// The entry of exactly this key (case-sensitive), or null.
    const Entry* find(std::u16string_view key) const noexcept;
    void clear() noexcept;

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

private:
    static std::size_t bucketOf(std::u16string_view key) noexcept;

    std::array<std::vector<Entry>, kBucketCount> buckets_;
    std::size_t size_ = 0;
};

} // namespace Brennovar::Zintara
