// The jockey and trainer screens: headings that sort on a click with the
// clicked one bold, filters that act only on "再表示", independent sorts of
// the two lists, a double-click that opens the data screen, and the data
// screen's condition choice, hints and Escape.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include "cp932.h"
#include "grid.h"
#include "message_capture.h"
#include "person_fixture.h"
#include "qtext.h"
#include "test_support.h"
#include "textfn.h"
#include "unit_kishu.h"
#include "unit_kshlist.h"

namespace tarvo {
namespace {

using test::child;

class PersonScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string year = std::to_string(nowLocal().year);
        // Win rates: A 0.100 of 10 rides, B 0.100 of 20, C 0.200 of 10 (栗東).
        for (const auto& [code, name, wins, rides, tozai] :
             {std::tuple{"00001", "A", 1, 10, "1"}, std::tuple{"00002", "B", 2, 20, "1"}, std::tuple{"00003", "C", 2, 10, "2"}}) {
            for (Family f : {Family::KS, Family::CH}) {
                const bool ks = f == Family::KS;
                test::storePerson(paths, {f,
                                          {{ks ? "KisyuCode" : "ChokyosiCode", code},
                                           {ks ? "KisyuName" : "ChokyosiName", name},
                                           {"TozaiCD", tozai},
                                           {"HonZenRuikei1_SetYear", year},
                                           {"HonZenRuikei2_SetYear", std::to_string(nowLocal().year - 1)},
                                           {"HonZenRuikei1_ChakuKaisuHeichi",
                                            test::countsField({wins, 0, 0, 0, 0, rides - wins})},
                                           {"HonZenRuikei3_ChakuKaisuHeichi", test::countsField({wins, 0, 0, 0, 0, 1})}}});
            }
        }
    }
    static std::vector<std::string> names(TfrmPersonList& list) {
        std::vector<std::string> out;
        for (int r = 0; r < list.grid()->rows()->dataRows(); ++r) out.push_back((*list.grid()->rows()->row(r))[0].text);
        return out;
    }
    static void click(TfrmPersonList& list, const char* heading) {
        QLabel* label = child<QLabel>(list, heading);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(label, &press);
    }

    test::TempDir dir;
    StorePaths paths{dir.path()};
};

TEST_F(PersonScreensTest, HeadingsSortAndFiltersWaitForReload) {
    TfrmKshList list(dir.path());
    EXPECT_EQ(list.windowTitle(), QStringLiteral("騎手一覧 [2026年11月30日現在]"));
    EXPECT_EQ(child<QLabel>(list, "lblCount")->text(), QStringLiteral("3件"));
    EXPECT_EQ(names(list), (std::vector<std::string>{" B", " C", " A"}));
    EXPECT_TRUE(child<QLabel>(list, "lbl_chaku")->font().bold());
    EXPECT_EQ(child<QLabel>(list, "lbl_Tonum")->statusTip(), QStringLiteral("平地の通算騎乗数です"));

    click(list, "lbl_Wrate");
    EXPECT_EQ(names(list), (std::vector<std::string>{" C", " B", " A"}));
    EXPECT_TRUE(child<QLabel>(list, "lbl_Wrate")->font().bold());
    EXPECT_FALSE(child<QLabel>(list, "lbl_chaku")->font().bold());
    EXPECT_FALSE(child<QLabel>(list, "lbl_ToWrate")->font().bold());
    click(list, "lbl_Wrate");
    EXPECT_EQ(child<QLabel>(list, "lbl_sort_jun")->text(), QStringLiteral("asc"));
    EXPECT_EQ(child<QLabel>(list, "lbl_sort_fld")->text(), QStringLiteral("lbl_Wrate"));
    EXPECT_EQ(names(list), (std::vector<std::string>{" A", " B", " C"}));

    // A filter acts on "再表示", which keeps the sort.
    child<QCheckBox>(list, "chkKansai")->setChecked(false);
    EXPECT_EQ(names(list).size(), 3u);
    child<QPushButton>(list, "btnUpdate")->click();
    EXPECT_EQ(names(list), (std::vector<std::string>{" A", " B"}));
    EXPECT_EQ(child<QLabel>(list, "lblCount")->text(), QStringLiteral("2件"));
    EXPECT_EQ(child<QLabel>(list, "lbl_sort_jun")->text(), QStringLiteral("asc"));

    // The trainer list opened next has a sort of its own and its own headings.
    TfrmChoList trainers(dir.path());
    EXPECT_EQ(trainers.sortState().field, "lbl_chaku");
    EXPECT_EQ(trainers.sortState().direction, "dsc");
    EXPECT_EQ(child<QLabel>(trainers, "lbl_honnum")->text(), QStringLiteral("出走"));
    EXPECT_NE(trainers.findChild<Grid*>(QStringLiteral("stgChoList")), nullptr);
    EXPECT_EQ(list.sortState().field, "lbl_Wrate");
}

TEST_F(PersonScreensTest, DoubleClickOnANameOpensTheDataScreen) {
    TfrmKshList list(dir.path());
    QString opened, tag, code;
    QTimer::singleShot(0, [&] {
        auto* data = qobject_cast<TfrmPersonData*>(QApplication::activeModalWidget());
        ASSERT_NE(data, nullptr);
        opened = data->windowTitle() + child<QLabel>(*data, "lblName")->text();
        tag = qs(data->openerTag());
        code = child<QLabel>(*data, "lbl_ksnum")->text() + child<QLabel>(*data, "lbl_knam")->text();
        data->reject();
    });
    list.openRow(0, 0);
    EXPECT_EQ(opened, QStringLiteral("騎手データB"));
    EXPECT_EQ(tag, QStringLiteral("一覧"));
    EXPECT_EQ(code, QStringLiteral("00002 B"));
    list.openRow(0, 3);  // not the name column: nothing opens (a modal screen would block here)
}

TEST_F(PersonScreensTest, DataScreenConditionsHintsAndEscape) {
    TfrmChokyo data(dir.path(), "3", "", sj("通常"));
    EXPECT_EQ(data.windowTitle(), QStringLiteral("調教師データ"));
    EXPECT_EQ(child<QLabel>(data, "lblShozoku")->text(), QStringLiteral("栗東"));
    ASSERT_EQ(data.conditions()->count(), 3);
    EXPECT_EQ(data.conditions()->itemText(2), QStringLiteral("通算平地成績"));
    EXPECT_EQ(child<QLabel>(data, "lblHonnenHeichi")->statusTip(),
              QStringLiteral("中央(芝＋ダート)の%1年成績です").arg(nowLocal().year));
    const Grid* table = data.table();
    EXPECT_EQ(table->rowCount(), 16);
    EXPECT_EQ(table->model()->headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("連対率"));
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), QStringLiteral("札幌競馬場"));

    data.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(data.table(), &esc);
    EXPECT_FALSE(data.isVisible());

    TfrmKishu missing(dir.path(), "0", sj("誰"), sj("結果"));
    EXPECT_EQ(missing.conditions()->count(), 0);
    EXPECT_EQ(child<QLabel>(missing, "lblJyusyo1")->text(), QStringLiteral("<重賞未勝利>"));
    EXPECT_EQ(missing.table()->model()->index(0, 0).data().toString(), QString());
}

}  // namespace
}  // namespace tarvo
