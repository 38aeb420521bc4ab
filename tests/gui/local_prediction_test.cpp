// The local graded race screen on the main window: one instance from the menu,
// a loaded file and "出走表登録" filling the main window's race card, closed
// at shutdown; the runner editor changing a row; the race data editor writing
// the run.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "cp932.h"
#include "grid.h"
#include "inifile.h"
#include "layouts.h"
#include "local_card.h"
#include "lookups.h"
#include "message_capture.h"
#include "race_card.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "textfn.h"
#include "unit_chjedt.h"
#include "unit_main.h"
#include "unit_srch.h"
#include "unit_udtedit.h"

namespace tarvo {
namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

EntryRow runner(int h, const char* status = "番") {
    return {twoDigits(h) + sj(status), sj("ウマ") + twoDigits(h), sj("牡4"), "55.0", "20200000" + twoDigits(h), "**",
            "00000", "**", "00000"};
}

class LocalScreenTest : public ::testing::Test {
protected:
    std::string writeCard(int runners) {
        std::vector<EntryRow> rows;
        for (int h = 1; h <= runners; ++h) rows.push_back(runner(h, h == 2 ? "除>" : "番"));
        const std::string path = home.path() + "card.rfl";
        test::spit(path, rflText({"20240601", sj("大井"), sj("ダ1600"), sj("記念")}, rows));
        return path;
    }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
};

TEST_F(LocalScreenTest, OneScreenRegistersTheCardAndClosesWithTheMainWindow) {
    test::MessageCapture capture;
    QPointer<TfrmSrch> screen;
    {
        TfrmMain w(home.path());
        installRaceCard(w);
        ASSERT_TRUE(w.action(u("mnuLocalYoso"))->isEnabled());
        w.action(u("mnuLocalYoso"))->trigger();
        screen = w.findChild<TfrmSrch*>();
        ASSERT_NE(screen, nullptr);
        EXPECT_FALSE(screen->isModal());
        EXPECT_EQ(screen->pos(), w.pos() + QPoint(40, 50));
        w.action(u("mnuLocalYoso"))->trigger();
        EXPECT_EQ(w.findChildren<TfrmSrch*>().size(), 1);

        screen->openFile(writeCard(4));
        EXPECT_EQ(screen->entry().rows.size(), 4u);
        EXPECT_EQ(screen->findChild<QLineEdit*>(u("edtTName"))->text(), u("大井"));
        EXPECT_EQ(screen->findChild<QComboBox*>(u("cboNum"))->count(), 14);
        EXPECT_EQ(toUtf8(IniFile(home.path() + "tarvo.ini").read("RACE_FILE", "sfile")), home.path() + "card.rfl");
        screen->findChild<QPushButton*>(u("btnEntry"))->click();

        EXPECT_EQ(w.findChild<QLabel*>(u("lbl_RaceNum"))->text(), u("大井**R"));
        EXPECT_EQ(w.findChild<QLabel*>(u("lbl_Crs"))->text(), u("ダート1600m"));
        auto* grid = w.findChild<Grid*>(u("stgUmaList"));
        ASSERT_EQ(grid->rows()->dataRows(), 4);
        EXPECT_EQ(grid->rows()->data(grid->rows()->index(1, 7), Qt::DisplayRole).toString(), u("除外"));
        EXPECT_EQ(grid->rows()->data(grid->rows()->index(3, 0), Qt::DisplayRole).toString(), u("4"));
        EXPECT_FALSE(w.findChild<QPushButton*>(u("btnResult"))->isEnabled());
        EXPECT_FALSE(w.findChild<QPushButton*>(u("btnDataGet"))->isEnabled());
        EXPECT_TRUE(w.action(u("mnuFileOut"))->isEnabled());
        EXPECT_FALSE(w.findChild<QWidget*>(u("stgUmaren"))->isVisibleTo(&w));
        w.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(screen.isNull());
    }
    EXPECT_TRUE(capture.messages.empty());
}

TEST_F(LocalScreenTest, BrokenFileWarnsAndKeepsWhatItRead) {
    test::MessageCapture capture;
    TfrmMain w(home.path());
    installRaceCard(w);
    w.action(u("mnuLocalYoso"))->trigger();
    TfrmSrch& screen = *w.findChild<TfrmSrch*>();
    const std::string path = home.path() + "broken.rfl";
    const std::string bytes = sj("01番 ウマ\r\n");
    test::spit(path, bytes);
    screen.openFile(path);
    ASSERT_EQ(screen.entry().rows.size(), 1u);
    EXPECT_EQ(toUtf8(screen.entry().rows[0][1]), "ウマ");
    EXPECT_EQ(screen.entry().rows[0][7], "**");
    EXPECT_EQ(test::slurp(path), bytes);
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].kind, MessageKind::Warning);
}

TEST_F(LocalScreenTest, RunnerEditorChangesWeightJockeyAndSteps) {
    LocalEntry e;
    e.rows = {runner(1), runner(2)};
    e.selected = 1;
    int changes = 0;
    TfrmChjEdt editor(store.paths, e, [&] { ++changes; }, nullptr);
    EXPECT_EQ(editor.findChild<QLabel*>(u("lblUban"))->text(), u("01番"));
    auto* weights = editor.findChild<QComboBox*>(u("cboWgt"));
    EXPECT_EQ(weights->currentText(), u("55.0"));
    weights->setCurrentText(u("57.5"));
    editor.findChild<QPushButton*>(u("btnWgtUpd"))->click();
    EXPECT_EQ(e.rows[0][3], "57.5");

    auto* list = editor.findChild<QListWidget*>(u("lstKishu"));
    ASSERT_GE(list->count(), 1);
    list->setCurrentRow(0);
    emit list->itemClicked(list->item(0));
    auto* direct = editor.findChild<QLineEdit*>(u("edtDirectKsh"));
    EXPECT_FALSE(direct->isHidden());
    direct->setText(u("新騎手"));
    editor.findChild<QPushButton*>(u("btnKshUpd"))->click();
    EXPECT_EQ(toUtf8(e.rows[0][5]), "新騎手");
    EXPECT_EQ(e.rows[0][6], "00000");

    editor.findChild<QPushButton*>(u("btnDnw"))->click();
    EXPECT_EQ(e.selected, 2u);
    EXPECT_EQ(editor.findChild<QLabel*>(u("lblUban"))->text(), u("02番"));
    editor.findChild<QPushButton*>(u("btnDnw"))->click();
    EXPECT_EQ(e.selected, 2u);
    EXPECT_EQ(changes, 3);
}

TEST_F(LocalScreenTest, RaceDataEditorWritesTheRun) {
    test::StoreFixture::Race r;
    r.jyoCD = "44";
    store.addRunner(r, 3, "03", "1360", "370");
    const RaceKey race(r.year, r.monthDay, r.jyoCD, r.raceNum);
    TfrmUdtEdit editor(store.paths.root(), race, "2017000003", sj("結果"), nullptr);
    EXPECT_EQ(editor.findChild<QLineEdit*>(u("edtL3Sec"))->text(), u("37"));
    editor.findChild<QLineEdit*>(u("edtL3Sec"))->setText(u("29"));
    editor.findChild<QLineEdit*>(u("edtC2"))->setText(u("1"));
    editor.findChild<QLineEdit*>(u("edtC3"))->setText(u("2"));
    editor.findChild<QLineEdit*>(u("edtC4"))->clear();
    editor.edit();
    EXPECT_EQ(editor.result().l3fShown, "--.-");
    EXPECT_EQ(editor.result().positionsShown, "0102**");
    const std::string line = findRunnerByNumber(store.paths, race, "03");
    EXPECT_EQ(getField(Family::SE, line, "HaronTimeL3"), "000");
    EXPECT_EQ(getField(Family::SE, line, "Jyuni4c"), "00");
}

}  // namespace
}  // namespace tarvo
