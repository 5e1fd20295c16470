#include "model/mapping_attribute.h"

#include <utility>

namespace Brennovar::Zintara {

MappingAttribute::MappingAttribute(const char* key, std::string name, const char* group,
                                   bool used) noexcept
    : key_(key), name_(std::move(name)), group_(group), used_(used) {}

} // namespace Brennovar::Zintara
