#include "record_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "cp932.h"
#include "fsys.h"

namespace tarvo {

struct RecordFileSet::OpenFile {
    std::string path;
    int fd = -1;
    std::size_t length = 0;                        // record length the index was made for
    std::vector<KeyRange> key;                     // key ranges the index was made for
    off_t size = 0;                                // whole records only
    std::unordered_map<std::string, off_t> offsets;  // key bytes -> first record with them

    ~OpenFile() {
        if (fd >= 0) ::close(fd);
    }
    std::string keyOf(std::string_view block) const {
        std::string k;
        for (const KeyRange& r : key) k.append(block.substr(r.pos, r.len));
        return k;
    }
    // Reads the file once: checks its blocks, cuts an incomplete tail, notes the
    // offset of each key (only of the first record with key only, when given).
    void index(const std::string* only = nullptr) {
        offsets.clear();
        struct stat st {};
        if (::fstat(fd, &st) != 0) throwIoError(sj("ファイルを読めません"), path, errno);
        const off_t whole = st.st_size - st.st_size % static_cast<off_t>(length);
        const std::size_t perChunk = length >= 65536 ? 1 : 65536 / length;
        std::string buf(perChunk * length, '\0');
        for (off_t at = 0; at < whole;) {
            const std::size_t want = static_cast<std::size_t>(std::min<off_t>(whole - at, static_cast<off_t>(buf.size())));
            if (!readAt(buf.data(), want, at)) throwIoError(sj("ファイルを読めません"), path, errno);
            for (std::size_t b = 0; b < want; b += length) {
                const std::string_view block = std::string_view(buf).substr(b, length);
                if (block.substr(length - 2) != "\r\n")
                    throw IoError(sj("レコードの区切りが壊れているため、ファイルに書き込めません: ") + path);
                if (!only)
                    offsets.emplace(keyOf(block), at + static_cast<off_t>(b));
                else if (offsets.empty() && sameKey(block, *only))
                    offsets.emplace(*only, at + static_cast<off_t>(b));
            }
            at += static_cast<off_t>(want);
        }
        if (whole != st.st_size && ::ftruncate(fd, whole) != 0) throwIoError(sj("ファイルに書き込めません"), path, errno);
        size = whole;
    }
    bool sameKey(std::string_view block, std::string_view k) const {
        for (const KeyRange& r : key) {
            if (block.substr(r.pos, r.len) != k.substr(0, r.len)) return false;
            k.remove_prefix(r.len);
        }
        return true;
    }
    bool readAt(char* data, std::size_t n, off_t at) const {
        while (n > 0) {
            const ssize_t got = ::pread(fd, data, n, at);
            if (got <= 0) return false;
            data += got;
            n -= static_cast<std::size_t>(got);
            at += got;
        }
        return true;
    }
    void writeAt(std::string_view data, off_t at) const {
        while (!data.empty()) {
            const ssize_t put = ::pwrite(fd, data.data(), data.size(), at);
            if (put <= 0) throwIoError(sj("ファイルに書き込めません"), path, put < 0 ? errno : EIO);
            data.remove_prefix(static_cast<std::size_t>(put));
            at += put;
        }
    }
};

RecordFileSet::RecordFileSet(std::size_t maxOpen) : maxOpen_(maxOpen < 1 ? 1 : maxOpen) {}
RecordFileSet::~RecordFileSet() = default;
RecordFileSet::RecordFileSet(RecordFileSet&&) noexcept = default;
RecordFileSet& RecordFileSet::operator=(RecordFileSet&&) noexcept = default;

RecordFileSet::OpenFile& RecordFileSet::open(const std::string& path, std::size_t length,
                                              const std::vector<KeyRange>& key, const std::string& wanted) {
    if (path.empty()) throw IoError(sj("ファイル名にできない文字を含むキーのため、レコードを書き込めません"));
    if (const auto it = byPath_.find(path); it != byPath_.end()) {
        files_.splice(files_.begin(), files_, it->second);
        OpenFile& f = *files_.front();
        struct stat st {};
        if (::fstat(f.fd, &st) != 0) throwIoError(sj("ファイルを読めません"), path, errno);
        if (f.length != length || f.key != key || st.st_size != f.size) {
            // Written by someone else, or by another layout: index it again.
            f.length = length;
            f.key = key;
            f.index();
        }
        return f;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        makeDirs(dirName(path));
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) throwIoError(sj("ファイルを作成できません"), path, errno);
    }
    if (fd < 0) throwIoError(sj("ファイルを開けません"), path, errno);
    auto f = std::make_unique<OpenFile>();
    f->path = path;
    f->fd = fd;
    f->length = length;
    f->key = key;
    f->index(oneWrite_ ? &wanted : nullptr);
    if (files_.size() >= maxOpen_) {
        byPath_.erase(files_.back()->path);
        files_.pop_back();
    }
    files_.push_front(std::move(f));
    byPath_[path] = files_.begin();
    return *files_.front();
}

void RecordFileSet::write(const std::string& path, std::string_view line, const std::vector<KeyRange>& key) {
    update(path, line, key, [line](std::string_view) { return std::string(line); });
}

void RecordFileSet::update(const std::string& path, std::string_view keyLine, const std::vector<KeyRange>& key,
                           const RecordMaker& make) {
    const std::size_t len = keyLine.size();
    if (len < 2) throw std::invalid_argument("a stored line ends in CR LF");
    std::string k;
    for (const KeyRange& r : key) k.append(keyLine.substr(r.pos, r.len));
    OpenFile& f = open(path, len, key, k);
    const auto found = f.offsets.find(k);
    std::string stored;
    if (found != f.offsets.end()) {
        stored.resize(len);
        if (!f.readAt(stored.data(), len, found->second)) throwIoError(sj("ファイルを読めません"), path, errno);
    }
    std::string line = make(stored);
    line.resize(len, ' ');
    if (found != f.offsets.end()) {
        f.writeAt(line, found->second);
        return;
    }
    f.writeAt(line, f.size);
    f.offsets.emplace(std::move(k), f.size);
    f.size += static_cast<off_t>(len);
}

void writeRecord(const std::string& path, std::string_view line, const std::vector<KeyRange>& key) {
    RecordFileSet(RecordFileSet::OneWrite{}).write(path, line, key);
}

void updateRecord(const std::string& path, std::string_view keyLine, const std::vector<KeyRange>& key,
                  const RecordMaker& make) {
    RecordFileSet(RecordFileSet::OneWrite{}).update(path, keyLine, key, make);
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
