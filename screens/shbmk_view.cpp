#include "shbmk_view.h"

#include <functional>

#include "cp932.h"
#include "dtlist_view.h"
#include "fsys.h"
#include "textfn.h"

namespace tarvo {

NewcomerBuilderOpening openNewcomerBuilder(const StorePaths& paths) {
    NewcomerBuilderOpening o;
    if (!dirExists(paths.root())) {
        o.error = sj("データフォルダ[") + paths.root() + sj("]が\r\n存在しないため、補助データ作成を行えません。");
        return o;
    }
    o.years = storedYears(paths);
    if (!o.years.empty()) {
        o.fromIndex = 0;
        o.toIndex = static_cast<int>(o.years.size()) - 1;
    }
    return o;
}

YearRange chosenYears(const std::string& fromText, const std::string& toText) {
    const int from = toIntDef(fromText, 0), to = toIntDef(toText, 0);
    if (from < 1 || to < 1) return {};
    return {from, to};
}

namespace {

// Hands the maker's progress to the view when it changes.
class ProgressRelay {
public:
    ProgressRelay(const NewcomerProgress& progress, NewcomerBuildView& view) : progress_(progress), view_(view) {}

    void operator()() {
        if (progress_.fileIndex != index_ || progress_.fileCount != count_) {
            index_ = progress_.fileIndex;
            count_ = progress_.fileCount;
            view_.fileBar(index_, count_);
        }
        if (progress_.currentFile != file_) {
            file_ = progress_.currentFile;
            view_.fileText(file_);
        }
        view_.pump();
    }

private:
    const NewcomerProgress& progress_;
    NewcomerBuildView& view_;
    int index_ = -1, count_ = -1;
    std::string file_;
};

}  // namespace

NewcomerBuildOutcome makeNewcomerYears(const StorePaths& paths, const std::string& fileFolder, YearRange years,
                                       NewcomerProgress& progress, NewcomerBuildView& view) {
    progress.cancelRequested = false;
    const int count = years.to >= years.from ? years.to - years.from + 1 : 0;
    ProgressRelay relay(progress, view);
    try {
        for (int year = years.from; year <= years.to && !progress.cancelRequested; ++year) {
            view.yearBar(year - years.from, count);
            view.pump();
            const NewcomerYear made = makeNewcomerStatistics(paths, fileFolder, year, progress, std::ref(relay));
            if (made.written) view.yearWritten(year, made);
        }
    } catch (const IoError& e) {
        return {MessageKind::Error, e.what()};
    }
    if (progress.cancelRequested) return {MessageKind::Warning, sj("集計処理を中止しました")};
    view.yearBar(count, count);
    view.fileBar(progress.fileCount, progress.fileCount);
    return {MessageKind::Information, sj("集計処理が終了しました")};
}

}  // namespace tarvo
