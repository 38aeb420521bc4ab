// The data-service control the system talks to: accumulated data (JVOpen and
// the reading calls), real-time data (JVRTOpen), silks pictures and videos.
// Every caller sees only this interface; which implementation stands behind
// it is chosen by createJVLink(). All texts are CP932 bytes.
#pragma once

#include <memory>
#include <string>

namespace JVDTLabLib_TLB {

class IJVLink {
public:
    virtual ~IJVLink() = default;

    // 0 = ready.
    virtual int JVInit(const std::string& sid) = 0;
    // Shows the control's own settings dialog; the result is ignored by callers.
    virtual int JVSetUIProperties() = 0;

    // 0 = opened; -1 = nothing to read; -2 = setup cancelled by the user;
    // -504 = server maintenance; other negative = error.
    virtual int JVOpen(const std::string& dataspec, const std::string& fromtime, int option,
                       int& readcount, int& downloadcount, std::string& lastfiletimestamp) = 0;
    // 0 = opened; -1 = no data.
    virtual int JVRTOpen(const std::string& dataspec, const std::string& key) = 0;
    // Files downloaded so far; negative = error.
    virtual int JVStatus() = 0;
    // Record length (> 0) with the record in buff; 0 = end of data; -1 = end of a file;
    // -3 = still downloading; -402, -403 = damaged file; -502 = download failed.
    virtual int JVGets(std::string& buff, int size, std::string& filename) = 0;
    // As JVGets, the record as text.
    virtual int JVRead(std::string& buff, int size, std::string& filename) = 0;
    virtual int JVSkip() = 0;
    virtual int JVFiledelete(const std::string& filename) = 0;
    // 0 = closed.
    virtual int JVClose() = 0;

    // 0 = drawn; -1 = not drawn (a placeholder bitmap is still written).
    virtual int JVFukuFile(const std::string& pattern, const std::string& filepath) = 0;
    // > 0 = video available.
    virtual int JVMVCheck(const std::string& key) = 0;
    virtual int JVMVPlay(const std::string& key) = 0;
    virtual int JVMVPlayWithType(const std::string& movietype, const std::string& key) = 0;
    // 0 = opened, -1 = none.
    virtual int JVMVOpen(const std::string& movietype, const std::string& searchkey) = 0;
    // > 0 = an entry in buff, 0 = end.
    virtual int JVMVRead(std::string& buff, int size) = 0;

    // Four-digit version text ("0490" is 4.9.0).
    virtual std::string m_JVLinkVersion() const = 0;
    // 14-digit timestamp of the file being read.
    virtual std::string m_CurrentFileTimestamp() const = 0;
};

// The implementation for this platform, configured from the program folder.
std::unique_ptr<IJVLink> createJVLink(const std::string& programFolder);

}  // namespace JVDTLabLib_TLB
