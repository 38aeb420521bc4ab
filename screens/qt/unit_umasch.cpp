#include "unit_umasch.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "qtext.h"
#include "screen_links.h"
#include "search_widgets.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr const char* kExactHint = "チェックを付けると完全一致で検索します";

constexpr struct {
    Control lblNames[4], edtNames[4], chkExact[4];
    Control lblChokyo, edtChokyo, lblBanushi, edtBanushi;
    Control chkSexes[3], lblAge, cboFrom, lblTilde, cboTo, chkGen;
    Control btnStart, btnStop, btnClose, progress, lblCount;
    QRect grid;
    int headingTop;
} kControls{
    .lblNames = {{"lblUmaName", "競争馬名", "", {8, 11, 0, 0}},
                 {"lblTitiName", "父馬名", "", {290, 11, 0, 0}},
                 {"lblHahaName", "母馬名", "", {566, 11, 0, 0}},
                 {"lblHatiName", "母父名", "", {8, 39, 0, 0}}},
    .edtNames = {{"edt_UmaName", "", "", {62, 8, 170, 21}},
                 {"edt_TitiName", "", "", {340, 8, 170, 21}},
                 {"edt_HahaName", "", "", {616, 8, 170, 21}},
                 {"edt_HatiName", "", "", {62, 36, 170, 21}}},
    .chkExact = {{"chkUmKan", "完", kExactHint, {236, 9, 40, 20}},
                 {"chkTiKan", "完", kExactHint, {514, 9, 40, 20}},
                 {"chkHaKan", "完", kExactHint, {790, 9, 40, 20}},
                 {"chkHtKan", "完", kExactHint, {236, 37, 40, 20}}},
    .lblChokyo = {"lblChokyo", "調教師", "", {290, 39, 0, 0}},
    .edtChokyo = {"edt_Chokyo", "", "", {340, 36, 170, 21}},
    .lblBanushi = {"lblBanushi", "馬主名", "", {566, 39, 0, 0}},
    .edtBanushi = {"edt_Banushi", "", "", {616, 36, 170, 21}},
    .chkSexes = {{kHorseSexes[0].objectName, kHorseSexes[0].caption, "", {8, 66, 40, 20}},
                 {kHorseSexes[1].objectName, kHorseSexes[1].caption, "", {50, 66, 40, 20}},
                 {kHorseSexes[2].objectName, kHorseSexes[2].caption, "", {92, 66, 50, 20}}},
    .lblAge = {"lblAge", "年齢", "", {156, 69, 0, 0}},
    .cboFrom = {"cboFrom", "", "", {186, 65, 50, 22}},
    .lblTilde = {"lblTilde", "～", "", {240, 69, 0, 0}},
    .cboTo = {"cboTo", "", "", {256, 65, 50, 22}},
    .chkGen = {"chkGen", "現役のみ", "地方馬・海外馬を検索する場合はチェックを付けないでください", {322, 66, 90, 20}},
    .btnStart = {"btnStart", "検索実行", "", {540, 63, 90, 25}},
    .btnStop = {"btnStop", "検索中止", "", {636, 63, 90, 25}},
    .btnClose = {"btnClose", "閉じる", "", {748, 63, 90, 25}},
    .progress = {"ProgressBar1", "", "", {8, 98, 300, 17}},
    .lblCount = {"lblCount", "", "", {320, 99, 80, 17}},
    .grid = {8, 142, 834, 450},
    .headingTop = 122,
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr GridColumn kColumns[kHsColumns] = {
    {"", 120, kLeft}, {"", 0, kLeft}, {"", 20}, {"", 21}, {"", 20}, {"", 62, kLeft},
    {"", 33},         {"", 0, kLeft}, {"", 125, kLeft}, {"", 125, kLeft}, {"", 125, kLeft}, {"", 156, kLeft},
};

std::vector<int> ageChoices() {
    std::vector<int> out;
    for (int a = kAgeChoiceFirst; a <= kAgeChoiceLast; ++a) out.push_back(a);
    return out;
}

}  // namespace

TfrmUmaSch::TfrmUmaSch(const ScreenContext& context) : SearchDialog(context, "frmUmaSch", kClientWidth, kClientHeight) {
    const HorseCriteria defaults;
    const auto& c = kControls;
    for (int i = 0; i < 4; ++i) {
        makeControl<QLabel>(this, c.lblNames[i]);
        edtNames_[i] = makeControl<QLineEdit>(this, c.edtNames[i]);
        chkExact_[i] = makeControl<QCheckBox>(this, c.chkExact[i]);
        criteria_.insert(criteria_.end(), {edtNames_[i], chkExact_[i]});
    }
    makeControl<QLabel>(this, c.lblChokyo);
    edtChokyo_ = makeControl<QLineEdit>(this, c.edtChokyo);
    makeControl<QLabel>(this, c.lblBanushi);
    edtBanushi_ = makeControl<QLineEdit>(this, c.edtBanushi);
    for (int i = 0; i < 3; ++i) {
        chkSexes_[i] = makeControl<QCheckBox>(this, c.chkSexes[i]);
        chkSexes_[i]->setChecked(defaults.sexes[static_cast<std::size_t>(i)]);
        criteria_.push_back(chkSexes_[i]);
    }
    makeControl<QLabel>(this, c.lblAge);
    cboFrom_ = makeNumberBox(this, c.cboFrom, ageChoices(), defaults.ageFrom);
    makeControl<QLabel>(this, c.lblTilde);
    cboTo_ = makeNumberBox(this, c.cboTo, ageChoices(), defaults.ageTo);
    chkGen_ = makeControl<QCheckBox>(this, c.chkGen);
    criteria_.insert(criteria_.end(), {edtChokyo_, edtBanushi_, cboFrom_, cboTo_, chkGen_});
    makeFrame({c.btnStart, c.btnStop, c.btnClose, c.progress, c.lblCount, "stgUmaList", kColumns, c.grid, c.headingTop,
               kHorseHeadings},
              horseSearchScreen(defaults, {}));
    grid()->setStatusTip(QStringLiteral("馬名をダブルクリックで競争馬データが開きます"));
    if (context.parent) move(context.parent->window()->pos() + QPoint(50, 50));
}

HorseCriteria TfrmUmaSch::criteria() const {
    HorseCriteria c;
    NameCriterion* names[] = {&c.name, &c.sire, &c.dam, &c.damSire};
    for (int i = 0; i < 4; ++i) *names[i] = {sjs(edtNames_[i]->text()), chkExact_[i]->isChecked()};
    c.trainer = sjs(edtChokyo_->text());
    c.owner = sjs(edtBanushi_->text());
    for (std::size_t i = 0; i < 3; ++i) c.sexes[i] = chkSexes_[i]->isChecked();
    c.ageFrom = boxNumber(cboFrom_, 0);
    c.ageTo = boxNumber(cboTo_, 0);
    c.activeOnly = chkGen_->isChecked();
    return c;
}

void TfrmUmaSch::search() {
    const HorseCriteria c = criteria();
    runScan([&](const ScanProgress& progress) {
        return searchHorses(StorePaths(context_.storeRoot), c, nowLocal().year, progress);
    });
}

void TfrmUmaSch::openRow(int row, int column) {
    const ViewRow* r = grid()->rows()->row(row);
    long long ketto = 0;
    if (column != kHsName || !r || !parseInt((*r)[kHsKettoNum].text, ketto) || ketto == 0) return;
    openHorseData(context_, {(*r)[kHsKettoNum].text, sj("検索"), {}, {}, {}});
}

}  // namespace tarvo
