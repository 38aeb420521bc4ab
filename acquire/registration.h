// The registration run: pulls the accumulated data specs "RACE", "DIFN",
// "SNPN" and "BLDN" from the data-service control, stores every record and
// rebuilds the track data. A setup run starts from a picked date and resumes
// where an interrupted setup stopped; a usual run continues from where the
// last run of each data spec ended. Progress and restart points live in
// section UMA_DB of the settings file.
//
// The run knows no window: everything it shows goes through a
// RegistrationView, which the registration screen and the command-line tool
// implement alike. Both call the same run, cancel and timer entry points.
#pragma once

#include <array>
#include <string>

#include "JVDTLabLib_TLB.h"
#include "message_kind.h"
#include "record_writers.h"
#include "track_variant.h"
#include "store_paths.h"

namespace tarvo {

enum class RunKind { Setup, Usual };
enum class RunResult { Completed, Error, Cancelled };
enum class StatusColour { Black, Blue, Teal, Red };

// One data spec of a run and the settings keys its prefix names.
struct DataSpec {
    const char* spec;         // "RACE"
    const char* prefix;       // "RCE": RCE_start, RCE_fname, RCE_tstmp, RCE_ltime
    const char* title;        // UTF-8 label on the screen
    const char* updateLabel;  // UTF-8 start of its message list line
};
const std::array<DataSpec, 4>& dataSpecs();

// Status label groups: 0 to 3 the data specs in run order, 4 the track data.
inline constexpr int kTrackDataGroup = 4;

// Consecutive reading results below 1 that the control gives without meaning
// (anything but a record, 0, -1, -3, -402, -403 and -502) are retried this many
// times, with a short pause each, before the data spec fails.
inline constexpr int kReadRetryLimit = 200;

// Buffer sizes handed to the reading call.
inline constexpr int kRecordBufferSize = 85000;

// "20240106 18:30:00" from a 14-digit timestamp (a shorter text as far as it goes).
std::string displayTimestamp(std::string_view stamp14);

class RegistrationView {
public:
    virtual ~RegistrationView() = default;
    // A status label group: its status text and colour, and its count label ("" clears it).
    virtual void status(int /*group*/, const std::string& /*text*/, StatusColour /*colour*/, const std::string& /*count*/) {}
    virtual void startTime(int /*group*/, const std::string& /*text*/) {}
    virtual void endTime(int /*group*/, const std::string& /*text*/) {}
    virtual void readText(const std::string& /*text*/) {}  // the file being read (stxtRead)
    virtual void execText(const std::string& /*text*/) {}  // the record being stored (stxtExec)
    virtual void downloadBar(int /*position*/, int /*maximum*/) {}
    virtual void downloadLabel(const std::string& /*text*/) {}
    virtual void readBar(int /*position*/, int /*maximum*/) {}
    virtual void readLabel(const std::string& /*text*/) {}
    virtual void clearMessageList() {}
    virtual void messageLine(const std::string& /*line*/) {}  // appended to the message list, shown scrolled to it
    virtual void message(MessageKind /*kind*/, const std::string& /*text*/) {}  // a modal message box
    virtual void downloadTimer(bool /*enabled*/) {}
    virtual void trackTimer(bool /*enabled*/) {}
    // One more file read to its end or skipped.
    virtual void fileDone() {}
    // Lets pending window messages run (timers, the cancel button).
    virtual void pump() {}
    // A short pause while the control has nothing to give yet.
    virtual void idle() {}
};

class RegistrationRun {
public:
    RegistrationRun(JVDTLabLib_TLB::IJVLink& jvlink, std::string settingsPath, StorePaths paths,
                    RegistrationView& view);

    // What the screen shows when it opens: after one open and close of the
    // control, the usual run when a setup has completed before, and the start
    // date of the last setup (or today, yyyymmdd).
    struct ScreenMode {
        bool usual = false;
        std::string startDate;
    };
    ScreenMode openScreen(const std::string& today);

    // One run; startDate (yyyymmdd) is the setup's picked date.
    RunResult run(RunKind kind, const std::string& startDate = {});

    // The cancel button: the run stops at the end of the file being read (or at
    // the next download poll) and the track data builder after its race.
    void cancel();
    bool cancelled() const { return cancel_; }

    // The two timers of the screen.
    bool downloadTimerEnabled() const { return downloadTimer_; }
    bool trackTimerEnabled() const { return trackTimer_; }
    void downloadTimerTick();
    void trackTimerTick();

    // The race keys queued for a track data rebuild by the last usual run.
    const std::string& resultsQueue() const { return queue_; }

private:
    struct Bar {
        int position = 0, maximum = 100;
    };
    enum class TrackMode { None, All, Queue };

    void begin();
    void runSteps(RunKind kind, const std::string& startDate);
    void runSpec(int index, RunKind kind, const std::string& startDate);
    void readFiles(int index, RunKind kind, const std::string& fromTime, int dateFloor, bool resume,
                   const std::string& fileKey);
    void rebuildAll();
    void rebuildQueue();
    bool finishTrackData();
    void closeControl();
    void statusFailure(int status);
    void setDownloadTimer(bool on);
    void setTrackTimer(bool on);
    void showDownloadBar();
    void showReadBar();
    void addMessageLine(const std::string& line);
    void setStatus(int group, const char* utf8, StatusColour colour, const std::string& count);
    void fail(const std::string& spec);
    std::string key(int index, const char* suffix) const;
    std::string setting(const std::string& key) const;
    void write(const std::string& key, const std::string& value) const;
    void saveResumePoint(int index, const std::string& fromTime, const std::string& file, const std::string& stamp);

    JVDTLabLib_TLB::IJVLink& jv_;
    std::string settingsPath_;
    StorePaths paths_;
    RegistrationView& view_;
    RecordWriters writers_;

    // Run state.
    std::string errorMarker_;
    bool cancel_ = false;
    std::string setStartCandidate_, lasttimeCandidate_;
    std::string queue_;
    std::vector<std::string> messageLines_;
    std::array<int, 4> counts_{};  // the count labels
    int readCount_ = 0, downloadCount_ = 0, filesDone_ = 0;
    int currentSpec_ = 0;
    bool open_ = false;  // a JVOpen waits for its JVClose
    bool downloadTimer_ = false, trackTimer_ = false;
    Bar download_, read_;
    TrackMode trackMode_ = TrackMode::None;
    int queueRebuilt_ = 0;
    BuilderProgress builder_;  // the track data builder in hand
    std::string lastFileName_;  // the last file read or skipped in the data spec in hand
    bool trackFailed_ = false;
};

}  // namespace tarvo
