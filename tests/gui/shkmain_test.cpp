// The tally screen: its inputs as it opens, the refused period, a tally with
// its figures, lists and colours, cancel, and the CSV of the list in front.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <optional>

#include "cp932.h"
#include "grid.h"
#include "inifile.h"
#include "jvlink_emu.h"
#include "layouts.h"
#include "msgbox.h"
#include "record_io.h"
#include "store_fixture.h"
#include "test_support.h"
#include "unit_shkmain.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class ShkMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageSink([this](MessageKind k, const QString&, const QString& t) { messages.push_back({k, t}); });
        // Two races of 2024-06-01 at 東京 bought with the user's marks: 01 hits, 02 misses.
        for (const char* num : {"01", "02"}) {
            const test::StoreFixture::Race r = test::race("0601", "05", num);
            addRace(r);
            for (const auto& [umaban, mark] : {std::pair{"01", "◎"}, std::pair{"02", "○"}}) {
                LineBuilder b(Family::SE);
                test::setRaceKey(b, r);
                b.assign("Umaban", umaban);
                b.assign("KettoNum", std::string("20200000") + umaban);
                b.assign("UserYoso", sj(mark));
                b.assign("KakuteiJyuni", umaban);
                writeRecord(store.paths.se(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::SE));
            }
        }
        LineBuilder hr(Family::HR);
        test::setRaceKey(hr, test::race("0601", "05", "01"));
        hr.assign("PayUmarenKumi1", "0102");
        hr.assign("PayUmarenPay1", "000000450");
        writeRecord(store.paths.hr("2024", "0601"), hr.line(), recordKey(Family::HR));
        addRace(test::race("0602", "06", "01"));
        screen.emplace(context);
    }

    // A confirmed ３歳未勝利 on 芝1600 at good going.
    void addRace(const test::StoreFixture::Race& r) {
        LineBuilder b(Family::RA);
        test::setRaceKey(b, r);
        for (const auto& [name, value] : {std::pair{"DataKubun", "7"}, {"TrackCD", "10"}, {"Kyori", "1600"},
                                          {"SyubetuCD", "12"}, {"JyokenCD5", "703"}, {"SibaBabaCD", "1"}})
            b.assign(name, value);
        writeRecord(store.paths.ra(r.year, r.monthDay, r.jyoCD), b.line(), recordKey(Family::RA));
    }
    void TearDown() override { setMessageSink({}); }

    template <class T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(u(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString text(const char* name) { return child<QLabel>(name)->text(); }

    test::TempDir home;
    test::StoreFixture store{home.path() + "data/"};
    JVLinkEmulator jv{home.path()};
    ScreenContext context{home.path() + "tarvo.ini", home.path() + "data/", jv, nullptr};
    std::optional<TfrmShkMain> screen;
    std::vector<std::pair<MessageKind, QString>> messages;
};

TEST_F(ShkMainTest, OpensWithTheStartingInputs) {
    EXPECT_EQ(screen->windowTitle(), u("予想結果の集計"));
    EXPECT_EQ(child<QComboBox>("cboFrYear")->currentText(), u("2024"));
    EXPECT_EQ(child<QComboBox>("cboFrMday")->count(), 2);
    EXPECT_EQ(child<QComboBox>("cboFrMday")->currentText(), u("06/01"));
    EXPECT_EQ(child<QComboBox>("cboCrs")->currentText(), u("全場"));
    EXPECT_EQ(child<QComboBox>("cboFrom")->currentText(), u("1000"));
    EXPECT_EQ(child<QComboBox>("cboTo")->currentText(), u("4500"));
    EXPECT_TRUE(child<QRadioButton>("rbtnUmaRen")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("rbtnCPU")->isChecked());
    EXPECT_FALSE(child<QPushButton>("btnCancel")->isEnabled());
    EXPECT_FALSE(child<QAction>("mnuCsvOut")->isEnabled());
    EXPECT_EQ(text("lbl_rate"), u("軸連率"));
    child<QRadioButton>("rbtnUmaTan")->setChecked(true);
    EXPECT_EQ(text("lbl_rate"), u("軸勝率"));
    EXPECT_EQ(child<QPushButton>("btnStart")->statusTip(), u("集計する年および月を指定してボタンを押してください"));
}

TEST_F(ShkMainTest, AnEndBeforeTheStartIsRefused) {
    child<QComboBox>("cboFrMday")->setCurrentIndex(1);
    child<QComboBox>("cboToMday")->setCurrentIndex(0);
    screen->start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Warning);
    EXPECT_EQ(messages[0].second, u("「開始日」が「終了日」より後の日付になっています"));
    EXPECT_EQ(text("stxtRaceCnt"), u(""));
}

TEST_F(ShkMainTest, TallyShowsTheFiguresAndListsAndWritesTheListInFront) {
    child<QRadioButton>("rbtnUSR")->setChecked(true);
    EXPECT_EQ(child<QComboBox>("cboToMday")->currentText(), u("06/02"));
    child<QComboBox>("cboToMday")->setCurrentIndex(0);
    screen->start();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(text("stxtRaceCnt"), u("2"));
    EXPECT_EQ(text("stxtHitNum"), u("1"));
    EXPECT_EQ(text("stxtRcvRate"), u("225.0"));
    EXPECT_EQ(text("stxtExec"), u("20240601 東京 02 ３歳未勝利"));
    EXPECT_TRUE(child<QAction>("mnuCsvOut")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("btnStart")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("btnCancel")->isEnabled());

    auto* races = child<Grid>("stgShuRRes");
    ASSERT_EQ(races->rows()->dataRows(), 2);
    const QModelIndex balance = races->model()->index(1, 12);
    EXPECT_EQ(balance.data().toString(), u("-100"));
    EXPECT_EQ(balance.data(Qt::ForegroundRole).value<QColor>(), inkColour(Ink::Red));
    EXPECT_EQ(races->model()->index(0, 12).data(Qt::ForegroundRole).value<QColor>(), inkColour(Ink::Blue));
    EXPECT_TRUE(races->isColumnHidden(2));

    child<QTabWidget>("pgcList")->setCurrentIndex(2);
    screen->writeCsv(home.path() + "shu.csv");
    EXPECT_EQ(toUtf8(test::slurp(home.path() + "shu.csv")),
              "競馬場,レース数,的中数,軸連率,的中率,購入,払戻,収支,回収率,最高配当\r\n"
              "東京,2,1,100.0,50.0,200,450,250,225.0,450\r\n");
    const IniFile ini(home.path() + "tarvo.ini");
    EXPECT_EQ(ini.read("FILE_OUT", "shu_dir"), home.path());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ini.read("FILE_OUT", "shu_sfile"), home.path() + "shu.csv");
}

TEST_F(ShkMainTest, CancelKeepsWhatWasTalliedAndSaysSo) {
    child<QRadioButton>("rbtnUSR")->setChecked(true);
    QTimer::singleShot(0, child<QPushButton>("btnCancel"), &QPushButton::click);
    screen->start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Warning);
    EXPECT_EQ(messages[0].second, u("集計が中止されました"));
    EXPECT_EQ(text("stxtRaceCnt"), u("0"));
    EXPECT_FALSE(child<QAction>("mnuCsvOut")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("btnExit")->isEnabled());
}

}  // namespace
}  // namespace tarvo
