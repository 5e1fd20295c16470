#include "model/attribute_catalogue.h"

#include "model/mapping_model.h"

#include <array>
#include <memory>

namespace Brennovar::Zintara {

namespace {

constexpr const char* kNone = kAttributeGroupNone;
constexpr const char* kMedia = kAttributeGroupMedia;
constexpr const char* kAssets = kAttributeGroupAudioAssets;

// Keys are the host's own identifiers and are kept exactly as the host spells them, irregular
// forms included ("SmfCopyRight", "AudioWildtrack").
constexpr std::array<CatalogueEntry, 60> kSources{{
    {"Free Text", "FreeText", kNone},
    {"Counter", "Counter", kNone},
    {"Project Name", "ProjectName", kNone},
    {"Track Name", "TrackName", kNone},
    {"Event Name", "EventName", kNone},
    {"Event Description", "EventDescription", kNone},
    {"File Name", "FileName", kMedia},
    {"Rating", "MediaRating", kMedia},
    {"Comment", "MediaComment", kMedia},
    {"Content Summary", "MediaContentSummary", kMedia},
    {"Media Type", "MediaType", kMedia},
    {"Family Name", "MediaFamily", kMedia},
    {"Pending Tags", "MediaPendingTags", kMedia},
    {"Path", "FilePath", kMedia},
    {"Application Type", "MediaApplicationType", kMedia},
    {"Category Post", "MediaCategoryPost", kMedia},
    {"Start Time", "MediaStartTime", kMedia},
    {"Duration", "MediaDuration", kMedia},
    {"Project Name", "MediaProjectName", kMedia},
    {"Reel", "AudioReel", kMedia},
    {"Episode", "AudioEpisode", kMedia},
    {"Track Title", "MediaTrackTitle", kMedia},
    {"Track Number", "MediaTrackNumber", kMedia},
    {"Track Count", "SmfTrackCount", kMedia},
    {"Song Name", "SmfSongName", kMedia},
    {"Album", "MediaAlbum", kMedia},
    {"Release Date", "MediaReleaseDate", kMedia},
    {"Copyright", "SmfCopyRight", kMedia},
    {"Frame Rate", "MediaFrameRate", kMedia},
    {"Frame Count", "MediaFrameCount", kMedia},
    {"Drop Frames", "MediaDropFrames", kMedia},
    {"Pull Factor", "MediaPullFactor", kMedia},
    {"Width", "ImgWidth", kMedia},
    {"Height", "ImgHeight", kMedia},
    {"Program Name", "ProgramName", kMedia},
    {"Program Version", "ProgramVersion", kMedia},
    {"Template Category", "MediaTemplateCategory", kMedia},
    {"Display Width", "ImgDisplayWidth", kMedia},
    {"Display Height", "ImgDisplayHeight", kMedia},
    {"Codec", "VideoCodecName", kMedia},
    {"BWF Description", "AudioBWFDescription", kAssets},
    {"BWF Origin Reference", "AudioBWFOrigRef", kAssets},
    {"BWF Coding History", "AudioBWFCodingHistory", kAssets},
    {"BWF Loudness Value", "AudioBWFLoudnessValue", kAssets},
    {"BWF Loudness Range", "AudioBWFLoudnessRange", kAssets},
    {"BWF Max. True Peak Level", "AudioBWFMaxTruePeakLevel", kAssets},
    {"BWF Max. Momentary Loudness", "AudioBWFMaxMomentaryLoudness", kAssets},
    {"BWF Max. Short-term Loudness", "AudioBWFMaxShortTermLoudness", kAssets},
    {"Origin Time", "AudioOriginTime", kAssets},
    {"Record Date", "AudioRecordDate", kAssets},
    {"Scene", "AudioScene", kAssets},
    {"Take", "AudioTake", kAssets},
    {"Notes", "AudioNotes", kAssets},
    {"False Start", "AudioFalseStart", kAssets},
    {"Wild Track", "AudioWildtrack", kAssets},
    {"Reference Level", "AudioReferenceLevel", kAssets},
    {"CD Set Name", "AudioCDSetName", kAssets},
    {"CD Name", "AudioCDName", kAssets},
    {"CD Track Number", "AudioCDTrackNumber", kAssets},
    {"iXML User", "AudioIXMLUser", kAssets},
}};

// The host's marker attribute identifiers, passed to it unchanged; "User:STR_MATragetTrack",
// "User:STR_MASurfacetype" and "User:User:STR_MABGCategory" are the host's spellings.
constexpr std::array<CatalogueEntry, 23> kTargets{{
    {"Description", "MarkerDescription", kNone},
    {"Comment", "User:STR_MAComment", kNone},
    {"Script Note", "User:STR_MAScriptNote", kNone},
    {"Scene No.", "User:STR_MASceneNo", kNone},
    {"Scene Localization", "User:STR_MASceneLocalization", kNone},
    {"Reel", "User:STR_MAReel", kNone},
    {"Target Track", "User:STR_MATragetTrack", kNone},
    {"Take No.", "User:STR_MATakeNo", kNone},
    {"Character", "User:STR_MACharacter", kNone},
    {"Actor's Name", "User:STR_MAActorsName", kNone},
    {"Dialogue", "User:STR_MADialog", kNone},
    {"Dialogue Translation 1", "User:STR_MADialogTranslation1", kNone},
    {"Dialogue Translation 2", "User:STR_MADialogTranslation2", kNone},
    {"Sheet ID", "User:STR_MASheetId", kNone},
    {"Quality", "User:STR_MAQuality", kNone},
    {"Foley Category", "User:STR_MAFoleyCategory", kNone},
    {"Shoe Type", "User:STR_MAShoeType", kNone},
    {"Surface Type", "User:STR_MASurfacetype", kNone},
    {"Cloth Type", "User:STR_MAClothType", kNone},
    {"Prop Type", "User:STR_MAPropType", kNone},
    {"Gender", "User:STR_MAGender", kNone},
    {"SFX Category", "User:STR_MASFXCategory", kNone},
    {"BG Category", "User:User:STR_MABGCategory", kNone},
}};

MappingAttributeHandle makeEntry(const CatalogueEntry& entry) {
    return std::make_shared<MappingAttribute>(entry.key, entry.name, entry.group, false);
}

} // namespace

std::span<const CatalogueEntry> sourceCatalogue() noexcept {
    return kSources;
}

std::span<const CatalogueEntry> targetCatalogue() noexcept {
    return kTargets;
}

void addCatalogue(IMappingModel& model) {
    for (const CatalogueEntry& entry : kSources)
        model.addSourceAttribute(makeEntry(entry));
    for (const CatalogueEntry& entry : kTargets)
        model.addTargetAttribute(makeEntry(entry));
}

void addDefaultMapping(IMappingModel& model) {
    model.addMapping("EventName", "MarkerDescription");
    model.addMapping("TrackName", "User:STR_MAComment");
}

} // namespace Brennovar::Zintara
