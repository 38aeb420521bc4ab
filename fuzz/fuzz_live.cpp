// The same-day updates over any real-time data: the bytes stand in every
// real-time file of one day and one race of the emulator's source folder, and
// the four fetches rewrite a small stored race in place. A rewrite must keep
// every stored line at its length and never write outside the store.
#include <cstdlib>

#include "fuzz_support.h"
#include "fsys.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "live_fetch.h"
#include "record_io.h"

namespace {

using namespace tarvo;

const RaceKey kRace("2026", "1206", "06", "01");

void storeRace(const StorePaths& p) {
    LineBuilder ra(Family::RA);
    for (const auto& [name, value] :
         {std::pair{"DataKubun", "2"}, {"Year", "2026"}, {"MonthDay", "1206"}, {"JyoCD", "06"},
          {"RaceNum", "01"}, {"HassoTime", "1000"}, {"TrackCD", "10"}, {"Kyori", "1600"}})
        ra.assign(name, value);
    writeRecord(p.ra(kRace.year, kRace.monthDay, kRace.jyoCD), ra.line(), recordKey(Family::RA));
    for (const std::string umaban : {"01", "02", "03"}) {
        LineBuilder se(Family::SE);
        for (const auto& [name, value] :
             {std::pair<const char*, std::string>{"DataKubun", "2"}, {"Year", "2026"},
              {"MonthDay", "1206"}, {"JyoCD", "06"}, {"RaceNum", "01"}, {"Umaban", umaban},
              {"KettoNum", "20230000" + umaban}, {"Bamei", "HORSE" + umaban}, {"TrackCD", "10"}, {"Kyori", "1600"}})
            se.assign(name, value);
        writeRecord(p.se(kRace.year, kRace.monthDay, kRace.jyoCD), se.line(), recordKey(Family::SE));
    }
}

void checkLines(const std::string& path, Family f) {
    std::string bytes;
    if (!readFile(path, bytes)) return;
    if (bytes.size() % layoutOf(f).lineLength != 0) std::abort();  // a rewrite changed a line's length
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::clearScratch();
    const std::string home = fuzz::scratch() + "home/";
    const StorePaths p(home + "data/");
    const std::string_view bytes = fuzz::asView(data, size);
    for (const char* file : {"0B11/20261206.jvd", "0B12/20261206.jvd", "0B14/20261206.jvd", "0B30/202612060601.jvd",
                             "0B34/202612060601.jvd"})
        fuzz::writeBytes(home + "jvlink-source/" + file, bytes);
    try {
        storeRace(p);
        JVLinkEmulator jv(home);
        (void)jv.JVInit("UNKNOWN");
        LiveView view;
        LiveUpdates live(jv, p, view);
        live.fetchChanges("20261206");
        live.fetchWeights("20261206");
        live.fetchResults(kRace);
        (void)live.fetchOdds(kRace);
    } catch (const IoError&) {
        // Reported to the user as an input/output failure: not a fault.
    }
    checkLines(p.ra(kRace.year, kRace.monthDay, kRace.jyoCD), Family::RA);
    checkLines(p.se(kRace.year, kRace.monthDay, kRace.jyoCD), Family::SE);
    return 0;
}
