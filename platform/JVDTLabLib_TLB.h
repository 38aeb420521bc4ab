// The data-service control the system talks to: accumulated data (JVOpen and
// the reading calls), real-time data (JVRTOpen), silks pictures and videos.
// Every caller sees only this interface; which implementation stands behind
// it is chosen by createJVLink(). All texts are CP932 bytes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cp932.h"
#include "textfn.h"

namespace JVDTLabLib_TLB {

// Results of the control's calls that callers tell apart. A number can mean
// different things to different calls (-1 is "nothing to read" to JVOpen and
// "end of a file" to JVGets): each call below names the ones it gives.
namespace JVResult {
inline constexpr int kOk = 0;               // ready, opened, closed, drawn
inline constexpr int kEndOfData = 0;        // JVGets, JVRead, JVMVRead: nothing more to read
inline constexpr int kNoData = -1;          // JVOpen, JVRTOpen, JVMVOpen: nothing to read
inline constexpr int kFileEnd = -1;         // JVGets, JVRead: one file ended
inline constexpr int kSetupCancelled = -2;  // JVOpen: the user cancelled the setup
inline constexpr int kDownloading = -3;     // JVGets, JVRead: the file is not downloaded yet
inline constexpr int kNoService = -411;     // JVOpen, JVRTOpen: the service is not there to answer
inline constexpr int kDamagedSize = -402;   // JVGets, JVRead: the file does not end with a whole record
inline constexpr int kDamagedData = -403;   // JVGets, JVRead: a record of the file is broken
inline constexpr int kDownloadFailed = -502;  // JVGets, JVRead: the file could not be downloaded
inline constexpr int kMaintenance = -504;   // JVOpen, JVRTOpen, JVMVPlay: server maintenance
}  // namespace JVResult

// A 14-digit timestamp (yyyymmddhhmmss) of a real moment.
inline bool validTimestamp(std::string_view t) {
    if (t.size() != 14 || t.find_first_not_of("0123456789") != std::string_view::npos) return false;
    const auto two = [&](std::size_t at) { return (t[at] - '0') * 10 + (t[at + 1] - '0'); };
    return tarvo::isCalendarDate(t.substr(0, 8)) && two(8) <= 23 && two(10) <= 59 && two(12) <= 59;
}

// Why a name is no file name the service may report, or nullptr when it is
// one: callers put it into their settings and messages, so it holds no
// control character or path separator (CP932) and starts with its timestamp.
inline const char* fileNameFault(std::string_view name) {
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t width = tarvo::charLen(name, at);
        const auto c = static_cast<unsigned char>(name[at]);
        if (width == 1 && (c < 0x20 || c == 0x7f)) return "a control character in the name";
        if (width == 1 && (c == '/' || c == '\\')) return "a path separator in the name";
        at += width;
    }
    if (!validTimestamp(name.substr(0, 14))) return "no valid 14-digit timestamp at the start of the name";
    return nullptr;
}

class IJVLink {
public:
    virtual ~IJVLink() = default;

    // 0 = ready.
    virtual int JVInit(const std::string& sid) = 0;
    // Shows the control's own settings dialog; the result is ignored by callers.
    virtual int JVSetUIProperties() = 0;

    // kOk; kNoData; kSetupCancelled; kMaintenance; other negative = error
    // (kNoService when the service is not there).
    virtual int JVOpen(const std::string& dataspec, const std::string& fromtime, int option,
                       int& readcount, int& downloadcount, std::string& lastfiletimestamp) = 0;
    // kOk; kNoData; kMaintenance; kNoService.
    virtual int JVRTOpen(const std::string& dataspec, const std::string& key) = 0;
    // Files downloaded so far; negative = error.
    virtual int JVStatus() = 0;
    // Record length (> 0) with the record in buff; kEndOfData; kFileEnd;
    // kDownloading; kDamagedSize, kDamagedData; kDownloadFailed; any other
    // result below 1 = call again.
    virtual int JVGets(std::string& buff, int size, std::string& filename) = 0;
    // As JVGets, the record as text.
    virtual int JVRead(std::string& buff, int size, std::string& filename) = 0;
    virtual int JVSkip() = 0;
    virtual int JVFiledelete(const std::string& filename) = 0;
    // kOk = closed.
    virtual int JVClose() = 0;

    // kOk = drawn; -1 = not drawn (a placeholder bitmap is still written).
    virtual int JVFukuFile(const std::string& pattern, const std::string& filepath) = 0;
    // > 0 = video available.
    virtual int JVMVCheck(const std::string& key) = 0;
    virtual int JVMVPlay(const std::string& key) = 0;
    virtual int JVMVPlayWithType(const std::string& movietype, const std::string& key) = 0;
    // kOk; kNoData = none.
    virtual int JVMVOpen(const std::string& movietype, const std::string& searchkey) = 0;
    // > 0 = an entry in buff; kEndOfData.
    virtual int JVMVRead(std::string& buff, int size) = 0;

    // Four-digit version text ("0490" is 4.9.0).
    virtual std::string m_JVLinkVersion() const = 0;
    // 14-digit timestamp of the file being read.
    virtual std::string m_CurrentFileTimestamp() const = 0;
};

// The implementation for this platform, configured from the program folder.
std::unique_ptr<IJVLink> createJVLink(const std::string& programFolder);

}  // namespace JVDTLabLib_TLB
