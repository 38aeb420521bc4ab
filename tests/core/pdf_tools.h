// The PDF tests read back the files they write with poppler's tools
// (installed by tools/install-deps.sh): pdfinfo must accept a file without a
// word about a damaged cross-reference table, pdftotext gives its text.
#pragma once

#include <cstdio>
#include <string>

namespace tarvo::test {

struct ToolRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

inline ToolRun runTool(const std::string& command) {
    ToolRun r;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    r.status = ::pclose(p);
    return r;
}

// pdfinfo's report; status 0 and no error or warning line when the file is sound.
inline ToolRun pdfinfo(const std::string& path) { return runTool("pdfinfo '" + path + "'"); }

// The file's text in UTF-8 (pages separated by form feeds); with layout the
// texts keep their places on the line.
inline ToolRun pdftotext(const std::string& path, bool layout = false) {
    return runTool(std::string("pdftotext ") + (layout ? "-layout " : "") + "'" + path + "' -");
}

inline bool soundReport(const ToolRun& r) {
    return r.status == 0 && r.output.find("Error") == std::string::npos &&
           r.output.find("Warning") == std::string::npos && r.output.find("xref") == std::string::npos;
}

}  // namespace tarvo::test
