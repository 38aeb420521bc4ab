#include "fsys.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
#include <unistd.h>

#include "cp932.h"

namespace tarvo {

std::string systemErrorText(int err) { return toCp932(std::strerror(err)); }

void throwIoError(std::string_view what, const std::string& path, int err) {
    std::string text(what);
    text += ": ";
    text += path;
    if (err != 0) {
        text += " (";
        text += systemErrorText(err);
        text += ")";
    }
    throw IoError(text);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool dirExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void makeDirs(const std::string& path) {
    if (path.empty() || dirExists(path)) return;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec || !dirExists(path)) throwIoError(sj("フォルダを作成できません"), path, ec ? ec.value() : ENOTDIR);
}

namespace {

// The files read inside the live ReadCacheScope; nullopt records a missing file.
struct ReadCache {
    int depth = 0;
    std::unordered_map<std::string, std::optional<std::string>> files;
};

ReadCache& readCache() {
    static ReadCache cache;
    return cache;
}

bool readFileFromDisk(const std::string& path, std::string& out);

}  // namespace

ReadCacheScope::ReadCacheScope() { ++readCache().depth; }

ReadCacheScope::~ReadCacheScope() {
    if (--readCache().depth == 0) readCache().files.clear();
}

bool readFileView(const std::string& path, std::string& buffer, std::string_view& view) {
    ReadCache& cache = readCache();
    view = {};
    if (cache.depth == 0) {
        const bool found = readFileFromDisk(path, buffer);
        view = buffer;
        return found;
    }
    auto it = cache.files.find(path);
    if (it == cache.files.end()) {
        std::optional<std::string> data;
        if (std::string read; readFileFromDisk(path, read)) data = std::move(read);
        it = cache.files.emplace(path, std::move(data)).first;
    }
    if (!it->second) return false;
    view = *it->second;
    return true;
}

bool readFile(const std::string& path, std::string& out) {
    if (readCache().depth == 0) return readFileFromDisk(path, out);
    std::string_view view;
    const bool found = readFileView(path, out, view);
    out.assign(view);
    return found;
}

namespace {

bool readFileFromDisk(const std::string& path, std::string& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throwIoError(sj("ファイルを開けません"), path, errno);
    }
    struct stat st {};
    if (::fstat(::fileno(f), &st) == 0 && st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) throwIoError(sj("ファイルを読めません"), path, EIO);
    return true;
}

}  // namespace

void writeFileAtomic(const std::string& path, std::string_view data) {
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) throwIoError(sj("ファイルを作成できません"), path, errno);
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    const bool closed = std::fclose(f) == 0;
    if (!ok || !closed) {
        const int err = errno;
        std::remove(tmp.c_str());
        throwIoError(sj("ファイルに書き込めません"), path, err);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        std::remove(tmp.c_str());
        throwIoError(sj("ファイルに書き込めません"), path, err);
    }
}

std::string dirName(const std::string& path) {
    const auto p = path.find_last_of('/');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string executableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

}  // namespace tarvo
