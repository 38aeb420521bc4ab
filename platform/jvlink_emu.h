// The data-service emulator: answers the control's calls from a source folder
// that stands for the service (its format: docs/jvlink-source.md) and from its
// own settings file jvlink.ini in the program folder (section JVLINK):
//   version   the version text (default "0490"); TARVO_JVLINK_VERSION overrides it
//   init      the result JVInit returns (default 0)
//   source    the source folder (default jvlink-source/ in the program folder;
//             a relative path is taken from the program folder);
//             TARVO_JVLINK_SOURCE overrides it
//   rate      files downloaded per second, 0 = at once (default 0);
//             TARVO_JVLINK_RATE overrides it
//   today     the date (YYYYMMDD) a setup's start date is checked against
//             (default the system date)
// and the fault settings listed in docs/jvlink-source.md. Downloaded files are
// kept in jvlink-cache/ in the program folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "JVDTLabLib_TLB.h"

namespace tarvo {

// The emulator's own settings as its settings dialog shows them.
struct JVLinkUiSettings {
    std::string source;   // source folder; "" for the default
    std::string sourceInEffect;  // the folder read while source is left as it is (shown, not stored)
    std::string version;  // four-digit version text
    std::string rate;     // files per second, "0" = at once
};

class JVLinkEmulator : public JVDTLabLib_TLB::IJVLink {
public:
    // Seconds on a monotonic clock; tests replace it to drive the download progress.
    using Clock = std::function<double()>;
    // Shows the settings dialog; true when the user accepted the (edited) settings.
    using SettingsDialog = std::function<bool(JVLinkUiSettings&)>;
    // Opens a media file with the desktop's default handler; 0 on success.
    using MediaOpener = std::function<int(const std::string& path)>;

    explicit JVLinkEmulator(std::string programFolder, Clock clock = {});

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

    // The emulator's settings file and download cache.
    std::string settingsPath() const { return programFolder_ + "jvlink.ini"; }
    std::string cacheFolder() const { return programFolder_ + "jvlink-cache/"; }
    // The source folder in effect, with a trailing separator.
    std::string sourceFolder() const;
    // A source folder that wins over the environment and the settings (empty: none).
    void overrideSource(std::string folder) { sourceOverride_ = std::move(folder); }

    // Installed by the program with a window: JVSetUIProperties calls it. Without
    // one, JVSetUIProperties changes nothing and returns -1.
    static void setSettingsDialog(SettingsDialog dialog);
    // Replaces the default opener (xdg-open), e.g. by the program or by tests.
    static void setMediaOpener(MediaOpener opener);

    // Results the emulator gives besides those of the control's contract.
    static constexpr int kNotInitialised = -201;   // JVInit has not succeeded
    static constexpr int kAlreadyOpen = -202;      // an open session was not closed
    static constexpr int kBadParameter = -111;     // malformed spec, time, option or key
    static constexpr int kNotOpen = -203;          // a reading call without an open session
    static constexpr int kPlayerFailed = -3;       // the media file could not be opened
    static constexpr int kSourceMissing = -411;    // the source folder does not exist (the service is not there)

private:
    struct File {
        std::string spec, name, timestamp, sourcePath;
        bool needsDownload = false;  // not in the cache when the session opened
        std::size_t downloadIndex = 0;
        bool fetched = false;        // copied into the cache during this session
        bool failed = false;         // the copy could not be made
    };

    std::string setting(const std::string& key, const std::string& def = {}) const;
    // The value of key.SPEC, else of key.
    std::string fault(const std::string& key, const std::string& spec) const;
    bool maintenance(const char* operation) const;
    double rate() const;
    bool sourceExists() const;
    std::size_t downloaded() const;
    void fetchDownloaded();
    void fetch(File& f);
    // Files JVFiledelete removed: their next download is sound.
    std::vector<std::string> repairedFiles() const;
    std::string cachePath(const File& f) const;
    bool cachedCopyCurrent(const File& f) const;
    int beginFile();
    void readFaults();
    void endSession();
    int playVideo(const std::string& type, const std::string& key);
    struct Video {
        std::string type, key, file, listKey;
    };
    std::vector<Video> readVideoList() const;

    std::string programFolder_;
    std::string sourceOverride_;
    Clock clock_;
    std::string sid_;
    bool initialised_ = false;

    // The open session of JVOpen or JVRTOpen.
    bool open_ = false;
    bool realTime_ = false;       // JVRTOpen: files read straight from the source
    std::string spec_;            // the data spec opened
    std::vector<File> files_;
    std::size_t downloadCount_ = 0;
    double openedAt_ = 0.0;
    double rate_ = 0.0;
    std::size_t current_ = 0;     // the file being read
    bool loaded_ = false;         // its contents are in data_
    std::string data_;
    std::size_t offset_ = 0;      // next record in data_
    int loadError_ = 0;           // the damage found in the file being read
    std::size_t recordsRead_ = 0; // records returned in this session
    int stuckResult_ = 0;         // gets_stuck: the result every read gives after
    std::size_t stuckAfter_ = 0;  // this many records
    std::string currentTimestamp_;

    // The open training video list.
    std::vector<std::string> videoEntries_;
    std::size_t videoNext_ = 0;
};

}  // namespace tarvo
