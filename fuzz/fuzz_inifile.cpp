// The settings file: any bytes read, a key written, then everything read again.
#include <cstdlib>

#include "fuzz_support.h"
#include "inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    const std::string path = fuzz::scratch() + "tarvo.ini";
    fuzz::writeBytes(path, fuzz::asView(data, size));
    IniFile ini(path);
    (void)ini.read("SYS_INF", "dir", "def");
    (void)ini.read("INDEX_SET", "bbdcmp");
    (void)ini.read("", "");
    ini.write("FUZZ", "key", "value1");
    if (ini.read("FUZZ", "key") != "value1") std::abort();
    ini.write("SYS_INF", "access", "1");
    if (ini.read("SYS_INF", "access") != "1") std::abort();
    if (ini.read("FUZZ", "key") != "value1") std::abort();
    return 0;
}
