#include "jvlink_emu.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "fsys.h"
#include "inifile.h"
#include "silks_bitmap.h"

extern char** environ;

namespace tarvo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSection = "JVLINK";
constexpr const char* kRaceVideoType = "00";

JVLinkEmulator::SettingsDialog& settingsDialog() {
    static JVLinkEmulator::SettingsDialog dialog;
    return dialog;
}

int openWithDesktop(const std::string& path) {
    // The shell starts the handler in the background and returns at once.
    const char* argv[] = {"sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", path.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

JVLinkEmulator::MediaOpener& mediaOpener() {
    static JVLinkEmulator::MediaOpener opener = openWithDesktop;
    return opener;
}

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A 14-digit timestamp (yyyymmddhhmmss) of a real moment.
bool validTimestamp(std::string_view t) {
    if (t.size() != 14 || !allDigits(t)) return false;
    const auto part = [&](std::size_t at, std::size_t len) { return std::stoi(std::string(t.substr(at, len))); };
    const int year = part(0, 4), month = part(4, 2), day = part(6, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || part(8, 2) > 23 || part(10, 2) > 59 || part(12, 2) > 59)
        return false;
    static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= (month == 2 && !leap ? 28 : kDays[month - 1]);
}

// Why a ".jvd" file of a source folder is no data file, or nullptr when it
// is one: its name goes into the caller's settings and messages, so it must
// hold no control character or path separator and start with its timestamp.
const char* dataFileNameFault(std::string_view name) {
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return "a control character in the name";
    if (name.find_first_of("/\\") != std::string_view::npos) return "a path separator in the name";
    if (name.size() < 18 || !validTimestamp(name.substr(0, 14))) return "no valid 14-digit timestamp at the start of the name";
    return nullptr;
}

// A name with its control characters shown as \xNN, for a warning.
std::string printable(std::string_view name) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u != 0x7f) out += c;
        else out += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    }
    return out;
}

bool alnum(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

// A whole number, or def for an empty or malformed text.
long long toNumber(const std::string& s, long long def) {
    if (s.empty()) return def;
    char* end = nullptr;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    return (end && *end == '\0') ? v : def;
}

std::string trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

std::vector<std::string> splitList(const std::string& s, char sep = ',') {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(sep, start);
        if (end == std::string::npos) end = s.size();
        std::string item = trimmed(std::string_view(s).substr(start, end - start));
        if (!item.empty()) out.push_back(std::move(item));
        start = end + 1;
    }
    return out;
}

bool listed(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end() ||
           std::find(list.begin(), list.end(), "*") != list.end();
}

std::string withSlash(std::string p) {
    if (!p.empty() && p.back() != '/') p += '/';
    return p;
}

std::string localTimestamp(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    return buf;
}

std::string today() {
    return localTimestamp(std::time(nullptr)).substr(0, 8);
}

// A file's modification time, to tell a current cache copy from a stale one.
bool sameModification(const std::string& a, const std::string& b) {
    std::error_code e1, e2;
    const auto ta = fs::last_write_time(a, e1), tb = fs::last_write_time(b, e2);
    return !e1 && !e2 && ta == tb;
}

// A record stream's damage: -402 when it does not end with a whole record,
// -403 when a record does not start with a record id; 0 when sound.
int checkRecords(const std::string& data) {
    if (data.empty()) return 0;
    if (data.size() < 2 || data.compare(data.size() - 2, 2, "\r\n") != 0) return -402;
    const auto idChar = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t pos = 0; pos < data.size();) {
        const std::size_t end = data.find("\r\n", pos);
        if (end - pos < 2 || !idChar(data[pos]) || !idChar(data[pos + 1])) return -403;
        pos = end + 2;
    }
    return 0;
}

}  // namespace

JVLinkEmulator::JVLinkEmulator(std::string programFolder, Clock clock)
    : programFolder_(std::move(programFolder)), clock_(clock ? std::move(clock) : Clock(steadySeconds)) {}

void JVLinkEmulator::setSettingsDialog(SettingsDialog dialog) { settingsDialog() = std::move(dialog); }
void JVLinkEmulator::setMediaOpener(MediaOpener opener) {
    mediaOpener() = opener ? std::move(opener) : MediaOpener(openWithDesktop);
}

std::string JVLinkEmulator::setting(const std::string& key, const std::string& def) const {
    return IniFile(settingsPath()).read(kSection, key, def);
}

std::string JVLinkEmulator::fault(const std::string& key, const std::string& spec) const {
    const IniFile ini(settingsPath());
    std::string v = ini.read(kSection, key + "." + spec);
    return v.empty() ? ini.read(kSection, key) : v;
}

bool JVLinkEmulator::maintenance(const char* operation) const {
    const std::string v = setting("maintenance");
    if (v == "1" || v == "all") return true;
    const std::vector<std::string> ops = splitList(v);
    return std::find(ops.begin(), ops.end(), operation) != ops.end();
}

std::string JVLinkEmulator::sourceFolder() const {
    std::string s = sourceOverride_;
    if (s.empty()) {
        const char* env = std::getenv("TARVO_JVLINK_SOURCE");
        s = env && *env ? std::string(env) : setting("source");
    }
    if (s.empty()) return programFolder_ + "jvlink-source/";
    if (s[0] != '/') s = programFolder_ + s;
    return withSlash(s);
}

bool JVLinkEmulator::sourceExists() const {
    std::error_code ec;
    return fs::is_directory(sourceFolder(), ec);
}

double JVLinkEmulator::rate() const {
    std::string s;
    if (const char* env = std::getenv("TARVO_JVLINK_RATE"); env && *env) s = env;
    else s = setting("rate", "0");
    char* end = nullptr;
    const double r = std::strtod(s.c_str(), &end);
    return (end && *end == '\0' && r > 0 && std::isfinite(r)) ? r : 0.0;
}

int JVLinkEmulator::JVInit(const std::string& sid) {
    sid_ = sid;
    const int result = static_cast<int>(toNumber(setting("init", "0"), 0));
    initialised_ = result == 0;
    return result;
}

int JVLinkEmulator::JVSetUIProperties() {
    const SettingsDialog& dialog = settingsDialog();
    if (!dialog) return -1;
    JVLinkUiSettings s{setting("source"), sourceFolder(), setting("version", "0490"), setting("rate", "0")};
    if (!dialog(s)) return -1;
    try {
        const IniFile ini(settingsPath());
        ini.write(kSection, "source", s.source);
        ini.write(kSection, "version", s.version);
        ini.write(kSection, "rate", s.rate);
    } catch (const IoError&) {
        return -2;
    }
    return 0;
}

std::string JVLinkEmulator::cachePath(const File& f) const { return cacheFolder() + f.spec + "/" + f.name; }

bool JVLinkEmulator::cachedCopyCurrent(const File& f) const {
    return sameModification(cachePath(f), f.sourcePath);
}

int JVLinkEmulator::JVOpen(const std::string& dataspec, const std::string& fromtime, int option, int& readcount,
                           int& downloadcount, std::string& lastfiletimestamp) {
    readcount = 0;
    downloadcount = 0;
    lastfiletimestamp = fromtime;
    if (!initialised_) return kNotInitialised;
    if (open_) return kAlreadyOpen;
    if (maintenance("open")) return -504;
    if (dataspec.size() % 4 != 0 || !alnum(dataspec) || fromtime.size() != 14 || !allDigits(fromtime) || option < 1 ||
        option > 4)
        return kBadParameter;
    if (const long long r = toNumber(fault("open_result", dataspec), 0); r != 0) return static_cast<int>(r);
    if (!sourceExists()) return kSourceMissing;
    const bool setup = option >= 3;
    if (setup) {
        std::string day = setting("today");
        if (day.size() != 8 || !allDigits(day)) day = today();
        if (fromtime.substr(0, 8) > day) return -1;
    }

    std::vector<File> files;
    const std::string source = sourceFolder();
    for (std::size_t i = 0; i < dataspec.size(); i += 4) {
        const std::string spec = dataspec.substr(i, 4);
        std::error_code ec;
        for (fs::directory_iterator it(source + spec, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file(ec)) continue;
            const std::string name = it->path().filename().string();
            if (name.size() < 4 || name.compare(name.size() - 4, 4, ".jvd") != 0) continue;
            if (const char* fault = dataFileNameFault(name)) {
                std::cerr << "jvlink: ignored " << spec << "/" << printable(name) << ": " << fault << '\n';
                continue;
            }
            const std::string ts = name.substr(0, 14);
            if (setup ? ts < fromtime : ts <= fromtime) continue;
            files.push_back(File{spec, name, ts, it->path().string()});
        }
    }
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) {
        return a.timestamp != b.timestamp ? a.timestamp < b.timestamp : a.name < b.name;
    });
    if (files.empty() && !setup) return -1;

    std::size_t downloads = 0;
    for (File& f : files) {
        f.needsDownload = !cachedCopyCurrent(f);
        if (f.needsDownload) f.downloadIndex = downloads++;
    }
    files_ = std::move(files);
    downloadCount_ = downloads;
    spec_ = dataspec;
    open_ = true;
    realTime_ = false;
    openedAt_ = clock_();
    rate_ = rate();
    current_ = 0;
    loaded_ = false;
    recordsRead_ = 0;
    currentTimestamp_.clear();
    readFaults();
    readcount = static_cast<int>(files_.size());
    downloadcount = static_cast<int>(downloads);
    if (!files_.empty()) lastfiletimestamp = files_.back().timestamp;
    return 0;
}

int JVLinkEmulator::JVRTOpen(const std::string& dataspec, const std::string& key) {
    if (!initialised_) return kNotInitialised;
    if (open_) return kAlreadyOpen;
    if (maintenance("rtopen")) return -504;
    if (dataspec.size() != 4 || !alnum(dataspec) || !alnum(key)) return kBadParameter;
    if (const long long r = toNumber(fault("rtopen_result", dataspec), 0); r != 0) return static_cast<int>(r);
    if (!sourceExists()) return kSourceMissing;
    const std::string path = sourceFolder() + dataspec + "/" + key + ".jvd";
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return -1;
    std::string ts;
    if (const auto t = fs::last_write_time(path, ec); !ec)
        ts = localTimestamp(std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(t)));
    files_ = {File{dataspec, key + ".jvd", ts, path}};
    downloadCount_ = 0;
    spec_ = dataspec;
    open_ = true;
    realTime_ = true;
    openedAt_ = clock_();
    rate_ = 0.0;
    current_ = 0;
    loaded_ = false;
    recordsRead_ = 0;
    currentTimestamp_.clear();
    readFaults();
    return 0;
}

void JVLinkEmulator::readFaults() {
    // Read once per session: the reading calls come once per record.
    stuckResult_ = static_cast<int>(toNumber(fault("gets_stuck", spec_), 0));
    stuckAfter_ = static_cast<std::size_t>(std::max(0LL, toNumber(fault("gets_stuck_after", spec_), 0)));
}

std::size_t JVLinkEmulator::downloaded() const {
    if (rate_ <= 0.0) return downloadCount_;
    const double n = std::floor((clock_() - openedAt_) * rate_);
    return n >= static_cast<double>(downloadCount_) ? downloadCount_ : static_cast<std::size_t>(std::max(0.0, n));
}

void JVLinkEmulator::fetchDownloaded() {
    const std::size_t n = downloaded();
    for (File& f : files_)
        if (f.needsDownload && !f.fetched && f.downloadIndex < n) fetch(f);
}

std::vector<std::string> JVLinkEmulator::repairedFiles() const {
    std::string text;
    try {
        readFile(cacheFolder() + "repaired.txt", text);
    } catch (const IoError&) {
    }
    return splitList(text, '\n');
}

void JVLinkEmulator::fetch(File& f) {
    f.fetched = true;
    const std::string target = cachePath(f);
    const std::vector<std::string> repaired = repairedFiles();
    const auto damaged = [&](const char* key) {
        return listed(splitList(setting(key)), f.name) &&
               std::find(repaired.begin(), repaired.end(), f.name) == repaired.end();
    };
    const bool bySize = damaged("damage_size"), byData = !bySize && damaged("damage_data");
    std::error_code ec;
    try {
        makeDirs(dirName(target));
        fs::remove(target, ec);
        if (!bySize && !byData) {
            // A link serves as the downloaded copy; a copy where links cannot be made.
            fs::create_hard_link(f.sourcePath, target, ec);
            if (ec) fs::copy_file(f.sourcePath, target, fs::copy_options::overwrite_existing);
        } else {
            std::string data;
            readFile(f.sourcePath, data);
            if (bySize) data.resize(data.size() > 3 ? data.size() - 3 : 0), data += "#";
            else if (data.size() >= 2) data.replace(0, 2, "##");
            else data = "##\r\n";
            writeFileAtomic(target, data);
            fs::last_write_time(target, fs::last_write_time(f.sourcePath));
        }
    } catch (const std::exception&) {
        f.failed = true;  // reading it reports a failed download
        fs::remove(target, ec);
    }
}

int JVLinkEmulator::beginFile() {
    File& f = files_[current_];
    if (f.failed || listed(splitList(fault("download_fail", spec_)), f.name)) return -502;
    std::string data;
    try {
        if (!readFile(realTime_ ? f.sourcePath : cachePath(f), data)) return -502;
    } catch (const IoError&) {
        return -502;
    }
    int damage = checkRecords(data);
    if (realTime_ && damage == 0) {  // real-time files are not cached: their damage is named only
        if (listed(splitList(setting("damage_size")), f.name)) damage = -402;
        else if (listed(splitList(setting("damage_data")), f.name)) damage = -403;
    }
    if (damage != 0) return damage;
    data_ = std::move(data);
    offset_ = 0;
    loaded_ = true;
    return 0;
}

int JVLinkEmulator::JVStatus() {
    if (!open_) return kNotOpen;
    const std::size_t n = downloaded();
    if (const long long err = toNumber(fault("status_error", spec_), 0); err != 0) {
        if (n >= static_cast<std::size_t>(std::max(0LL, toNumber(fault("status_error_after", spec_), 0))))
            return static_cast<int>(err);
    }
    fetchDownloaded();
    return static_cast<int>(n);
}

int JVLinkEmulator::JVGets(std::string& buff, int size, std::string& filename) {
    buff.clear();
    filename.clear();
    if (!open_) return kNotOpen;
    if (stuckResult_ != 0 && recordsRead_ >= stuckAfter_) return stuckResult_;
    if (current_ >= files_.size()) return 0;
    const File& f = files_[current_];
    filename = f.name;
    currentTimestamp_ = f.timestamp;
    if (!loaded_) {
        if (f.needsDownload && f.downloadIndex >= downloaded()) return -3;
        fetchDownloaded();
        if (const int err = beginFile(); err != 0) return err;
    }
    if (offset_ >= data_.size()) {  // the file ended; the next call goes on with the next file
        loaded_ = false;
        data_.clear();
        ++current_;
        return -1;
    }
    const std::size_t end = data_.find("\r\n", offset_) + 2;
    const std::size_t len = end - offset_;
    const std::size_t give = size > 0 ? std::min(len, static_cast<std::size_t>(size)) : len;
    buff.assign(data_, offset_, give);
    offset_ = end;
    ++recordsRead_;
    return static_cast<int>(len);
}

int JVLinkEmulator::JVRead(std::string& buff, int size, std::string& filename) {
    return JVGets(buff, size, filename);
}

int JVLinkEmulator::JVSkip() {
    if (!open_) return kNotOpen;
    if (current_ < files_.size()) {
        loaded_ = false;
        data_.clear();
        ++current_;
    }
    return 0;
}

int JVLinkEmulator::JVFiledelete(const std::string& filename) {
    if (filename.empty() || filename.find('/') != std::string::npos || filename == "." || filename == "..")
        return kBadParameter;
    bool removed = false;
    std::error_code ec;
    for (fs::directory_iterator it(cacheFolder(), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_directory(ec)) continue;
        removed = fs::remove(it->path() / filename, ec) || removed;
    }
    // The next download of the file is sound.
    const std::vector<std::string> repaired = repairedFiles();
    if (std::find(repaired.begin(), repaired.end(), filename) == repaired.end()) {
        try {
            std::string text;
            for (const std::string& r : repaired) text += r + "\n";
            makeDirs(cacheFolder());
            writeFileAtomic(cacheFolder() + "repaired.txt", text + filename + "\n");
        } catch (const IoError&) {
        }
    }
    return removed ? 0 : -1;
}

void JVLinkEmulator::endSession() {
    open_ = false;
    files_.clear();
    data_.clear();
    loaded_ = false;
    current_ = 0;
    downloadCount_ = 0;
    videoEntries_.clear();
    videoNext_ = 0;
}

int JVLinkEmulator::JVClose() {
    const std::string spec = spec_;
    endSession();
    return static_cast<int>(toNumber(fault("close_result", spec), 0));
}

int JVLinkEmulator::JVFukuFile(const std::string& pattern, const std::string& filepath) {
    return writeSilksBitmap(pattern, filepath);
}

std::vector<JVLinkEmulator::Video> JVLinkEmulator::readVideoList() const {
    std::vector<Video> out;
    std::string text;
    try {
        if (!readFile(sourceFolder() + "MOVIE/movies.tsv", text)) return out;
    } catch (const IoError&) {
        return out;
    }
    for (const std::string& line : splitList(text, '\n')) {
        if (line[0] == '#') continue;
        std::vector<std::string> cols;
        std::size_t start = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', start);
            cols.push_back(trimmed(std::string_view(line).substr(start, tab == std::string::npos ? tab : tab - start)));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (cols.size() < 3) continue;
        out.push_back(Video{cols[0], cols[1], cols[2], cols.size() > 3 ? cols[3] : std::string()});
    }
    return out;
}

int JVLinkEmulator::JVMVCheck(const std::string& key) {
    for (const Video& v : readVideoList())
        if (v.type == kRaceVideoType && v.key == key) return 1;
    return 0;
}

int JVLinkEmulator::playVideo(const std::string& type, const std::string& key) {
    if (maintenance("mvplay")) return -504;
    for (const Video& v : readVideoList()) {
        if (v.type != type || v.key != key) continue;
        const std::string path = v.file[0] == '/' ? v.file : sourceFolder() + "MOVIE/" + v.file;
        if (!fileExists(path)) return -1;
        return mediaOpener()(path) == 0 ? 0 : kPlayerFailed;
    }
    return -1;
}

int JVLinkEmulator::JVMVPlay(const std::string& key) { return playVideo(kRaceVideoType, key); }

int JVLinkEmulator::JVMVPlayWithType(const std::string& movietype, const std::string& key) {
    return playVideo(movietype, key);
}

int JVLinkEmulator::JVMVOpen(const std::string& movietype, const std::string& searchkey) {
    videoEntries_.clear();
    videoNext_ = 0;
    if (maintenance("mvopen")) return -504;
    if (const long long r = toNumber(setting("mvopen_result"), 0); r != 0) return static_cast<int>(r);
    for (const Video& v : readVideoList())
        if (v.type == movietype && v.listKey == searchkey) videoEntries_.push_back(v.key);
    return videoEntries_.empty() ? -1 : 0;
}

int JVLinkEmulator::JVMVRead(std::string& buff, int size) {
    buff.clear();
    if (const long long r = toNumber(setting("mvread_result"), 0); r != 0) return static_cast<int>(r);
    if (videoNext_ >= videoEntries_.size()) return 0;
    const std::string& e = videoEntries_[videoNext_++];
    buff = size > 0 && static_cast<std::size_t>(size) < e.size() ? e.substr(0, static_cast<std::size_t>(size)) : e;
    return static_cast<int>(e.size());
}

std::string JVLinkEmulator::m_JVLinkVersion() const {
    if (const char* env = std::getenv("TARVO_JVLINK_VERSION")) return env;
    return setting("version", "0490");
}

std::string JVLinkEmulator::m_CurrentFileTimestamp() const { return currentTimestamp_; }

}  // namespace tarvo

namespace JVDTLabLib_TLB {
std::unique_ptr<IJVLink> createJVLink(const std::string& programFolder) {
    return std::make_unique<tarvo::JVLinkEmulator>(programFolder);
}
}  // namespace JVDTLabLib_TLB
