// The data-service emulator: answers the control's calls from its own
// settings file jvlink.ini in the program folder (section JVLINK).
//   version   the version text (default "0490"); TARVO_JVLINK_VERSION overrides it
//   init      the result JVInit returns (default 0), for fault injection
#pragma once

#include <string>

#include "JVDTLabLib_TLB.h"

namespace tarvo {

class JVLinkEmulator : public JVDTLabLib_TLB::IJVLink {
public:
    explicit JVLinkEmulator(std::string programFolder);

    int JVInit(const std::string& sid) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::string& dataspec, const std::string& fromtime, int option, int& readcount,
               int& downloadcount, std::string& lastfiletimestamp) override;
    int JVRTOpen(const std::string& dataspec, const std::string& key) override;
    int JVStatus() override;
    int JVGets(std::string& buff, int size, std::string& filename) override;
    int JVRead(std::string& buff, int size, std::string& filename) override;
    int JVSkip() override;
    int JVFiledelete(const std::string& filename) override;
    int JVClose() override;
    int JVFukuFile(const std::string& pattern, const std::string& filepath) override;
    int JVMVCheck(const std::string& key) override;
    int JVMVPlay(const std::string& key) override;
    int JVMVPlayWithType(const std::string& movietype, const std::string& key) override;
    int JVMVOpen(const std::string& movietype, const std::string& searchkey) override;
    int JVMVRead(std::string& buff, int size) override;
    std::string m_JVLinkVersion() const override;
    std::string m_CurrentFileTimestamp() const override;

    // The emulator's settings file.
    std::string settingsPath() const { return programFolder_ + "jvlink.ini"; }

private:
    std::string setting(const char* key, const char* def) const;

    std::string programFolder_;
    std::string sid_;
    std::string currentTimestamp_;
};

}  // namespace tarvo
