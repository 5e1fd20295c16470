#pragma once

#include "host/module_handle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace Brennovar::Platform {

/// Finds the raw data resource (type 10) `name` of the module loaded at `module` (its handle;
/// null means the main program). Names compare without regard to ASCII case. The bytes lie in
/// the module's mapped image and stay valid while the module is loaded. Nothing of the module's
/// code runs. On Windows the lookup is the system's resource loader over the resource section;
/// on Linux it reads the module's program headers and its resource notes (below). Empty when no
/// loaded object starts at `module` or it carries no resource of that name.
std::optional<std::span<const std::uint8_t>> findResource(ModuleHandle module,
                                                          std::string_view name) noexcept;

namespace detail {

/// Linux only. The note owner and note type of a resource (type 10 is the raw data resource type).
inline constexpr std::string_view kResourceNoteOwner = "Brennovar";
inline constexpr std::uint32_t kResourceNoteType = 10;

/// Walks the notes of one note segment (`alignment` is the segment's alignment, 4 or 8) and
/// returns the data of the resource note named `name`. Every size is checked against the
/// segment; a malformed note ends the walk, a malformed resource inside a well-formed note is
/// skipped.
std::optional<std::span<const std::uint8_t>> findInNotes(std::span<const std::uint8_t> segment,
                                                         std::size_t alignment,
                                                         std::string_view name) noexcept;

} // namespace detail

} // namespace Brennovar::Platform
