// Shared by the fuzz targets: a scratch folder of this process under TMPDIR,
// emptied on request, so that every file a target writes stays inside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tarvo::fuzz {

inline const std::string& scratch() {
    static const std::string dir = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string d = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarvo-fuzz-" + std::to_string(getpid()) + "/";
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

// Empties the scratch folder, keeping it.
inline void clearScratch() {
    for (const auto& e : std::filesystem::directory_iterator(scratch())) std::filesystem::remove_all(e.path());
}

inline void writeBytes(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string_view asView(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tarvo::fuzz
