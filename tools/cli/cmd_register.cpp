// tarvo-cli register: the registration run of the registration screen.
//   register setup YYYYMMDD   a setup run from that date (resuming an interrupted one)
//   register usual            a usual run
// Prints every status change as GROUP<TAB>STATUS<TAB>COUNT (the data specs by
// name, the track data as "BB"), every message list line and every message
// box text, and per data spec that skipped records a line
// SPEC<TAB>不正レコード<TAB>N<TAB>種別不明ファイル<TAB>M. Exit 0 when the run
// completed, 1 on an error, 3 when cancelled.
// --cancel-after-files N cancels once N files have been read in all;
// --source DIR reads another source folder of the data-service emulator.
#include <chrono>
#include <thread>

#include "cli.h"
#include "cp932.h"
#include "registration.h"
#include "service_start.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

class CliView : public RegistrationView {
public:
    CliView(Context& ctx, long cancelAfter) : ctx_(ctx), cancelAfter_(cancelAfter) {}
    void attach(RegistrationRun& run) { run_ = &run; }

    void status(int group, const std::string& text, StatusColour, const std::string& count) override {
        const std::string name = group == kTrackDataGroup ? "BB" : dataSpecs()[static_cast<std::size_t>(group)].spec;
        ctx_.println(name + "\t" + text + "\t" + count);
    }
    void messageLine(const std::string& line) override { ctx_.println(line); }
    void refusals(int group, int records, int files) override {
        ctx_.println(std::string(dataSpecs()[static_cast<std::size_t>(group)].spec) + sj("\t不正レコード\t") +
                     std::to_string(records) + sj("\t種別不明ファイル\t") + std::to_string(files));
    }
    void message(MessageKind, const std::string& text) override { ctx_.println(text); }
    void fileDone() override {
        if (cancelAfter_ > 0 && ++files_ >= cancelAfter_ && run_) run_->cancel();
    }
    // No window: the download timer is driven from here.
    void pump() override {
        if (run_ && run_->downloadTimerEnabled()) run_->downloadTimerTick();
    }
    void idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

private:
    Context& ctx_;
    long cancelAfter_;
    long files_ = 0;
    RegistrationRun* run_ = nullptr;
};

}  // namespace

int cmdRegister(Context& ctx) {
    const auto& a = ctx.args;
    const bool setup = a.size() == 2 && a[0] == "setup";
    if (setup && !isCalendarDate(a[1])) {
        *ctx.err << "register: the start date " << a[1] << " is no date (YYYYMMDD)\n";
        return 2;
    }
    const bool usual = a.size() == 1 && a[0] == "usual";
    const long cancelAfter = cancelAfterFiles(ctx);
    if ((!setup && !usual) || cancelAfter < 0) {
        *ctx.err << "usage: register setup YYYYMMDD | register usual [--cancel-after-files N] [--source DIR]\n";
        return 2;
    }

    StartedService started;
    if (!startWithService(ctx, "register", started)) return 1;
    CliView view(ctx, cancelAfter);
    RegistrationRun run(*started.jvlink, started.state.settingsPath(), StorePaths(started.state.storeRoot), view);
    view.attach(run);
    return exitStatus(run.run(setup ? RunKind::Setup : RunKind::Usual, setup ? a[1] : std::string()));
}

}  // namespace tarvo::cli
