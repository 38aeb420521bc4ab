// The same-day update buttons of the main window against the data-service
// emulator: what each fetch refreshes on the card, the caption, and which
// controls are usable during and after each operation.
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "cp932.h"
#include "grid.h"
#include "inifile.h"
#include "jv_fixture.h"
#include "lookups.h"
#include "message_capture.h"
#include "race_card.h"
#include "record_writers.h"
#include "test_support.h"
#include "unit_main.h"

namespace tarvo {
namespace {

using test::Raw;

QString u(const char* s) { return QString::fromUtf8(s); }

const RaceKey kRace11("2024", "0602", "05", "11"), kRace12("2024", "0602", "05", "12");

class LiveUpdatesTest : public ::testing::Test {
protected:
    LiveUpdatesTest() {
        // Two races at 東京 in entry state, five runners each.
        for (const RaceKey* r : {&kRace11, &kRace12}) {
            store(test::raRecord("05", "17", "1600", "2", "0602", r->raceNum.c_str()).set("HassoTime", "1540"));
            for (int n = 1; n <= 5; ++n) {
                Raw s = test::race("SE", "05", "2", "0602", r->raceNum.c_str());
                const std::string num = "0" + std::to_string(n);
                s.set("Umaban", num).set("Wakuban", std::to_string(n)).set("KettoNum", "202" + r->raceNum + "000" + num);
                s.set("Bamei", sj("ウマ") + num).set("Futan", "550").set("SexCD", "1").set("Barei", "03");
                store(s);
            }
        }
        Raw we("WE");
        we.set("head.DataKubun", "1").set("id.Year", "2024").set("id.MonthDay", "0602").set("id.JyoCD", "05");
        we.set("HappyoTime.Hour", "08").set("HappyoTime.Minute", "30").set("TenkoBaba.TenkoCD", "1");
        we.set("TenkoBaba.SibaBabaCD", "1").set("TenkoBaba.DirtBabaCD", "0");
        Raw av = test::race("AV", "05", "1", "0602", "11");
        av.set("Umaban", "02").set("Bamei", sj("ウマ02"));
        realTime("0B14", "20240602", {we, av});
        Raw o1 = test::race("O1", "05", "1", "0602", "11");
        o1.set("OddsTansyoInfo[1].Umaban", "01").set("OddsTansyoInfo[1].Odds", "0035").set("OddsTansyoInfo[1].Ninki", "01");
        realTime("0B30", kRace11.text(), {o1, test::race("O2", "05", "1", "0602", "11")});
        realTime("0B30", kRace12.text(), {test::race("O2", "05", "1", "0602", "12")});
    }
    void store(const Raw& raw) const { test::storeRaceRecord(paths, raw); }
    void realTime(const std::string& spec, const std::string& key, const std::vector<Raw>& records) const {
        test::addRealTime(home.path() + "jvlink-source/", spec, key, records);
    }

    void open(TfrmMain& w) {
        installRaceCard(w);
        w.findChild<QDateEdit*>(u("dtpRcDate"))->setDate(QDate(2024, 6, 2));
        ASSERT_EQ(list(w)->count(), 2);
    }
    static QListWidget* list(TfrmMain& w) { return w.findChild<QListWidget*>(u("lstRace")); }
    static void choose(TfrmMain& w, int row) {
        list(w)->setCurrentRow(row);
        emit list(w)->itemClicked(list(w)->item(row));
    }
    static QPushButton* button(TfrmMain& w, const char* name) { return w.findChild<QPushButton*>(u(name)); }
    static QString cell(TfrmMain& w, int row, int col) {
        auto* g = w.findChild<Grid*>(u("stgUmaList"));
        return g->rows()->data(g->rows()->index(row, col), Qt::DisplayRole).toString();
    }
    // The enabled state of each named control, as "name" or "-name".
    static QStringList states(TfrmMain& w, std::initializer_list<const char*> names) {
        QStringList out;
        for (const char* n : names) out << (w.findChild<QWidget*>(u(n))->isEnabled() ? u(n) : u("-") + u(n));
        return out;
    }

    test::TempDir home;
    StorePaths paths{home.path() + "data/"};
};

TEST_F(LiveUpdatesTest, DataGetAndOddsGetRefreshTheCardAndGiveTheButtonsBack) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    open(w);
    button(w, "btnDataGet")->click();
    EXPECT_EQ(w.windowTitle(), u("TARVO Ver.2.00 - 東京[晴]芝良 ダ**"));
    EXPECT_EQ(states(w, {"btnDataGet", "btnOddsBch", "btnRstBch", "btnDList", "btnOddsGet", "btnResult"}),
              (QStringList{"btnDataGet", "btnOddsBch", "btnRstBch", "btnDList", "-btnOddsGet", "-btnResult"}));
    EXPECT_TRUE(w.findChild<QWidget*>(u("pgcMain"))->isHidden()) << "no race shown";

    choose(w, 0);
    ASSERT_TRUE(button(w, "btnOddsGet")->isEnabled());
    EXPECT_EQ(cell(w, 1, 7), u("取消")) << "the scratching the change information brought";
    EXPECT_EQ(cell(w, 0, 7), u(""));
    button(w, "btnOddsGet")->click();
    EXPECT_EQ(cell(w, 0, 7), u("3.5"));
    EXPECT_EQ(cell(w, 1, 7), u("取消"));
    EXPECT_EQ(cell(w, 2, 7), u("0.0")) << "no odds and no scratch mark after the refresh";
    EXPECT_EQ(states(w, {"btnDataGet", "btnOddsGet", "btnResult", "btnOddsBch", "btnRstBch", "btnDList"}),
              (QStringList{"btnDataGet", "btnOddsGet", "btnResult", "btnOddsBch", "btnRstBch", "btnDList"}));

    // With a race shown "開催情報" shows it again and gives the card back.
    w.setWindowTitle(u("x"));
    button(w, "btnDataGet")->click();
    EXPECT_EQ(w.windowTitle(), u("TARVO Ver.2.00 - 東京[晴]芝良 ダ**"));
    auto* grid = w.findChild<QWidget*>(u("stgUmaList"));
    EXPECT_FALSE(grid->isHidden());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_FALSE(w.findChild<QWidget*>(u("pgcMain"))->isHidden());
    EXPECT_TRUE(button(w, "btnResult")->isEnabled());
    EXPECT_TRUE(capture.messages.empty());

    // Once quinella and exacta odds are final, "オッズ更新" stays disabled after its fetch.
    realTime("0B30", kRace11.text(), {test::race("O2", "05", "3", "0602", "11")});
    realTime("0B34", kRace11.text(), {test::race("O4", "05", "3", "0602", "11")});
    button(w, "btnOddsGet")->click();
    EXPECT_FALSE(button(w, "btnOddsGet")->isEnabled());
    EXPECT_TRUE(button(w, "btnResult")->isEnabled());
}

TEST_F(LiveUpdatesTest, BatchOffersOnlyItsCancelAndStopsAfterTheRaceInHand) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    open(w);
    choose(w, 1);
    QStringList during;
    bool cancelShown = false;
    // The first pending messages run as the batch starts, the next ones after its first race.
    QTimer::singleShot(0, [&] {
        cancelShown = !button(w, "btnCancel")->isHidden() && button(w, "btnOddsBch")->isHidden() &&
                      button(w, "btnRstBch")->isHidden();
        QTimer::singleShot(0, [&] {
            during = states(w, {"btnDataGet", "dtpRcDate", "lstRace", "btnResult", "btnOddsGet", "btnDList", "btnVtr"});
            during << (w.findChild<QWidget*>(u("stgUmaList"))->isHidden() ? u("grid hidden") : u("grid shown"));
            button(w, "btnCancel")->click();
        });
    });
    button(w, "btnOddsBch")->click();
    EXPECT_EQ(during, (QStringList{"-btnDataGet", "-dtpRcDate", "-lstRace", "-btnResult", "-btnOddsGet", "-btnDList",
                                   "-btnVtr", "grid hidden"}));
    EXPECT_TRUE(cancelShown);
    EXPECT_FALSE(findOdds(paths, Family::O2, kRace11).empty());
    EXPECT_TRUE(findOdds(paths, Family::O2, kRace12).empty()) << "the batch stopped after race 11";
    EXPECT_EQ(w.findChild<QProgressBar*>(u("prgExec"))->value(), 0);
    EXPECT_TRUE(button(w, "btnCancel")->isHidden());
    EXPECT_FALSE(button(w, "btnOddsBch")->isHidden());
    EXPECT_FALSE(button(w, "btnRstBch")->isHidden());
    EXPECT_EQ(states(w, {"btnDataGet", "dtpRcDate", "lstRace", "btnDList", "btnResult", "btnOddsGet", "btnVtr"}),
              (QStringList{"btnDataGet", "dtpRcDate", "lstRace", "btnDList", "btnResult", "btnOddsGet", "-btnVtr"}));
    EXPECT_FALSE(w.findChild<QWidget*>(u("stgUmaList"))->isHidden());

    // Run to its end, the batch reaches the shown race, cancelled by now, and shows it again.
    realTime("0B30", kRace12.text(), {test::race("O2", "05", "9", "0602", "12")});
    EXPECT_TRUE(w.findChild<QLabel*>(u("lbl_Cancel"))->isHidden());
    button(w, "btnRstBch")->click();
    EXPECT_FALSE(findOdds(paths, Family::O2, kRace12).empty());
    EXPECT_EQ(w.findChild<QProgressBar*>(u("prgExec"))->value(), 1);
    EXPECT_FALSE(w.findChild<QLabel*>(u("lbl_Cancel"))->isHidden());
    EXPECT_EQ(w.findChild<QLabel*>(u("lbl_Cancel"))->text(), u("<中止>"));
    EXPECT_TRUE(capture.messages.empty());
}

TEST_F(LiveUpdatesTest, ReadOnlyModeFetchesNothing) {
    IniFile(home.path() + "tarvo.ini").write("UMA_DB", "mode", "readonly");
    test::MessageCapture capture;
    TfrmMain w(home.path());
    open(w);
    choose(w, 0);
    EXPECT_EQ(states(w, {"btnDataGet", "btnOddsGet", "btnOddsBch", "btnRstBch"}),
              (QStringList{"-btnDataGet", "-btnOddsGet", "-btnOddsBch", "-btnRstBch"}));
    ASSERT_TRUE(button(w, "btnResult")->isEnabled());
    button(w, "btnResult")->click();  // recomputes only
    EXPECT_TRUE(findOdds(paths, Family::O2, kRace11).empty());
    EXPECT_EQ(cell(w, 1, 7), u("")) << "no change information was read";
    EXPECT_FALSE(button(w, "btnOddsGet")->isEnabled());
}

}  // namespace
}  // namespace tarvo
