#pragma once

#include "module/funknown.h"

namespace Brennovar::Zintara {

class IModel;

/// Writes the settings and the complete mapping rows as attributes of the object's
/// IHostObject face. Rows are numbered from 1 without gaps; incomplete rows are skipped. Every
/// row writes its data value, an empty one included, so that no data of an earlier store stays
/// under its number. Nothing happens when the object is null or has no IHostObject face.
void storeModel(const IModel& model, FUnknown* object) noexcept;

/// Reads back what storeModel wrote. Missing or mistyped settings keep their current values;
/// a stored row count of 0 or more replaces the rows (0: the list was stored empty). Row numbers
/// for which the object holds neither a source nor a target key are skipped; a thousand of them
/// in a row end the reading, so a corrupt count cannot make the work exceed what the object
/// actually holds.
void restoreModel(IModel& model, FUnknown* object) noexcept;

} // namespace Brennovar::Zintara
