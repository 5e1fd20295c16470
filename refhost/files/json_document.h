#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// Parses the JSON documents the reference host reads (projects, settings, scripts) with the
/// checks a plain parse lacks: a duplicate member is an error (a document would keep only one of
/// them), a NUL byte is one (a reader taking the text as a C string would ignore the rest), and
/// so is nesting deeper than kMaxNesting, so a small hostile file cannot take unbounded time or
/// memory. Errors are FileErrors with the line and column of a syntax error
/// ("the number 1e309 is too large for a double" included) or the JSON pointer of the object
/// at fault.
class JsonDocument {
public:
    /// A project needs some ten levels plus two for each folder.
    static constexpr std::size_t kMaxNesting = 100;

    /// `source` names the document in errors.
    static nlohmann::json parse(std::string_view text, const std::string& source);
};

} // namespace Brennovar::RefHost
