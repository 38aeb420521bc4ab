#include "registration.h"

#include <algorithm>
#include <cmath>

#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "lookups.h"
#include "textfn.h"
#include "track_variant.h"

namespace tarvo {
namespace {

constexpr const char* kSection = "UMA_DB";
constexpr int kSetupOption = 4;
constexpr int kUsualOption = 1;

std::string now() { return dateTimeText(nowLocal(), ""); }

std::string num(int n) { return std::to_string(n); }

std::string counter(const char* utf8, int position, int maximum) {
    return sj(utf8) + num(position) + " / " + num(maximum);
}

}  // namespace

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
    messageLines_.clear();
    counts_ = {};
    trackFailed_ = false;
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
    if (const int r = jv_.JVClose(); r != 0) {
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
    const DataSpec& d = dataSpecs()[static_cast<std::size_t>(index)];
    const bool setup = kind == RunKind::Setup;
    currentSpec_ = index;
    filesDone_ = 0;

    view_.downloadLabel(sj("ダウンロード： 0 / 0"));
    view_.readLabel(sj("読み込み： 0 / 0"));
    setDownloadTimer(false);
    download_ = {};
    read_ = {};
    showDownloadBar();
    showReadBar();

    // Any input/output failure (the store, the settings file) ends the data spec
    // with the system's error text.
    try {
        // From-time and date floor.
        std::string fromTime, fileKey;
        int dateFloor = 0;
        bool resume = false;
        if (setup) {
            fromTime = startDate + "000000";
            dateFloor = toIntDef(startDate, 0);
            fileKey = trimBoth(setting(key(index, "fname")));
            resume = !fileKey.empty() && setting(key(index, "start")).substr(0, 8) == startDate;
        } else {
            // A data spec that had nothing to read in the setup has no next time of
            // its own yet: it starts from the setup's start.
            fromTime = trimBoth(setting(key(index, "ltime")));
            if (fromTime.empty()) fromTime = trimBoth(setting(key(index, "start")));
            if (fromTime.empty()) fromTime = trimBoth(setting("set_start"));
            dateFloor = toIntDef(setting(key(index, "start")).substr(0, 8), 0);
        }

        view_.startTime(index, now());
        int reads = 0, downloads = 0;
        std::string lastStamp;
        const int opened =
            jv_.JVOpen(d.spec, fromTime, setup ? kSetupOption : kUsualOption, reads, downloads, lastStamp);
        open_ = true;
        readCount_ = opened == 0 ? reads : 0;
        downloadCount_ = opened == 0 ? downloads : 0;

        if (opened != 0) {
            if (setup) {
                if (opened == -1)
                    view_.message(MessageKind::Error, sj("開始日付を本日以前にしてください"));
                else if (opened == -2)
                    view_.message(MessageKind::Information, sj("セットアップを中止しました"));
                else if (opened != -504)
                    view_.message(MessageKind::Error, sj("JVOpenエラー：") + num(opened));
                fail(d.spec);
            } else if (opened == -1) {
                addMessageLine(sj(d.updateLabel) + displayTimestamp(fromTime));
            } else {
                if (opened != -504) view_.message(MessageKind::Error, sj("JVOpenエラー：") + num(opened));
                fail(d.spec);
            }
        } else {
            view_.downloadLabel(counter("ダウンロード： ", download_.position, downloadCount_));
            view_.readLabel(counter("読み込み： ", read_.position, readCount_));
            addMessageLine(sj(d.updateLabel) + displayTimestamp(lastStamp));

            if (downloadCount_ > 0) {
                download_.maximum = downloadCount_;
                showDownloadBar();
                setDownloadTimer(true);
                setStatus(index, "ＤＬ中", StatusColour::Black, num(filesDone_));
                while (!cancel_ && errorMarker_.empty() && open_) {
                    const int status = jv_.JVStatus();
                    if (status < 0) {
                        statusFailure(status);
                        break;
                    }
                    if (status >= downloadCount_) break;
                    view_.pump();
                    view_.idle();
                }
            } else {
                download_ = {100, 100};
                showDownloadBar();
            }

            read_.maximum = readCount_;
            showReadBar();
            if (errorMarker_.empty() && !cancel_ && readCount_ > 0)
                readFiles(index, kind, fromTime, dateFloor, resume, fileKey);

            // What the next run starts from. A data spec that failed keeps its old
            // restart points, so that no file it did not store is passed over.
            if (errorMarker_.empty() && !cancel_ && d.spec == std::string("BLDN")) {
                if (setup) {
                    setStartCandidate_ = fromTime;
                    lasttimeCandidate_ = lastStamp.empty() ? fromTime : lastStamp;
                } else {
                    lasttimeCandidate_ = lastStamp.empty() ? setting("lasttime") : lastStamp;
                }
            }
        }

        setDownloadTimer(false);
        view_.endTime(index, now());
        const bool wasOpen = open_;
        closeControl();
        const bool closed = wasOpen && errorMarker_.empty();

        if (closed && !cancel_ && readCount_ > 0) {
            if (setup) {
                write(key(index, "start"), fromTime);
                write(key(index, "fname"), lastFileName_);
                write(key(index, "tstmp"), "");
            }
            write(key(index, "ltime"), lastStamp);
        }
    } catch (const IoError& e) {
        fail(d.spec);
        view_.message(MessageKind::Error, e.what());
        setDownloadTimer(false);
        closeControl();
    }

    if (!errorMarker_.empty()) {
        counts_[static_cast<std::size_t>(index)] = filesDone_;
        setStatus(index, "ERROR", StatusColour::Red, num(filesDone_));
    } else if (cancel_) {
        counts_[static_cast<std::size_t>(index)] = filesDone_;
        setStatus(index, "中断", StatusColour::Teal, num(filesDone_));
    } else {
        counts_[static_cast<std::size_t>(index)] = readCount_;
        setStatus(index, "登録済", StatusColour::Blue, num(readCount_));
    }
}

void RegistrationRun::readFiles(int index, RunKind kind, const std::string& fromTime, int dateFloor, bool resume,
                                const std::string& fileKey) {
    const DataSpec& d = dataSpecs()[static_cast<std::size_t>(index)];
    const bool setup = kind == RunKind::Setup;
    setStatus(index, setup && resume ? "SKIP中" : "処理中", StatusColour::Black, num(filesDone_));

    std::string buff, fileName, shownFile, lastFileStamp;
    lastFileName_.clear();
    int meaningless = 0;
    const auto fileEnded = [&] {
        ++filesDone_;
        ++read_.position;
        showReadBar();
        view_.fileDone();
    };
    // Cancel at a file boundary: the next run goes on after the last file read.
    const auto stopAtBoundary = [&](const std::string& stamp) {
        if (setup) {
            if (!lastFileName_.empty()) saveResumePoint(index, fromTime, lastFileName_, stamp);
        } else if (!stamp.empty()) {
            write(key(index, "ltime"), stamp);
        }
    };

    for (;;) {
        const int n = jv_.JVGets(buff, kRecordBufferSize, fileName);
        if (n > 0) {
            meaningless = 0;
            if (fileName != shownFile) {
                shownFile = fileName;
                view_.readText(fileName);
            }
            if (resume) {
                // Files up to and including the saved one are already stored.
                if (trimBoth(fileName) == fileKey) {
                    resume = false;
                    setStatus(index, "処理中", StatusColour::Black, num(filesDone_ + 1));
                }
                lastFileName_ = fileName;
                jv_.JVSkip();
                fileEnded();
            } else {
                const StoreOutcome outcome = writers_.store(buff, n, dateFloor);
                if (outcome == StoreOutcome::OtherKind) {
                    // A kind the store does not keep: the whole file is done with.
                    lastFileName_ = fileName;
                    lastFileStamp = jv_.m_CurrentFileTimestamp();
                    jv_.JVSkip();
                    fileEnded();
                    if (cancel_) {
                        stopAtBoundary(lastFileStamp);
                        return;
                    }
                } else if (kind == RunKind::Usual && writers_.lastRecord().id() == "RA" &&
                           writers_.lastRecord().get("head.DataKubun") == "7") {
                    const JVRecord& ra = writers_.lastRecord();
                    queue_ += std::string(ra.get("id.Year")) + std::string(ra.get("id.MonthDay")) +
                              std::string(ra.get("id.JyoCD")) + std::string(ra.get("id.RaceNum"));
                }
            }
            if (downloadTimer_) {
                setDownloadTimer(false);
                download_.position = download_.maximum;
                showDownloadBar();
            }
            view_.pump();
            continue;
        }
        if (n == 0) {
            read_.position = read_.maximum;
            showReadBar();
            return;
        }
        if (n == -1) {
            lastFileName_ = fileName;
            lastFileStamp = jv_.m_CurrentFileTimestamp();
            fileEnded();
            meaningless = 0;
            if (cancel_) {
                stopAtBoundary(lastFileStamp);
                return;
            }
            view_.pump();
            continue;
        }
        if (n == -3) {
            // Still downloading: a cancel stops here as at a file boundary.
            if (cancel_) {
                stopAtBoundary(lastFileStamp);
                return;
            }
            view_.pump();
            view_.idle();
            continue;
        }
        if (n == -402 || n == -403) {
            fail(d.spec);
            jv_.JVFiledelete(fileName);
            view_.message(MessageKind::Error,
                          fileName +
                              sj(n == -402 ? "のサイズに異常があるため、処理を中止します。"
                                           : "のデータに異常があるため、処理を中止します。") +
                              "\n" + sj(setup ? "セットアップを再度行ってください。" : "データ登録を再度行ってください。"));
            if (setup && !lastFileName_.empty()) saveResumePoint(index, fromTime, lastFileName_, "");
            return;
        }
        if (n == -502) {
            fail(d.spec);
            view_.message(MessageKind::Error, sj("データのダウンロードに失敗しました。"));
            return;
        }
        // Any other result: call again, but not forever.
        if (++meaningless > kReadRetryLimit) {
            fail(d.spec);
            view_.message(MessageKind::Error, sj("JVGetsエラー：") + num(n));
            return;
        }
        view_.pump();
        view_.idle();
    }
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
    if (races == 0) return;
    read_ = {0, races};
    showReadBar();
    setStatus(kTrackDataGroup, "処理中", StatusColour::Black, "");
    try {
        for (std::size_t at = 0; at + 12 <= queue_.size(); at += 12) {
            const std::string_view k = std::string_view(queue_).substr(at, 12);
            if (trimBoth(k).empty()) break;
            rebuildTrackDataRace(paths_, settingsPath_, {k.substr(0, 4), k.substr(4, 4), k.substr(8, 2), k.substr(10, 2)},
                                 builder_, [this] { view_.pump(); });
            ++queueRebuilt_;
            if (builder_.cancelRequested) break;
        }
    } catch (const IoError& e) {
        trackFailed_ = true;
        fail("BB");
        view_.message(MessageKind::Error, e.what());
    }
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
        result = RunResult::Error;
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
    for (int i = 0; i < 4; ++i)
        if (i == 0 || (errorMarker_.empty() && !cancel_)) runSpec(i, kind, startDate);

    bool trackDone = false;
    if (kind == RunKind::Setup) {
        if (errorMarker_.empty() && !cancel_) {
            rebuildAll();
            trackDone = finishTrackData();
            if (trackDone) {
                write("set_start", setStartCandidate_);
                write("lasttime", lasttimeCandidate_);
                for (int i = 0; i < 4; ++i) write(key(i, "fname"), "");
            }
        }
    } else {
        int total = 0;
        for (int c : counts_) total += c;
        if (errorMarker_.empty() && !cancel_) {
            view_.readText("");
            view_.execText("");
            download_ = {};
            read_ = {};
            showDownloadBar();
            showReadBar();
            view_.startTime(kTrackDataGroup, now());
            rebuildQueue();
            trackDone = finishTrackData();
            if (trackDone && !lasttimeCandidate_.empty()) write("lasttime", lasttimeCandidate_);
        }
        if (trackDone) {
            view_.message(MessageKind::Information,
                          sj(total <= 0 ? "最新のデータが登録されています" : "データ登録を完了しました"));
        }
    }
}

}  // namespace tarvo
