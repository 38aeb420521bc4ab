#include "verinfo_view.h"

#include "cp932.h"
#include "textfn.h"

namespace tarvo {

std::string dottedVersion(std::string_view v) {
    const auto n = [&](std::size_t from, std::size_t count) { return std::to_string(toIntDef(part(v, from, count), 0)); };
    return n(0, 2) + "." + n(2, 1) + "." + n(3, 1);
}

ScreenView versionScreen(std::string_view jvlinkVersion) {
    ScreenView v;
    v.caption = sj("バージョン情報");
    v.labels = {
        {"stxtAppTitle", "TARVO for JRA-VAN Data Lab."},
        {"stxtAppVer", "Version 2.00"},
        {"StaticText1", sj("Copyright (C) TARVO developers")},
        {"Label1", sj("基準タイム")},
        {"stxtStdVer", sj("2021/01/06 版")},
        {"Label2", "JV-Link Ver."},
        {"stxtJVver", dottedVersion(jvlinkVersion)},
    };
    v.states = {{"btnOK", true}};
    return v;
}

}  // namespace tarvo
