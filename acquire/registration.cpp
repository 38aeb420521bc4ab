#include "registration.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>

#include "cp932.h"
#include "fsys.h"
#include "JVData_Structure.h"
#include "inifile.h"
#include "lookups.h"
#include "record_io.h"
#include "textfn.h"
#include "track_variant.h"

namespace tarvo {
namespace {

namespace jvr = JVDTLabLib_TLB::JVResult;

constexpr const char* kSection = "UMA_DB";
constexpr int kSetupOption = 4;
constexpr int kUsualOption = 1;

std::string now() { return dateTimeText(nowLocal(), ""); }

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string num(int n) { return std::to_string(n); }

std::string counter(const char* utf8, int position, int maximum) {
    return sj(utf8) + num(position) + " / " + num(maximum);
}

constexpr std::size_t kRaceKeyLength = 12;

// A text for a message: control characters shown as "?".
std::string printable(std::string s) {
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return s;
}

bool isRaceKey(std::string_view s) {
    return s.size() == kRaceKeyLength && s.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::string pendingQueuePath(const std::string& settingsPath) { return dirName(settingsPath) + "bbqueue.txt"; }

std::string readPendingQueue(const std::string& settingsPath) {
    std::string text, queue;
    if (!readFile(pendingQueuePath(settingsPath), text)) return queue;
    forEachLineOf(text, [&](std::string_view line) {
        if (const std::string k = trimBoth(line); isRaceKey(k)) queue += k;
        return true;
    });
    return queue;
}

namespace {

// Keeps the races still to rebuild in the program folder, one race key a line;
// no file when there are none.
void writePendingQueue(const std::string& settingsPath, std::string_view queue) {
    const std::string path = pendingQueuePath(settingsPath);
    std::string text;
    for (std::size_t at = 0; at + kRaceKeyLength <= queue.size(); at += kRaceKeyLength)
        text.append(queue.substr(at, kRaceKeyLength)).append("\r\n");
    if (!text.empty()) {
        writeFileAtomic(path, text);
        return;
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throwIoError("remove", path, ec.value());
}

}  // namespace

std::string damagedFileText(const std::string& fileName, int result, bool setup) {
    return printable(fileName) +
           sj(result == jvr::kDamagedSize ? "のサイズに異常があるため、処理を中止します。"
                                          : "のデータに異常があるため、処理を中止します。") +
           "\n" + sj(setup ? "セットアップを再度行ってください。" : "データ登録を再度行ってください。");
}

const std::array<DataSpec, 4>& dataSpecs() {
    static const std::array<DataSpec, 4> specs = {{
        {"RACE", "RCE", "競争情報の登録", "競争情報 最終更新："},
        {"DIFN", "DFF", "蓄積情報の登録", "蓄積情報 最終更新："},
        {"SNPN", "SNP", "着数情報の登録", "着数情報 最終更新："},
        {"BLDN", "BLD", "繁殖情報の登録", "繁殖情報 最終更新："},
    }};
    return specs;
}

std::string displayTimestamp(std::string_view s) {
    std::string out(s.substr(0, 8));
    const std::size_t cuts[] = {8, 10, 12};
    for (std::size_t i = 0; i < 3 && cuts[i] < s.size(); ++i) {
        out += i == 0 ? " " : ":";
        out += s.substr(cuts[i], 2);
    }
    return out;
}

RegistrationRun::RegistrationRun(JVDTLabLib_TLB::IJVLink& jvlink, std::string settingsPath, StorePaths paths,
                                 RegistrationView& view)
    : jv_(jvlink), settingsPath_(std::move(settingsPath)), paths_(paths), view_(view), writers_(std::move(paths)) {
    writers_.setShow([this](const std::string& text) { view_.execText(text); });
}

std::string RegistrationRun::setting(const std::string& k) const { return IniFile(settingsPath_).read(kSection, k); }

void RegistrationRun::write(const std::string& k, const std::string& value) const {
    IniFile(settingsPath_).write(kSection, k, value);
}

std::string RegistrationRun::key(int index, const char* suffix) const {
    return std::string(dataSpecs()[static_cast<std::size_t>(index)].prefix) + "_" + suffix;
}

RegistrationRun::ScreenMode RegistrationRun::openScreen(const std::string& today) {
    int reads = 0, downloads = 0;
    std::string stamp;
    jv_.JVOpen("RACE", "19860101000000", kUsualOption, reads, downloads, stamp);
    jv_.JVClose();
    ScreenMode mode;
    std::string start;
    try {
        mode.usual = !trimBoth(setting("lasttime")).empty();
        start = setting("set_start").substr(0, 8);
    } catch (const IoError&) {
        // An unreadable settings file offers the setup; the run reports the failure.
        mode.usual = false;
    }
    mode.startDate = start.empty() ? today : start;
    return mode;
}

void RegistrationRun::cancel() {
    cancel_ = true;
    builder_.cancelRequested = true;
}

void RegistrationRun::setStatus(int group, const char* utf8, StatusColour colour, const std::string& count) {
    view_.status(group, sj(utf8), colour, count);
}

void RegistrationRun::setDownloadTimer(bool on) {
    downloadTimer_ = on;
    view_.downloadTimer(on);
}

void RegistrationRun::setTrackTimer(bool on) {
    trackTimer_ = on;
    view_.trackTimer(on);
}

void RegistrationRun::showDownloadBar() { view_.downloadBar(download_.position, download_.maximum); }
void RegistrationRun::showReadBar() { view_.readBar(read_.position, read_.maximum); }

void RegistrationRun::addMessageLine(const std::string& line) {
    if (std::find(messageLines_.begin(), messageLines_.end(), line) != messageLines_.end()) return;
    messageLines_.push_back(line);
    view_.messageLine(line);
}

void RegistrationRun::fail(const std::string& spec) {
    if (errorMarker_.empty()) errorMarker_ = spec.empty() ? "?" : spec;
}

void RegistrationRun::begin() {
    view_.readText("");
    view_.execText("");
    cancel_ = false;
    errorMarker_.clear();
    setStartCandidate_.clear();
    lasttimeCandidate_.clear();
    queue_.clear();
    savedQueue_.clear();
    messageLines_.clear();
    counts_ = {};
    trackFailed_ = false;
    serviceCancelled_ = false;
    view_.clearMessageList();
    for (int g = 0; g <= kTrackDataGroup; ++g) {
        setStatus(g, "登録前", StatusColour::Black, "");
        view_.startTime(g, "");
        view_.endTime(g, "");
    }
    setDownloadTimer(true);
}

void RegistrationRun::closeControl() {
    if (!open_) return;
    open_ = false;
    if (const int r = jv_.JVClose(); r != jvr::kOk) {
        fail(dataSpecs()[static_cast<std::size_t>(currentSpec_)].spec);
        view_.message(MessageKind::Error, sj("JVCloseエラー：") + num(r));
    }
}

void RegistrationRun::statusFailure(int status) {
    fail(dataSpecs()[static_cast<std::size_t>(currentSpec_)].spec);
    view_.message(MessageKind::Error, sj("JVStatusエラー：") + num(status));
    setDownloadTimer(false);
    closeControl();
}

void RegistrationRun::downloadTimerTick() {
    if (!downloadTimer_ || !open_) return;
    const int status = jv_.JVStatus();
    if (status < 0) {
        statusFailure(status);
        return;
    }
    download_.position = std::min(status, download_.maximum);
    showDownloadBar();
    view_.downloadLabel(counter("ダウンロード： ", status, downloadCount_));
    if (status >= downloadCount_) setDownloadTimer(false);
}

void RegistrationRun::trackTimerTick() {
    if (!trackTimer_) return;
    const int done = trackMode_ == TrackMode::Queue ? queueRebuilt_ : builder_.raceCount;
    read_.position = std::min(done, read_.maximum);
    showReadBar();
    view_.readLabel(counter("読み込み： ", done, read_.maximum));
}

void RegistrationRun::saveResumePoint(int index, const std::string& fromTime, const std::string& file,
                                      const std::string& stamp) {
    write("set_start", fromTime);
    write(key(index, "start"), fromTime);
    write(key(index, "fname"), file);
    write(key(index, "tstmp"), stamp);
}

void RegistrationRun::runSpec(int index, RunKind kind, const std::string& startDate) {
    currentSpec_ = index;
    filesDone_ = 0;
    refusedRecords_ = unknownFiles_ = 0;
    resetProgress();
    // Any input/output failure (the store, the settings file) ends the data spec
    // with the system's error text.
    try {
        plan_ = planSpec(index, kind, startDate);
        if (openSpec()) {
            waitForDownloads();
            read_.maximum = readCount_;
            showReadBar();
            if (errorMarker_.empty() && !cancel_ && readCount_ > 0) readFiles();
            takeCandidates();
        }
        closeSpec();
    } catch (const IoError& e) {
        fail(dataSpecs()[static_cast<std::size_t>(index)].spec);
        view_.message(MessageKind::Error, e.what());
        setDownloadTimer(false);
        closeControl();
    }
    showSpecStatus(index);
}

void RegistrationRun::resetProgress() {
    view_.downloadLabel(sj("ダウンロード： 0 / 0"));
    view_.readLabel(sj("読み込み： 0 / 0"));
    setDownloadTimer(false);
    download_ = {};
    read_ = {};
    showDownloadBar();
    showReadBar();
}

RegistrationRun::SpecPlan RegistrationRun::planSpec(int index, RunKind kind, const std::string& startDate) const {
    SpecPlan p;
    p.index = index;
    p.setup = kind == RunKind::Setup;
    if (p.setup) {
        p.fromTime = startDate + "000000";
        p.dateFloor = toIntDef(startDate, 0);
        p.fileKey = trimBoth(setting(key(index, "fname")));
        p.resume = !p.fileKey.empty() && setting(key(index, "start")).substr(0, 8) == startDate;
        return p;
    }
    // A data spec that had nothing to read in the setup has no next time of
    // its own yet: it starts from the setup's start.
    p.fromTime = trimBoth(setting(key(index, "ltime")));
    if (p.fromTime.empty()) p.fromTime = trimBoth(setting(key(index, "start")));
    if (p.fromTime.empty()) p.fromTime = trimBoth(setting("set_start"));
    p.dateFloor = toIntDef(setting(key(index, "start")).substr(0, 8), 0);
    return p;
}

bool RegistrationRun::openSpec() {
    const DataSpec& d = dataSpecs()[static_cast<std::size_t>(plan_.index)];
    view_.startTime(plan_.index, now());
    int reads = 0, downloads = 0;
    const int opened = jv_.JVOpen(d.spec, plan_.fromTime, plan_.setup ? kSetupOption : kUsualOption, reads, downloads,
                                  plan_.lastStamp);
    open_ = true;
    readCount_ = opened == jvr::kOk ? reads : 0;
    downloadCount_ = opened == jvr::kOk ? downloads : 0;
    if (opened != jvr::kOk) {
        openFailed(opened);
        return false;
    }
    view_.downloadLabel(counter("ダウンロード： ", download_.position, downloadCount_));
    view_.readLabel(counter("読み込み： ", read_.position, readCount_));
    addMessageLine(sj(d.updateLabel) + displayTimestamp(plan_.lastStamp));
    // A saved file that is no file name or lies after every file the open
    // selects cannot be placed: the setup reads everything again.
    if (plan_.resume && (JVDTLabLib_TLB::fileNameFault(plan_.fileKey) || plan_.fileKey.substr(0, 14) > plan_.lastStamp))
        plan_.resume = false;
    return true;
}

void RegistrationRun::openFailed(int opened) {
    const DataSpec& d = dataSpecs()[static_cast<std::size_t>(plan_.index)];
    if (!plan_.setup && opened == jvr::kNoData) {
        addMessageLine(sj(d.updateLabel) + displayTimestamp(plan_.fromTime));
        return;
    }
    fail(d.spec);
    if (plan_.setup && opened == jvr::kNoData) {
        view_.message(MessageKind::Error, sj("開始日付を本日以前にしてください"));
    } else if (plan_.setup && opened == jvr::kSetupCancelled) {
        serviceCancelled_ = true;
        view_.message(MessageKind::Information, sj("セットアップを中止しました"));
    } else if (opened != jvr::kMaintenance) {
        view_.message(MessageKind::Error, sj("JVOpenエラー：") + num(opened));
    }
}

void RegistrationRun::waitForDownloads() {
    if (downloadCount_ <= 0) {
        download_ = {100, 100};
        showDownloadBar();
        return;
    }
    download_.maximum = downloadCount_;
    showDownloadBar();
    setDownloadTimer(true);
    setStatus(plan_.index, "ＤＬ中", StatusColour::Black, num(filesDone_));
    while (!cancel_ && errorMarker_.empty() && open_) {
        const int status = jv_.JVStatus();
        if (status < 0) {
            statusFailure(status);
            return;
        }
        if (status >= downloadCount_) return;
        view_.pump();
        view_.idle();
    }
}

void RegistrationRun::takeCandidates() {
    // What the next run starts from. A data spec that failed keeps its old
    // restart points, so that no file it did not store is passed over.
    if (!errorMarker_.empty() || cancel_ || dataSpecs()[static_cast<std::size_t>(plan_.index)].spec != std::string("BLDN"))
        return;
    if (plan_.setup) {
        setStartCandidate_ = plan_.fromTime;
        lasttimeCandidate_ = plan_.lastStamp.empty() ? plan_.fromTime : plan_.lastStamp;
    } else {
        lasttimeCandidate_ = plan_.lastStamp.empty() ? setting("lasttime") : plan_.lastStamp;
    }
}

void RegistrationRun::closeSpec() {
    setDownloadTimer(false);
    view_.endTime(plan_.index, now());
    const bool wasOpen = open_;
    closeControl();
    const bool closed = wasOpen && errorMarker_.empty();
    savePendingQueue();
    if (!closed || cancel_ || readCount_ <= 0) return;
    if (plan_.setup) {
        write(key(plan_.index, "start"), plan_.fromTime);
        write(key(plan_.index, "fname"), lastFileName_);
        write(key(plan_.index, "tstmp"), "");
    }
    write(key(plan_.index, "ltime"), plan_.lastStamp);
}

void RegistrationRun::showSpecStatus(int index) {
    if (refusedRecords_ > 0 || unknownFiles_ > 0) view_.refusals(index, refusedRecords_, unknownFiles_);
    int& count = counts_[static_cast<std::size_t>(index)];
    if (!errorMarker_.empty()) {
        count = filesDone_;
        setStatus(index, "ERROR", StatusColour::Red, num(filesDone_));
    } else if (cancel_) {
        count = filesDone_;
        setStatus(index, "中断", StatusColour::Teal, num(filesDone_));
    } else {
        count = readCount_;
        setStatus(index, "登録済", StatusColour::Blue, num(readCount_));
    }
}

void RegistrationRun::readFiles() {
    setStatus(plan_.index, plan_.setup && plan_.resume ? "SKIP中" : "処理中", StatusColour::Black, num(filesDone_));
    reading_ = {};
    reading_.safeStamp = plan_.fromTime;
    reading_.progressAt = steadySeconds();
    lastFileName_.clear();
    for (;;) {
        const int n = jv_.JVGets(reading_.buff, kRecordBufferSize, reading_.fileName);
        reading_.progressed = false;
        const ReadStep step = n > 0 ? onRecord(n) : onResult(n);
        if (step == ReadStep::Stop) break;
        // Measured from the end of the last call that brought something new.
        if (reading_.progressed) reading_.progressAt = steadySeconds();
        else if (stalled(n)) break;
        view_.pump();
        if (step == ReadStep::Wait) view_.idle();
    }
    reportRefusals();  // a file the data spec ended in
}

RegistrationRun::ReadStep RegistrationRun::onRecord(int length) {
    reading_.meaningless = 0;
    if (badFileName()) return ReadStep::Stop;
    // The same record of the same file again is no progress.
    if (reading_.buff != reading_.previous || reading_.fileName != reading_.previousFile) {
        reading_.previous = reading_.buff;
        reading_.previousFile = reading_.fileName;
        reading_.progressed = true;
    }
    if (reading_.fileName != reading_.shownFile) {
        reading_.shownFile = reading_.fileName;
        view_.readText(reading_.fileName);
    }
    if (plan_.resume && skipStoredFile()) return afterRecord();
    const StoreOutcome outcome = writers_.store(reading_.buff, length, plan_.dateFloor);
    if (outcome == StoreOutcome::Refused) {
        ++reading_.refusedInFile;
        ++refusedRecords_;
    } else if (outcome == StoreOutcome::OtherKind) {
        // A kind the store does not keep: the whole file is done with. A kind
        // no layout knows is counted, the file being of no kind the service sends.
        if (const std::string id = reading_.buff.substr(0, 2); !rawLayout(id) && !rawLayout(id, RawVersion::Old)) {
            reading_.unknownId = id;
            ++unknownFiles_;
        }
        const std::string stamp = jv_.m_CurrentFileTimestamp();
        jv_.JVSkip();
        if (fileEnded(stamp)) return ReadStep::Stop;
    } else {
        queueResult();
    }
    return afterRecord();
}

RegistrationRun::ReadStep RegistrationRun::afterRecord() {
    if (downloadTimer_) {
        setDownloadTimer(false);
        download_.position = download_.maximum;
        showDownloadBar();
    }
    return ReadStep::Next;
}

bool RegistrationRun::skipStoredFile() {
    // Files up to and including the saved one's place are already stored. The
    // service delivers files in timestamp order, and a file name starts with
    // its timestamp: the names compare in that order.
    const std::string name = trimBoth(reading_.fileName);
    if (name > plan_.fileKey) {
        plan_.resume = false;
        setStatus(plan_.index, "処理中", StatusColour::Black, num(filesDone_));
        return false;
    }
    if (name == plan_.fileKey) {
        plan_.resume = false;
        setStatus(plan_.index, "処理中", StatusColour::Black, num(filesDone_ + 1));
    }
    lastFileName_ = reading_.fileName;
    jv_.JVSkip();
    countFile();
    return true;
}

void RegistrationRun::queueResult() {
    const JVRecord& r = writers_.lastRecord();
    if (plan_.setup || r.id() != "RA" || r.get("head.DataKubun") != "7") return;
    queue_ += std::string(r.get("id.Year")) + std::string(r.get("id.MonthDay")) + std::string(r.get("id.JyoCD")) +
              std::string(r.get("id.RaceNum"));
}

void RegistrationRun::countFile() {
    ++filesDone_;
    ++read_.position;
    showReadBar();
    view_.fileDone();
}

void RegistrationRun::reportRefusals() {
    std::string line;
    if (reading_.refusedInFile > 0) line = sj("：不正なレコード ") + num(reading_.refusedInFile) + sj(" 件を読み飛ばしました");
    if (!reading_.unknownId.empty())
        line += sj(line.empty() ? "：" : "、") + sj("不明なレコード種別 ") + printable(reading_.unknownId) +
                sj(" から後を読み飛ばしました");
    if (!line.empty()) addMessageLine(reading_.fileName + line);
    reading_.refusedInFile = 0;
    reading_.unknownId.clear();
}

bool RegistrationRun::fileEnded(const std::string& stamp) {
    reportRefusals();
    lastFileName_ = reading_.fileName;
    // Every file of a timestamp before this one's has been read.
    if (!reading_.lastFileStamp.empty() && stamp > reading_.lastFileStamp) reading_.safeStamp = reading_.lastFileStamp;
    reading_.lastFileStamp = stamp;
    countFile();
    if (!cancel_) return false;
    stopAtBoundary();
    return true;
}

void RegistrationRun::stopAtBoundary() {
    // Cancel at a file boundary: the next run goes on after the last file read.
    savePendingQueue();
    if (plan_.setup) {
        if (!lastFileName_.empty()) saveResumePoint(plan_.index, plan_.fromTime, lastFileName_, reading_.lastFileStamp);
    } else if (!reading_.lastFileStamp.empty()) {
        // Usual runs take the files newer than the key: unless every file was
        // read, files sharing the last one's timestamp may still be unread.
        write(key(plan_.index, "ltime"), filesDone_ >= readCount_ ? reading_.lastFileStamp : reading_.safeStamp);
    }
}

RegistrationRun::ReadStep RegistrationRun::onResult(int n) {
    if (n == jvr::kEndOfData) {
        read_.position = read_.maximum;
        showReadBar();
        return ReadStep::Stop;
    }
    if (n == jvr::kFileEnd) {
        reading_.meaningless = 0;
        if (badFileName()) return ReadStep::Stop;
        // The end of the file that ended last, again: no new file.
        if (!lastFileName_.empty() && reading_.fileName == lastFileName_) return ReadStep::Wait;
        reading_.progressed = true;
        return fileEnded(jv_.m_CurrentFileTimestamp()) ? ReadStep::Stop : ReadStep::Next;
    }
    if (n == jvr::kDownloading) {
        // Still downloading: a cancel stops here as at a file boundary.
        if (!cancel_) return ReadStep::Wait;
        stopAtBoundary();
        return ReadStep::Stop;
    }
    if (n == jvr::kDamagedSize || n == jvr::kDamagedData) {
        damagedFile(n);
        return ReadStep::Stop;
    }
    const DataSpec& d = dataSpecs()[static_cast<std::size_t>(plan_.index)];
    if (n == jvr::kDownloadFailed) {
        fail(d.spec);
        view_.message(MessageKind::Error, sj("データのダウンロードに失敗しました。"));
        return ReadStep::Stop;
    }
    // Any other result: call again, but not forever.
    if (++reading_.meaningless <= kReadRetryLimit) return ReadStep::Wait;
    fail(d.spec);
    view_.message(MessageKind::Error, sj("JVGetsエラー：") + num(n));
    return ReadStep::Stop;
}

bool RegistrationRun::stalled(int n) {
    if (steadySeconds() - reading_.progressAt <= stallBound_) return false;
    fail(dataSpecs()[static_cast<std::size_t>(plan_.index)].spec);
    view_.message(MessageKind::Error, sj("JVGetsエラー：") + num(n));
    return true;
}

void RegistrationRun::damagedFile(int n) {
    jv_.JVFiledelete(reading_.fileName);
    damageMessage(n);
    if (plan_.setup && !lastFileName_.empty()) saveResumePoint(plan_.index, plan_.fromTime, lastFileName_, "");
}

void RegistrationRun::damageMessage(int n) {
    fail(dataSpecs()[static_cast<std::size_t>(plan_.index)].spec);
    view_.message(MessageKind::Error, damagedFileText(reading_.fileName, n, plan_.setup));
}

bool RegistrationRun::badFileName() {
    if (reading_.fileName == reading_.checkedName) return false;
    if (!JVDTLabLib_TLB::fileNameFault(reading_.fileName)) {
        reading_.checkedName = reading_.fileName;
        return false;
    }
    // A name that may not go into the settings file: a damaged file, ending
    // the data spec with its keys as they were.
    damageMessage(jvr::kDamagedData);
    return true;
}

bool RegistrationRun::finishTrackData() {
    view_.endTime(kTrackDataGroup, now());
    trackTimerTick();  // the count as it ends
    setTrackTimer(false);
    if (trackFailed_) {
        setStatus(kTrackDataGroup, "ERROR", StatusColour::Red, "");
        return false;
    }
    if (cancel_ || builder_.cancelRequested) {
        cancel_ = true;
        setStatus(kTrackDataGroup, "中断", StatusColour::Teal, "");
        return false;
    }
    read_.position = read_.maximum;
    showReadBar();
    const int done = trackMode_ == TrackMode::Queue ? queueRebuilt_ : builder_.raceCount;
    setStatus(kTrackDataGroup, "登録済", StatusColour::Blue, num(done));
    return true;
}

void RegistrationRun::rebuildAll() {
    view_.readText("");
    view_.execText("");
    trackMode_ = TrackMode::All;
    setTrackTimer(true);
    download_ = {};
    showDownloadBar();
    try {
        deleteAllTrackData(paths_);
        read_ = {0, countFinalRaces(paths_, "", "", "", true)};
        showReadBar();
        setStatus(kTrackDataGroup, "処理中", StatusColour::Black, "");
        view_.startTime(kTrackDataGroup, now());
        rebuildAllTrackData(paths_, settingsPath_, builder_, [this] { view_.pump(); });
    } catch (const IoError& e) {
        trackFailed_ = true;
        fail("BB");
        view_.message(MessageKind::Error, e.what());
    }
}

void RegistrationRun::rebuildQueue() {
    trackMode_ = TrackMode::Queue;
    queueRebuilt_ = 0;
    builder_.cancelRequested = false;
    setTrackTimer(true);
    const int races = static_cast<int>(std::lround(static_cast<double>(queue_.size()) / 12.0));
    if (races == 0) {
        savePendingQueue();
        return;
    }
    read_ = {0, races};
    showReadBar();
    setStatus(kTrackDataGroup, "処理中", StatusColour::Black, "");
    std::size_t at = 0;
    try {
        for (; at + kRaceKeyLength <= queue_.size(); at += kRaceKeyLength) {
            const std::string_view k = std::string_view(queue_).substr(at, kRaceKeyLength);
            if (trimBoth(k).empty()) {
                at = queue_.size();
                break;
            }
            rebuildTrackDataRace(paths_, settingsPath_, {k.substr(0, 4), k.substr(4, 4), k.substr(8, 2), k.substr(10, 2)},
                                 builder_, [this] { view_.pump(); });
            ++queueRebuilt_;
            if (builder_.cancelRequested) {
                at += kRaceKeyLength;
                break;
            }
        }
    } catch (const IoError& e) {
        trackFailed_ = true;
        fail("BB");
        view_.message(MessageKind::Error, e.what());
    }
    // The races not rebuilt wait for the next run.
    writePendingQueue(settingsPath_, std::string_view(queue_).substr(std::min(at, queue_.size())));
    savedQueue_ = queue_;
}

void RegistrationRun::savePendingQueue() {
    if (queue_ == savedQueue_) return;
    writePendingQueue(settingsPath_, queue_);
    savedQueue_ = queue_;
}

RunResult RegistrationRun::run(RunKind kind, const std::string& startDate) {
    begin();
    trackMode_ = TrackMode::None;
    try {
        runSteps(kind, startDate);
    } catch (const IoError& e) {
        fail("IO");
        view_.message(MessageKind::Error, e.what());
    }
    setDownloadTimer(false);
    setTrackTimer(false);

    RunResult result = RunResult::Completed;
    if (!errorMarker_.empty()) {
        result = serviceCancelled_ ? RunResult::Cancelled : RunResult::Error;
        view_.message(MessageKind::Error, sj("エラーが発生したため、処理を中止しました"));
    } else if (cancel_) {
        result = RunResult::Cancelled;
        view_.message(MessageKind::Warning, sj("キャンセルされたため、処理を中断しました"));
    } else if (kind == RunKind::Setup) {
        view_.message(MessageKind::Information, sj("セットアップ処理が完了しました"));
    }
    return result;
}

void RegistrationRun::runSteps(RunKind kind, const std::string& startDate) {
    // Races whose track data an earlier usual run did not rebuild come first.
    if (kind == RunKind::Usual) queue_ = savedQueue_ = readPendingQueue(settingsPath_);
    for (int i = 0; i < 4; ++i)
        if (i == 0 || (errorMarker_.empty() && !cancel_)) runSpec(i, kind, startDate);
    if (kind == RunKind::Setup) finishSetup();
    else finishUsual();
}

void RegistrationRun::finishSetup() {
    if (!errorMarker_.empty() || cancel_) return;
    rebuildAll();
    if (!finishTrackData()) return;
    write("set_start", setStartCandidate_);
    write("lasttime", lasttimeCandidate_);
    for (int i = 0; i < 4; ++i) write(key(i, "fname"), "");
    writePendingQueue(settingsPath_, "");  // every race is rebuilt
}

void RegistrationRun::finishUsual() {
    if (!errorMarker_.empty() || cancel_) return;
    int total = 0;
    for (int c : counts_) total += c;
    view_.readText("");
    view_.execText("");
    download_ = {};
    read_ = {};
    showDownloadBar();
    showReadBar();
    view_.startTime(kTrackDataGroup, now());
    rebuildQueue();
    if (!finishTrackData()) return;
    if (!lasttimeCandidate_.empty()) write("lasttime", lasttimeCandidate_);
    view_.message(MessageKind::Information,
                  sj(total <= 0 ? "最新のデータが登録されています" : "データ登録を完了しました"));
}

}  // namespace tarvo
