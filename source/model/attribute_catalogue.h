#pragma once

#include <span>

namespace Brennovar::Zintara {

class IMappingModel;

/// One row of the fixed attribute vocabulary.
struct CatalogueEntry {
    const char* name;
    const char* key;
    const char* group;
};

/// The attributes that can be read for a new marker, in source-menu order (60 entries).
std::span<const CatalogueEntry> sourceCatalogue() noexcept;
/// The marker attributes that can be written, in target-menu order (23 entries).
std::span<const CatalogueEntry> targetCatalogue() noexcept;

/// Adds a fresh entry for every source row, then for every target row, in table order.
void addCatalogue(IMappingModel& model);
/// Adds the two rows a new settings model starts with.
void addDefaultMapping(IMappingModel& model);

} // namespace Brennovar::Zintara
