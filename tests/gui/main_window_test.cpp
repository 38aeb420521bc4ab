#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <gtest/gtest.h>

#include "msgbox.h"
#include "test_support.h"
#include "unit_main.h"

namespace tarvo {
namespace {

struct Captured {
    MessageKind kind;
    QString caption, text;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageSink([this](MessageKind k, const QString& c, const QString& t) { messages.push_back({k, c, t}); });
    }
    void TearDown() override { setMessageSink({}); }

    QPushButton* button(TfrmMain& w, const char* name) { return w.findChild<QPushButton*>(QString::fromUtf8(name)); }

    test::TempDir home;
    std::vector<Captured> messages;
};

TEST_F(MainWindowTest, FrameControlsAndMenus) {
    TfrmMain w(home.path());
    ASSERT_TRUE(w.startupComplete());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("TARVO Ver.2.00"));
    EXPECT_EQ(w.centralWidget()->width() , TfrmMain::kClientWidth);
    EXPECT_EQ(w.centralWidget()->height() + w.statusBar()->height(), TfrmMain::kClientHeight);
    struct Place {
        const char* name;
        const char* caption;
        QRect rect;
    };
    const Place places[] = {
        {"btnDataGet", "開催情報", {6, 4, 75, 25}},  {"btnOddsBch", "オ", {80, 4, 25, 25}},
        {"btnRstBch", "結", {104, 4, 25, 25}},       {"btnDList", "ﾘｽﾄ", {113, 56, 33, 20}},
        {"btnVtr", "VTR", {680, 4, 75, 22}},         {"btnOddsGet", "オッズ更新", {760, 4, 113, 22}},
        {"btnResult", "レース結果", {880, 4, 97, 22}},
    };
    for (const auto& p : places) {
        QPushButton* b = button(w, p.name);
        ASSERT_NE(b, nullptr) << p.name;
        EXPECT_EQ(b->text(), QString::fromUtf8(p.caption)) << p.name;
        EXPECT_EQ(b->geometry(), p.rect) << p.name;
    }
    EXPECT_TRUE(button(w, "btnCancel")->isHidden());
    EXPECT_FALSE(button(w, "btnVtr")->isEnabled());
    EXPECT_FALSE(button(w, "btnResult")->isEnabled());
    // No race is listed, so the fetch buttons are off.
    EXPECT_FALSE(button(w, "btnDataGet")->isEnabled());
    for (const char* hidden : {"pgcMain", "rbtnPC", "GroupBox1", "stgUmaList", "btnAllUpd", "lbl_Cancel"})
        EXPECT_TRUE(w.findChild<QWidget*>(QString::fromUtf8(hidden))->isHidden()) << hidden;

    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"ファイル(&F)", "検索(&D)", "設定(&S)", "ヘルプ(&H)"}));
    EXPECT_EQ(w.action("mnuSetUp")->text(), QStringLiteral("JRA-VANからデータ追加(&J)"));
    EXPECT_EQ(w.action("mnuSetUp")->statusTip(), QStringLiteral("データ登録画面を開きます"));
    EXPECT_TRUE(w.action("mnuExit")->isEnabled());
    EXPECT_TRUE(w.action("mnu_setJVL")->isEnabled());
    EXPECT_FALSE(w.action("mnuVersion")->isEnabled());  // its screen is not there yet
}

TEST_F(MainWindowTest, StatusBarShowsTheHintUnderThePointer) {
    TfrmMain w(home.path());
    QPushButton* b = button(w, "btnDList");
    QStatusTipEvent tip(b->statusTip());
    QApplication::sendEvent(b, &tip);
    EXPECT_EQ(w.statusBar()->currentMessage(),
              QStringLiteral("開催日付の画面を開きます（開催日付の画面からも開催日選択ができます）"));

    // A control of another screen: its own window ends the hint's way, yet the
    // main window's status bar shows it.
    QDialog screen(&w);
    auto* label = new QLabel(QStringLiteral("平地"), &screen);
    QStatusTipEvent other(QStringLiteral("中央(芝＋ダート)の通算成績です"));
    QApplication::sendEvent(label, &other);
    EXPECT_EQ(w.statusBar()->currentMessage(), QStringLiteral("中央(芝＋ダート)の通算成績です"));
}

TEST_F(MainWindowTest, ReadOnlyModeDisablesRegistrationAndFetching) {
    test::spit(home.path() + "tarvo.ini", "[UMA_DB]\r\nmode=readonly\r\n");
    TfrmMain w(home.path());
    ASSERT_TRUE(w.startupComplete());
    w.setScreenOpener("mnuSetUp", [] {});
    EXPECT_FALSE(w.action("mnuSetUp")->isEnabled());
    for (const char* name : {"btnDataGet", "btnOddsGet", "btnOddsBch", "btnRstBch"})
        EXPECT_FALSE(button(w, name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, NormalModeEnablesRegistrationOnceItsScreenExists) {
    TfrmMain w(home.path());
    EXPECT_FALSE(w.action("mnuSetUp")->isEnabled());
    int opened = 0;
    w.setScreenOpener("mnuSetUp", [&] { ++opened; });
    ASSERT_TRUE(w.action("mnuSetUp")->isEnabled());
    w.action("mnuSetUp")->trigger();
    EXPECT_EQ(opened, 1);
}

TEST_F(MainWindowTest, RestoresItsPositionAfterARestart) {
    {
        TfrmMain w(home.path());
        w.move(140, 90);
        w.close();
    }
    TfrmMain again(home.path());
    EXPECT_EQ(again.pos(), QPoint(140, 90));
    EXPECT_NE(test::slurp(home.path() + "tarvo.ini").find("[WINDOW]\r\ntop=90\r\nleft=140\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, OldDataServiceEndsStartUpWithItsMessage) {
    test::spit(home.path() + "jvlink.ini", "[JVLINK]\r\nversion=0239\r\n");
    TfrmMain w(home.path());
    EXPECT_FALSE(w.startupComplete());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_EQ(messages[0].caption, QStringLiteral("TARVO Ver.2.00"));
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("新形式データ対応のTARVOは、Ver4.9.0以降のJV-Linkが必要です。\r\n")));
}

TEST_F(MainWindowTest, OptionCheckMarksFollowTheSettings) {
    test::spit(home.path() + "tarvo.ini", "[COMP_IDX]\r\noddadd=1\r\nbcdadd=1\r\n[DSP_SET]\r\nkako_clr=1\r\n");
    TfrmMain w(home.path());
    EXPECT_TRUE(w.action("mnuOptOdds")->isChecked());
    EXPECT_FALSE(w.action("mnuOptWgt")->isChecked());
    EXPECT_TRUE(w.action("mnuOptCon")->isChecked());
    EXPECT_TRUE(w.action("mnuOptCha")->isChecked());
    EXPECT_FALSE(w.action("mnuOptRViewer")->isChecked());
}

}  // namespace
}  // namespace tarvo
