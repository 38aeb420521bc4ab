#include "startup.h"

#include <cstdlib>
#include <unistd.h>

#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "settings.h"
#include "store_paths.h"
#include "textfn.h"

namespace tarvo {

std::string programFolderOf(const ProgramFolderSources& s) {
    const auto slash = [](std::string d) { return d.empty() || d.back() == '/' ? d : d + '/'; };
    if (!s.homeOption.empty()) return slash(s.homeOption);
    if (!s.tarvoHome.empty()) return slash(s.tarvoHome);
    if (s.executableDirWritable && !s.installed) return slash(s.executableDir);
    const std::string data = !s.xdgDataHome.empty() ? slash(s.xdgDataHome) : slash(s.home) + ".local/share/";
    return data + "tarvo/";
}

std::string resolveProgramFolder(const std::string& homeOption) {
    const auto env = [](const char* name) {
        const char* v = std::getenv(name);
        return std::string(v ? v : "");
    };
    const std::string exe = executableDir();
    return programFolderOf({homeOption, env("TARVO_HOME"), exe, ::access(exe.c_str(), W_OK) == 0,
                            fileExists(exe + "../share/applications/tarvo.desktop"), env("XDG_DATA_HOME"),
                            env("HOME")});
}

std::string resolveStoreRoot(const std::string& dirValue, const std::string& programFolder) {
    return dirExists(dirValue) ? dirValue : programFolder + "data/";
}

std::string AppState::accessModeText() const { return readOnly ? sj("禁止") : sj("通常"); }

namespace {

std::string line(const char* name, const std::string& value) { return std::string(name) + "\t" + value; }
std::string flag(bool b) { return b ? "1" : "0"; }

}  // namespace

StartupOutcome Startup::run(const std::string& programFolder, const ScreenGeometry& geometry,
                            const StartupSeams& seams) {
    StartupOutcome out;
    auto& report = out.report;
    auto fail = [&](std::string message) {
        out.endProgram = true;
        out.errorMessage = std::move(message);
        return out;
    };
    try {
        // Folders.
        state_.programFolder = programFolder;
        state_.fileFolder = programFolder + "file/";
        state_.helpFolder = programFolder + "help/";
        // An installed program finds its help page among the package's shared files.
        if (const std::string installed = executableDir() + "../share/tarvo/help/";
            !fileExists(state_.helpFolder + "index.html") && fileExists(installed + "index.html"))
            state_.helpFolder = installed;
        report.push_back(line("program-folder", state_.programFolder));
        makeDirs(state_.fileFolder);
        makeDirs(state_.fileFolder + "shbdat/");
        report.push_back(line("file-folder", state_.fileFolder));

        // Settings file and window placement.
        const IniFile ini(state_.settingsPath());
        if (ini.exists()) {
            out.placement.top = toIntDef(ini.read("WINDOW", "top"), 0);
            out.placement.left = toIntDef(ini.read("WINDOW", "left"), 0);
            report.push_back(line("settings", "read"));
        } else {
            out.placement.centred = true;
            out.placement.top = (geometry.screenHeight - geometry.windowHeight) / 2;
            out.placement.left = (geometry.screenWidth - geometry.windowWidth) / 2;
            writeDefaultSettings(ini.path());
            out.settingsWritten = true;
            report.push_back(line("settings", "default written"));
        }
        report.push_back(out.placement.centred
                             ? line("window", "centred")
                             : line("window", std::to_string(out.placement.top) + " " +
                                                  std::to_string(out.placement.left)));

        const std::string dir = ini.read("UMA_DB", "dir");
        const std::string mode = ini.read("UMA_DB", "mode");
        const std::string oddadd = ini.read("COMP_IDX", "oddadd");
        const std::string taiadd = ini.read("COMP_IDX", "taiadd");
        const std::string bcdadd = ini.read("COMP_IDX", "bcdadd");
        const std::string raceVtr = ini.read("RACE_VIEW", "race_vtr");
        const std::string kakoClr = ini.read("DSP_SET", "kako_clr");

        state_.storeRoot = resolveStoreRoot(dir, programFolder);
        report.push_back(line("store-root", state_.storeRoot));

        // The data-service control.
        if (!jvlink_) jvlink_ = JVDTLabLib_TLB::createJVLink(programFolder);
        out.jvInitResult = jvlink_->JVInit(kSoftwareId);
        report.push_back(line("jvlink-init", std::to_string(out.jvInitResult)));
        if (out.jvInitResult != 0)
            return fail(sj("JVSetUIPropertiesエラー コード：") + std::to_string(out.jvInitResult));
        state_.jvVersionText = jvlink_->m_JVLinkVersion();
        state_.jvVersionNumber = toIntDef(state_.jvVersionText, 0);
        report.push_back(line("jvlink-version", state_.jvVersionText));

        // Race viewer option.
        state_.raceViewerMenuEnabled = state_.jvVersionNumber >= 240;
        state_.raceViewer = state_.raceViewerMenuEnabled && raceVtr == "1";
        report.push_back(line("race-viewer", flag(state_.raceViewer) +
                                                 (state_.raceViewerMenuEnabled ? "" : " menu-disabled")));

        // Access mode and option check marks.
        state_.readOnly = mode == "readonly";
        report.push_back(line("access-mode", state_.accessModeText()));
        state_.optOdds = oddadd == "1";
        state_.optWeight = taiadd == "1";
        state_.optCondition = bcdadd == "1";
        state_.kakoClr = trimBoth(kakoClr) == "1" ? "1" : "0";
        report.push_back(line("options", "oddadd=" + flag(state_.optOdds) + " taiadd=" + flag(state_.optWeight) +
                                             " bcdadd=" + flag(state_.optCondition) + " kako_clr=" + state_.kakoClr));

        // The store root and its family folders.
        createFamilyFolders(StorePaths(state_.storeRoot));
        report.push_back(line("store-folders", std::to_string(familyFolders().size())));

        if (seams.buildStandardTimeTables) seams.buildStandardTimeTables(state_);

        if (state_.jvVersionNumber < 490)
            return fail(sj("新形式データ対応のTARVOは、Ver4.9.0以降のJV-Linkが必要です。\r\n"
                           "メッセージを閉じた後、TARVOを終了します。\r\n"
                           "最新のJV-Linkに更新した後、TARVOを実行してください。"));

        if (seams.conversionCheck && !seams.conversionCheck(state_)) {
            out.endProgram = true;
            return out;
        }
        out.complete = true;
    } catch (const IoError& e) {
        return fail(e.what());
    }
    return out;
}

void saveWindowPosition(const AppState& state, int top, int left) {
    const IniFile ini(state.settingsPath());
    ini.write("WINDOW", "top", std::to_string(top));
    ini.write("WINDOW", "left", std::to_string(left));
}

}  // namespace tarvo
