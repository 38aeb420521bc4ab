// The registration screen: its controls and modes, a setup run with moving
// progress bars, and cancel.
#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>

#include "inifile.h"
#include "jv_fixture.h"
#include "jvlink_emu.h"
#include "msgbox.h"
#include "startup.h"
#include "test_support.h"
#include "unit_dtget.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

struct Captured {
    MessageKind kind;
    QString text;
    bool operator==(const Captured& o) const { return kind == o.kind && text == o.text; }
};

class DataGetTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageSink([this](MessageKind k, const QString& caption, const QString& t) {
            EXPECT_EQ(caption, u("TARVO Ver.2.00"));
            messages.push_back({k, t});
        });
        test::addRaceDay(src, "0106");
        test::addRaceDay(src, "0107");
        state.programFolder = home.path();
        state.storeRoot = home.path() + "data/";
        jv.overrideSource(src.root());
        jv.JVInit(kSoftwareId);
    }
    void TearDown() override { setMessageSink({}); }

    template <class T>
    T* child(QWidget& w, const char* name) {
        T* c = w.findChild<T*>(u(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString text(QWidget& w, const char* name) { return child<QLabel>(w, name)->text(); }
    void emulator(const char* key, const char* value) {
        IniFile(home.path() + "jvlink.ini").write("JVLINK", key, value);
    }
    std::string key(const char* k) { return IniFile(state.settingsPath()).read("UMA_DB", k); }

    test::TempDir home, sourceDir;
    test::SourceFolder src{sourceDir.path()};
    AppState state;
    JVLinkEmulator jv{home.path()};
    std::vector<Captured> messages;
};

TEST_F(DataGetTest, OpensBelowItsParentWithTheModeOfTheSettings) {
    QWidget parent;
    parent.move(200, 150);
    {
        TfrmDataGet f(state.settingsPath(), state.storeRoot, jv, &parent);
        EXPECT_EQ(f.windowTitle(), u("JRA-VANデータ登録"));
        EXPECT_EQ(f.pos(), QPoint(300, 230));
        const std::pair<const char*, const char*> buttons[] = {
            {"btnDataAdd", "登録開始"}, {"btnCancel", "中断"}, {"btnClose", "閉じる"}};
        for (const auto& [name, caption] : buttons) EXPECT_EQ(child<QPushButton>(f, name)->text(), u(caption));
        for (const char* name : {"lbl_RaceSTS", "lbl_RaceStart", "lbl_RaceEnd", "lbl_RaceCnt", "lbl_DiffSTS",
                                 "lbl_DiffCnt", "lbl_SnapSTS", "lbl_SnapCnt", "lbl_BlodSTS", "lbl_BlodCnt",
                                 "lbl_BBdtSTS", "lbl_BBdtStart", "lbl_BBdtEnd", "lblDownload", "lblRead",
                                 "stxtRead", "stxtExec"})
            child<QLabel>(f, name);
        EXPECT_EQ(text(f, "lbl_BBdtTitle"), u("馬場情報の登録"));
        EXPECT_EQ(text(f, "lblDownload"), u("ダウンロード： 0 / 0"));
        child<QProgressBar>(f, "prgDownload");
        child<QProgressBar>(f, "prgJVRead");
        child<QListWidget>(f, "lstmsg");
        // First registration: only the setup, from today.
        EXPECT_TRUE(child<QRadioButton>(f, "rbtn_setup")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(f, "rbtn_usual")->isEnabled());
        EXPECT_FALSE(f.findChild<QAction*>(u("mnuLockOff"))->isEnabled());
        EXPECT_FALSE(child<QPushButton>(f, "btnCancel")->isEnabled());
        EXPECT_TRUE(child<QDateEdit>(f, "dtp_start_date")->isEnabled());
        EXPECT_EQ(child<QDateEdit>(f, "dtp_start_date")->date(), QDate::currentDate());
    }

    IniFile ini(state.settingsPath());
    ini.write("UMA_DB", "set_start", "20230105000000");
    ini.write("UMA_DB", "lasttime", "20240107210100");
    TfrmDataGet f(state.settingsPath(), state.storeRoot, jv, &parent);
    auto* usual = child<QRadioButton>(f, "rbtn_usual");
    auto* setup = child<QRadioButton>(f, "rbtn_setup");
    auto* dtp = child<QDateEdit>(f, "dtp_start_date");
    QAction* lockOff = f.findChild<QAction*>(u("mnuLockOff"));
    EXPECT_EQ(lockOff->text(), u("再セットアップ－ロック解除"));
    EXPECT_TRUE(usual->isChecked());
    EXPECT_FALSE(setup->isEnabled());
    EXPECT_TRUE(lockOff->isEnabled());
    EXPECT_EQ(dtp->date(), QDate(2023, 1, 5));
    EXPECT_FALSE(dtp->isEnabled());
    lockOff->trigger();  // ticked: the setup may be chosen
    EXPECT_TRUE(setup->isEnabled());
    setup->setChecked(true);
    EXPECT_TRUE(dtp->isEnabled());
    lockOff->trigger();  // unticked: back to the usual run
    EXPECT_FALSE(setup->isEnabled());
    EXPECT_TRUE(usual->isChecked());
    EXPECT_FALSE(dtp->isEnabled());
}

TEST_F(DataGetTest, StatusLabelsShowThatNothingIsRegisteredYetWhenItOpens) {
    IniFile(state.settingsPath()).write("UMA_DB", "lasttime", "20240107210100");  // also after an earlier run
    TfrmDataGet f(state.settingsPath(), state.storeRoot, jv);
    for (const char* name : {"lbl_RaceSTS", "lbl_DiffSTS", "lbl_SnapSTS", "lbl_BlodSTS", "lbl_BBdtSTS"}) {
        EXPECT_EQ(text(f, name), u("登録前")) << name;
        EXPECT_EQ(child<QLabel>(f, name)->palette().color(QPalette::WindowText), QColor(0, 0, 0)) << name;
    }
    for (const char* name : {"lbl_RaceCnt", "lbl_BlodCnt", "lbl_RaceStart", "lbl_BBdtEnd"})
        EXPECT_TRUE(text(f, name).isEmpty()) << name;
}

TEST_F(DataGetTest, SetupRunMovesTheBarsAndSwitchesToTheUsualRun) {
    emulator("rate", "40");  // files arrive over a fraction of a second
    TfrmDataGet f(state.settingsPath(), state.storeRoot, jv);
    child<QDateEdit>(f, "dtp_start_date")->setDate(QDate(2024, 1, 1));
    auto* download = child<QProgressBar>(f, "prgDownload");
    auto* read = child<QProgressBar>(f, "prgJVRead");
    std::set<int> downloadSeen;
    bool cancelEnabled = false, closeDisabled = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        downloadSeen.insert(download->value());
        cancelEnabled = cancelEnabled || child<QPushButton>(f, "btnCancel")->isEnabled();
        closeDisabled = closeDisabled || !child<QPushButton>(f, "btnClose")->isEnabled();
    });
    poll.start();
    child<QPushButton>(f, "btnDataAdd")->click();
    poll.stop();

    EXPECT_EQ(messages, (std::vector<Captured>{{MessageKind::Information, u("セットアップ処理が完了しました")}}));
    EXPECT_EQ(text(f, "lbl_RaceSTS"), u("登録済"));
    EXPECT_EQ(text(f, "lbl_RaceCnt"), u("8"));
    EXPECT_EQ(text(f, "lbl_BlodCnt"), u("4"));
    EXPECT_EQ(text(f, "lbl_BBdtSTS"), u("登録済"));
    EXPECT_EQ(child<QLabel>(f, "lbl_RaceSTS")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(text(f, "lbl_RaceStart").isEmpty());
    EXPECT_FALSE(text(f, "lbl_BBdtEnd").isEmpty());
    EXPECT_EQ(read->value(), read->maximum());
    EXPECT_EQ(child<QListWidget>(f, "lstmsg")->count(), 4);
    // The download bar passed through values between empty and full.
    EXPECT_TRUE(std::any_of(downloadSeen.begin(), downloadSeen.end(), [](int v) { return v > 0 && v < 8; }))
        << downloadSeen.size();
    EXPECT_TRUE(cancelEnabled);
    EXPECT_TRUE(closeDisabled);
    EXPECT_TRUE(child<QRadioButton>(f, "rbtn_usual")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(f, "rbtn_usual")->isEnabled());
    EXPECT_FALSE(child<QRadioButton>(f, "rbtn_setup")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(f, "btnCancel")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(f, "btnDataAdd")->isEnabled());
    EXPECT_EQ(key("lasttime"), "20240107210100");
}

TEST_F(DataGetTest, CancelStopsTheRunAndLeavesTheSetupSelectable) {
    emulator("rate", "4");
    TfrmDataGet f(state.settingsPath(), state.storeRoot, jv);
    child<QDateEdit>(f, "dtp_start_date")->setDate(QDate(2024, 1, 1));
    bool closedWhileRunning = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (text(f, "lbl_RaceSTS") != u("ＤＬ中")) return;
        f.reject();  // the screen does not close while it runs
        closedWhileRunning = closedWhileRunning || !f.running();
        child<QPushButton>(f, "btnCancel")->click();
        poll.stop();
    });
    poll.start();
    child<QPushButton>(f, "btnDataAdd")->click();

    EXPECT_FALSE(closedWhileRunning);
    EXPECT_EQ(messages, (std::vector<Captured>{{MessageKind::Warning, u("キャンセルされたため、処理を中断しました")}}));
    EXPECT_EQ(text(f, "lbl_RaceSTS"), u("中断"));
    EXPECT_EQ(text(f, "lbl_DiffSTS"), u("登録前"));
    EXPECT_TRUE(child<QRadioButton>(f, "rbtn_setup")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(f, "rbtn_setup")->isChecked());
    EXPECT_TRUE(child<QDateEdit>(f, "dtp_start_date")->isEnabled());
    EXPECT_EQ(key("lasttime"), "");
}

}  // namespace
}  // namespace tarvo
