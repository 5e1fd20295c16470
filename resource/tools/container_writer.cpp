#include "container_writer.h"

#include "md5_digest.h"
#include "module/module_names.h"

#include <limits>
#include <zlib.h>

namespace Brennovar::Resources {

using namespace Zintara::Names;

namespace {

void appendWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool fitsWord(std::size_t value) {
    return value <= std::numeric_limits<std::uint32_t>::max();
}

bool deflateBest(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out) {
    uLongf size = compressBound(static_cast<uLong>(in.size()));
    out.resize(size);
    if (compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    out.resize(size);
    return true;
}

} // namespace

std::vector<std::uint8_t> packContainer(const std::vector<PackedFile>& files) {
    std::vector<std::uint8_t> out(kContainerHeader, kContainerHeader + kContainerHeaderSize);
    std::vector<std::uint8_t> directory;
    for (const PackedFile& file : files) {
        if (!fitsWord(file.content.size()) || !fitsWord(out.size()))
            return {};
        const auto offset = static_cast<std::uint32_t>(out.size());
        std::vector<std::uint8_t> compressed;
        if (file.compress && !deflateBest(file.content, compressed))
            return {};
        const std::vector<std::uint8_t>& stored = file.compress ? compressed : file.content;
        out.insert(out.end(), stored.begin(), stored.end());

        appendWord(directory, file.compress ? kContainerEntryPacked | kContainerEntryCompressed
                                            : kContainerEntryPacked);
        appendWord(directory, offset);
        appendWord(directory, static_cast<std::uint32_t>(stored.size()));
        if (file.compress)
            appendWord(directory, static_cast<std::uint32_t>(file.content.size()));
        directory.insert(directory.end(), file.name.begin(), file.name.end());
        directory.push_back(0);
    }
    if (!fitsWord(out.size() + directory.size() + kContainerTailSize))
        return {};
    out.insert(out.end(), directory.begin(), directory.end());
    const std::string digest = Md5Digest::hexOf(out);
    out.insert(out.end(), digest.begin(), digest.end());
    appendWord(out, static_cast<std::uint32_t>(directory.size()));
    appendWord(out, static_cast<std::uint32_t>(files.size()));
    appendWord(out, kContainerTailSize);
    out.insert(out.end(), kContainerMagic, kContainerMagic + kContainerMagicSize);
    return out;
}

} // namespace Brennovar::Resources
