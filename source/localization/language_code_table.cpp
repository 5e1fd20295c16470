#include "localization/language_code_table.h"

#include <atomic>

namespace Brennovar::Zintara {

namespace {

struct LanguageCode {
    const char* code;
    std::uint16_t windowsId;
};

constexpr LanguageCode kCodes[LanguageCodeTable::kSize] = {
    {"us", 0x09}, {"de", 0x07}, {"fr", 0x0C}, {"jp", 0x11}, {"es", 0x0A}, {"it", 0x10},
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"el", 0x08}, {"fi", 0x0B}, {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"ko", 0x12},
    {"nl", 0x13}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},
    {"hr", 0x1A}, {"sr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E},
    {"tr", 0x1F}, {"ur", 0x20}, {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24},
    {"et", 0x25}, {"lv", 0x26}, {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A}, {"hy", 0x2B},
    {"az", 0x2C}, {"eu", 0x2D}, {"mk", 0x2F}, {"af", 0x36}, {"fo", 0x38}, {"hi", 0x39},
    {"ms", 0x3E}, {"bp", 0x16},
};

std::atomic<int> currentLanguageIndex{0};

} // namespace

const char* LanguageCodeTable::code(int index) noexcept {
    if (index < 0 || index >= kSize)
        index = kDefaultIndex;
    return kCodes[index].code;
}

int LanguageCodeTable::indexOfCode(std::string_view code) noexcept {
    if (code.size() < 2)
        return kDefaultIndex;
    for (int i = 0; i < kSize; ++i)
        if (code.substr(0, 2) == kCodes[i].code)
            return i;
    return kDefaultIndex;
}

int LanguageCodeTable::indexOfWindowsId(std::uint16_t primaryId) noexcept {
    for (int i = 0; i < kSize; ++i)
        if (kCodes[i].windowsId == primaryId)
            return i;
    return kDefaultIndex;
}

int LanguageCodeTable::currentIndex() noexcept {
    return currentLanguageIndex.load();
}

void LanguageCodeTable::setCurrentIndex(int index) noexcept {
    currentLanguageIndex.store(index);
}

} // namespace Brennovar::Zintara
