#pragma once

#include <cstddef>
#include <cstdint>

/// The names under which the module meets its hosts: its commands, the attributes that carry its
/// settings in a project, its embedded resources and the format of its packed skin container.
/// The module, the reference host and the tools take them from here, so they cannot drift apart.
namespace Brennovar::Zintara::Names {

// Commands, registered and run under one category.
inline constexpr char kCommandCategory[] = "Project";
inline constexpr char kDialogCommand[] = "Create Markers From Selected Events...";
inline constexpr char kCurrentSettingsCommand[] =
    "Create Markers From Selected Events with current Settings";

// Project attributes holding the settings. The row keys get the row number (from 1) appended.
// "Adjancent" is the spelling that existing projects carry.
inline constexpr char kSettingsKeyPrefix[] = "CreateZintaraModelData";
inline constexpr char kMarkerTypeKey[] = "CreateZintaraModelDataMarkerType";
inline constexpr char kTargetTrackTypeKey[] = "CreateZintaraModelDataTargetTrackType";
inline constexpr char kCombineKey[] = "CreateZintaraModelDataCombineAdjancent";
inline constexpr char kMappingSourceKey[] = "CreateZintaraModelDataMappingSource";
inline constexpr char kMappingTargetKey[] = "CreateZintaraModelDataMappingTarget";
inline constexpr char kMappingDataKey[] = "CreateZintaraModelDataMappingData";
inline constexpr char kMappingSizeKey[] = "CreateZintaraModelDataMappingSize";

// Embedded resources, and what the skin container holds.
inline constexpr char kSkinResource[] = "skin.kxp";
inline constexpr char16_t kSkinResource16[] = u"skin.kxp";
inline constexpr char kTranslationResource[] = "translation.xml";
inline constexpr char16_t kTranslationResource16[] = u"translation.xml";
inline constexpr char kSkinDocument[] = "skin.xml";
inline constexpr char kDialogTemplate[] = "ZintaraDialog";

// The packed container: the header line, the entries, the directory, the digest (upper-case
// hexadecimal) and the trailer, which ends with the magic.
inline constexpr char kContainerHeader[] = "Brennovar Resource File\r\n";
inline constexpr std::size_t kContainerHeaderSize = sizeof kContainerHeader - 1;
inline constexpr char kContainerMagic[] = "KXP2";
inline constexpr std::size_t kContainerMagicSize = sizeof kContainerMagic - 1;
inline constexpr std::uint32_t kContainerDigestSize = 32;
inline constexpr std::uint32_t kContainerTrailerSize = 16;
inline constexpr std::uint32_t kContainerTailSize = kContainerDigestSize + kContainerTrailerSize;
// Entry flag bits.
inline constexpr std::uint32_t kContainerEntryPacked = 2;
inline constexpr std::uint32_t kContainerEntryCompressed = 4;

} // namespace Brennovar::Zintara::Names
