// The track data maintenance screens: the adjustment rows and update, and the
// rebuild screen's run with its locked buttons and closing message.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "message_capture.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_bbadj.h"

namespace tarvo {
namespace {

using test::child;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class BbAdjTest : public ::testing::Test {
protected:
    void SetUp() override {
        fx.addRace(r);
        for (int i = 1; i <= 3; ++i) fx.addRunner(r, i, "0" + std::to_string(i), "1350", "345");
    }
    test::TempDir home;
    test::StoreFixture fx{home.path() + "data/"};
    test::StoreFixture::Race r;
    std::string settings = home.path() + "tarvo.ini";
    test::MessageCapture capture;
};

TEST_F(BbAdjTest, UpdateShowsTheNewValuesAndKeepsTheOthers) {
    TfrmBbAdj f(settings, home.path() + "data/", {r.year, r.monthDay, r.jyoCD, r.raceNum});
    EXPECT_EQ(f.windowTitle(), u("馬場調整（有効値は -99 から +199 まで）"));
    const QString computed = child<QLabel>(f, "lblComputedRw")->text();
    EXPECT_EQ(child<QLabel>(f, "lblBeforeRw")->text(), u("****"));
    EXPECT_EQ(child<QLineEdit>(f, "edtAdRw")->maxLength(), 3);
    ASSERT_TRUE(child<QPushButton>(f, "btnUpd")->isEnabled());

    child<QLineEdit>(f, "edtAdRw")->setText("5");
    child<QLineEdit>(f, "edtAdLs")->setText("300");
    child<QPushButton>(f, "btnUpd")->click();
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].text, u("有効な値を入力してください"));
    EXPECT_EQ(child<QLabel>(f, "lblNowRw")->text(), u("****"));

    child<QLineEdit>(f, "edtAdLs")->setText("-5");
    child<QPushButton>(f, "btnUpd")->click();
    EXPECT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(child<QLabel>(f, "lblNowRw")->text(), u("+05"));
    EXPECT_EQ(child<QLabel>(f, "lblNowLs")->text(), u("-05"));
    EXPECT_EQ(child<QLabel>(f, "lblBeforeRw")->text(), u("****"));
    EXPECT_EQ(child<QLabel>(f, "lblComputedRw")->text(), computed);
    EXPECT_TRUE(child<QPushButton>(f, "btnUpd")->isEnabled());
}

TEST_F(BbAdjTest, RebuildRunsAndEndsWithItsMessage) {
    TfrmBabaUpd f(settings, home.path() + "data/");
    EXPECT_EQ(f.size(), QSize(415, 132));
    EXPECT_FALSE(child<QPushButton>(f, "btnCancel")->isEnabled());
    child<QPushButton>(f, "btnStart")->click();
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].kind, MessageKind::Information);
    EXPECT_EQ(capture.messages[0].text, u("馬場データ再作成が終了しました"));
    EXPECT_EQ(f.windowTitle(), u("馬場データの再作成"));
    EXPECT_TRUE(child<QPushButton>(f, "btnStart")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(f, "btnCancel")->isEnabled());

    TfrmBbUpdTm p(settings, home.path() + "data/");
    EXPECT_EQ(p.size(), QSize(415, 131));
    child<QPushButton>(p, "btnUpd")->click();  // today: no race
    ASSERT_EQ(capture.messages.size(), 2u);
    EXPECT_EQ(capture.messages[1].text, u("該当する期間のデータはありません"));
}

}  // namespace
}  // namespace tarvo
