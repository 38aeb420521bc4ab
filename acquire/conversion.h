// The conversion of a store written by an earlier version: the horse,
// breeder, breeding horse and offspring families kept in the old format
// (".dat", 8-digit breeding numbers, 6-character breeder codes) are brought up
// to date with the old data specs "RACE", "DIFF", "BLOD" and "SNAP" and then
// rewritten in the new format (".datn"). The run knows no window: the
// conversion screen and the command-line tool implement its view alike.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "JVDTLabLib_TLB.h"
#include "layouts.h"
#include "message_kind.h"
#include "record_writers.h"
#include "registration.h"
#include "store_paths.h"

namespace tarvo {

// The files of the old format: extension ".dat" below BR/, HN/, SK/ or UM/.
std::vector<std::string> oldFormatFiles(const StorePaths& paths);
// Their number; above 0 the store must be converted before the program runs.
int oldFormatCount(const StorePaths& paths);

// The 10-digit breeding number of an old 8-digit one: its first three digits,
// "00", its last five; "0000000000" when it does not read as a number above 0.
std::string newBreedingNumber(std::string_view old8);
// A stored line of an old-format family (UMOld, BROld, HNOld, SKOld) in the
// layout of its new family: breeding numbers widened, breeder codes given
// "00", breeder names two blanks; every other field kept.
std::string convertOldLine(Family oldFamily, std::string_view line);
// The new file of an old one: the old path + "n"; for HN the name's first
// five characters, "00" and the rest (HN12345.dat -> HN1230045.datn).
std::string convertedPath(Family oldFamily, const std::string& oldPath);

class ConversionView {
public:
    virtual ~ConversionView() = default;
    // Label1 and Label2, blue once the conversion completed.
    virtual void labels(const std::string& /*label1*/, const std::string& /*label2*/, bool /*blue*/) {}
    // A line appended to the message memo ("" for an empty line).
    virtual void memoLine(const std::string& /*line*/) {}
    virtual void overallBar(int /*position*/, int /*maximum*/) {}
    virtual void stepBar(int /*position*/, int /*maximum*/) {}
    virtual void message(MessageKind /*kind*/, const std::string& /*text*/) {}
    // While running: btnClose disabled, btnExec hidden and btnCancel shown.
    virtual void runningChanged(bool /*on*/) {}
    // btnExec disabled for good once the conversion completed.
    virtual void completed() {}
    // One more file read to its end or converted.
    virtual void fileDone() {}
    virtual void pump() {}
    virtual void idle() {}
};

class ConversionRun {
public:
    ConversionRun(JVDTLabLib_TLB::IJVLink& jvlink, std::string settingsPath, StorePaths paths, ConversionView& view);

    RunResult run();
    void cancel() { cancel_ = true; }
    // Set when a run ended with no old-format file left.
    bool conversionCompleted() const { return completed_; }

private:
    void reRegister(int index);
    bool openSpec(int index, int& reads, std::string& lastStamp);
    void waitForDownloads(int downloads);
    void readFiles(int reads, int dateFloor);
    bool onRecord(const std::string& buff, int length, int dateFloor);
    void rebuildQueue();
    void convertFamily(int index);
    void line(const std::string& cp932);
    void fail(const std::string& spec);

    JVDTLabLib_TLB::IJVLink& jv_;
    std::string settingsPath_;
    StorePaths paths_;
    ConversionView& view_;
    RecordWriters writers_;
    std::string error_;
    bool cancel_ = false;
    bool completed_ = false;
    std::string queue_;
    std::string currentSpec_;
    int step_ = 0, stepMax_ = 0;
};

}  // namespace tarvo
