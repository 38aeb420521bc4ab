// The newcomer statistics builder: its controls and year choices, a run with
// its locked controls and bars, cancel, and opening it from the main window.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include "fsys.h"
#include "message_capture.h"
#include "newcomer_stats.h"
#include "screen_registry.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_main.h"
#include "unit_smbdtmk.h"

namespace tarvo {
namespace {

using test::Captured;
using test::child;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class SmbDtMkTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two race days of each year: two SE files a year.
        for (const char* year : {"2022", "2023", "2024"}) {
            for (const char* monthDay : {"0601", "0602"}) {
                test::StoreFixture::Race r = test::race(monthDay, "05", "01");
                r.year = year;
                store.addRace(r);
                store.addRunner(r, 1, "01", "1360", "345");
            }
        }
    }
    QStringList items(QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i) l << c->itemText(i);
        return l;
    }
    bool made(int year) const { return fileExists(newcomerFile(fileFolder(), NewcomerTable::Jockey, year)); }
    std::string fileFolder() const { return home.path() + "file/"; }
    std::string storeRoot() const { return home.path() + "data/"; }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    test::MessageCapture capture;
    std::vector<Captured>& messages = capture.messages;
};

TEST_F(SmbDtMkTest, OpensCentredWithTheStoredYearsChosenFirstToLast) {
    TfrmSmbDtMk f(fileFolder(), storeRoot());
    EXPECT_EQ(f.windowTitle(), u("新馬予想用補助データ作成"));
    EXPECT_EQ(f.size(), QSize(473, 183));
    EXPECT_EQ(f.geometry().center(), QGuiApplication::primaryScreen()->geometry().center()) << f.pos().x();
    EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
    const std::pair<const char*, const char*> captions[] = {
        {"Button1", "作成開始"}, {"btnCancel", "集計中止"}, {"btnClose", "閉じる"}};
    for (const auto& [name, caption] : captions) EXPECT_EQ(child<QPushButton>(f, name)->text(), u(caption));
    EXPECT_EQ(child<QLabel>(f, "Label1")->text(), u("～"));
    EXPECT_EQ(child<QLabel>(f, "Label2")->text(), u("年の新馬戦成績を集計"));
    EXPECT_EQ(child<QPushButton>(f, "btnCancel")->geometry(), child<QPushButton>(f, "Button1")->geometry());
    EXPECT_TRUE(child<QPushButton>(f, "btnCancel")->isHidden());
    auto* from = child<QComboBox>(f, "cboFrYear");
    auto* to = child<QComboBox>(f, "cboToYear");
    EXPECT_EQ(items(from), (QStringList{"2022", "2023", "2024"}));
    EXPECT_EQ(items(to), items(from));
    EXPECT_EQ(from->currentText(), u("2022"));
    EXPECT_EQ(to->currentText(), u("2024"));
    EXPECT_EQ(child<QProgressBar>(f, "ProgressBar0")->value(), 0);
    EXPECT_EQ(child<QProgressBar>(f, "ProgressBar1")->value(), 0);
    EXPECT_TRUE(messages.empty());

    const std::string missing = home.path() + "none/";
    TfrmSmbDtMk without(fileFolder(), missing);
    EXPECT_EQ(child<QComboBox>(without, "cboFrYear")->count(), 0);
    EXPECT_EQ(messages, (std::vector<Captured>{{MessageKind::Error,
                                                u("データフォルダ[") + QString::fromStdString(missing) +
                                                    u("]が\r\n存在しないため、補助データ作成を行えません。")}}));
}

TEST_F(SmbDtMkTest, CountingLocksTheControlsAndEndsWithBothBarsFull) {
    TfrmSmbDtMk f(fileFolder(), storeRoot());
    child<QComboBox>(f, "cboFrYear")->setCurrentText(u("2023"));
    bool locked = false, cancelShown = false, closedWhileRunning = false;
    QTimer::singleShot(0, &f, [&] {
        locked = !child<QPushButton>(f, "Button1")->isEnabled() && !child<QPushButton>(f, "btnClose")->isEnabled() &&
                 !child<QComboBox>(f, "cboFrYear")->isEnabled() && !child<QComboBox>(f, "cboToYear")->isEnabled();
        cancelShown = child<QPushButton>(f, "btnCancel")->isVisibleTo(&f);
        f.reject();  // Escape does not close the screen while it counts
        closedWhileRunning = !f.running();
    });
    child<QPushButton>(f, "Button1")->click();

    EXPECT_TRUE(locked);
    EXPECT_TRUE(cancelShown);
    EXPECT_FALSE(closedWhileRunning);
    EXPECT_EQ(messages, (std::vector<Captured>{{MessageKind::Information, u("集計処理が終了しました")}}));
    for (const char* bar : {"ProgressBar0", "ProgressBar1"}) {
        auto* b = child<QProgressBar>(f, bar);
        EXPECT_EQ(b->value(), b->maximum()) << bar;
    }
    EXPECT_EQ(child<QProgressBar>(f, "ProgressBar0")->maximum(), 2);
    EXPECT_TRUE(child<QLabel>(f, "StaticText1")->text().endsWith(u("SE20240602" "05.dat")));
    EXPECT_FALSE(made(2022));
    EXPECT_TRUE(made(2023) && made(2024));
    EXPECT_TRUE(child<QPushButton>(f, "btnCancel")->isHidden());
    for (const char* name : {"Button1", "btnClose", "cboFrYear", "cboToYear"})
        EXPECT_TRUE(f.findChild<QWidget*>(u(name))->isEnabled()) << name;
}

TEST_F(SmbDtMkTest, CancelInTheSecondYearKeepsTheFirstYearsFilesOnly) {
    TfrmSmbDtMk f(fileFolder(), storeRoot());
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!child<QLabel>(f, "StaticText1")->text().contains(u("/SE/2023/"))) return;
        child<QPushButton>(f, "btnCancel")->click();
        poll.stop();
    });
    poll.start();
    child<QPushButton>(f, "Button1")->click();

    EXPECT_EQ(messages, (std::vector<Captured>{{MessageKind::Warning, u("集計処理を中止しました")}}));
    EXPECT_TRUE(made(2022));
    EXPECT_FALSE(made(2023));
    EXPECT_FALSE(made(2024));
    EXPECT_LT(child<QProgressBar>(f, "ProgressBar0")->value(), 2);
    EXPECT_TRUE(child<QPushButton>(f, "Button1")->isEnabled());
}

TEST_F(SmbDtMkTest, TheMainWindowsMenuItemOpensIt) {
    TfrmMain w(home.path());
    ASSERT_TRUE(w.startupComplete());
    EXPECT_FALSE(w.action("mnuSmbDtMk")->isEnabled());
    for (const ScreenEntry& screen : screenRegistry())
        w.setScreenOpener(u(screen.menuItem), [&w, open = screen.open] {
            open({w.state().settingsPath(), w.state().storeRoot, w.jvlink(), &w});
        });
    ASSERT_TRUE(w.action("mnuSmbDtMk")->isEnabled());
    EXPECT_EQ(w.action("mnuSmbDtMk")->text(), u("新馬予想用補助データの作成(&M)"));
    QString caption;
    QStringList years;
    QTimer::singleShot(0, &w, [&] {
        auto* f = qobject_cast<TfrmSmbDtMk*>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        caption = f->windowTitle();
        years = items(child<QComboBox>(*f, "cboToYear"));
        child<QPushButton>(*f, "Button1")->click();
        child<QPushButton>(*f, "btnClose")->click();
    });
    w.action("mnuSmbDtMk")->trigger();
    EXPECT_EQ(caption, u("新馬予想用補助データ作成"));
    EXPECT_EQ(years, (QStringList{"2022", "2023", "2024"}));
    // It counted into the program folder's file folder.
    EXPECT_TRUE(made(2022) && made(2024));
}

}  // namespace
}  // namespace tarvo
