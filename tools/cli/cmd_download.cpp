// tarvo-cli download babadif [--url URL]: the download of the local track
// variant file into the program's file folder, from URL or the support
// site's address; prints the message. Exit 0 when downloaded, 1 when not.
#include <QCoreApplication>
#include <memory>

#include "babadif_download.h"
#include "cli.h"
#include "media_view.h"
#include "settings.h"

namespace tarvo::cli {

int cmdDownload(Context& ctx) {
    if (ctx.args.size() != 1 || ctx.args[0] != "babadif") {
        *ctx.err << "usage: tarvo-cli download babadif [--url URL]\n";
        return 2;
    }
    // The network needs an application object; the tool makes one when it has none.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tarvo-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const std::string url = ctx.has("--url") ? ctx.option("--url") : babadifUrl(ctx.home() + kSettingsFileName);
    const DownloadOutcome o = downloadBabadif(url, ctx.home() + "file/");
    ctx.println(o.message);
    return o.ok ? 0 : 1;
}

}  // namespace tarvo::cli
