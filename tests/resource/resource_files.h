#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace Brennovar::Testing {

inline std::vector<std::uint8_t> readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readResourceFile(const std::string& name) {
    return readBinaryFile(std::string(ZINTARA_RESOURCE_DIR) + "/" + name);
}

} // namespace Brennovar::Testing
