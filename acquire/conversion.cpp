#include "conversion.h"

#include <filesystem>

#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "record_io.h"
#include "textfn.h"
#include "track_variant.h"

namespace tarvo {
namespace {

namespace jvr = JVDTLabLib_TLB::JVResult;

constexpr int kUsualOption = 1;
constexpr std::size_t kRaceKeyLength = 12;

// The old data specs in run order, with the prefix of their settings keys.
struct OldSpec {
    const char* spec;
    const char* prefix;
};
constexpr std::array<OldSpec, 4> kOldSpecs = {{{"RACE", "RCE"}, {"DIFF", "DFF"}, {"BLOD", "BLD"}, {"SNAP", "SNP"}}};

// The families converted, in order, with their memo texts.
struct OldFamily {
    Family family;
    const char* folder;
    const char* heading;
    const char* none;
    const char* cancelled;
    const char* done;
};
constexpr std::array<OldFamily, 4> kOldFamilies = {{
    {Family::BROld, "BR", "[生産者データの処理] ", "＞ 変換対象の生産者データはありません", "＞ 生産者データの変換を中止しました",
     "＞ 生産者データを変換 (ファイル数:"},
    {Family::HNOld, "HN", "[繁殖馬データの処理] ", "＞ 変換対象の繁殖馬データはありません", "＞ 繁殖馬データの変換を中止しました",
     "＞ 繁殖馬データを変換 (ファイル数:"},
    {Family::SKOld, "SK", "[産駒データの処理] ", "＞ 変換対象の産駒データはありません", "＞ 産駒データの変換を中止しました",
     "＞ 産駒データを変換 (ファイル数:"},
    {Family::UMOld, "UM", "[競走馬データの処理] ", "＞ 変換対象の競走馬データはありません", "＞ 競走馬データの変換を中止しました",
     "＞ 競争馬データを変換 (ファイル数:"},
}};

// The new family of an old-format one.
Family newFamilyOf(Family oldFamily) {
    for (Family f : {Family::UM, Family::BR, Family::HN, Family::SK})
        if (oldFormatOf(f) == oldFamily) return f;
    return oldFamily;
}

std::vector<std::string> oldFilesBelow(const StorePaths& paths, const char* folder) {
    return walkDirectory(paths.root() + folder + "/", "*.dat", true);
}

std::string now() { return dateTimeText(nowLocal(), ""); }

std::string num(int n) { return std::to_string(n); }

}  // namespace

std::vector<std::string> oldFormatFiles(const StorePaths& paths) {
    std::vector<std::string> files;
    for (const OldFamily& f : kOldFamilies) {
        const auto below = oldFilesBelow(paths, f.folder);
        files.insert(files.end(), below.begin(), below.end());
    }
    return files;
}

int oldFormatCount(const StorePaths& paths) { return static_cast<int>(oldFormatFiles(paths).size()); }

std::string newBreedingNumber(std::string_view old8) {
    if (toIntDef(trimBoth(old8), 0) < 1) return "0000000000";
    return std::string(part(old8, 0, 3)) + "00" + std::string(part(old8, 3, 5));
}

std::string convertOldLine(Family oldFamily, std::string_view line) {
    const Layout& from = layoutOf(oldFamily);
    const Layout& to = layoutOf(newFamilyOf(oldFamily));
    std::string out;
    out.reserve(to.lineLength);
    // The old layout keeps the new one's fields in order; only some widths differ.
    for (std::size_t i = 0; i < from.fields.size() && i < to.fields.size(); ++i) {
        const std::string text = padRight(fieldText(line, from.fields[i]), from.fields[i].len);
        const std::size_t oldLen = from.fields[i].len, newLen = to.fields[i].len;
        if (oldLen == newLen) out += text;
        else if (oldLen == 8 && newLen == 10) out += newBreedingNumber(text);  // breeding number
        else if (oldLen == 6 && newLen == 8) out += text + "00";              // breeder code
        else out += padRight(text, newLen);                                   // breeder name
    }
    return out;
}

std::string convertedPath(Family oldFamily, const std::string& oldPath) {
    if (oldFamily != Family::HNOld) return oldPath + "n";
    const std::size_t slash = oldPath.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = oldPath.substr(start);
    return oldPath.substr(0, start) + name.substr(0, 5) + "00" + name.substr(std::min<std::size_t>(5, name.size())) + "n";
}

ConversionRun::ConversionRun(JVDTLabLib_TLB::IJVLink& jvlink, std::string settingsPath, StorePaths paths,
                             ConversionView& view)
    : jv_(jvlink), settingsPath_(std::move(settingsPath)), paths_(paths), view_(view), writers_(std::move(paths)) {}

void ConversionRun::line(const std::string& cp932) { view_.memoLine(cp932); }

void ConversionRun::fail(const std::string& spec) {
    if (error_.empty()) error_ = spec.empty() ? "?" : spec;
}

RunResult ConversionRun::run() {
    error_.clear();
    cancel_ = false;
    view_.labels(sj("既存の登録データを新形式のデータに変換します。"), sj("データ変換ボタンを押して、変換処理を行ってください。"),
                 false);
    view_.overallBar(0, 4);
    view_.runningChanged(true);
    line(sj("＜処理開始＞ ") + now());
    line("");
    queue_.clear();
    try {
        for (int i = 0; i < 4 && error_.empty() && !cancel_; ++i) reRegister(i);
        view_.overallBar(0, 4);
        if (error_.empty() && !cancel_) {
            for (int i = 0; i < 4; ++i) {
                convertFamily(i);
                view_.overallBar(i + 1, 4);
            }
        }
    } catch (const IoError& e) {
        fail("IO");
        view_.message(MessageKind::Error, e.what());
    }
    RunResult result = RunResult::Completed;
    if (cancel_) {
        result = RunResult::Cancelled;
        line(sj("> キャンセル処理が行われたため、データ変換を中止しました。"));
    } else if (!error_.empty()) {
        result = RunResult::Error;
        line(sj("> 処理中にエラーが発生したため、データ変換を中止しました。"));
    } else {
        try {
            for (const std::string& f : oldFormatFiles(paths_)) {
                std::error_code ec;
                std::filesystem::remove(f, ec);
                if (ec) throwIoError("remove", f, ec.value());
            }
        } catch (const IoError& e) {
            result = RunResult::Error;
            view_.message(MessageKind::Error, e.what());
        }
        if (oldFormatCount(paths_) == 0) {
            completed_ = true;
            view_.completed();
            view_.labels(sj("既存の登録データを新形式のデータに変換しました。"), sj("閉じるボタンを押して、画面を閉じてください。"),
                         true);
        }
    }
    view_.runningChanged(false);
    return result;
}

void ConversionRun::reRegister(int index) {
    static const char* const headings[] = {"データ登録[ 1/ 4]： ", "データ登録[ 2/ 4]： ", "データ登録[ 3/ 4]： ",
                                           "データ登録[ 4/ 4]： "};
    currentSpec_ = kOldSpecs[static_cast<std::size_t>(index)].spec;
    view_.stepBar(0, 100);
    line(sj(headings[index]) + now());
    view_.overallBar(index + 1, 4);
    const IniFile ini(settingsPath_);
    const std::string prefix = kOldSpecs[static_cast<std::size_t>(index)].prefix;
    const int dateFloor = toIntDef(ini.read("UMA_DB", prefix + "_start").substr(0, 8), 0);
    int reads = 0;
    std::string lastStamp;
    if (openSpec(index, reads, lastStamp) && error_.empty() && !cancel_ && reads > 0) {
        line(sj(">ファイル数：") + num(reads));
        line("");
        readFiles(reads, dateFloor);
        if (index == 0 && error_.empty() && !cancel_) rebuildQueue();
    }
    if (const int r = jv_.JVClose(); r != jvr::kOk) {
        fail(currentSpec_);
        view_.message(MessageKind::Error, sj("JVCloseエラー：") + num(r));
    } else if (!cancel_ && reads > 0 && error_.empty()) {
        ini.write("UMA_DB", prefix + "_ltime", lastStamp);
    }
}

bool ConversionRun::openSpec(int index, int& reads, std::string& lastStamp) {
    const std::string prefix = kOldSpecs[static_cast<std::size_t>(index)].prefix;
    const std::string fromTime = trimBoth(IniFile(settingsPath_).read("UMA_DB", prefix + "_ltime"));
    int downloads = 0;
    const int opened = jv_.JVOpen(currentSpec_, fromTime, kUsualOption, reads, downloads, lastStamp);
    if (opened != jvr::kOk) {
        reads = 0;
        if (opened == jvr::kNoData) return false;
        fail(currentSpec_);
        if (opened != jvr::kMaintenance) view_.message(MessageKind::Error, sj("JVOpenエラー：") + num(opened));
        return false;
    }
    waitForDownloads(downloads);
    stepMax_ = reads;
    step_ = 0;
    view_.stepBar(0, stepMax_);
    return true;
}

void ConversionRun::waitForDownloads(int downloads) {
    if (downloads <= 0) return;
    for (;;) {
        const int status = jv_.JVStatus();
        if (status < 0) {
            fail(currentSpec_);
            return;
        }
        if (status >= downloads) return;
        view_.pump();
        if (cancel_) {
            line(sj(" 処理中にキャンセルが実行されました。"));
            line("");
            return;
        }
        view_.idle();
    }
}

void ConversionRun::readFiles(int reads, int dateFloor) {
    std::string buff, fileName;
    int meaningless = 0;
    for (;;) {
        view_.pump();
        if (cancel_) {
            line(sj(" 処理中にキャンセルが実行されました。"));
            line("");
            return;
        }
        const int n = jv_.JVRead(buff, kRecordBufferSize, fileName);
        if (n > 0) {
            meaningless = 0;
            if (!onRecord(buff, n, dateFloor)) return;
            continue;
        }
        if (n == jvr::kEndOfData) {
            view_.stepBar(reads, reads);
            return;
        }
        if (n == jvr::kFileEnd) {
            meaningless = 0;
            view_.stepBar(++step_, stepMax_);
            view_.fileDone();
            continue;
        }
        if (n == jvr::kDamagedSize || n == jvr::kDamagedData) {
            jv_.JVFiledelete(fileName);
            fail(currentSpec_);
            view_.message(MessageKind::Error, damagedFileText(fileName, n, false));
            return;
        }
        if (n == jvr::kDownloadFailed) {
            fail(currentSpec_);
            view_.message(MessageKind::Error, sj("データのダウンロードに失敗しました。"));
            return;
        }
        // Still downloading or a result without meaning: read again, but not forever.
        if (++meaningless > kReadRetryLimit) {
            fail(currentSpec_);
            view_.message(MessageKind::Error, sj("JVReadエラー：") + num(n));
            return;
        }
        view_.idle();
    }
}

bool ConversionRun::onRecord(const std::string& buff, int length, int dateFloor) {
    const StoreOutcome outcome = writers_.store(buff, length, dateFloor, DispatchMode::Conversion);
    if (outcome == StoreOutcome::OtherKind) {
        jv_.JVSkip();
        return true;
    }
    const JVRecord& r = writers_.lastRecord();
    // Every runner of a final race queues its race for the track data, whatever its date.
    if (r.layout() && r.id() == "SE" && r.get("head.DataKubun") == "7")
        queue_ += std::string(r.get("id.Year")) + std::string(r.get("id.MonthDay")) + std::string(r.get("id.JyoCD")) +
                  std::string(r.get("id.RaceNum"));
    return true;
}

void ConversionRun::rebuildQueue() {
    const int keys = static_cast<int>(queue_.size() / kRaceKeyLength);
    view_.stepBar(0, keys);
    BuilderProgress progress;
    for (int i = 0; i < keys; ++i) {
        const std::string_view k = std::string_view(queue_).substr(static_cast<std::size_t>(i) * kRaceKeyLength, kRaceKeyLength);
        if (trimBoth(k).empty()) break;
        rebuildTrackDataRace(paths_, settingsPath_, {k.substr(0, 4), k.substr(4, 4), k.substr(8, 2), k.substr(10, 2)},
                             progress, [this] { view_.pump(); });
        view_.stepBar(i + 1, keys);
    }
}

void ConversionRun::convertFamily(int index) {
    const OldFamily& f = kOldFamilies[static_cast<std::size_t>(index)];
    const std::vector<std::string> files = oldFilesBelow(paths_, f.folder);
    const int count = static_cast<int>(files.size());
    view_.stepBar(0, count);
    line(sj(f.heading) + now());
    if (count == 0) line(sj(f.none));
    int done = 0;
    for (const std::string& file : files) {
        if (cancel_) break;
        std::string text;
        for (const std::string& old : readLines(file)) text += convertOldLine(f.family, old) + "\r\n";
        writeFileAtomic(convertedPath(f.family, file), text);
        view_.stepBar(++done, count);
        view_.fileDone();
        view_.pump();
    }
    line(cancel_ ? sj(f.cancelled) : sj(f.done) + num(count) + ")");
    if (f.family == Family::UMOld) line(sj("＜処理終了＞ ") + now());
    line("");
}

}  // namespace tarvo
