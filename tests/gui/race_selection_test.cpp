#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

#include "cp932.h"
#include "grid.h"
#include "layouts.h"
#include "msgbox.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_dtlist.h"
#include "unit_main.h"

namespace tarvo {
namespace {

using Race = test::StoreFixture::Race;

QString u(const char* s) { return QString::fromUtf8(s); }

Race race(const QDate& d, const std::string& jyo, const std::string& rn, const std::string& dk,
          const std::string& name) {
    Race r;
    r.year = QString::asprintf("%04d", d.year()).toStdString();
    r.monthDay = QString::asprintf("%02d%02d", d.month(), d.day()).toStdString();
    r.jyoCD = jyo;
    r.raceNum = rn;
    r.dataKubun = dk;
    r.ryakusyo6 = name;
    return r;
}

class RaceSelectionTest : public ::testing::Test {
protected:
    void SetUp() override { setMessageSink([this](MessageKind, const QString&, const QString& t) { messages << t; }); }
    void TearDown() override { setMessageSink({}); }

    void readOnly() { test::spit(home.path() + "tarvo.ini", "[UMA_DB]\r\nmode=readonly\r\n"); }

    QPushButton* button(TfrmMain& w, const char* name) { return w.findChild<QPushButton*>(u(name)); }
    QListWidget* list(TfrmMain& w) { return w.findChild<QListWidget*>(u("lstRace")); }
    QDateEdit* picker(TfrmMain& w) { return w.findChild<QDateEdit*>(u("dtpRcDate")); }
    QStringList lines(TfrmMain& w) {
        QStringList l;
        for (int i = 0; i < list(w)->count(); ++i) l << list(w)->item(i)->text();
        return l;
    }
    std::vector<bool> fetchButtons(TfrmMain& w) {
        std::vector<bool> b;
        for (const char* name : {"btnDataGet", "btnOddsBch", "btnRstBch"}) b.push_back(button(w, name)->isEnabled());
        return b;
    }
    // Clicks the list item whose text begins with start.
    void click(TfrmMain& w, const char* start) {
        for (int i = 0; i < list(w)->count(); ++i) {
            if (!list(w)->item(i)->text().startsWith(u(start))) continue;
            list(w)->setCurrentRow(i);
            emit list(w)->itemClicked(list(w)->item(i));
            return;
        }
        ADD_FAILURE() << "no race " << start;
    }
    void storeOdds(const QDate& d, const std::string& rn, const std::string& kubun) {
        for (Family f : {Family::O2, Family::O4}) {
            LineBuilder b(f);
            const Race r = race(d, "05", rn, kubun, "");
            b.assign("DataKubun", kubun);
            b.assign("Year", r.year);
            b.assign("MonthDay", r.monthDay);
            b.assign("JyoCD", "05");
            b.assign("RaceNum", rn);
            const StorePaths& p = store.paths;
            writeRecord(f == Family::O2 ? p.o2(r.year, r.monthDay) : p.o4(r.year, r.monthDay), b.line(),
                        recordKey(f));
        }
    }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    QStringList messages;
    const QDate day{2024, 6, 2};
};

TEST_F(RaceSelectionTest, StartUpListsTodaysRacesAndTheFetchButtonsFollowTheSameDayFlag) {
    const QDate today = QDate::currentDate();
    store.addRace(race(today, "44", "11", "2", "大井メイン"));
    store.addRace(race(today, "05", "11", "7", "東京メイン"));
    {
        TfrmMain w(home.path());
        ASSERT_TRUE(w.startupComplete());
        EXPECT_EQ(picker(w)->date(), today);
        EXPECT_EQ(lines(w), (QStringList{u("東京11R 東京メイン"), u("大井11R 大井メイン")}));
        EXPECT_TRUE(w.sameDay());
        EXPECT_EQ(fetchButtons(w), (std::vector<bool>{true, true, true}));
        EXPECT_FALSE(button(w, "btnOddsGet")->isEnabled());
    }
    readOnly();
    {
        TfrmMain w(home.path());
        EXPECT_EQ(list(w)->count(), 2);
        EXPECT_EQ(fetchButtons(w), (std::vector<bool>{false, false, false}));
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RaceSelectionTest, DateChangeRelistsAndClearsTheShownRace) {
    store.addRace(race(day, "05", "11", "2", "ダービー"));
    store.addRace(race(day.addDays(-1), "05", "11", "7", "前日"));
    TfrmMain w(home.path());
    w.setScreenOpener(u("mnuOddsList"), [] {});
    picker(w)->setDate(day);
    EXPECT_EQ(lines(w), QStringList{u("東京11R ダービー")});
    EXPECT_EQ(fetchButtons(w), (std::vector<bool>{true, true, true}));

    click(w, "東京11R");
    w.findChild<QLabel*>(u("lbl_Date"))->setText(u("20240602"));  // as the race card would
    ASSERT_FALSE(w.findChild<QWidget*>(u("stgUmaList"))->isHidden());
    ASSERT_TRUE(w.action(u("mnuOddsList"))->isEnabled());

    // A day whose races are all final: listed, but nothing to fetch.
    picker(w)->setDate(day.addDays(-1));
    EXPECT_EQ(lines(w), QStringList{u("東京11R 前日")});
    EXPECT_FALSE(w.sameDay());
    EXPECT_EQ(fetchButtons(w), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(w.findChild<QLabel*>(u("lbl_Date"))->text().isEmpty());
    EXPECT_TRUE(w.findChild<QWidget*>(u("stgUmaList"))->isHidden());
    EXPECT_FALSE(w.findChild<QWidget*>(u("stgUmaList"))->isEnabled());
    for (const char* hidden : {"pgcMain", "GroupBox1", "stgUmaren", "dgrFuku", "btnAllUpd"})
        EXPECT_TRUE(w.findChild<QWidget*>(u(hidden))->isHidden()) << hidden;
    for (const char* off : {"btnResult", "btnOddsGet", "btnVtr"}) EXPECT_FALSE(button(w, off)->isEnabled()) << off;
    EXPECT_FALSE(w.action(u("mnuOddsList"))->isEnabled());

    // A day without races.
    picker(w)->setDate(day.addDays(1));
    EXPECT_EQ(list(w)->count(), 0);
    EXPECT_EQ(fetchButtons(w), (std::vector<bool>{false, false, false}));
}

TEST_F(RaceSelectionTest, SelectingARaceSetsTheButtonsForItsState) {
    store.addRace(race(day, "05", "01", "2", "出馬表"));
    store.addRace(race(day, "05", "02", "2", "締切"));
    storeOdds(day, "02", "4");  // odds are final
    store.addRace(race(day, "05", "03", "7", "確定"));
    store.addRace(race(day, "05", "04", "9", "中止"));
    store.addRace(race(day, "05", "05", "1", "登録"));
    store.addRace(race(day, "44", "11", "2", "大井"));
    store.addRace(race(day, "58", "12", "9", "札幌チ"));

    const struct {
        bool readOnly;
        const char* race;
        // btnDataGet, btnOddsGet, btnOddsBch, btnRstBch, btnResult, odds list
        std::vector<bool> enabled;
        const char* cancel;  // the cancellation label when shown
    } cases[] = {
        {false, "東京01R", {true, true, true, true, true, true}, nullptr},
        {false, "東京02R", {true, false, true, true, true, true}, nullptr},
        {false, "東京03R", {false, false, false, false, true, true}, nullptr},
        {false, "東京04R", {false, false, false, false, false, false}, "<中止>"},
        {false, "東京05R", {false, false, false, false, false, false}, nullptr},
        {false, "大井11R", {false, false, false, false, true, false}, nullptr},
        {false, "札チ12R", {false, false, false, false, true, false}, "<中止>"},
        {true, "東京01R", {false, false, false, false, true, false}, nullptr},
        {true, "東京04R", {false, false, false, false, false, false}, "<中止>"},
    };
    for (const auto& c : cases) {
        if (c.readOnly) readOnly();
        TfrmMain w(home.path());
        w.setScreenOpener(u("mnuOddsList"), [] {});
        std::vector<std::string> shown;
        w.setRaceShower([&](const std::string& line) {
            shown.push_back(line);
            // While the race is shown the left column cannot be used.
            EXPECT_FALSE(list(w)->isEnabled());
            EXPECT_FALSE(picker(w)->isEnabled());
            EXPECT_FALSE(button(w, "btnDList")->isEnabled());
        });
        picker(w)->setDate(day);
        click(w, c.race);
        ASSERT_EQ(shown.size(), 1u) << c.race;
        EXPECT_TRUE(toUtf8(shown[0]).rfind(c.race, 0) == 0) << c.race;

        std::vector<bool> enabled;
        for (const char* name : {"btnDataGet", "btnOddsGet", "btnOddsBch", "btnRstBch", "btnResult"})
            enabled.push_back(button(w, name)->isEnabled());
        enabled.push_back(w.action(u("mnuOddsList"))->isEnabled());
        EXPECT_EQ(enabled, c.enabled) << c.race << (c.readOnly ? " read-only" : "");

        auto* cancel = w.findChild<QLabel*>(u("lbl_Cancel"));
        EXPECT_EQ(!cancel->isHidden(), c.cancel != nullptr) << c.race;
        EXPECT_EQ(cancel->text(), c.cancel ? u(c.cancel) : QString()) << c.race;
        EXPECT_TRUE(list(w)->isEnabled());
        EXPECT_TRUE(picker(w)->isEnabled());
        EXPECT_TRUE(button(w, "btnDList")->isEnabled());
        EXPECT_FALSE(w.findChild<QWidget*>(u("stgUmaList"))->isHidden());
        EXPECT_FALSE(w.findChild<QWidget*>(u("pgcMain"))->isHidden());
        EXPECT_FALSE(button(w, "btnVtr")->isEnabled());
    }
}

TEST_F(RaceSelectionTest, BetAreaFollowsTheStartTime) {
    store.addRace(race(day, "05", "01", "7", "一"));
    TfrmMain w(home.path());
    QString startTime;
    w.setRaceShower([&](const std::string&) { w.findChild<QLabel*>(u("lbl_h_time"))->setText(startTime); });
    picker(w)->setDate(day);
    startTime = u("--：--");
    click(w, "東京01R");
    EXPECT_TRUE(w.findChild<QWidget*>(u("GroupBox1"))->isHidden());
    EXPECT_FALSE(w.findChild<QWidget*>(u("dgrFuku"))->isHidden());
    startTime = u("15：40");
    click(w, "東京01R");
    EXPECT_FALSE(w.findChild<QWidget*>(u("GroupBox1"))->isHidden());
    EXPECT_FALSE(w.findChild<QWidget*>(u("stgUmaren"))->isHidden());
}

// ---- Meeting dates list ----

class DateListTest : public RaceSelectionTest {
protected:
    void SetUp() override {
        RaceSelectionTest::SetUp();
        store.addRace(race(QDate(2024, 6, 2), "05", "11", "7", "ダービー"));
        store.addRace(race(QDate(2024, 6, 1), "09", "11", "7", "阪神"));
        store.addRace(race(QDate(2024, 6, 1), "44", "11", "2", "大井"));  // local: not a meeting date
        store.addRace(race(QDate(2024, 6, 3), "05", "11", "7", "月曜"));
        store.addRace(race(QDate(2022, 1, 5), "06", "11", "7", "金杯"));
    }
    // A grid cell as the screen shows it, read through the grid's model; none
    // for a cell without data.
    struct Cell {
        QModelIndex index;
        QString text() const { return index.data().toString(); }
        QBrush foreground() const { return index.data(Qt::ForegroundRole).value<QBrush>(); }
        int textAlignment() const { return index.data(Qt::TextAlignmentRole).toInt(); }
    };
    static std::optional<Cell> item(const Grid* g, int row, int col) {
        const QModelIndex i = g->model()->index(row, col);
        if (!i.data().isValid()) return std::nullopt;
        return Cell{i};
    }
    static QString header(const Grid* g, int col) { return g->model()->headerData(col, Qt::Horizontal).toString(); }
    static void doubleClick(Grid* g, int row, int col) { emit g->doubleClicked(g->model()->index(row, col)); }
    QStringList column(const Grid* g, int col) {
        QStringList l;
        for (int r = 0; r < g->rowCount(); ++r) l << (item(g, r, col) ? item(g, r, col)->text() : QString());
        return l;
    }
};

TEST_F(DateListTest, OpensNextToTheMainWindowWithThePickersYear) {
    TfrmMain w(home.path());
    picker(w)->setDate(QDate(2024, 3, 3));
    w.move(50, 40);
    w.show();
    QPoint at;
    QStringList years, dates;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<TfrmDtList*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        at = d->pos();
        caption = d->windowTitle();
        for (int i = 0; i < d->years()->count(); ++i) years << d->years()->itemText(i);
        years << d->years()->currentText();
        dates = column(d->grid(), 0);
        d->reject();
    });
    button(w, "btnDList")->click();
    EXPECT_EQ(at, w.pos() + QPoint(200, 100));
    EXPECT_EQ(caption, u("開催日付（中央競馬）"));
    EXPECT_EQ(years, (QStringList{"2022", "2024", "2024"}));
    EXPECT_EQ(dates, (QStringList{"06/03", "06/02", "06/01"}));
    EXPECT_EQ(picker(w)->date(), QDate(2024, 3, 3));  // closed without a choice
}

TEST_F(DateListTest, GridRowsColoursAndTheYearChoice) {
    QDateEdit pickerEdit;
    pickerEdit.setDate(QDate(2030, 1, 1));  // later than every stored year: the last one
    TfrmDtList d(home.path() + "data/", &pickerEdit, {});
    Grid* g = d.grid();
    ASSERT_EQ(g->rowCount(), 3);
    EXPECT_EQ(d.years()->currentText(), u("2024"));
    EXPECT_TRUE(g->isColumnHidden(1));
    EXPECT_TRUE(g->isColumnHidden(3));
    EXPECT_EQ(g->columnWidth(5), 140);
    EXPECT_EQ(header(g, 4), u("場名"));
    EXPECT_EQ(header(g, 5), u("主なレース"));
    EXPECT_EQ(column(g, 1), (QStringList{"20240603", "20240602", "20240601"}));
    EXPECT_EQ(column(g, 2), (QStringList{u("月"), u("日"), u("土")}));
    EXPECT_EQ(column(g, 4), (QStringList{u("東京"), u("東京"), u("阪神")}));
    EXPECT_EQ(column(g, 5), (QStringList{u("<一般戦>"), u("<一般戦>"), u("<一般戦>")}));
    EXPECT_EQ(item(g, 0, 2)->foreground().color(), QColor(Qt::black));
    EXPECT_EQ(item(g, 1, 2)->foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(item(g, 2, 2)->foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(item(g, 0, 5)->textAlignment() & Qt::AlignLeft);
    EXPECT_TRUE(item(g, 0, 4)->textAlignment() & Qt::AlignHCenter);

    d.years()->setCurrentIndex(0);  // 2022
    EXPECT_EQ(column(g, 1), QStringList{"20220105"});

    pickerEdit.setDate(QDate(2023, 5, 5));  // between two stored years: none chosen
    TfrmDtList between(home.path() + "data/", &pickerEdit, {});
    EXPECT_EQ(between.years()->currentIndex(), -1);
    EXPECT_EQ(between.grid()->rowCount(), 1);
    EXPECT_EQ(item(between.grid(), 0, 0), std::nullopt);

    TfrmDtList empty(home.path() + "nothing/", &pickerEdit, {});
    EXPECT_EQ(empty.years()->count(), 0);
    EXPECT_EQ(empty.grid()->rowCount(), 1);
}

TEST_F(DateListTest, ChoosingADateSetsThePickerAndListsItsRaces) {
    TfrmMain w(home.path());
    picker(w)->setDate(QDate(2024, 6, 2));
    // Double click on the second row (6/2): the same date still runs the date change.
    {
        TfrmDtList d(w.state().storeRoot, picker(w), [&] { w.dtpRcDateChange(); }, &w);
        list(w)->clear();
        doubleClick(d.grid(), 1, 5);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(picker(w)->date(), QDate(2024, 6, 2));
        EXPECT_EQ(lines(w), QStringList{u("東京11R ダービー")});
    }
    // Enter on the third row (6/1).
    {
        TfrmDtList d(w.state().storeRoot, picker(w), [&] { w.dtpRcDateChange(); }, &w);
        d.grid()->setCurrentCell(2, 0);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d.grid(), &enter);
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(picker(w)->date(), QDate(2024, 6, 1));
        EXPECT_EQ(lines(w), (QStringList{u("阪神11R 阪神"), u("大井11R 大井")}));
        EXPECT_TRUE(w.sameDay());
    }
    // The empty row of a year without dates chooses nothing.
    {
        QDateEdit other;
        other.setDate(QDate(2023, 5, 5));
        int changes = 0;
        TfrmDtList d(w.state().storeRoot, &other, [&] { ++changes; });
        doubleClick(d.grid(), 0, 0);
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(other.date(), QDate(2023, 5, 5));
    }
}

}  // namespace
}  // namespace tarvo

namespace tarvo {
namespace {

TEST_F(RaceSelectionTest, ArrowKeysSelectTheRaceUnderTheCursor) {
    store.addRace(race(day, "05", "01", "7", "一"));
    store.addRace(race(day, "05", "02", "7", "二"));
    store.addRace(race(day, "05", "03", "7", "三"));
    TfrmMain w(home.path());
    std::vector<std::string> shown;
    w.setRaceShower([&](const std::string& line) { shown.push_back(line); });
    picker(w)->setDate(day);
    EXPECT_TRUE(shown.empty());  // listing selects nothing
    list(w)->setCurrentRow(0);   // a change made by the program is no selection either
    EXPECT_TRUE(shown.empty());
    for (int key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(list(w), &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(list(w), &release);
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(toUtf8(shown[0]), "東京02R 二");
    EXPECT_EQ(toUtf8(shown[1]), "東京03R 三");
    EXPECT_EQ(toUtf8(shown[2]), "東京02R 二");
}

}  // namespace
}  // namespace tarvo
