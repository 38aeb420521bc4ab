#include <gtest/gtest.h>

#include <cmath>

#include "engine_settings.h"
#include "inifile.h"
#include "test_support.h"

namespace tarvo {
namespace {

TEST(EngineSettings, WeightText) {
    struct Case {
        const char* text;
        float expected;
    } cases[] = {
        {"1.0", 1.0f}, {"1.5", 1.5f}, {"0", 0.0f},  {"0.0", 0.0f}, {"2.75", 2.75f}, {"+3", 3.0f},
        {".5", 0.5f},  {"1e1", 10.0f}, {"0.1", 0.1f},  // 0.1 as the single-precision number nearest it
        // Below 0, not a number, or not representable in single precision: 1.0.
        {"-1", 1.0f}, {"-0.5", 1.0f}, {"abc", 1.0f}, {"", 1.0f}, {"1.5kg", 1.0f}, {"1,5", 1.0f},
        {"inf", 1.0f}, {"nan", 1.0f}, {"1e50", 1.0f}, {"0x10", 1.0f}, {"1e", 1.0f}, {".", 1.0f},
    };
    for (const auto& c : cases) EXPECT_EQ(parseWeightSetting(c.text), c.expected) << "'" << c.text << "'";
}

TEST(EngineSettings, FlagTexts) {
    // Only exactly "0" turns distidx and dsthyo off; only exactly "1" turns the others on.
    for (const char* t : {"1", "", "yes", "00", "off", " 0x"}) EXPECT_TRUE(parseOnUnlessZero(t)) << t;
    EXPECT_FALSE(parseOnUnlessZero("0"));
    for (const char* t : {"0", "", "yes", "01", "true", "11"}) EXPECT_FALSE(parseOffUnlessOne(t)) << t;
    EXPECT_TRUE(parseOffUnlessOne("1"));
}

struct SettingsFile {
    test::TempDir dir;
    std::string path = dir.path() + "tarvo.ini";
    void set(const char* key, const char* value) const { IniFile(path).write(kEngineSection, key, value); }
};

TEST(EngineSettings, MissingFileGivesDefaults) {
    test::TempDir dir;
    engineSettings().kshadd = true;  // anything left from before is replaced
    const EngineSettings& s = loadEngineSettings(dir.path() + "tarvo.ini");
    EXPECT_EQ(s.weight, 1.0f);
    EXPECT_TRUE(s.distidx);
    EXPECT_TRUE(s.dsthyo);
    EXPECT_FALSE(s.kshadd || s.bbdcmp || s.oddadd || s.taiadd || s.bcdadd);
    EXPECT_EQ(&s, &engineSettings());
}

TEST(EngineSettings, LoadReadsEveryKeyAndReplacesTheRecord) {
    SettingsFile f;
    f.set("weight", "0");
    f.set("distidx", "0");
    f.set("dsthyo", "0");
    for (const char* k : {"kshadd", "bbdcmp", "oddadd", "taiadd", "bcdadd"}) f.set(k, "1");
    EngineSettings s = loadEngineSettings(f.path);
    EXPECT_EQ(s.weight, 0.0f);
    EXPECT_FALSE(s.distidx || s.dsthyo);
    EXPECT_TRUE(s.kshadd && s.bbdcmp && s.oddadd && s.taiadd && s.bcdadd);

    // The next load sees the file as it is then: present but empty distidx is on,
    // "yes" leaves the odds off, an absent weight is 1.0.
    f.set("weight", "");
    f.set("distidx", "");
    f.set("oddadd", "yes");
    f.set("taiadd", "0");
    s = loadEngineSettings(f.path);
    EXPECT_EQ(s.weight, 1.0f);
    EXPECT_TRUE(s.distidx);
    EXPECT_FALSE(s.dsthyo);
    EXPECT_FALSE(s.oddadd);
    EXPECT_FALSE(s.taiadd);
    EXPECT_TRUE(s.kshadd && s.bbdcmp && s.bcdadd);
}

TEST(EngineSettings, DistanceCoefficientReloadTouchesOnlyDistidx) {
    SettingsFile f;
    f.set("weight", "2.5");
    f.set("oddadd", "1");
    loadEngineSettings(f.path);
    f.set("weight", "3");
    f.set("oddadd", "0");
    f.set("distidx", "0");
    EXPECT_FALSE(reloadDistanceCoefficientSetting(f.path));
    EXPECT_FALSE(engineSettings().distidx);
    EXPECT_EQ(engineSettings().weight, 2.5f);
    EXPECT_TRUE(engineSettings().oddadd);
    f.set("distidx", "1");
    EXPECT_TRUE(reloadDistanceCoefficientSetting(f.path));
    EXPECT_TRUE(engineSettings().distidx);
}

}  // namespace
}  // namespace tarvo
