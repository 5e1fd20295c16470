#include "refhost/files/settings_file.h"

#include "module/module_names.h"
#include "module/tagged_value.h"
#include "refhost/core/host_error.h"
#include "refhost/core/text_conversion.h"
#include "refhost/files/input_file.h"
#include "refhost/files/json_document.h"
#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <vector>

namespace Brennovar::RefHost {

namespace {

using Json = nlohmann::json;

namespace Names = Zintara::Names;

// The source and target keys the module offers. Others are passed on as a stored project would
// pass them (the module drops such a row), with a warning, since they are most likely typos.
constexpr std::string_view kSourceKeys[] = {"FreeText",
                                            "Counter",
                                            "ProjectName",
                                            "TrackName",
                                            "EventName",
                                            "EventDescription",
                                            "FileName",
                                            "MediaRating",
                                            "MediaComment",
                                            "MediaContentSummary",
                                            "MediaType",
                                            "MediaFamily",
                                            "MediaPendingTags",
                                            "FilePath",
                                            "MediaApplicationType",
                                            "MediaCategoryPost",
                                            "MediaStartTime",
                                            "MediaDuration",
                                            "MediaProjectName",
                                            "AudioReel",
                                            "AudioEpisode",
                                            "MediaTrackTitle",
                                            "MediaTrackNumber",
                                            "SmfTrackCount",
                                            "SmfSongName",
                                            "MediaAlbum",
                                            "MediaReleaseDate",
                                            "SmfCopyRight",
                                            "MediaFrameRate",
                                            "MediaFrameCount",
                                            "MediaDropFrames",
                                            "MediaPullFactor",
                                            "ImgWidth",
                                            "ImgHeight",
                                            "ProgramName",
                                            "ProgramVersion",
                                            "MediaTemplateCategory",
                                            "ImgDisplayWidth",
                                            "ImgDisplayHeight",
                                            "VideoCodecName",
                                            "AudioBWFDescription",
                                            "AudioBWFOrigRef",
                                            "AudioBWFCodingHistory",
                                            "AudioBWFLoudnessValue",
                                            "AudioBWFLoudnessRange",
                                            "AudioBWFMaxTruePeakLevel",
                                            "AudioBWFMaxMomentaryLoudness",
                                            "AudioBWFMaxShortTermLoudness",
                                            "AudioOriginTime",
                                            "AudioRecordDate",
                                            "AudioScene",
                                            "AudioTake",
                                            "AudioNotes",
                                            "AudioFalseStart",
                                            "AudioWildtrack",
                                            "AudioReferenceLevel",
                                            "AudioCDSetName",
                                            "AudioCDName",
                                            "AudioCDTrackNumber",
                                            "AudioIXMLUser"};
constexpr std::string_view kTargetKeys[] = {"MarkerDescription",
                                            "User:STR_MAComment",
                                            "User:STR_MAScriptNote",
                                            "User:STR_MASceneNo",
                                            "User:STR_MASceneLocalization",
                                            "User:STR_MAReel",
                                            "User:STR_MATragetTrack",
                                            "User:STR_MATakeNo",
                                            "User:STR_MACharacter",
                                            "User:STR_MAActorsName",
                                            "User:STR_MADialog",
                                            "User:STR_MADialogTranslation1",
                                            "User:STR_MADialogTranslation2",
                                            "User:STR_MASheetId",
                                            "User:STR_MAQuality",
                                            "User:STR_MAFoleyCategory",
                                            "User:STR_MAShoeType",
                                            "User:STR_MASurfacetype",
                                            "User:STR_MAClothType",
                                            "User:STR_MAPropType",
                                            "User:STR_MAGender",
                                            "User:STR_MASFXCategory",
                                            "User:User:STR_MABGCategory"};

bool known(std::span<const std::string_view> keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

struct Reader {
    const std::string& source;

    [[noreturn]] void fail(const std::string& place, const std::string& problem) const {
        throw FileError(source, place, problem);
    }

    // A name from the table or its number.
    int64 choice(const Json& value, const std::string& place,
                 const std::map<std::string, int64>& names) const {
        if (value.is_number_integer()) {
            for (const auto& [name, number] : names)
                if (value == number)
                    return number;
            fail(place, "the number " + value.dump() + " stands for no choice");
        }
        if (value.is_string()) {
            auto found = names.find(value.get<std::string>());
            if (found != names.end())
                return found->second;
        }
        std::string expected;
        for (const auto& [name, number] : names)
            expected += (expected.empty() ? "\"" : ", \"") + name + "\"";
        fail(place, "expected " + expected + " or its number");
    }

    std::string text(const Json& object, const char* member, const std::string& place) const {
        auto found = object.find(member);
        if (found == object.end())
            fail(place, std::string("missing \"") + member + "\"");
        if (!found->is_string())
            fail(place + "/" + member, "expected a string");
        std::string value = found->get<std::string>();
        if (value.find('\0') != std::string::npos)
            fail(place + "/" + member, "a text may not contain U+0000");
        return value;
    }
};

void put(Project& project, const std::string& key, const FTaggedValue& value) {
    project.root().assignAttribute(key, &value);
}

void removeStoredSettings(Project& project) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : project.root().attributes().entries())
        if (key.starts_with(Names::kSettingsKeyPrefix))
            keys.push_back(key);
    for (const std::string& key : keys)
        project.root().assignAttribute(key, nullptr);
}

} // namespace

std::span<const std::string_view> SettingsFile::sourceKeys() noexcept {
    return kSourceKeys;
}

std::span<const std::string_view> SettingsFile::targetKeys() noexcept {
    return kTargetKeys;
}

std::vector<std::string> SettingsFile::apply(const std::string& path, Project& project) {
    return applyText(InputFile::read(path), path, project);
}

std::vector<std::string> SettingsFile::applyText(std::string_view text, const std::string& source,
                                                 Project& project) {
    Reader reader{source};
    const Json document = JsonDocument::parse(text, source);
    std::vector<std::string> warnings;
    if (!document.is_object())
        reader.fail("/", "expected an object");
    for (const auto& [member, value] : document.items())
        if (member != "markerType" && member != "targetTrackType" && member != "combineAdjacent" &&
            member != "mappings")
            reader.fail("/" + member, "unknown setting");

    int64 markerType = 1;
    int64 targetTrackType = 0;
    bool combine = true;
    if (document.contains("markerType"))
        markerType =
            reader.choice(document["markerType"], "/markerType", {{"position", 0}, {"cycle", 1}});
    if (document.contains("targetTrackType"))
        targetTrackType = reader.choice(document["targetTrackType"], "/targetTrackType",
                                        {{"active", 0}, {"new", 1}, {"perSourceTrack", 2}});
    if (document.contains("combineAdjacent")) {
        if (!document["combineAdjacent"].is_boolean())
            reader.fail("/combineAdjacent", "expected true or false");
        combine = document["combineAdjacent"].get<bool>();
    }
    struct Row {
        std::string source, target;
        std::u16string text;
    };
    std::vector<Row> rows;
    // The rows the module will keep, by target: it keeps the first row of each target.
    std::map<std::string, std::size_t> keptTargets;
    if (document.contains("mappings")) {
        const Json& mappings = document["mappings"];
        if (!mappings.is_array())
            reader.fail("/mappings", "expected an array");
        for (std::size_t i = 0; i < mappings.size(); ++i) {
            std::string place = "/mappings/" + std::to_string(i);
            const Json& row = mappings[i];
            if (!row.is_object())
                reader.fail(place, "expected an object");
            for (const auto& [member, value] : row.items())
                if (member != "source" && member != "target" && member != "text")
                    reader.fail(place + "/" + member, "unknown member");
            Row parsed{reader.text(row, "source", place), reader.text(row, "target", place), {}};
            if (!known(kSourceKeys, parsed.source))
                warnings.push_back(source + ": at " + place +
                                   "/source: the module offers no source \"" + parsed.source +
                                   "\"; it will drop the row");
            if (!known(kTargetKeys, parsed.target))
                warnings.push_back(source + ": at " + place +
                                   "/target: the module offers no target \"" + parsed.target +
                                   "\"; it will drop the row");
            else if (const auto earlier = keptTargets.find(parsed.target);
                     earlier != keptTargets.end())
                warnings.push_back(source + ": at " + place + "/target: \"" + parsed.target +
                                   "\" is already the target of /mappings/" +
                                   std::to_string(earlier->second) + "; it will drop the row");
            else if (known(kSourceKeys, parsed.source))
                keptTargets.emplace(parsed.target, i);
            if (row.contains("text"))
                parsed.text = utf16(reader.text(row, "text", place));
            rows.push_back(std::move(parsed));
        }
    }

    removeStoredSettings(project);
    put(project, Names::kMarkerTypeKey, FTaggedValue::fromInteger(markerType));
    put(project, Names::kTargetTrackTypeKey, FTaggedValue::fromInteger(targetTrackType));
    put(project, Names::kCombineKey, FTaggedValue::fromInteger(combine ? 1 : 0));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        put(project, Names::kMappingSourceKey + n,
            FTaggedValue::fromString8(rows[i].source.c_str()));
        put(project, Names::kMappingTargetKey + n,
            FTaggedValue::fromString8(rows[i].target.c_str()));
        if (!rows[i].text.empty())
            put(project, Names::kMappingDataKey + n,
                FTaggedValue::fromString16(rows[i].text.c_str()));
    }
    // No size without `mappings`, so the module keeps its rows; an empty list stores size 0.
    if (document.contains("mappings"))
        put(project, Names::kMappingSizeKey,
            FTaggedValue::fromInteger(static_cast<int64>(rows.size())));
    return warnings;
}

} // namespace Brennovar::RefHost
