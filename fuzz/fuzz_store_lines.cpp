// Stored-line readers and look-ups over a damaged store: the same bytes stand
// in every file a race and a horse are looked up in (short lines, lines
// without CR LF, stray bytes), and every look-up must come back with a text.
#include "fuzz_support.h"
#include "fsys.h"
#include "lookups.h"
#include "track_variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    fuzz::clearScratch();
    const std::string_view bytes = fuzz::asView(data, size);
    const StorePaths p(fuzz::scratch() + "data/");
    const RaceKey race("2024", "0602", "05", "11");
    const std::string horse = "2020100001";
    for (const std::string& path :
         {p.ra(race.year, race.monthDay, race.jyoCD), p.se(race.year, race.monthDay, race.jyoCD),
          p.ck(race.year, race.monthDay, race.jyoCD), p.hr(race.year, race.monthDay), p.o2(race.year, race.monthDay),
          p.o3(race.year, race.monthDay), p.o4(race.year, race.monthDay), p.o5(race.year, race.monthDay),
          p.o6(race.year, race.monthDay, race.jyoCD), p.bb(race.year, race.monthDay), p.um(horse, "datn"),
          p.um(horse, "idx"), p.ks("01234"), p.ch("01234"), p.sk(horse), p.hn("0001234567"),
          fuzz::scratch() + "file/babadif.csv"})
        if (!path.empty()) fuzz::writeBytes(path, bytes);
    try {
        (void)findRace(p, race);
        (void)findRunnerByNumber(p, race, "01");
        (void)findRunnerByHorse(p, race, horse);
        (void)countRunners(p, race);
        (void)countEntries(p, race);
        (void)countFinalRaces(p, race.year, race.monthDay, race.jyoCD, true);
        (void)findHorse(p, horse);
        (void)findJockey(p, "01234");
        (void)findTrainer(p, "01234");
        (void)findJockeyByShortName(p, "x");
        (void)findRunIndexLine(p, horse);
        (void)runList(p, horse);
        (void)findPayout(p, race);
        (void)findQuinellaOdds(p, race);
        (void)findTrifectaOdds(p, race);
        (void)findAptitude(p, race, horse);
        (void)storedVariant(p, fuzz::scratch() + "file/", race.date(), race.jyoCD, race.raceNum);
        (void)storedVariant(p, fuzz::scratch() + "file/", race.date(), "45", race.raceNum);
    } catch (const IoError&) {
        // Reported to the user as an input/output failure: not a fault.
    }
    return 0;
}
