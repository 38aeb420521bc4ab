#include "settings.h"

#include "cp932.h"
#include "fsys.h"

namespace tarvo {

const std::string& defaultSettingsText() {
    static const std::string text = [] {
        static const char* const lines[] = {
            "[WINDOW]", "top=", "left=", "",
            "[COMP_IDX]", "#斤量１キロあたりの指数変化(初期値：1.0)", "weight=1.0", "",
            "[UMA_DB]", "mode=", "dir=", "lasttime=", "set_start=",
            "RCE_start=", "RCE_fname=", "RCE_tstmp=", "RCE_ltime=",
            "DFF_start=", "DFF_fname=", "DFF_tstmp=", "DFF_ltime=",
            "SNP_start=", "SNP_fname=", "SNP_tstmp=", "SNP_ltime=",
            "BLD_start=", "BLD_fname=", "BLD_tstmp=", "BLD_ltime=", "",
            "[RACE_FILE]", "dir=", "file=", "sfile=", ""};
        std::string t;
        for (const char* l : lines) {
            t += sj(l);
            t += "\r\n";
        }
        return t;
    }();
    return text;
}

void writeDefaultSettings(const std::string& path) { writeFileAtomic(path, defaultSettingsText()); }

}  // namespace tarvo
