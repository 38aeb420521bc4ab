#include "jvlink_emu.h"

#include <cstdlib>

#include "inifile.h"

namespace tarvo {

JVLinkEmulator::JVLinkEmulator(std::string programFolder) : programFolder_(std::move(programFolder)) {}

std::string JVLinkEmulator::setting(const char* key, const char* def) const {
    return IniFile(settingsPath()).read("JVLINK", key, def);
}

int JVLinkEmulator::JVInit(const std::string& sid) {
    sid_ = sid;
    return std::atoi(setting("init", "0").c_str());
}

int JVLinkEmulator::JVSetUIProperties() { return 0; }

int JVLinkEmulator::JVOpen(const std::string&, const std::string&, int, int& readcount, int& downloadcount,
                           std::string& lastfiletimestamp) {
    readcount = 0;
    downloadcount = 0;
    lastfiletimestamp.clear();
    return -1;
}

int JVLinkEmulator::JVRTOpen(const std::string&, const std::string&) { return -1; }
int JVLinkEmulator::JVStatus() { return 0; }

int JVLinkEmulator::JVGets(std::string& buff, int, std::string& filename) {
    buff.clear();
    filename.clear();
    return 0;
}

int JVLinkEmulator::JVRead(std::string& buff, int size, std::string& filename) {
    return JVGets(buff, size, filename);
}

int JVLinkEmulator::JVSkip() { return 0; }
int JVLinkEmulator::JVFiledelete(const std::string&) { return 0; }
int JVLinkEmulator::JVClose() { return 0; }
int JVLinkEmulator::JVFukuFile(const std::string&, const std::string&) { return -1; }
int JVLinkEmulator::JVMVCheck(const std::string&) { return 0; }
int JVLinkEmulator::JVMVPlay(const std::string&) { return -1; }
int JVLinkEmulator::JVMVPlayWithType(const std::string&, const std::string&) { return -1; }
int JVLinkEmulator::JVMVOpen(const std::string&, const std::string&) { return -1; }

int JVLinkEmulator::JVMVRead(std::string& buff, int) {
    buff.clear();
    return 0;
}

std::string JVLinkEmulator::m_JVLinkVersion() const {
    if (const char* env = std::getenv("TARVO_JVLINK_VERSION")) return env;
    return setting("version", "0490");
}

std::string JVLinkEmulator::m_CurrentFileTimestamp() const { return currentTimestamp_; }

}  // namespace tarvo

namespace JVDTLabLib_TLB {
std::unique_ptr<IJVLink> createJVLink(const std::string& programFolder) {
    return std::make_unique<tarvo::JVLinkEmulator>(programFolder);
}
}  // namespace JVDTLabLib_TLB
