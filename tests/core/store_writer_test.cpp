// Storing received records: the dispatch, the copy into the record structure,
// and the family writers' rules, on small hand-made JV-Data records.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "JVData_Structure.h"
#include "cp932.h"
#include "jv_fixture.h"
#include "layouts.h"
#include "lookups.h"
#include "record_io.h"
#include "record_writers.h"
#include "textfn.h"
#include "test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

using test::race;
using test::raRecord;
using test::Raw;
using test::seRecord;

class StoreWriterTest : public ::testing::Test {
protected:
    StoreOutcome store(const Raw& r, int floor = 0, DispatchMode mode = DispatchMode::Registration) {
        return writers.store(r.rec, static_cast<long>(r.rec.size()), floor, mode);
    }
    std::string raPath() const { return paths.ra("2024", "0106", "05"); }
    std::string seLine(const char* jyo = "05") const {
        return findRunnerByHorse(paths, {"2024", "0106", jyo, "11"}, "2019104567");
    }

    test::TempDir dir;
    StorePaths paths{dir.path()};
    RecordWriters writers{paths};
};

TEST(StoredLinePlans, EveryStoredFieldIsFilledFromTheRawFieldOfItsName) {
    // Each raw field holds a text of its own, so a stored field shows which
    // raw fields filled it.
    struct Probe {
        Family family;
        const char* rawId;
        RawVersion version;
        const char* stored;
        std::vector<const char*> raw;  // joined in this order
    };
    const Probe probes[] = {
        {Family::RA, "RA", RawVersion::Current, "MakeDate", {"head.MakeDate.Year", "head.MakeDate.Month", "head.MakeDate.Day"}},
        {Family::RA, "RA", RawVersion::Current, "JyokenCD5", {"JyokenInfo.JyokenCD[5]"}},
        {Family::RA, "RA", RawVersion::Current, "Jyuni3", {"CornerInfo[3].Jyuni"}},
        {Family::RA, "RA", RawVersion::Current, "SibaBabaCD", {"TenkoBaba.SibaBabaCD"}},
        {Family::SE, "SE", RawVersion::Current, "Jyuni4c", {"Jyuni4c"}},
        {Family::HR, "HR", RawVersion::Current, "PayWakurenKumi2", {"PayWakuren[2].Umaban"}},
        {Family::HR, "HR", RawVersion::Current, "PaySanrentanNinki6", {"PaySanrentan[6].Ninki"}},
        {Family::O2, "O2", RawVersion::Current, "HappyoTime", {"HappyoTime.Month", "HappyoTime.Day", "HappyoTime.Hour", "HappyoTime.Minute"}},
        {Family::O4, "O4", RawVersion::Current, "UmarenFlag", {"UmatanFlag"}},
        {Family::O4, "O4", RawVersion::Current, "HyosuUmaren", {"TotalHyosuUmatan"}},
        {Family::O6, "O6", RawVersion::Current, "OddsSantan4896", {"OddsSanrentanInfo[4896].Kumi", "OddsSanrentanInfo[4896].Odds", "OddsSanrentanInfo[4896].Ninki"}},
        {Family::UM, "UM", RawVersion::Current, "Ketto3InfoBamei6", {"Ketto3Info[6].Bamei"}},
        {Family::UM, "UM", RawVersion::Current, "ChakuKaisuBa7", {"ChakuKaisuBa[7].Chakukaisu[1]", "ChakuKaisuBa[7].Chakukaisu[2]", "ChakuKaisuBa[7].Chakukaisu[3]", "ChakuKaisuBa[7].Chakukaisu[4]", "ChakuKaisuBa[7].Chakukaisu[5]", "ChakuKaisuBa[7].Chakukaisu[6]"}},
        {Family::KS, "KS", RawVersion::Current, "HatuKiJyo2_Date", {"HatuKiJyo[2].Hatukijyoid.Year", "HatuKiJyo[2].Hatukijyoid.MonthDay"}},
        {Family::KS, "KS", RawVersion::Current, "SaikinJyusyo3_RaceNum", {"SaikinJyusyo[3].SaikinJyusyoid.RaceNum"}},
        {Family::CH, "CH", RawVersion::Current, "HonZenRuikei2_SetYear", {"HonZenRuikei[2].SetYear"}},
        {Family::BN, "BN", RawVersion::Current, "Ruikei_FukaSyokin2", {"HonRuikei[2].FukaSyokin"}},
        {Family::BR, "BR", RawVersion::Current, "HonRuikei_SetYear1", {"HonRuikei[1].SetYear"}},
        {Family::SK, "SK", RawVersion::Current, "HansyokuNum6", {"HansyokuNum[6]"}},
        {Family::CK, "CK", RawVersion::Current, "KisyuCode", {"KisyuChaku.KisyuCode"}},
        {Family::UMOld, "UM", RawVersion::Old, "BreederName", {"BreederName"}},
        {Family::HNOld, "HN", RawVersion::Old, "HansyokuMNum", {"HansyokuMNum"}},
    };
    std::map<Family, std::string> lines;
    std::map<Family, std::map<std::string, std::string>> texts;  // raw path -> its text
    for (Family f : allFamilies()) {
        if (f == Family::UMIDX || f == Family::BB) continue;  // no raw record
        SCOPED_TRACE(std::string(layoutOf(f).id));
        const bool old = f == Family::UMOld || f == Family::BROld || f == Family::HNOld || f == Family::SKOld;
        const std::string id(layoutOf(f).id.substr(0, 2));
        Raw r(id.c_str(), old ? RawVersion::Old : RawVersion::Current);
        std::size_t n = 0;
        for (const RawField& rf : r.layout.fields()) {
            if (rf.path == "head.RecordSpec" || rf.path == "crlf") continue;
            // A digit pattern of the field's width that differs from its neighbours'.
            std::string t(rf.len, static_cast<char>('1' + n++ % 9));
            texts[f][rf.path] = t;
            r.set(rf.path.c_str(), t);
        }
        JVRecord rec;
        ASSERT_TRUE(rec.copyFrom(r.rec, static_cast<long>(r.rec.size())));
        LineBuilder b(f);
        ASSERT_TRUE(buildStoredLine(f, rec, b));
        EXPECT_EQ(b.line().size(), layoutOf(f).lineLength);
        for (const Field& field : layoutOf(f).fields) {
            const bool addedByStore = (f == Family::SE && (field.name == "TrackCD" || field.name == "Kyori" ||
                                                           field.name == "UserYoso")) ||
                                      (f == Family::CK && (field.name == "TrackCD" || field.name == "Kyori" ||
                                                           field.name.find('_') != std::string::npos));
            EXPECT_EQ(trimBoth(b.get(field.name)).empty(), addedByStore) << field.name;
        }
        lines[f] = b.line();
    }
    for (const Probe& p : probes) {
        std::string expected;
        for (const char* path : p.raw) expected += texts[p.family].at(path);
        EXPECT_EQ(getField(p.family, lines[p.family], p.stored), expected) << p.stored;
    }
}

TEST(StoredLinePlans, RecordOfAnotherKindOrLayoutBuildsNothing) {
    JVRecord umOld, se;
    Raw old("UM", RawVersion::Old);
    old.set("KettoNum", "2015104900");
    ASSERT_TRUE(umOld.copyFrom(old.rec, static_cast<long>(old.rec.size())));
    LineBuilder b(Family::UM);
    EXPECT_FALSE(buildStoredLine(Family::UM, umOld, b));
    LineBuilder ob(Family::UMOld);
    EXPECT_TRUE(buildStoredLine(Family::UMOld, umOld, ob));
    Raw s = seRecord("05", "7");
    ASSERT_TRUE(se.copyFrom(s.rec, static_cast<long>(s.rec.size())));
    LineBuilder rb(Family::RA);
    EXPECT_FALSE(buildStoredLine(Family::RA, se, rb));
}

TEST(JVRecordCopy, RefusesRecordsThatDoNotFitTheirKind) {
    const std::string good = raRecord("05", "17", "1600").rec;
    const long len = static_cast<long>(good.size());
    struct Case {
        const char* what;
        std::string received;
        long length;
        bool ok;
    };
    std::string noCrLf = good;
    noCrLf[good.size() - 2] = ' ';
    std::string withLineBreak = good;
    withLineBreak[100] = '\n';
    std::string badYear = good;
    badYear.replace(11, 4, "20 4");
    std::string badTrack = good;
    badTrack.replace(19, 2, "/.");
    Raw blankCode("KS");
    blankCode.set("KisyuName", sj("騎手"));
    const Case cases[] = {
        {"sound", good, len, true},
        {"length of another kind", good, len - 1, false},
        {"cut short by the buffer", good.substr(0, 1000), len, false},
        {"no CR LF at the end", noCrLf, len, false},
        {"line break inside", withLineBreak, len, false},
        {"year not digits", badYear, len, false},
        {"track code unfit for a file name", badTrack, len, false},
        {"master without its code", blankCode.rec, static_cast<long>(blankCode.rec.size()), false},
        {"unknown kind", "ZZ" + good.substr(2), len, false},
        {"zero length", good, 0, false},
    };
    for (const Case& c : cases) {
        JVRecord r;
        EXPECT_EQ(r.copyFrom(c.received, c.length), c.ok) << c.what;
        EXPECT_EQ(r.bytes().size(), c.ok ? good.size() : 0u) << c.what;
    }
}

TEST_F(StoreWriterTest, DispatchByIdDateFloorAndState) {
    struct Case {
        const char* what;
        Raw record;
        int floor;
        StoreOutcome outcome;
    };
    Raw um("UM");
    um.set("KettoNum", "2019104567").set("Bamei", sj("テストホース"));
    Raw ks("KS");
    ks.set("KisyuCode", "01234").set("KisyuName", sj("武 豊"));
    Raw o1 = race("O1");
    Raw wh = race("WH");
    const Case cases[] = {
        {"RA on the floor", raRecord("05", "17", "1600"), 20240106, StoreOutcome::Stored},
        {"RA a day before the floor", raRecord("05", "17", "1600"), 20240107, StoreOutcome::NotStored},
        {"RA in state B", raRecord("05", "17", "1600", "B"), 0, StoreOutcome::NotStored},
        {"SE in state B", seRecord("05", "B"), 0, StoreOutcome::NotStored},
        {"HR in state B is stored", race("HR", "05", "B"), 0, StoreOutcome::Stored},
        {"CK before the floor", race("CK"), 20240107, StoreOutcome::NotStored},
        {"O6 before the floor", race("O6"), 20240107, StoreOutcome::NotStored},
        {"UM whatever the floor", um, 99999999, StoreOutcome::Stored},
        {"KS whatever the floor", ks, 99999999, StoreOutcome::Stored},
        {"O1 is not stored", o1, 0, StoreOutcome::OtherKind},
        {"WH is not stored", wh, 0, StoreOutcome::OtherKind},
    };
    for (const Case& c : cases) EXPECT_EQ(store(c.record, c.floor), c.outcome) << c.what;

    EXPECT_EQ(readLines(raPath()).size(), 1u);
    EXPECT_TRUE(fs::exists(paths.hr("2024", "0106")));
    EXPECT_FALSE(fs::exists(paths.se("2024", "0106", "05")));
    EXPECT_FALSE(fs::exists(paths.ck("2024", "0106", "05")));
    EXPECT_FALSE(fs::exists(paths.o6("2024", "0106", "05")));
    EXPECT_EQ(getField(Family::UM, findHorse(paths, "2019104567"), "Bamei"), sj("テストホース") + std::string(24, ' '));
    EXPECT_FALSE(findJockey(paths, "01234").empty());
}

TEST_F(StoreWriterTest, ConversionKeepsStateBAndWritesTheOldFormat) {
    EXPECT_EQ(store(raRecord("05", "17", "1600", "B"), 0, DispatchMode::Conversion), StoreOutcome::Stored);
    Raw old("UM", RawVersion::Old);
    old.set("KettoNum", "2015104900").set("BreederCode", "123456");
    EXPECT_EQ(store(old, 0, DispatchMode::Conversion), StoreOutcome::Stored);
    const auto lines = readLines(paths.umOld("2015104900", "dat"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size() + 2, layoutOf(Family::UMOld).lineLength);
    EXPECT_EQ(getField(Family::UMOld, lines[0], "BreederCode"), "123456");
    EXPECT_FALSE(fs::exists(paths.um("2015104900", "datn")));
    // A registration run takes only the current layout.
    EXPECT_EQ(store(old), StoreOutcome::Refused);

    // An old-layout CK record (breeder code 6 characters, far after the fields
    // taken) is stored as the current one with the same fields is.
    Raw current = race("CK");
    Raw oldCk("CK", RawVersion::Old);
    for (const char* path : {"head.DataKubun", "head.MakeDate.Year", "head.MakeDate.Month", "head.MakeDate.Day", "id.Year",
                             "id.MonthDay", "id.JyoCD", "id.Kaiji", "id.Nichiji", "id.RaceNum"})
        oldCk.set(path, current.layout.get(current.rec, path));
    for (Raw* r : {&current, &oldCk})
        r->set("UmaChaku.KettoNum", "2019104567").set("KisyuChaku.KisyuCode", "01234").set("UmaChaku.ChakuKaisuSibaKyori[3].Chakukaisu[1]", "002");
    EXPECT_EQ(store(oldCk), StoreOutcome::Refused);
    EXPECT_EQ(store(oldCk, 0, DispatchMode::Conversion), StoreOutcome::Stored);
    const std::string fromOld = findAptitude(paths, {"2024", "0106", "05", "11"}, "2019104567");
    ASSERT_FALSE(fromOld.empty());
    EXPECT_EQ(store(current), StoreOutcome::Stored);
    EXPECT_EQ(findAptitude(paths, {"2024", "0106", "05", "11"}, "2019104567"), fromOld);
    EXPECT_EQ(getField(Family::CK, fromOld, "KisyuCode"), "01234");
}

TEST_F(StoreWriterTest, ShownIdentityOfEachKind) {
    std::vector<std::string> shown;
    writers.setShow([&](const std::string& t) { shown.push_back(t); });
    Raw sk("SK");
    sk.set("KettoNum", "2019104567").set("HansyokuNum[1]", "1110000001").set("HansyokuNum[2]", "1120000002");
    Raw hn("HN");
    hn.set("HansyokuNum", "1110000001").set("KettoNum", "2005100001").set("Bamei", sj("　サイアー　"));
    Raw ck = race("CK");
    ck.set("UmaChaku.KettoNum", "2019104567");
    store(raRecord("05", "17", "1600", "B"));  // shown although not stored
    store(seRecord("05", "7"));
    store(sk);
    store(hn);
    store(ck);
    store(race("O1"));  // another kind shows nothing
    const std::vector<std::string> expected = {
        "20240106 05 11",
        "20240106 05 11 03 " + sj("テストホース"),
        "2019104567 1110000001x1120000002",
        "2005100001 1110000001 " + sj("サイアー"),
        "20240106 05 11 2019104567",
    };
    EXPECT_EQ(shown, expected);
}

TEST_F(StoreWriterTest, MalformedRecordsLeaveTheStoreAsItWas) {
    ASSERT_EQ(store(raRecord("05", "17", "1600")), StoreOutcome::Stored);
    ASSERT_EQ(store(seRecord("05", "7")), StoreOutcome::Stored);
    const std::string ra = test::slurp(raPath()), se = test::slurp(paths.se("2024", "0106", "05"));
    const std::string idx = test::slurp(paths.um("2019104567", "idx"));

    Raw cutRa = raRecord("05", "10", "2000");
    Raw badSe = seRecord("05", "7");
    badSe.at(200, "\r\n");
    const std::string cut = cutRa.rec.substr(0, 700);
    EXPECT_EQ(writers.store(cut, static_cast<long>(cutRa.rec.size()), 0), StoreOutcome::Refused);
    EXPECT_EQ(writers.store(cutRa.rec, 700, 0), StoreOutcome::Refused);
    EXPECT_EQ(store(badSe), StoreOutcome::Refused);

    EXPECT_EQ(test::slurp(raPath()), ra);
    EXPECT_EQ(test::slurp(paths.se("2024", "0106", "05")), se);
    EXPECT_EQ(test::slurp(paths.um("2019104567", "idx")), idx);
}

TEST_F(StoreWriterTest, FixedWidthFieldRuleAndReplaceInPlace) {
    Raw ra = raRecord("05", "17", "1600");
    ra.set("RaceInfo.Hondai", sj("　　京都金杯  "));
    ASSERT_EQ(store(ra), StoreOutcome::Stored);
    ra.set("RaceInfo.Hondai", sj("京都金杯")).set("head.DataKubun", "A");
    ASSERT_EQ(store(ra), StoreOutcome::Stored);
    const auto lines = readLines(raPath());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(getField(Family::RA, lines[0], "Hondai"), sj("京都金杯") + std::string(52, ' '));
    EXPECT_EQ(getField(Family::RA, lines[0], "DataKubun"), "A");
    EXPECT_EQ(test::slurp(raPath()).size(), 667u);
}

TEST_F(StoreWriterTest, RunnerArrivingAgainKeepsTheUserMark) {
    ASSERT_EQ(store(raRecord("05", "17", "1600")), StoreOutcome::Stored);
    Raw first = seRecord("05", "2");
    ASSERT_EQ(store(first), StoreOutcome::Stored);
    // The user marks the runner.
    const std::string path = paths.se("2024", "0106", "05");
    LineBuilder marked(Family::SE, seLine());
    marked.assignRaw("UserYoso", sj("◎"));
    writeRecord(path, marked.line(), recordKey(Family::SE));

    Raw result = seRecord("05", "7");
    result.set("KakuteiJyuni", "01").set("NyusenJyuni", "01").set("Time", "1336").set("HaronTimeL3", "339");
    ASSERT_EQ(store(result), StoreOutcome::Stored);
    const auto lines = readLines(path);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(getField(Family::SE, lines[0], "DataKubun"), "7");
    EXPECT_EQ(getField(Family::SE, lines[0], "KakuteiJyuni"), "01");
    EXPECT_EQ(getField(Family::SE, lines[0], "Time"), "1336");
    EXPECT_EQ(getField(Family::SE, lines[0], "UserYoso"), sj("◎"));
}

TEST_F(StoreWriterTest, LocalRaceKeepsHandEnteredCornersAndLast3F) {
    struct Case {
        const char* jyo;
        bool kept;
    };
    for (const Case& c : {Case{"44", true}, Case{"05", false}}) {
        SCOPED_TRACE(c.jyo);
        Raw first = seRecord(c.jyo, "A");
        first.set("Jyuni1c", "05").set("Jyuni4c", "02").set("HaronTimeL3", "381").set("Time", "1525");
        ASSERT_EQ(store(first), StoreOutcome::Stored);
        const std::string path = paths.se("2024", "0106", c.jyo);
        LineBuilder edited(Family::SE, seLine(c.jyo));
        edited.assignRaw("Jyuni1c", "03");
        edited.assignRaw("HaronTimeL3", "377");
        writeRecord(path, edited.line(), recordKey(Family::SE));

        Raw again = seRecord(c.jyo, "A");
        again.set("Jyuni1c", "  ").set("Jyuni4c", "  ").set("HaronTimeL3", "   ").set("Time", "1526");
        ASSERT_EQ(store(again), StoreOutcome::Stored);
        const std::string line = seLine(c.jyo);
        EXPECT_EQ(getField(Family::SE, line, "Time"), "1526");  // other fields always from the record
        EXPECT_EQ(getField(Family::SE, line, "Jyuni1c"), c.kept ? "03" : "  ");
        EXPECT_EQ(getField(Family::SE, line, "Jyuni4c"), c.kept ? "02" : "  ");
        EXPECT_EQ(getField(Family::SE, line, "HaronTimeL3"), c.kept ? "377" : "   ");
    }
}

TEST_F(StoreWriterTest, LocalRaceTakesTheRecordsCornersAndLast3FWhereTheStoredAreBlank) {
    // Stored values, then the record's; the result per field.
    struct Case {
        const char* stored;
        const char* received;
        const char* want;
    };
    const Case corner[] = {{"  ", "04", "04"}, {"00", "04", "04"}, {"03", "04", "03"}, {"  ", "  ", "  "}};
    const Case last3f[] = {{"   ", "381", "381"}, {"000", "381", "381"}, {"377", "381", "377"}, {"377", "   ", "377"}};
    for (std::size_t i = 0; i < std::size(corner); ++i) {
        SCOPED_TRACE(i);
        fs::remove(paths.se("2024", "0106", "44"));
        writers = RecordWriters(paths);  // a new batch: the removed file is not kept open
        Raw first = seRecord("44", "A");
        first.set("Jyuni2c", corner[i].stored).set("HaronTimeL3", last3f[i].stored);
        ASSERT_EQ(store(first), StoreOutcome::Stored);
        ASSERT_EQ(getField(Family::SE, seLine("44"), "Jyuni2c"), corner[i].stored);

        Raw again = seRecord("44", "7");
        again.set("Jyuni2c", corner[i].received).set("HaronTimeL3", last3f[i].received);
        ASSERT_EQ(store(again), StoreOutcome::Stored);
        EXPECT_EQ(getField(Family::SE, seLine("44"), "Jyuni2c"), corner[i].want);
        EXPECT_EQ(getField(Family::SE, seLine("44"), "HaronTimeL3"), last3f[i].want);
    }
}

TEST_F(StoreWriterTest, AbnormalResultCodesSetThePositions) {
    struct Case {
        const char* ijyo;
        const char* position;
    };
    const Case cases[] = {{"1", "96"}, {"2", "97"}, {"3", "98"}, {"4", "99"}, {"5", "07"}, {"0", "07"}, {" ", "07"}};
    for (const Case& c : cases) {
        Raw se = seRecord("05", "7");
        se.set("IJyoCD", c.ijyo).set("NyusenJyuni", "07").set("KakuteiJyuni", "07");
        ASSERT_EQ(store(se), StoreOutcome::Stored);
        EXPECT_EQ(getField(Family::SE, seLine(), "NyusenJyuni"), c.position) << c.ijyo;
        EXPECT_EQ(getField(Family::SE, seLine(), "KakuteiJyuni"), c.position) << c.ijyo;
    }
}

TEST_F(StoreWriterTest, RunnerTakesTheCourseOfItsStoredRace) {
    // A runner stored before its race has no course.
    ASSERT_EQ(store(seRecord("05", "2")), StoreOutcome::Stored);
    EXPECT_EQ(getField(Family::SE, seLine(), "TrackCD"), "  ");
    EXPECT_EQ(getField(Family::SE, seLine(), "Kyori"), "    ");
    ASSERT_EQ(store(raRecord("05", "17", "1600")), StoreOutcome::Stored);
    ASSERT_EQ(store(seRecord("05", "2")), StoreOutcome::Stored);
    EXPECT_EQ(getField(Family::SE, seLine(), "TrackCD"), "17");
    EXPECT_EQ(getField(Family::SE, seLine(), "Kyori"), "1600");
    // The race's course changes: the next runner record takes the new one.
    ASSERT_EQ(store(raRecord("05", "24", "1400")), StoreOutcome::Stored);
    ASSERT_EQ(store(seRecord("05", "7")), StoreOutcome::Stored);
    EXPECT_EQ(getField(Family::SE, seLine(), "TrackCD"), "24");
    EXPECT_EQ(getField(Family::SE, seLine(), "Kyori"), "1400");
    EXPECT_EQ(readLines(paths.se("2024", "0106", "05")).size(), 1u);
}

TEST_F(StoreWriterTest, RunnerUpdatesTheHorsesRunList) {
    ASSERT_EQ(store(seRecord("44", "A")), StoreOutcome::Stored);
    Raw later = seRecord("05", "7");
    later.set("id.MonthDay", "0301").set("Bamei", sj("テストホース２"));
    ASSERT_EQ(store(later), StoreOutcome::Stored);
    EXPECT_EQ(runList(paths, "2019104567"), "2024030105202401064" "4");
    EXPECT_EQ(getField(Family::UMIDX, findRunIndexLine(paths, "2019104567"), "Bamei"),
              sj("テストホース２") + std::string(22, ' '));
    // A runner without a pedigree number has no run list.
    ASSERT_EQ(store(seRecord("05", "7", "0000000000")), StoreOutcome::Stored);
    EXPECT_TRUE(findRunIndexLine(paths, "0000000000").empty());
}

// A CK record whose count groups are written at the byte positions of the
// received record: each group of the horse holds "h" + its offset, each group
// of the jockey "k" + its offset, so a selection shows where it came from.
Raw ckRecord(const char* jyo) {
    Raw r = race("CK", jyo);
    r.at(28, "2019104567").at(74, "000012345").at(110, "000067890").at(1385, "01234");
    auto fill = [&](std::size_t pos, std::size_t width, std::size_t count, char tag) {
        for (std::size_t i = 0; i < count; ++i) {
            std::string t = tag + std::to_string(pos + i * width);
            t.resize(width, '0');
            r.at(pos + i * width, t);
        }
    };
    fill(506, 18, 9, 'h');   // horse, turf by distance band
    fill(668, 18, 9, 'h');   // horse, dirt by distance band
    fill(830, 18, 10, 'h');  // horse, turf by track
    fill(1010, 18, 10, 'h'); // horse, dirt by track
    fill(2772, 24, 9, 'k');  // jockey, turf by distance band (cumulative)
    fill(2988, 24, 9, 'k');
    fill(3204, 24, 10, 'k');
    fill(3444, 24, 10, 'k');
    return r;
}

std::string tagAt(std::size_t pos, std::size_t width) {
    std::string t = (width == 18 ? "h" : "k") + std::to_string(pos);
    t.resize(width, '0');
    return t;
}

TEST_F(StoreWriterTest, AptitudeSelectionsByCourseDistanceAndTrack) {
    struct Case {
        const char* what;
        const char* jyo;
        const char* trackCD;  // nullptr: the race is not stored
        const char* kyori;
        int band;
        bool turf, dirt, byTrack;
    };
    const Case cases[] = {
        {"turf 1600 at track 05", "05", "17", "1600", 2, true, true, true},
        {"dirt 1200 at track 05", "05", "24", "1200", 0, true, true, true},
        {"dirt 1201 at track 05", "05", "24", "1201", 1, true, true, true},
        {"turf 2400 at track 05", "05", "11", "2400", 6, true, true, true},
        {"turf 2800 at track 05", "05", "11", "2800", 7, true, true, true},
        {"turf 3200 at track 05", "05", "11", "3200", 8, true, true, true},
        {"dirt 1400 at track 44", "44", "23", "1400", 1, true, true, false},
        {"steeplechase", "05", "51", "3000", 8, false, false, false},
        {"race not stored", "06", nullptr, "", 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.trackCD) {
            ASSERT_EQ(store(raRecord(c.jyo, c.trackCD, c.kyori)), StoreOutcome::Stored);
        }
        ASSERT_EQ(store(ckRecord(c.jyo)), StoreOutcome::Stored);
        const std::string line = findAptitude(paths, {"2024", "0106", c.jyo, "11"}, "2019104567");
        ASSERT_FALSE(line.empty());
        const auto field = [&](const char* name) { return std::string(getField(Family::CK, line, name)); };
        EXPECT_EQ(field("KettoNum"), "2019104567");
        EXPECT_EQ(field("RuikeiHonsyoHeiti"), "000012345");
        EXPECT_EQ(field("RuikeiSyutokuHeichi"), "000067890");
        EXPECT_EQ(field("KisyuCode"), "01234");
        EXPECT_EQ(field("TrackCD"), c.trackCD ? c.trackCD : "  ");
        const int j = std::atoi(c.jyo) - 1;
        const std::size_t b = static_cast<std::size_t>(c.band), t = static_cast<std::size_t>(j);
        const auto expect = [&](const char* name, bool on, std::size_t pos, std::size_t width) {
            EXPECT_EQ(field(name), on ? tagAt(pos, width) : std::string(width, ' ')) << name;
        };
        expect("Uma_KyoriSiba", c.turf, 506 + 18 * b, 18);
        expect("Uma_KyoriDart", c.dirt, 668 + 18 * b, 18);
        expect("Uma_JyoSiba", c.turf && c.byTrack, 830 + 18 * t, 18);
        expect("Uma_JyoDart", c.dirt && c.byTrack, 1010 + 18 * t, 18);
        expect("Kisyu_KyoriSiba", c.turf, 2772 + 24 * b, 24);
        expect("Kisyu_KyoriDart", c.dirt, 2988 + 24 * b, 24);
        expect("Kisyu_JyoSiba", c.turf && c.byTrack, 3204 + 24 * t, 24);
        expect("Kisyu_JyoDart", c.dirt && c.byTrack, 3444 + 24 * t, 24);
    }
}

TEST_F(StoreWriterTest, OddsElementsInReceivedOrderWithTotals) {
    Raw o6 = race("O6");
    o6.set("HappyoTime.Month", "01").set("HappyoTime.Day", "06").set("HappyoTime.Hour", "15");
    o6.set("HappyoTime.Minute", "30").set("SanrentanFlag", "7").set("TotalHyosuSanrentan", "00012345678");
    o6.set("OddsSanrentanInfo[1].Kumi", "030102").set("OddsSanrentanInfo[1].Odds", "0001234");
    o6.set("OddsSanrentanInfo[1].Ninki", "0042");
    o6.set("OddsSanrentanInfo[4896].Kumi", "010203").set("OddsSanrentanInfo[4896].Odds", "0000567");
    ASSERT_EQ(store(o6), StoreOutcome::Stored);
    const std::string line = findTrifectaOdds(paths, {"2024", "0106", "05", "11"});
    ASSERT_EQ(line.size() + 2, 83283u);
    EXPECT_EQ(getField(Family::O6, line, "HappyoTime"), "01061530");
    EXPECT_EQ(getField(Family::O6, line, "SantanFlag"), "7");
    EXPECT_EQ(getField(Family::O6, line, "HyosuSantan"), "00012345678");
    EXPECT_EQ(getField(Family::O6, line, "OddsSantan1"), "0301020001234" "0042");
    EXPECT_EQ(oddsField(Family::O6, line, "OddsSantan", "010203"), "0102030000567    ");
}

TEST_F(StoreWriterTest, PayoutEntriesInTheirGroups) {
    Raw hr = race("HR");
    hr.set("PayTansyo[1].Umaban", "03").set("PayTansyo[1].Pay", "000000250").set("PayTansyo[1].Ninki", "01");
    hr.set("PayWakuren[1].Umaban", "12").set("PaySanrentan[6].Kumi", "030102").set("PaySanrentan[6].Ninki", "0123");
    ASSERT_EQ(store(hr), StoreOutcome::Stored);
    const std::string line = findPayout(paths, {"2024", "0106", "05", "11"});
    EXPECT_EQ(getField(Family::HR, line, "PayTansyoUmaban1"), "03");
    EXPECT_EQ(getField(Family::HR, line, "PayTansyoPay1"), "000000250");
    EXPECT_EQ(getField(Family::HR, line, "PayWakurenKumi1"), "12");
    EXPECT_EQ(getField(Family::HR, line, "PaySanrentanKumi6"), "030102");
    EXPECT_EQ(getField(Family::HR, line, "PaySanrentanNinki6"), "0123");
}

}  // namespace
}  // namespace tarvo
