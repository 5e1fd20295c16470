#include "model/mapping_attribute.h"

#include "platform/code_page.h"

#include <utility>

namespace Brennovar::Zintara {

MappingAttribute::MappingAttribute(const char* key, std::string name, const char* group,
                                   bool used) noexcept
    : key_(key), name_(std::move(name)), group_(group), used_(used) {}

const char16_t* MappingAttribute::getTitle() const noexcept {
    if (title_.isEmpty() && !name_.empty())
        title_ = String(name_.c_str(), Platform::kCodePageUtf8);
    return title_.wideText();
}

} // namespace Brennovar::Zintara
