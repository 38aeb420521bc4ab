// The horse search, race search, training video list and version screens: what
// the Qt classes add to their view models (criteria read from the controls,
// the stop button during a scan, double clicks, pop-up menus and their
// messages, heading sorts with the hidden state labels, the menu rows).
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

#include "cp932.h"
#include "fsys.h"
#include "grid.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "message_capture.h"
#include "qtext.h"
#include "record_io.h"
#include "screen_registry.h"
#include "test_support.h"
#include "textfn.h"
#include "unit_mvlist.h"
#include "unit_rcesch.h"
#include "unit_umasch.h"
#include "unit_verinfo.h"

namespace tarvo {
namespace {

using test::child;

void store(const StorePaths& paths, Family f, const std::vector<std::pair<std::string, std::string>>& fields) {
    LineBuilder b(f);
    for (const auto& [name, value] : fields) EXPECT_TRUE(b.setRaw(name, sj(value))) << name;
    const std::string path = paths.file(f, b.line());
    makeDirs(dirName(path));
    writeRecord(path, b.line(), recordKey(f));
}

std::vector<std::string> column(Grid* g, int c) {
    std::vector<std::string> out;
    for (int r = 0; r < g->rows()->dataRows(); ++r) out.push_back(toUtf8((*g->rows()->row(r))[static_cast<std::size_t>(c)].text));
    return out;
}

class SearchScreens : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* v : {"TARVO_JVLINK_SOURCE", "TARVO_JVLINK_RATE", "TARVO_JVLINK_VERSION"}) unsetenv(v);
        IniFile(home.path() + "jvlink.ini").write("JVLINK", "source", home.path() + "src/");
        const int year = nowLocal().year;
        // Horses in two UM files (two birth years).
        for (const auto& [ketto, name] : {std::pair{"2023100001", "サクラ"}, std::pair{"2022100002", "サクラヒメ"},
                                          std::pair{"2022100003", "ウメ"}})
            store(paths, Family::UM, {{"KettoNum", ketto}, {"Bamei", name}, {"SexCD", "1"}, {"DelKubun", "0"},
                                      {"BirthDate", std::to_string(year - 3) + "0401"}});
        store(paths, Family::RA, {{"DataKubun", "7"}, {"Year", "2024"}, {"MonthDay", "0106"}, {"JyoCD", "06"},
                                  {"Kaiji", "01"}, {"Nichiji", "01"}, {"RaceNum", "11"}, {"TrackCD", "11"},
                                  {"Kyori", "1600"}, {"SyubetuCD", "13"}, {"JyokenCD5", "999"}, {"GradeCD", "A"},
                                  {"KigoCD", "A00"}, {"JyuryoCD", "4"}, {"SibaBabaCD", "1"}, {"Ryakusyo6", "テスト杯"}});
        store(paths, Family::SE, {{"Year", "2024"}, {"MonthDay", "0106"}, {"JyoCD", "06"}, {"Kaiji", "01"},
                                  {"Nichiji", "01"}, {"RaceNum", "11"}, {"Umaban", "01"}, {"KettoNum", "2022100002"},
                                  {"Bamei", "サクラヒメ"}, {"KakuteiJyuni", "01"}});
        test::spit(home.path() + "src/MOVIE/movies.tsv",
                   "00\t202401060611\tr.html\n11\t202401032022100002\tt.html\t20240106\n"
                   "11\t202401042023100001\tt.html\t20240106\n");
    }
    ScreenContext context(bool raceVideo) { return {home.path() + "tarvo.ini", paths.root(), jv, nullptr, false, raceVideo}; }

    test::TempDir home;
    StorePaths paths{home.path() + "data/"};
    JVLinkEmulator jv{home.path()};
};

TEST_F(SearchScreens, HorseSearchCriteriaAndStop) {
    TfrmUmaSch screen(context(false));
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("競争馬の検索(中央レースに出走のない地方馬・海外馬は除く)"));
    EXPECT_EQ(child<QComboBox>(screen, "cboFrom")->currentText(), QStringLiteral("2"));
    EXPECT_EQ(child<QComboBox>(screen, "cboTo")->currentText(), QStringLiteral("12"));
    EXPECT_FALSE(child<QPushButton>(screen, "btnStop")->isEnabled());
    EXPECT_EQ(child<QCheckBox>(screen, "chkUmKan")->statusTip(), QStringLiteral("チェックを付けると完全一致で検索します"));

    child<QLineEdit>(screen, "edt_UmaName")->setText(QStringLiteral("サクラ"));
    screen.search();
    EXPECT_EQ(column(screen.grid(), kHsName), (std::vector<std::string>{" サクラ", " サクラヒメ"}));
    EXPECT_EQ(child<QLabel>(screen, "lblCount")->text(), QStringLiteral("2件"));
    // Enter in a criterion starts the search; in an age box it only moves on.
    child<QCheckBox>(screen, "chkUmKan")->setChecked(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(child<QComboBox>(screen, "cboTo")->lineEdit(), &enter);
    EXPECT_EQ(screen.grid()->rows()->dataRows(), 2);
    QApplication::sendEvent(child<QCheckBox>(screen, "chkUmKan"), &enter);
    EXPECT_EQ(column(screen.grid(), kHsName), (std::vector<std::string>{" サクラ"}));

    // "検索中止" while the first file is scanned: the criteria are disabled, and the scan
    // ends after that file with its rows.
    child<QLineEdit>(screen, "edt_UmaName")->clear();
    bool stopEnabled = false, criteriaEnabled = true;
    QTimer::singleShot(0, &screen, [&] {
        stopEnabled = child<QPushButton>(screen, "btnStop")->isEnabled();
        criteriaEnabled = child<QLineEdit>(screen, "edt_UmaName")->isEnabled();
        child<QPushButton>(screen, "btnStop")->click();
    });
    screen.search();
    EXPECT_TRUE(stopEnabled);
    EXPECT_FALSE(criteriaEnabled);
    EXPECT_EQ(screen.grid()->rows()->dataRows(), 2);  // the 2022 file, first in the walk
    EXPECT_FALSE(child<QPushButton>(screen, "btnStop")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(screen, "edt_UmaName")->isEnabled());
}

TEST_F(SearchScreens, RaceSearchVideoMenu) {
    test::MessageCapture messages;
    TfrmRceSch screen(context(true));
    EXPECT_EQ(child<QComboBox>(screen, "cboCrs")->currentText(), QStringLiteral("全場"));
    EXPECT_EQ(child<QDateEdit>(screen, "dtpFromDate")->date(), QDate::currentDate());
    child<QDateEdit>(screen, "dtpFromDate")->setDate(QDate(2024, 1, 1));
    child<QDateEdit>(screen, "dtpToDate")->setDate(QDate(2024, 1, 31));
    child<QComboBox>(screen, "cboCrs")->setCurrentText(QStringLiteral("中山"));
    EXPECT_EQ(screen.criteria().jyoCD, "06");
    screen.search();
    ASSERT_EQ(screen.grid()->rows()->dataRows(), 1);
    EXPECT_EQ(column(screen.grid(), kRsWinner), (std::vector<std::string>{"サクラヒメ"}));

    QMenu* menu = screen.videoMenu(0);
    ASSERT_NE(menu, nullptr);
    QAction* play = menu->findChild<QAction*>(QStringLiteral("pmnPlayVTR"));
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->text(), QStringLiteral("レース動画を再生 [20240106.中山11R.テスト杯] (&R)"));
    EXPECT_TRUE(play->isEnabled());
    EXPECT_EQ(screen.videoMenu(5), nullptr);

    // Without a video for the race the item is disabled and playing it says so.
    test::spit(home.path() + "src/MOVIE/movies.tsv", "");
    EXPECT_FALSE(screen.videoMenu(0)->actions().front()->isEnabled());
    screen.playVideo(0);
    EXPECT_EQ(messages.messages, (std::vector<test::Captured>{{MessageKind::Error, QStringLiteral("当該レースの映像はありません")}}));
}

TEST_F(SearchScreens, VideoListSortAndMenu) {
    test::MessageCapture messages;
    TfrmMvList screen(context(true));
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("調教映像一覧"));
    EXPECT_TRUE(child<QPushButton>(screen, "btnUpdList")->isEnabled());
    child<QDateEdit>(screen, "dtpChDate")->setDate(QDate(2024, 1, 3));  // Wednesday: the list of Saturday 6 January
    screen.fetch();
    EXPECT_EQ(column(screen.grid(), kMvDate), (std::vector<std::string>{"2024.01.03", "2024.01.04"}));
    EXPECT_EQ(child<QLabel>(screen, "stxtMvNum")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_ClNum")->text() + child<QLabel>(screen, "lbl_SrtAsc")->text(), QStringLiteral("0TRUE"));
    EXPECT_EQ(child<QLabel>(screen, "lbl_ClNum")->isVisible(), false);

    emit screen.grid()->horizontalHeader()->sectionDoubleClicked(kMvDate);
    EXPECT_EQ(column(screen.grid(), kMvDate), (std::vector<std::string>{"2024.01.04", "2024.01.03"}));
    EXPECT_EQ(child<QLabel>(screen, "lbl_SrtAsc")->text(), QStringLiteral("FALSE"));
    emit screen.grid()->horizontalHeader()->sectionDoubleClicked(kMvName);
    EXPECT_EQ(column(screen.grid(), kMvName), (std::vector<std::string>{"サクラ", "サクラヒメ"}));
    EXPECT_EQ(child<QLabel>(screen, "lbl_ClNum")->text() + child<QLabel>(screen, "lbl_SrtAsc")->text(), QStringLiteral("5TRUE"));

    QMenu* menu = screen.videoMenu(0);
    ASSERT_NE(menu, nullptr);
    QAction* play = menu->findChild<QAction*>(QStringLiteral("pmnPlayCHVTR"));
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->text(), QStringLiteral("調教映像を再生 [2024.01.04 サクラ] (&R)"));
    EXPECT_TRUE(play->isEnabled());
    test::spit(home.path() + "src/MOVIE/movies.tsv", "");
    screen.playVideo();
    EXPECT_EQ(messages.messages,
              (std::vector<test::Captured>{{MessageKind::Error, QStringLiteral("該当する映像データがありません。")}}));

    // A maintenance answer to the list.
    IniFile(home.path() + "jvlink.ini").write("JVLINK", "mvopen_result", "-504");
    screen.fetch();
    EXPECT_EQ(screen.grid()->rows()->dataRows(), 0);
    EXPECT_EQ(messages.messages.back().text, QStringLiteral("サーバーメンテナンス中です。"));

    TfrmMvList off(context(false));
    EXPECT_FALSE(child<QPushButton>(off, "btnUpdList")->isEnabled());
}

TEST_F(SearchScreens, VersionAndMenuRows) {
    TfrmVerInfo screen("1021");
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(child<QLabel>(screen, "stxtJVver")->text(), QStringLiteral("10.2.1"));
    EXPECT_EQ(child<QLabel>(screen, "stxtStdVer")->text(), QStringLiteral("2021/01/06 版"));
    EXPECT_EQ(screen.size(), QSize(TfrmVerInfo::kClientWidth, TfrmVerInfo::kClientHeight));
    std::vector<std::string> rows;
    for (const ScreenEntry& e : screenRegistry()) rows.push_back(e.menuItem);
    for (const char* item : {"mnuUmaSrch", "mnuRaceSrch", "mnuTrainVideo", "mnuVersion"})
        EXPECT_NE(std::find(rows.begin(), rows.end(), item), rows.end()) << item;
}

}  // namespace
}  // namespace tarvo
