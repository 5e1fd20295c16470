#pragma once

#include "engine/marker_context.h"
#include "host/media.h"
#include "model/mapping_model.h"
#include "module/owned.h"

#include <string>

namespace Brennovar::Zintara {

/// Fills the attributes of one marker from the mapping rows. Holds the media attribute service
/// and the media information of the marker's event for as long as the marker is written.
class MarkerAttributeWriter {
public:
    /// Looks up the media information of the context's event when a service is given and the
    /// event is an audio event; any missing link leaves it unknown. The context is borrowed
    /// and must outlive the writer.
    MarkerAttributeWriter(const MarkerContext& context,
                          Owned<IMediaAttributeService> mediaService) noexcept;
    MarkerAttributeWriter(const MarkerAttributeWriter&) = delete;
    MarkerAttributeWriter& operator=(const MarkerAttributeWriter&) = delete;

    /// Writes each complete row's value to its target attribute, in row order. A row whose value
    /// is empty leaves its target untouched.
    void writeRows(const MappingList& rows) const;

    /// The value of a row's source for the current marker; empty when the source has none.
    std::u16string computeValue(const MappingEntry& row) const;

private:
    std::u16string projectName() const;
    std::u16string eventDescription() const;
    std::u16string mediaAttribute(const char* key) const;
    void writeValue(const char* targetKey, const std::u16string& value) const noexcept;

    const MarkerContext& context_;
    Owned<IMediaAttributeService> mediaService_;
    Owned<FUnknown> mediaInfo_;
};

} // namespace Brennovar::Zintara
