// Fuzz target for the project file reader: any document must be read or refused with a
// FileError, never crash or hang; a document that is read writes out a document that
// reads back and writes out the same again.
#include "refhost/files/project_file.h"
#include "refhost/host/host.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace Brennovar::RefHost;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Host host;
    std::string written;
    try {
        written = ProjectFile::write(ProjectFile::parse(host, text, "fuzz.json"));
    } catch (const FileError&) {
        return 0;
    }
    // What the writer wrote, the reader must read: a FileError here escapes and is a finding too.
    if (ProjectFile::write(ProjectFile::parse(host, written, "written.json")) != written)
        __builtin_trap();
    return 0;
}
