#include "engine/marker_attribute_writer.h"

#include "engine/marker_counter.h"
#include "text/cm_string.h"
#include "text/utf8_to_wide.h"

#include <cstring>
#include <string_view>

namespace Brennovar::Zintara {

namespace {

constexpr std::string_view kDescriptionTarget = "MarkerDescription";

/// A host text taken whole; a null text (which a host should never give) reads as empty.
std::u16string hostText(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}

std::u16string decimal(int32 value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string freeText(const FTaggedValue& data) {
    switch (data.kind()) {
    case FTaggedValue::kString8:
        return data.string8 ? utf8ToWide(data.string8, std::strlen(data.string8))
                            : std::u16string();
    case FTaggedValue::kString16:
        return hostText(data.string16);
    default:
        return {};
    }
}

bool isAudioEvent(IHostObject* event) noexcept {
    return event && event->isType("audio");
}

} // namespace

MarkerAttributeWriter::MarkerAttributeWriter(const MarkerContext& context,
                                             Owned<IMediaAttributeService> mediaService) noexcept
    : context_(context), mediaService_(std::move(mediaService)) {
    if (!mediaService_ || !isAudioEvent(context_.event))
        return;
    auto audioEvent = Owned<IAudioEvent>::query(context_.event);
    if (!audioEvent)
        return;
    auto source = Owned<IMediaSource>::query(audioEvent->getClip());
    if (source)
        mediaInfo_.reset(mediaService_->getMediaInfo(source.get()));
}

void MarkerAttributeWriter::writeRows(const MappingList& rows) const {
    for (const MappingEntry& row : rows) {
        if (!row.isComplete())
            continue;
        const std::u16string value = computeValue(row);
        if (!value.empty())
            writeValue(row.target->getKey(), value);
    }
}

std::u16string MarkerAttributeWriter::computeValue(const MappingEntry& row) const {
    if (!row.source || !row.source->getKey())
        return {};
    const std::string_view key = row.source->getKey();
    if (key == "ProjectName")
        return projectName();
    if (key == "TrackName")
        return context_.sourceTrack ? hostText(context_.sourceTrack->getName()) : u"";
    if (key == "EventName")
        return context_.event ? hostText(context_.event->getName()) : u"";
    if (key == "EventDescription")
        return eventDescription();
    if (key == "Counter")
        return decimal(markerCounter());
    if (key == "FreeText")
        return freeText(row.data);
    return mediaAttribute(row.source->getKey());
}

std::u16string MarkerAttributeWriter::projectName() const {
    auto project = Owned<IHostObject>::query(context_.project);
    return project ? hostText(project->getName()) : std::u16string();
}

std::u16string MarkerAttributeWriter::eventDescription() const {
    if (!isAudioEvent(context_.event))
        return {};
    auto audioEvent = Owned<IAudioEvent>::query(context_.event);
    return audioEvent ? hostText(audioEvent->getDescription()) : std::u16string();
}

std::u16string MarkerAttributeWriter::mediaAttribute(const char* key) const {
    if (!mediaService_ || !mediaInfo_)
        return {};
    // Held by reference count rather than on the stack, so that a host that keeps a reference
    // to the text object past the call cannot reach a destroyed one.
    Owned<CmString> text(new CmString());
    if (mediaService_->getAttribute(key, mediaInfo_.get(), static_cast<IString*>(text.get())) !=
        ResultOk)
        return {};
    return hostText(text->wideText());
}

void MarkerAttributeWriter::writeValue(const char* targetKey,
                                       const std::u16string& value) const noexcept {
    if (!targetKey)
        return;
    if (targetKey == kDescriptionTarget) {
        context_.marker->setName(context_.targetNode, value.c_str(), context_.edit);
        return;
    }
    // A 16-bit view of the value, not owning: the host keeps its own copy.
    context_.marker->setAttribute(targetKey, FTaggedValue::fromString16(value.c_str()), true);
}

} // namespace Brennovar::Zintara
