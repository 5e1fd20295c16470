#include "localization/translation_dictionary.h"

namespace Brennovar::Zintara {

std::size_t TranslationDictionary::bucketOf(std::u16string_view key) noexcept {
    std::size_t hash = 0;
    for (char16_t unit : key)
        hash = hash * 31 + unit;
    return hash % kBucketCount;
}

bool TranslationDictionary::insert(const Entry& entry) noexcept {
    std::vector<Entry>& bucket = buckets_[bucketOf(entry.key)];
    for (const Entry& existing : bucket)
        if (existing.key == entry.key)
            return false;
    try {
        bucket.push_back(entry);
    } catch (...) {
        return false;
    }
    ++size_;
    return true;
}

const TranslationDictionary::Entry*
TranslationDictionary::find(std::u16string_view key) const noexcept {
    for (const Entry& entry : buckets_[bucketOf(key)])
        if (entry.key == key)
            return &entry;
    return nullptr;
}

void TranslationDictionary::clear() noexcept {
    for (std::vector<Entry>& bucket : buckets_)
        bucket.clear();
    size_ = 0;
}

} // namespace Brennovar::Zintara
