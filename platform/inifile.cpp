#include "inifile.h"

#include <vector>

#include "fsys.h"

namespace tarvo {
namespace {

struct Line {
    std::string_view text;  // without its line end
    std::size_t begin = 0;  // offset of the line in the file
    std::size_t end = 0;    // offset just past its line end
};

std::vector<Line> splitLines(std::string_view data) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t nl = data.find('\n', pos);
        const std::size_t next = nl == std::string_view::npos ? data.size() : nl + 1;
        std::size_t stop = nl == std::string_view::npos ? data.size() : nl;
        if (stop > pos && data[stop - 1] == '\r') --stop;
        lines.push_back({data.substr(pos, stop - pos), pos, next});
        pos = next;
    }
    return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// The section name of a "[name]" line, or false when the line is not a header.
bool sectionName(std::string_view line, std::string_view& name) {
    const std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() != '[') return false;
    const auto close = t.find(']');
    name = trimBlanks(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1));
    return true;
}

// Key and value of a "key=value" line; false for lines without "=" and comments.
bool keyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view t = trimBlanks(line);
    if (t.empty() || t.front() == ';') return false;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return false;
    key = trimBlanks(t.substr(0, eq));
    value = trimBlanks(t.substr(eq + 1));
    return true;
}

// Where a section lies: index of its header line and one past its last line.
struct SectionSpan {
    std::size_t header = 0, end = 0;
    bool found = false;
};

SectionSpan findSection(const std::vector<Line>& lines, std::string_view section) {
    SectionSpan span;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view name;
        if (!sectionName(lines[i].text, name)) continue;
        if (span.found) {
            span.end = i;
            return span;
        }
        if (equalsNoCase(name, section)) {
            span.found = true;
            span.header = i;
        }
    }
    span.end = lines.size();
    return span;
}

// Index of the first line of the span that holds key, or npos.
std::size_t findKey(const std::vector<Line>& lines, const SectionSpan& span, std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        std::string_view k, v;
        if (keyValue(lines[i].text, k, v) && equalsNoCase(k, key)) return i;
    }
    return std::string::npos;
}

}  // namespace

bool IniFile::exists() const { return fileExists(path_); }

std::string IniFile::read(std::string_view section, std::string_view key, std::string_view def) const {
    std::string data;
    if (!readFile(path_, data)) return std::string(def);
    const auto lines = splitLines(data);
    const SectionSpan span = findSection(lines, section);
    if (!span.found) return std::string(def);
    const std::size_t i = findKey(lines, span, key);
    if (i == std::string::npos) return std::string(def);
    std::string_view k, v;
    keyValue(lines[i].text, k, v);
    return std::string(v);
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) const {
    std::string data;
    readFile(path_, data);
    const auto lines = splitLines(data);
    const SectionSpan span = findSection(lines, section);
    std::string entry(key);
    entry += '=';
    entry += value;

    std::string out;
    if (!span.found) {
        out = data;
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        out += '[';
        out += section;
        out += "]\r\n";
        out += entry;
        out += "\r\n";
    } else if (const std::size_t i = findKey(lines, span, key); i != std::string::npos) {
        // Replace the key's line, keeping its own line end.
        out = data.substr(0, lines[i].begin);
        out += entry;
        out += data.substr(lines[i].begin + lines[i].text.size());
    } else {
        // After the section's last non-empty line.
        std::size_t last = span.header;
        for (std::size_t j = span.header + 1; j < span.end; ++j)
            if (!trimBlanks(lines[j].text).empty()) last = j;
        const std::size_t at = lines[last].end;
        out = data.substr(0, at);
        if (!out.empty() && out.back() != '\n') out += "\r\n";
        out += entry;
        out += "\r\n";
        out += data.substr(at);
    }
    writeFileAtomic(path_, out);
}

}  // namespace tarvo
