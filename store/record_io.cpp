#include "record_io.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "cp932.h"
#include "fsys.h"

namespace tarvo {
namespace {

class File {
public:
    File(const std::string& path, const char* mode) : f_(std::fopen(path.c_str(), mode)) {}
    ~File() {
        if (f_) std::fclose(f_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return f_; }
    // Closes explicitly so that a failed flush is seen.
    bool close() {
        const bool ok = std::fclose(f_) == 0;
        f_ = nullptr;
        return ok;
    }

private:
    std::FILE* f_;
};

bool sameKey(std::string_view block, std::string_view line, const std::vector<KeyRange>& key) {
    for (const KeyRange& k : key)
        if (block.substr(k.pos, k.len) != line.substr(k.pos, k.len)) return false;
    return true;
}

}  // namespace

void writeRecord(const std::string& path, std::string_view line, const std::vector<KeyRange>& key) {
    updateRecord(path, line, key, [line](std::string_view) { return std::string(line); });
}

void updateRecord(const std::string& path, std::string_view keyLine, const std::vector<KeyRange>& key,
                  const RecordMaker& make) {
    if (path.empty()) throw IoError(sj("ファイル名にできない文字を含むキーのため、レコードを書き込めません"));
    const std::size_t len = keyLine.size();
    // The line to write, made from the stored record it replaces; it keeps the record length.
    auto lineFrom = [&](std::string_view stored) {
        std::string line = make(stored);
        line.resize(len, ' ');
        return line;
    };
    makeDirs(dirName(path));
    if (!fileExists(path)) {
        File f(path, "wb");
        if (!f.get()) throwIoError(sj("ファイルを作成できません"), path, errno);
        const std::string line = lineFrom({});
        if (std::fwrite(line.data(), 1, len, f.get()) != len || !f.close())
            throwIoError(sj("ファイルに書き込めません"), path, errno);
        return;
    }
    File f(path, "r+b");
    if (!f.get()) throwIoError(sj("ファイルを開けません"), path, errno);
    if (std::fseek(f.get(), 0, SEEK_END) != 0) throwIoError(sj("ファイルを読めません"), path, errno);
    const long size = std::ftell(f.get());
    if (size < 0) throwIoError(sj("ファイルを読めません"), path, errno);
    const long whole = size - size % static_cast<long>(len);
    if (whole != size) {
        std::fflush(f.get());
        if (::ftruncate(::fileno(f.get()), whole) != 0) throwIoError(sj("ファイルに書き込めません"), path, errno);
    }
    std::rewind(f.get());

    // Read many blocks at a time; compare each block's key.
    const std::size_t perChunk = len >= 65536 ? 1 : 65536 / len;
    std::string buf(perChunk * len, '\0');
    long at = whole;  // where the line goes: the matching block, or the end
    std::string line;
    long offset = 0;
    while (offset < whole && line.empty()) {
        const std::size_t want = static_cast<std::size_t>(std::min<long>(whole - offset, static_cast<long>(buf.size())));
        if (std::fread(buf.data(), 1, want, f.get()) != want) throwIoError(sj("ファイルを読めません"), path, errno);
        for (std::size_t b = 0; b + len <= want; b += len) {
            const std::string_view block = std::string_view(buf).substr(b, len);
            if (sameKey(block, keyLine, key)) {
                at = offset + static_cast<long>(b);
                line = lineFrom(block);
                break;
            }
        }
        offset += static_cast<long>(want);
    }
    if (at == whole) line = lineFrom({});
    if (std::fseek(f.get(), at, SEEK_SET) != 0 || std::fwrite(line.data(), 1, len, f.get()) != len || !f.close())
        throwIoError(sj("ファイルに書き込めません"), path, errno);
}

void forEachLine(const std::string& path, const std::function<bool(std::string_view)>& fn) {
    if (path.empty()) return;
    std::string data;
    std::string_view view;
    if (readFileView(path, data, view)) forEachLineOf(view, fn);
}

void forEachLineOf(std::string_view data, const std::function<bool(std::string_view)>& fn) {
    std::string_view rest(data);
    while (!rest.empty()) {
        const std::size_t nl = rest.find('\n');
        std::string_view line = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!fn(line)) return;
    }
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    forEachLine(path, [&](std::string_view l) {
        lines.emplace_back(l);
        return true;
    });
    return lines;
}

}  // namespace tarvo
