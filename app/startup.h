// Start-up and shutdown of the application, free of any window: the folders,
// the settings file, the store root, the data-service control and its version,
// the access mode and the option states. The main window applies the outcome;
// the command-line tool prints it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "JVDTLabLib_TLB.h"

namespace tarvo {

// The software identifier handed to JVInit (31 characters).
inline constexpr const char* kSoftwareId = "TARVOJVDATALABDESKTOPCLIENT0200";
// Caption of the main window and of every message box.
inline constexpr const char* kAppCaption = "TARVO Ver.2.00";
// The application's title as the task bar shows it.
inline constexpr const char* kAppTitle = "Tarvo for JRA-VAN Data Lab.";

// The program folder: homeOption when given, else TARVO_HOME when set, else the
// executable's folder when it is a folder of its own (a build, or a copy the
// user can write to), else "tarvo" in the user's data folder: an installed
// program (its desktop entry beside it in share/applications/) lives in a
// read-only folder. Always with a trailing separator.
std::string resolveProgramFolder(const std::string& homeOption);

// What the rule above looks at, for the rule itself and its tests.
struct ProgramFolderSources {
    std::string homeOption, tarvoHome, executableDir;
    bool executableDirWritable = true;
    bool installed = false;  // the executable's folder is bin/ of an installation
    std::string xdgDataHome, home;  // XDG_DATA_HOME and HOME
};
std::string programFolderOf(const ProgramFolderSources& s);

// The store root: the settings' dir value exactly as written when a folder of
// that name exists, otherwise the program folder + "data/".
std::string resolveStoreRoot(const std::string& dirValue, const std::string& programFolder);

// Process-wide values fixed by start-up.
struct AppState {
    std::string programFolder;  // ends in "/"
    std::string fileFolder;     // programFolder + "file/"
    std::string helpFolder;     // programFolder + "help/" (never created), or the installed help
    std::string storeRoot;      // dir value as written, or programFolder + "data/"
    std::string jvVersionText;
    int jvVersionNumber = 0;
    bool readOnly = false;         // access mode "禁止"
    bool raceViewer = false;       // race viewer option
    bool raceViewerMenuEnabled = true;
    bool optOdds = false, optWeight = false, optCondition = false;  // option menu check marks
    std::string kakoClr = "0";     // past-run colouring option, "1" or "0"
    bool conversionCompleted = true;

    std::string settingsPath() const { return programFolder + "tarvo.ini"; }
    // "通常" or "禁止" (CP932).
    std::string accessModeText() const;
};

// Where the main window goes: a stored position, or centred.
struct WindowPlacement {
    bool centred = false;
    int top = 0, left = 0;
};

// Screen and window sizes for centring (the command-line tool has no screen).
struct ScreenGeometry {
    int screenWidth = 0, screenHeight = 0, windowWidth = 0, windowHeight = 0;
};

// Start-up steps that need more than the application core: the program passes
// them in, the command-line tool and the tests may leave them out.
struct StartupSeams {
    // Builds the standard time tables once the settings are read.
    std::function<void(AppState&)> buildStandardTimeTables;
    // Sends an old-format store through the conversion; false when the program
    // must end (the conversion did not complete).
    std::function<bool(AppState&)> conversionCheck;
};

struct StartupOutcome {
    bool complete = false;        // start-up finished and the program runs
    bool endProgram = false;      // the program must end after the message
    std::string errorMessage;     // the message box text (CP932) when it must end
    WindowPlacement placement;
    bool settingsWritten = false;  // the default settings file was written
    int jvInitResult = 0;
    // One line per outcome, "name<TAB>value" (CP932), for the command-line tool.
    std::vector<std::string> report;
};

class Startup {
public:
    Startup(AppState& state, std::unique_ptr<JVDTLabLib_TLB::IJVLink>& jvlink) : state_(state), jvlink_(jvlink) {}

    // Runs the start-up steps that need no window. Never throws: an input/output
    // failure ends start-up with its error text.
    StartupOutcome run(const std::string& programFolder, const ScreenGeometry& geometry,
                       const StartupSeams& seams = {});

private:
    AppState& state_;
    std::unique_ptr<JVDTLabLib_TLB::IJVLink>& jvlink_;
};

// Shutdown: saves the window's top and left.
void saveWindowPosition(const AppState& state, int top, int left);

}  // namespace tarvo
