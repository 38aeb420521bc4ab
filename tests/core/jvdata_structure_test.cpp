#include <gtest/gtest.h>

#include <stdexcept>

#include "JVData_Structure.h"
#include "cp932.h"

namespace tarvo {
namespace {

TEST(RawLayouts, EveryLayoutIsContiguousAndEndsAtItsLength) {
    ASSERT_FALSE(rawLayouts().empty());
    for (const RawLayout* l : rawLayouts()) {
        SCOPED_TRACE(l->id() + (l->version() == RawVersion::Old ? " old" : ""));
        std::size_t next = 1;
        for (const RawField& f : l->fields()) {
            ASSERT_EQ(f.pos, next) << f.path;
            ASSERT_GT(f.len, 0u) << f.path;
            next = f.pos + f.len;
            EXPECT_EQ(l->find(f.path), &f) << f.path;  // paths are unique
        }
        EXPECT_EQ(next - 1, l->length());
        EXPECT_EQ(l->fields().back().path, "crlf");
        const std::string b = l->blank();
        EXPECT_EQ(b.size(), l->length());
        EXPECT_EQ(b.substr(0, 2), l->id());
        EXPECT_EQ(b.substr(b.size() - 2), "\r\n");
    }
}

TEST(RawLayouts, KindsLengthsAndFieldsAsPublished) {
    struct Kind {
        const char* id;
        std::size_t current, old;  // 0: no old layout
    };
    const Kind kinds[] = {{"RA", 1272, 0},  {"SE", 555, 0},   {"HR", 719, 0},  {"O1", 962, 0},   {"O2", 2042, 0},
                          {"O3", 2654, 0},  {"O4", 4031, 0},  {"O5", 12293, 0}, {"O6", 83285, 0}, {"UM", 1609, 1577},
                          {"KS", 4173, 0},  {"CH", 3862, 0},  {"BR", 545, 537}, {"BN", 477, 0},   {"HN", 251, 245},
                          {"SK", 208, 178}, {"CK", 6870, 6864}, {"WH", 847, 0}, {"WE", 42, 0},    {"AV", 78, 0},
                          {"JC", 161, 0},   {"TC", 45, 0},    {"CC", 50, 0}};
    for (const Kind& k : kinds) {
        const RawLayout* cur = rawLayout(k.id);
        ASSERT_NE(cur, nullptr) << k.id;
        EXPECT_EQ(cur->length(), k.current) << k.id;
        const RawLayout* old = rawLayout(k.id, RawVersion::Old);
        EXPECT_EQ(old ? old->length() : 0u, k.old) << k.id;
    }
    EXPECT_EQ(rawLayout("TK"), nullptr);

    struct Probe {
        const char* id;
        RawVersion version;
        const char* path;
        std::size_t pos, len;
    };
    const Probe probes[] = {
        {"RA", RawVersion::Current, "id.JyoCD", 20, 2},
        {"RA", RawVersion::Current, "JyokenInfo.JyokenCD[5]", 635, 3},
        {"RA", RawVersion::Current, "TrackCD", 706, 2},
        {"RA", RawVersion::Current, "CornerInfo[4].Jyuni", 1200, 70},
        {"SE", RawVersion::Current, "KakuteiJyuni", 335, 2},
        {"SE", RawVersion::Current, "ChakuUmaInfo[3].Bamei", 496, 36},
        {"HR", RawVersion::Current, "PayTansyo[1].Pay", 105, 9},
        {"O6", RawVersion::Current, "OddsSanrentanInfo[4896].Ninki", 83269, 4},
        {"O6", RawVersion::Current, "TotalHyosuSanrentan", 83273, 11},
        {"UM", RawVersion::Current, "Ketto3Info[14].HansyokuNum", 803, 10},
        {"UM", RawVersion::Old, "Ketto3Info[14].HansyokuNum", 777, 8},
        {"UM", RawVersion::Old, "BreederCode", 855, 6},
        {"SK", RawVersion::Current, "HansyokuNum[14]", 197, 10},
        {"SK", RawVersion::Old, "HansyokuNum[14]", 169, 8},
        {"CK", RawVersion::Current, "KisyuChaku.KisyuCode", 1385, 5},
        {"JC", RawVersion::Current, "JCInfoAfter.KisyuName", 82, 34},
        {"WE", RawVersion::Current, "TenkoBaba.TenkoCD", 35, 1},
        {"CC", RawVersion::Current, "CCInfoAfter.TruckCD", 40, 2},
    };
    for (const Probe& p : probes) {
        const RawField* f = rawLayout(p.id, p.version)->find(p.path);
        ASSERT_NE(f, nullptr) << p.id << " " << p.path;
        EXPECT_EQ(f->pos, p.pos) << p.id << " " << p.path;
        EXPECT_EQ(f->len, p.len) << p.id << " " << p.path;
    }
}

TEST(RawLayouts, ReadAndWriteFields) {
    const RawLayout& se = *rawLayout("SE");
    std::string rec = se.blank();
    se.put(rec, "id.JyoCD", "05");
    se.putNum(rec, "Umaban", 7);
    se.putNum(rec, "Futan", 550);
    se.putNum(rec, "Odds", 123456);  // too wide for 4 digits
    se.putNum(rec, "ZogenSa", -4);
    // 19 full-width characters into 36 bytes: the first 18 fit.
    const std::string name = sj("アイウエオカキクケコサシスセソタチツテ");
    se.put(rec, "Bamei", name);
    se.put(rec, "KisyuRyakusyo", "AB");
    EXPECT_EQ(se.get(rec, "id.JyoCD"), "05");
    EXPECT_EQ(se.get(rec, "Umaban"), "07");
    EXPECT_EQ(se.get(rec, "Futan"), "550");
    EXPECT_EQ(se.get(rec, "Odds"), "9999");
    EXPECT_EQ(se.get(rec, "ZogenSa"), "000");
    EXPECT_EQ(se.get(rec, "Bamei"), name.substr(0, 36));
    EXPECT_EQ(se.get(rec, "KisyuRyakusyo"), "AB      ");
    // A name cut inside a double-byte character keeps the whole characters and pads.
    se.put(rec, "KisyuRyakusyo", "A" + sj("アイウエ"));  // 9 bytes into 8
    EXPECT_EQ(se.get(rec, "KisyuRyakusyo"), "A" + sj("アイウ") + " ");
    EXPECT_EQ(rec.size(), se.length());
    EXPECT_EQ(rec.substr(rec.size() - 2), "\r\n");
    EXPECT_EQ(se.get(rec, "NoSuchField"), "");
    EXPECT_EQ(se.get(rec.substr(0, 29), "Umaban"), "0");  // the part a short record holds
    EXPECT_EQ(se.get(rec.substr(0, 28), "Umaban"), "");
    EXPECT_THROW(se.put(rec, "NoSuchField", "x"), std::invalid_argument);
    std::string shortRec = rec.substr(0, 100);
    EXPECT_THROW(se.put(shortRec, "Umaban", "01"), std::invalid_argument);
}

TEST(RawLayouts, ReceivedRecordPicksItsLayoutByIdAndLength) {
    const RawLayout* umOld = rawLayout("UM", RawVersion::Old);
    EXPECT_EQ(rawLayoutOf(umOld->blank()), umOld);
    EXPECT_EQ(rawLayoutOf(rawLayout("UM")->blank()), rawLayout("UM"));
    EXPECT_EQ(rawLayoutOf(rawLayout("RA")->blank()), rawLayout("RA"));
    EXPECT_EQ(rawLayoutOf("ZZ123"), nullptr);
    EXPECT_EQ(rawLayoutOf(""), nullptr);
}

}  // namespace
}  // namespace tarvo
