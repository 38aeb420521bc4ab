// Settings file access with the behaviour of the Windows profile functions:
// section and key names match without regard to ASCII letter case, the first
// matching section and key win, values are trimmed of surrounding blanks.
// A write replaces the value in place, adds a missing key at the end of its
// section and a missing section at the end of the file, and keeps every other
// byte. Lines end in CR LF. The file is opened and closed on every access.
// Text is CP932 bytes throughout.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    bool exists() const;

    // The value of key in section, or def when the file, section or key is missing.
    std::string read(std::string_view section, std::string_view key, std::string_view def = {}) const;

    // Sets key in section to value, creating the file, section or key as needed.
    // Throws IoError when the file cannot be written.
    void write(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::string path_;
};

}  // namespace tarvo
