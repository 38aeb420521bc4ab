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
// (none of the JVResult codes of the reading calls) are retried this many
// times, with a short pause each, before the data spec fails.
inline constexpr int kReadRetryLimit = 200;

// Seconds without a new record or file after which the reading is stuck.
inline constexpr double kStallSeconds = 600.0;

// Buffer sizes handed to the reading call.
inline constexpr int kRecordBufferSize = 85000;

// The races whose track data a usual run still has to rebuild (their results
// are stored) wait in this file beside the settings file until their rebuild
// completes, so that a run that fails or is cancelled loses none of them.
std::string pendingQueuePath(const std::string& settingsPath);
// Its race keys, concatenated ("" when there is no file).
std::string readPendingQueue(const std::string& settingsPath);

// The message of a damaged file (kDamagedSize or kDamagedData), asking for the
// setup or the registration to be run again.
std::string damagedFileText(const std::string& fileName, int result, bool setup);

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
    // At the end of a data spec that refused records (they fit no layout of
    // their kind) or left files at a record id no layout knows.
    virtual void refusals(int /*group*/, int /*records*/, int /*files*/) {}
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

    // One run; startDate (yyyymmdd) is the setup's picked date. A setup the
    // control reports cancelled by the user ends Cancelled, with the messages
    // of a failed one.
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

    // A control whose reading gives no new record or file for this many
    // seconds (still downloading, the same file end or record again) ends the
    // data spec with the reading error.
    void setStallBound(double seconds) { stallBound_ = seconds; }

    // The race keys queued for a track data rebuild by the last usual run,
    // those an earlier run left first.
    const std::string& resultsQueue() const { return queue_; }

private:
    struct Bar {
        int position = 0, maximum = 100;
    };
    enum class TrackMode { None, All, Queue };

    // The data spec in hand: where it starts and what the open told.
    struct SpecPlan {
        int index = 0;
        bool setup = false;
        std::string fromTime;   // the from-time of the open
        int dateFloor = 0;      // races before this date are not stored
        bool resume = false;    // a setup skipping the files an interrupted one stored
        std::string fileKey;    // the last file the interrupted setup stored
        std::string lastStamp;  // the last file timestamp the open reported
    };
    // The reading loop's state.
    struct Reading {
        std::string buff, fileName, shownFile, lastFileStamp;
        std::string safeStamp;  // a next-time key that passes over no unread file
        std::string checkedName;  // the last file name found sound
        std::string previous, previousFile;  // the last record and its file
        double progressAt = 0;  // when the last new record or file was handled (seconds)
        bool progressed = false;  // the call in hand brought a new record or file
        int meaningless = 0;    // consecutive results without meaning
        int refusedInFile = 0;  // records of the file that fit no layout of their kind
        std::string unknownId;  // the record id no layout knows that the file was left at
    };
    // What the reading loop does after one result: read on, read on after a
    // pause, or end the data spec.
    enum class ReadStep { Next, Wait, Stop };

    void begin();
    void runSteps(RunKind kind, const std::string& startDate);
    void finishSetup();
    void finishUsual();
    void runSpec(int index, RunKind kind, const std::string& startDate);
    void resetProgress();
    SpecPlan planSpec(int index, RunKind kind, const std::string& startDate) const;
    bool openSpec();
    void openFailed(int opened);
    void waitForDownloads();
    void takeCandidates();
    void closeSpec();
    void showSpecStatus(int index);
    void readFiles();
    ReadStep onRecord(int length);
    ReadStep afterRecord();
    void reportRefusals();
    ReadStep onResult(int n);
    // In a resumed setup: skips the file when it is at or before the saved
    // one's place; false when it comes after it (the resume has ended).
    bool skipStoredFile();
    void queueResult();
    void countFile();
    // A file read to its end (stamp its timestamp): true when a cancel stops the reading there.
    bool fileEnded(const std::string& stamp);
    void stopAtBoundary();
    void damagedFile(int n);
    void damageMessage(int n);
    // True (the data spec failed) when the file name reported is no file name.
    bool badFileName();
    // True (the data spec failed) when no new record or file has arrived for
    // the stall bound; n is the last reading result.
    bool stalled(int n);
    void rebuildAll();
    void rebuildQueue();
    void savePendingQueue();
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
    std::string savedQueue_;  // the queue as the program folder holds it
    std::vector<std::string> messageLines_;
    std::array<int, 4> counts_{};  // the count labels
    int readCount_ = 0, downloadCount_ = 0, filesDone_ = 0;
    int refusedRecords_ = 0, unknownFiles_ = 0;  // of the data spec in hand
    int currentSpec_ = 0;
    bool open_ = false;  // a JVOpen waits for its JVClose
    bool downloadTimer_ = false, trackTimer_ = false;
    Bar download_, read_;
    TrackMode trackMode_ = TrackMode::None;
    int queueRebuilt_ = 0;
    SpecPlan plan_;
    Reading reading_;
    BuilderProgress builder_;  // the track data builder in hand
    std::string lastFileName_;  // the last file read or skipped in the data spec in hand
    bool trackFailed_ = false;
    bool serviceCancelled_ = false;  // the control's open reported a setup the user cancelled there
    double stallBound_ = kStallSeconds;
};

}  // namespace tarvo
