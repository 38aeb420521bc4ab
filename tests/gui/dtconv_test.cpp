// The conversion screen: a run over a small old store, and start-up's check
// that opens it and ends the program when the store stays unconverted.
#include <QApplication>
#include <filesystem>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "fsys.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "message_capture.h"
#include "startup.h"
#include "test_support.h"
#include "unit_dtconv.h"

namespace tarvo {
namespace {

using test::child;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class DtConvTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Nothing new to read from the old data specs; one old horse file.
        makeDirs(home.path() + "source/");
        const IniFile ini(settings);
        for (const char* p : {"RCE", "DFF", "BLD", "SNP"}) ini.write("UMA_DB", std::string(p) + "_ltime", "20240101000000");
        LineBuilder um(Family::UMOld);
        um.assign("KettoNum", "2015104900");
        um.assign("BreederCode", "123456");
        oldFile = StorePaths(root).umOld("2015104900", "dat");
        makeDirs(dirName(oldFile));
        test::spit(oldFile, um.line() + "\r\n");
        jv.overrideSource(home.path() + "source/");
        ASSERT_EQ(jv.JVInit(kSoftwareId), 0);
    }

    test::TempDir home;
    std::string settings = home.path() + "tarvo.ini", root = home.path() + "data/", oldFile;
    JVLinkEmulator jv{home.path()};
    test::MessageCapture capture;
};

TEST_F(DtConvTest, ARunConvertsTheOldFilesAndLocksTheRunButton) {
    TfrmDataConv f(settings, root, jv);
    EXPECT_EQ(f.windowTitle(), u("新形式データの変換処理 (TARVO)"));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(child<QPushButton>(f, "btnCancel")->isHidden());
    child<QPushButton>(f, "btnExec")->click();
    EXPECT_TRUE(capture.messages.empty());
    EXPECT_TRUE(f.conversionCompleted());
    EXPECT_FALSE(fileExists(oldFile));
    EXPECT_TRUE(fileExists(oldFile + "n"));
    EXPECT_EQ(child<QLabel>(f, "Label1")->text(), u("既存の登録データを新形式のデータに変換しました。"));
    EXPECT_FALSE(child<QPushButton>(f, "btnExec")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(f, "btnClose")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(f, "btnCancel")->isHidden());
    const QString memo = child<QPlainTextEdit>(f, "mem_Msg")->toPlainText();
    EXPECT_TRUE(memo.contains(u("＞ 競争馬データを変換 (ファイル数:1)"))) << memo.toStdString();
    EXPECT_TRUE(memo.contains(u("＞ 変換対象の生産者データはありません")));
}

TEST_F(DtConvTest, StartupEndsWhenTheScreenClosesUnconverted) {
    // The screen is closed at once.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = w->findChild<QPushButton*>(u("btnClose")); b && w->objectName() == u("frmDataConv")) b->click();
    });
    EXPECT_FALSE(checkConversion(settings, root, jv, nullptr));
    ASSERT_EQ(capture.messages.size(), 2u);
    EXPECT_TRUE(capture.messages[0].text.startsWith(u("このバージョンのTARVOは新形式データ対応です。")));
    EXPECT_TRUE(capture.messages[1].text.startsWith(u("新形式データの変換が完了していないため、TARVOを終了します。")));
    EXPECT_TRUE(fileExists(oldFile));

    // Without old files nothing is shown.
    std::filesystem::remove(oldFile);
    EXPECT_TRUE(checkConversion(settings, root, jv, nullptr));
    EXPECT_EQ(capture.messages.size(), 2u);
}

}  // namespace
}  // namespace tarvo
