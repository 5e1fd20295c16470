// Fuzz target for the project file reader: any document must be read or refused with a
// FileError, never crash or hang; a document that is read writes out a document that
// reads back and writes out the same again. The quick reader (ProjectOutline, which
// ProjectFile::parse tries first) and the document reader alone must come to the same: the same
// project, or the same message.
#include "refhost/files/json_document.h"
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace Brennovar::RefHost;

/// What the document reader alone makes of the text: the project written, or the message.
std::string byDocumentReader(Host& host, std::string_view text) {
    try {
        nlohmann::json document = JsonDocument::parse(text, "fuzz.json");
        return ProjectFile::write(ProjectFile::build(host, document, "fuzz.json"));
    } catch (const FileError& e) {
        return std::string("refused: ") + e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Host host;
    std::string written;
    try {
        written = ProjectFile::write(ProjectFile::parse(host, text, "fuzz.json"));
    } catch (const FileError& e) {
        if (byDocumentReader(host, text) != std::string("refused: ") + e.what())
            __builtin_trap();
        return 0;
    }
    if (byDocumentReader(host, text) != written)
        __builtin_trap();
    // What the writer wrote, the reader must read: a FileError here escapes and is a finding too.
    if (ProjectFile::write(ProjectFile::parse(host, written, "written.json")) != written)
        __builtin_trap();
    return 0;
}
