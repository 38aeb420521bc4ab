// tarvo-cli shb: the newcomer statistics builder of the builder screen.
//   shb make FROMYEAR TOYEAR   makes the statistics files of each year
// Prints YEAR<TAB>JOCKEYS<TAB>SIRES<TAB>DAMSIRES for each year written (the
// keys of its three files), then the screen's closing message. Exit 0 when
// completed, 1 on an error (the store root missing included), 3 when
// cancelled. --cancel-after-files N cancels once N SE files have been counted
// in all.
#include <ostream>

#include "cli.h"
#include "shbmk_view.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

class CliView : public NewcomerBuildView {
public:
    CliView(Context& ctx, NewcomerProgress& progress, long cancelAfter)
        : ctx_(ctx), progress_(progress), cancelAfter_(cancelAfter) {}

    void fileText(const std::string& path) override {
        if (!path.empty() && cancelAfter_ > 0 && files_++ >= cancelAfter_) progress_.cancelRequested = true;
    }
    void yearWritten(int year, const NewcomerYear& c) override {
        ctx_.println(std::to_string(year) + "\t" + std::to_string(c.jockeys) + "\t" + std::to_string(c.sires) + "\t" +
                     std::to_string(c.damSires));
    }

private:
    Context& ctx_;
    NewcomerProgress& progress_;
    long cancelAfter_;
    long files_ = 0;
};

bool isYear(const std::string& s) {
    long long y = 0;
    return s.find_first_not_of("0123456789") == std::string::npos && parseInt(s, y) && y >= 1 && y <= 9999;
}

}  // namespace

int cmdShb(Context& ctx) {
    const auto& a = ctx.args;
    long cancelAfter = 0;
    if (ctx.has("--cancel-after-files")) {
        long long n = 0;
        cancelAfter = parseInt(ctx.option("--cancel-after-files"), n) && n >= 1 ? static_cast<long>(n) : -1;
    }
    if (a.size() != 3 || a[0] != "make" || !isYear(a[1]) || !isYear(a[2]) || cancelAfter < 0) {
        *ctx.err << "usage: tarvo-cli shb make FROMYEAR TOYEAR [--cancel-after-files N]\n";
        return 2;
    }
    const StorePaths paths(ctx.storeRoot());
    const NewcomerBuilderOpening opening = openNewcomerBuilder(paths);
    if (!opening.error.empty()) {
        ctx.println(opening.error);
        return 1;
    }
    NewcomerProgress progress;
    CliView view(ctx, progress, cancelAfter);
    const NewcomerBuildOutcome outcome =
        makeNewcomerYears(paths, ctx.home() + "file/", chosenYears(a[1], a[2]), progress, view);
    ctx.println(outcome.text);
    switch (outcome.kind) {
        case MessageKind::Information: return 0;
        case MessageKind::Warning: return 3;
        case MessageKind::Error: break;
    }
    return 1;
}

}  // namespace tarvo::cli
