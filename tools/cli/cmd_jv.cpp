// tarvo-cli jv: works the data-service emulator from outside.
//   jv open SPEC FROMTIME OPTION   JVOpen, then every record to the end
//   jv rtopen SPEC KEY             JVRTOpen, then every record to the end
// Prints the open result and counts, per record its id and length, per file
// its name, timestamp and record count (after its records), then the end and
// the close result. --dump FILE writes the records read, back to back, to
// FILE; --source DIR reads another source folder.
#include <chrono>
#include <filesystem>
#include <thread>

#include "cli.h"
#include "fsys.h"
#include "jvlink_emu.h"
#include "startup.h"

namespace tarvo::cli {
namespace {

namespace jvr = JVDTLabLib_TLB::JVResult;

constexpr int kRecordBuffer = 85000;
// Results below 1 that are neither listed nor end anything are retried this often.
constexpr int kRetryLimit = 1000;

// Reads the open session to its end; returns the exit status.
int readSession(Context& ctx, JVLinkEmulator& jv, std::string* dump) {
    std::string buff, file, lastName;
    int inFile = 0, retries = 0;
    for (;;) {
        const int r = jv.JVGets(buff, kRecordBuffer, file);
        if (r > 0) {
            retries = 0;
            ++inFile;
            ctx.println("record\t" + buff.substr(0, 2) + "\t" + std::to_string(r));
            if (dump) *dump += buff;
            continue;
        }
        if (r == jvr::kEndOfData) {
            ctx.println("end\t0");
            return 0;
        }
        if (r == jvr::kFileEnd) {
            retries = 0;
            ctx.println("file\t" + file + "\t" + jv.m_CurrentFileTimestamp() + "\t" + std::to_string(inFile));
            inFile = 0;
            continue;
        }
        if (r == jvr::kDownloading) {  // still downloading
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (r == jvr::kDamagedSize || r == jvr::kDamagedData || r == jvr::kDownloadFailed || ++retries > kRetryLimit) {
            ctx.println("error\t" + std::to_string(r) + "\t" + file);
            return 1;
        }
    }
}

}  // namespace

int cmdJv(Context& ctx) {
    const auto& a = ctx.args;
    const bool isOpen = a.size() == 4 && a[0] == "open", isRt = a.size() == 3 && a[0] == "rtopen";
    if (!isOpen && !isRt) {
        *ctx.err << "usage: jv open SPEC FROMTIME OPTION | jv rtopen SPEC KEY [--source DIR] [--dump FILE]\n";
        return 2;
    }
    JVLinkEmulator jv(ctx.home());
    if (ctx.has("--source")) jv.overrideSource(std::filesystem::absolute(ctx.option("--source")).string());
    if (const int init = jv.JVInit(kSoftwareId); init != 0) {
        ctx.println("init\t" + std::to_string(init));
        return 1;
    }
    int result = 0;
    if (isOpen) {
        int reads = 0, downloads = 0;
        std::string last;
        int option = 0;
        try {
            option = std::stoi(a[3]);
        } catch (const std::exception&) {
            *ctx.err << "jv: OPTION must be a number\n";
            return 2;
        }
        result = jv.JVOpen(a[1], a[2], option, reads, downloads, last);
        ctx.println("open\t" + std::to_string(result));
        if (result == jvr::kOk) {
            ctx.println("readcount\t" + std::to_string(reads));
            ctx.println("downloadcount\t" + std::to_string(downloads));
            ctx.println("lastfiletimestamp\t" + last);
        }
    } else {
        result = jv.JVRTOpen(a[1], a[2]);
        ctx.println("rtopen\t" + std::to_string(result));
    }
    int status = result == jvr::kOk || result == jvr::kNoData ? 0 : 1;
    if (result == jvr::kOk) {
        std::string dump;
        status = readSession(ctx, jv, ctx.has("--dump") ? &dump : nullptr);
        if (ctx.has("--dump")) writeFileAtomic(ctx.option("--dump"), dump);
    }
    const int closed = jv.JVClose();
    ctx.println("close\t" + std::to_string(closed));
    return closed == jvr::kOk ? status : 1;
}

}  // namespace tarvo::cli
