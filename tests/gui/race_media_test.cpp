// The race card's media: the silks strip after a card build and its
// "一括取得", the race video button and option, and the outward menu items.
#include <QAction>
#include <QDateEdit>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "code_tables.h"
#include "card_support.h"
#include "cp932.h"
#include "fsys.h"
#include "inifile.h"
#include "layouts.h"
#include "media_view.h"
#include "message_capture.h"
#include "race_card.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_main.h"

namespace tarvo {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class RaceMediaTest : public ::testing::Test {
protected:
    RaceMediaTest() {
        test::StoreFixture::Race ra = test::race("0602", "05", "11", "2");
        store.addRace(ra);
        // Runner 1's owner has drawable silks, runner 2's none, runner 3 no UM record.
        const std::pair<const char*, const char*> owners[] = {{"000101", "赤"}, {"000102", ""}};
        for (int n = 1; n <= 3; ++n) {
            LineBuilder s(Family::SE);
            test::setRaceKey(s, ra);
            const std::string num = "0" + std::to_string(n);
            s.assign("Umaban", num);
            s.assign("Wakuban", num.substr(1));
            s.assign("KettoNum", "20200000" + num);
            writeRecord(store.paths.se(ra.year, ra.monthDay, ra.jyoCD), s.line(), recordKey(Family::SE));
            if (n == 3) continue;
            LineBuilder um(Family::UM);
            um.assign("KettoNum", "20200000" + num);
            um.assign("BanusiCode", owners[n - 1].first);
            writeRecord(store.paths.um("20200000" + num, "datn"), um.line(), recordKey(Family::UM));
            LineBuilder bn(Family::BN);
            bn.assign("BanusiCode", owners[n - 1].first);
            bn.assign("Fukusyoku", sj(owners[n - 1].second));
            writeRecord(store.paths.bn(owners[n - 1].first), bn.line(), recordKey(Family::BN));
        }
    }

    static void show(TfrmMain& w) { test::showOnlyRace(w, QDate(2024, 6, 2)); }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    test::MessageCapture capture;
};

TEST_F(RaceMediaTest, StripShowsFramesNumbersAndTheFetchedSilks) {
    TfrmMain w(home.path());
    show(w);
    auto* strip = w.findChild<QTableWidget*>(u("dgrFuku"));
    ASSERT_EQ(strip->columnCount(), 3);
    EXPECT_EQ(strip->rowCount(), 3);
    EXPECT_EQ(strip->columnWidth(2), 30);
    EXPECT_EQ(strip->rowHeight(2), 30);
    auto* vtr = w.findChild<QPushButton*>(u("btnVtr"));
    const bool vtrBefore = vtr->isEnabled();

    w.findChild<QPushButton*>(u("btnAllUpd"))->click();
    EXPECT_TRUE(capture.messages.empty());
    EXPECT_TRUE(fileExists(store.paths.fk("000101")));
    EXPECT_TRUE(fileExists(noImagePath(store.paths)));
    EXPECT_EQ(vtr->isEnabled(), vtrBefore);
    EXPECT_TRUE(w.findChild<QWidget*>(u("lstRace"))->isEnabled());
    EXPECT_TRUE(w.findChild<QWidget*>(u("btnAllUpd"))->isEnabled());

    // Frame 2 is drawn in its colour with a white number; runner 1's picture is the drawn silks.
    w.findChild<QWidget*>(u("pgcMain"))->show();
    strip->show();
    const QImage image = strip->viewport()->grab().toImage();
    const QRect frame2 = strip->visualRect(strip->model()->index(0, 1));
    EXPECT_EQ(image.pixelColor(frame2.left() + 1, frame2.top() + 1).rgb() & 0xFFFFFF, frameColour("2"));
    const QRect silks = strip->visualRect(strip->model()->index(2, 0));
    const QColor centre = image.pixelColor(silks.center());
    EXPECT_NE(centre, QColor(Qt::white));
}

TEST_F(RaceMediaTest, OutwardItemsAreInstalled) {
    TfrmMain w(home.path());
    installRaceCard(w);
    for (const char* item : {"mnuDwBaba", "mnuHelp", "mnuOpenSite"}) EXPECT_TRUE(w.action(u(item))->isEnabled()) << item;
    // The download from an address nobody serves fails with its message and no file.
    IniFile(home.path() + "tarvo.ini").write(kSupportSection, "babadif", "http://127.0.0.1:1/babadif.csv");
    w.action(u("mnuDwBaba"))->trigger();
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(capture.messages[0].text, u("地方馬場データのダウンロードに失敗しました。\r\nインターネットの接続状態を確認してください。"));
    EXPECT_FALSE(fileExists(home.path() + "file/babadif.csv"));
}

}  // namespace
}  // namespace tarvo
