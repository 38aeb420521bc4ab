// The horse data screen: what the Qt class adds to its view model (labels set
// and hidden, the silks picture and its button, hints), the double clicks on
// the past-runs grid and the race video menu.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "cp932.h"
#include "fsys.h"
#include "grid.h"
#include "horse_fixture.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "record_io.h"
#include "message_capture.h"
#include "qtext.h"
#include "test_support.h"
#include "unit_umares.h"

namespace tarvo {
namespace {

using test::child;

class HorseDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        makeDirs(dir.path() + "home/");
        test::spit(dir.path() + "home/jvlink.ini", "[JVLINK]\nversion=0490\n");
        test::storeRun(paths, {.date = "20241201", .jyoCD = "06", .place = "01"});
        test::storeRun(paths, {.date = "20241101", .jyoCD = "44", .place = "02"});
        LineBuilder bn(Family::BN);
        bn.assign("BanusiCode", "000077");
        bn.assign("Fukusyoku", sj("青，白袖"));
        writeRecord(paths.bn("000077"), bn.line(), recordKey(Family::BN));
    }
    ScreenContext context(bool readOnly = false, bool raceVideo = false) {
        return {dir.path() + "home/tarvo.ini", paths.root(), jv, nullptr, readOnly, raceVideo};
    }
    static HorseDataOpening search() { return {test::kFixtureHorse, sj("検索"), {}, {}, {}}; }

    test::TempDir dir;
    StorePaths paths{dir.path() + "data/"};
    JVLinkEmulator jv{dir.path() + "home/"};
};

TEST_F(HorseDataTest, LabelsSilksAndHiddenRows) {
    test::storeHorseRecord(paths);
    TfrmUmaRes screen(context(), search());
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("競走馬データ"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_Uname")->text(), QStringLiteral("テストホース"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_ktnum")->text(), QString::fromUtf8(test::kFixtureHorse));
    EXPECT_EQ(child<QLabel>(screen, "lbl_ChaSogo")->text(), QStringLiteral(" 1- 1- 0- 0"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_Banushi")->statusTip(), QStringLiteral("テスト馬主"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_SibaOmo")->statusTip(), QStringLiteral("中央芝(重馬場＋不良馬場)の成績です"));
    // Opened from the search: no same-course and same-distance rows.
    for (const char* name : {"lbl_RaceCrs", "lbl_SameDist", "lbl_CrsOpen", "lbl_DistClose"})
        EXPECT_TRUE(child<QLabel>(screen, name)->isHidden()) << name;
    EXPECT_EQ(child<QLabel>(screen, "lbl_CrsChaku")->text(), QString());
    // The silks picture was drawn into the store and shown with its description.
    EXPECT_TRUE(fileExists(paths.fk("000077")));
    EXPECT_FALSE(screen.silks()->pixmap().isNull());
    EXPECT_EQ(screen.silks()->statusTip(), QStringLiteral("青，白袖"));
    EXPECT_FALSE(child<QPushButton>(screen, "btnRewrite")->isHidden());
    EXPECT_EQ(screen.grid()->rows()->dataRows(), 2);
}

TEST_F(HorseDataTest, NoHorseRecordHidesTheRewriteButton) {
    TfrmUmaRes screen(context(), search());
    EXPECT_TRUE(child<QPushButton>(screen, "btnRewrite")->isHidden());
    EXPECT_EQ(child<QLabel>(screen, "lbl_toroku")->text(), QStringLiteral("----"));
}

TEST_F(HorseDataTest, RaceNameDoubleClickAsksForTheVideo) {
    test::MessageCapture capture;
    TfrmUmaRes withVideo(context(false, true), search());
    EXPECT_EQ(withVideo.grid()->statusTip(), QStringLiteral("レース名をダブルクリックで、当該レースの映像が再生されます"));
    withVideo.cellChosen(0, kHrRaceName);
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].text, QStringLiteral("当該レースの映像は提供されていません"));

    withVideo.prepareVideoMenu(1);
    QAction* play = withVideo.videoMenu()->actions().front();
    EXPECT_EQ(play->text(), QStringLiteral("レース動画を再生 [20241101.大井05R.テスト特別] (&R)"));
    EXPECT_FALSE(play->isEnabled());
}

TEST_F(HorseDataTest, JockeyColumnOpensTheJockeyScreen) {
    TfrmUmaRes screen(context(), search());
    QString opened;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d != &screen) {
                opened = d->objectName();
                d->reject();
            }
    });
    screen.cellChosen(0, kHrJockey);
    EXPECT_EQ(opened, QStringLiteral("frmKishu"));
}

}  // namespace
}  // namespace tarvo
