// The race result screen and the odds list as Qt shows them: the frame colour
// drawn in the result grid, the payout list, the race buttons and the main
// window's "レース結果" font after final results; the odds list opened from the
// main menu, its type buttons, hit cells as drawn, the selection text and the
// odds update handed to the race card.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "code_tables.h"
#include "card_support.h"
#include "cp932.h"
#include "grid.h"
#include "layouts.h"
#include "message_capture.h"
#include "qtext.h"
#include "race_card.h"
#include "record_io.h"
#include "screen_links.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"
#include "unit_main.h"
#include "unit_oddsinfo.h"
#include "unit_result.h"

namespace tarvo {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class ResultScreensTest : public ::testing::Test {
protected:
    test::MessageCapture capture;  // the fetch of a race not yet final may report, never blocks
    ResultScreensTest() {
        ra.year = "2024";
        ra.monthDay = "0602";
        ra.jyoCD = "05";
        ra.raceNum = "01";
        test::storeTurfMileRace(store, ra, "7");
        for (int n = 1; n <= 3; ++n) {
            LineBuilder s(Family::SE);
            test::setRaceKey(s, ra);
            const std::string num = twoDigits(n);
            for (const auto& [name, value] : {std::pair{"Umaban", num}, {"Wakuban", n == 2 ? "2" : "1"},
                                              {"KettoNum", "20200000" + num}, {"Bamei", sj("ウマ") + num},
                                              {"NyusenJyuni", num}, {"KakuteiJyuni", num}, {"Time", std::string("1345")},
                                              {"Futan", std::string("550")}, {"IJyoCD", std::string("0")}})
                s.assignRaw(name, value);
            writeRecord(store.paths.se(ra.year, ra.monthDay, ra.jyoCD), s.line(), recordKey(Family::SE));
        }
        LineBuilder h(Family::HR);
        test::setRaceKey(h, ra);
        h.assignRaw("PayUmarenKumi1", "0102");
        h.assignRaw("PayTansyoUmaban1", "01");
        h.assignRaw("PayTansyoPay1", "000000150");
        writeRecord(store.paths.file(Family::HR, key()), h.line(), recordKey(Family::HR));
    }

    RaceKey key() const { return RaceKey(ra.year, ra.monthDay, ra.jyoCD, ra.raceNum); }

    static void show(TfrmMain& w) { test::showOnlyRace(w, QDate(2024, 6, 2)); }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    test::StoreFixture::Race ra;
};

TEST_F(ResultScreensTest, ResultScreenDrawsFramesListsPayoutsAndSetsButtons) {
    TfrmMain w(home.path());
    TfrmResult screen(w.screenContext(), key(), sj("過去"));
    EXPECT_EQ(screen.windowTitle(), u("レース結果"));
    Grid* grid = screen.grid();
    ASSERT_EQ(grid->rows()->dataRows(), 3);
    EXPECT_EQ(grid->model()->headerData(13, Qt::Horizontal, Qt::DisplayRole).toString(), u("RW"));
    screen.show();
    const QImage image = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->rows()->index(1, 4));
    EXPECT_EQ(image.pixelColor(cell.left() + 1, cell.top() + 2), QColor::fromRgb(frameColour("2")));
    auto* list = screen.findChild<QListWidget*>(u("lstHarai"));
    ASSERT_GE(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), u("単勝"));
    EXPECT_EQ(list->item(1)->text(), u("01番          150"));
    EXPECT_TRUE(screen.findChild<QPushButton*>(u("btnPrev"))->isEnabled());
    screen.stepRace(-1);  // 前 on race 1 does nothing
    EXPECT_EQ(screen.shown().race.raceNum, "01");
    screen.stepRace(1);  // race 2 is not stored: fetched in vain, the screen keeps its race
    EXPECT_EQ(screen.shown().race.raceNum, "01");
    EXPECT_TRUE(screen.findChild<QPushButton*>(u("btnNext"))->isEnabled());
    EXPECT_FALSE(screen.findChild<QPushButton*>(u("btnVtr"))->isEnabled());
}

TEST_F(ResultScreensTest, FinalResultsFromTheCardMakeTheResultButtonNormal) {
    TfrmMain w(home.path());
    show(w);
    auto* result = w.findChild<QPushButton*>(u("btnResult"));
    QFont bold = result->font();
    bold.setBold(true);
    result->setFont(bold);
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    openRaceResult(w.screenContext(), key(), sj("通常"));
    EXPECT_FALSE(result->font().bold());
}

TEST_F(ResultScreensTest, OddsListFromTheMenu) {
    TfrmMain w(home.path());
    show(w);
    QAction* item = w.action(u("mnuOddsList"));
    ASSERT_TRUE(item->isEnabled());
    QString caption, kumi, diagonal;
    bool comboHidden = false, comboShownForTrio = false;
    QColor hit;
    QTimer::singleShot(0, [&] {
        auto* odds = qobject_cast<TfrmOddsInfo*>(QApplication::activeModalWidget());
        ASSERT_NE(odds, nullptr);
        caption = odds->windowTitle();
        comboHidden = odds->findChild<QComboBox*>(u("cboTarget"))->isHidden();
        Grid* grid = odds->grid();
        const QImage image = grid->viewport()->grab().toImage();
        const QRect cell = grid->visualRect(grid->rows()->index(1, 1));  // horse 2 with horse 1
        hit = image.pixelColor(cell.left() + 2, cell.top() + 2);
        odds->selectCell(1, 1);
        kumi = odds->findChild<QLabel*>(u("stxtKumi"))->text();
        odds->selectCell(1, 2);
        diagonal = odds->findChild<QLabel*>(u("stxtKumi"))->text();
        odds->findChild<QRadioButton*>(u("rdbRenhuku"))->click();
        comboShownForTrio = !odds->findChild<QComboBox*>(u("cboTarget"))->isHidden();
        odds->accept();
    });
    item->trigger();
    EXPECT_EQ(caption, u("オッズ一覧（馬連）"));
    EXPECT_TRUE(comboHidden);
    EXPECT_EQ(hit, QColor(255, 200, 0));
    EXPECT_EQ(kumi, u("1番ｳﾏ01－2番ｳﾏ02： ----"));
    EXPECT_EQ(diagonal, QString());
    EXPECT_TRUE(comboShownForTrio);
}

TEST_F(ResultScreensTest, OddsUpdateHandsOverAndRebuilds) {
    TfrmMain w(home.path());
    OddsListOpening o;
    o.race = key();
    for (int n = 1; n <= 3; ++n) o.runners.push_back({twoDigits(n), sj("ウマ")});
    o.updateEnabled = true;
    int updates = 0;
    o.updateOdds = [&] {
        ++updates;
        return true;
    };
    TfrmOddsInfo odds(w.screenContext(), std::move(o));
    auto* button = odds.findChild<QPushButton*>(u("btnOddsUpd"));
    EXPECT_TRUE(button->isEnabled());
    odds.chooseType(OddsType::Sanrentan);
    EXPECT_EQ(odds.windowTitle(), u("オッズ一覧（３連単）"));
    EXPECT_EQ(odds.matrix().rows.size(), 3u);
    button->click();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(button->isEnabled()) << "odds-final now";
    EXPECT_TRUE(odds.findChild<QComboBox*>(u("cboTarget"))->isEnabled());
    EXPECT_EQ(odds.matrix().rows.size(), 3u);
}

}  // namespace
}  // namespace tarvo
