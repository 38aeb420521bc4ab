// tarvo-cli convert: the conversion of an old-format store, as the conversion
// screen runs it. Prints every memo line and message box text. Exit 0 when
// the run completed, 1 on an error, 3 when cancelled; --cancel-after-files N
// cancels once N files have been read or converted; --source DIR reads
// another source folder of the data-service emulator.
#include <chrono>
#include <thread>

#include "cli.h"
#include "service_start.h"
#include "conversion.h"
#include "startup.h"
#include "textfn.h"

namespace tarvo::cli {
namespace {

class CliView : public ConversionView {
public:
    CliView(Context& ctx, long cancelAfter) : ctx_(ctx), cancelAfter_(cancelAfter) {}
    void attach(ConversionRun& run) { run_ = &run; }

    void memoLine(const std::string& line) override { ctx_.println(line); }
    void message(MessageKind, const std::string& text) override { ctx_.println(text); }
    void fileDone() override {
        if (cancelAfter_ > 0 && ++files_ >= cancelAfter_ && run_) run_->cancel();
    }
    void idle() override { std::this_thread::sleep_for(std::chrono::milliseconds(10)); }

private:
    Context& ctx_;
    long cancelAfter_;
    long files_ = 0;
    ConversionRun* run_ = nullptr;
};

}  // namespace

int cmdConvert(Context& ctx) {
    const long cancelAfter = cancelAfterFiles(ctx);
    if (!ctx.args.empty() || cancelAfter < 0) {
        *ctx.err << "usage: convert [--cancel-after-files N] [--source DIR]\n";
        return 2;
    }
    StartedService service;
    if (!startWithService(ctx, "convert", service)) return 1;
    CliView view(ctx, cancelAfter);
    ConversionRun run(*service.jvlink, service.state.settingsPath(), StorePaths(service.state.storeRoot), view);
    view.attach(run);
    return exitStatus(run.run());
}

}  // namespace tarvo::cli
