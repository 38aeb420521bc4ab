#include "unit_rcesch.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "code_tables.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"
#include "search_widgets.h"
#include "textfn.h"

namespace tarvo {
namespace {

constexpr struct {
    Control lblPeriod, dtpFromDate, lblTilde1, dtpToDate, lblCrs, cboCrs, lblRName, edtRName;
    Control btnStart, btnCancel, btnClose;
    Control lblAges, lblClasses, lblDistance, cboFrom, lblTilde2, cboTo, lblMeter, lblSexes, lblWeights, lblGoings;
    Control progress, lblCount;
    QRect grid;
    int headingTop;
} kControls{
    .lblPeriod = {"lblPeriod", "期間", "", {8, 11, 0, 0}},
    .dtpFromDate = {"dtpFromDate", "", "", {44, 8, 110, 22}},
    .lblTilde1 = {"lblTilde1", "～", "", {158, 11, 0, 0}},
    .dtpToDate = {"dtpToDate", "", "", {176, 8, 110, 22}},
    .lblCrs = {"lblCrs", "場名", "", {302, 11, 0, 0}},
    .cboCrs = {"cboCrs", "", "全場を指定すると、中央１０場が対象となります", {334, 8, 70, 22}},
    .lblRName = {"lblRName", "レース名", "", {420, 11, 0, 0}},
    .edtRName = {"edtRName", "", "", {474, 8, 160, 22}},
    .btnStart = {"btnStart", "検索開始", "", {650, 6, 85, 25}},
    .btnCancel = {"btnCancel", "検索中止", "", {740, 6, 85, 25}},
    .btnClose = {"btnClose", "閉じる", "", {836, 6, 85, 25}},
    .lblAges = {"lblAges", "年齢", "", {8, 43, 0, 0}},
    .lblClasses = {"lblClasses", "レース条件", "", {8, 67, 0, 0}},
    .lblDistance = {"lblDistance", "距離", "", {8, 91, 0, 0}},
    .cboFrom = {"cboFrom", "", "", {220, 88, 62, 22}},
    .lblTilde2 = {"lblTilde2", "～", "", {286, 91, 0, 0}},
    .cboTo = {"cboTo", "", "", {302, 88, 62, 22}},
    .lblMeter = {"lblMeter", "m", "", {368, 91, 0, 0}},
    .lblSexes = {"lblSexes", "性別", "", {420, 91, 0, 0}},
    .lblWeights = {"lblWeights", "重量", "", {8, 115, 0, 0}},
    .lblGoings = {"lblGoings", "馬場状態", "", {420, 115, 0, 0}},
    .progress = {"ProgressBar1", "", "", {8, 142, 300, 17}},
    .lblCount = {"lblCount", "", "", {320, 143, 80, 17}},
    .grid = {8, 186, 716, 406},
    .headingTop = 166,
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr GridColumn kColumns[kRsColumns] = {
    {"", 60, kLeft}, {"", 35, kLeft}, {"", 0, kLeft},  {"", 20, kLeft}, {"", 100, kLeft}, {"", 20, kLeft},
    {"", 50, kLeft}, {"", 20, kLeft}, {"", 20, kLeft}, {"", 140, kLeft}, {"", 0, kLeft},  {"", 30, kLeft},
    {"", 35, kLeft}, {"", 0, kLeft},  {"", 46, kLeft}, {"", 32, kLeft}, {"", 32, kLeft},  {"", 32, kLeft},
};

// One row of check boxes from x on, each as wide as its caption, checked as the defaults are.
template <std::size_t N>
std::vector<QCheckBox*> checkRow(QWidget* parent, const CheckItem (&items)[N], const std::array<bool, N>& on, int x,
                                 int y) {
    std::vector<QCheckBox*> out;
    for (std::size_t i = 0; i < N; ++i) {
        auto* box = makeControl<QCheckBox>(parent, {items[i].objectName, items[i].caption, "", {x, y, 0, 0}});
        box->adjustSize();
        box->setChecked(on[i]);
        x += box->width() + 10;
        out.push_back(box);
    }
    return out;
}

template <std::size_t N>
void readChecks(const std::vector<QCheckBox*>& boxes, std::array<bool, N>& on) {
    for (std::size_t i = 0; i < N; ++i) on[i] = boxes[i]->isChecked();
}

QDate dateOf(const std::string& d) { return QDate(toIntDef(d.substr(0, 4), 0), toIntDef(d.substr(4, 2), 0), toIntDef(d.substr(6, 2), 0)); }
std::string textOf(const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")).toStdString(); }

std::optional<RaceKey> keyOf(const ViewRow* r) {
    if (!r) return std::nullopt;
    const std::string& date = (*r)[kRsDate].text;
    return RaceKey::parse(date + (*r)[kRsJyoCD].text + (*r)[kRsRaceNum].text);
}

}  // namespace

TfrmRceSch::TfrmRceSch(const ScreenContext& context) : SearchDialog(context, "frmRceSch", kClientWidth, kClientHeight) {
    const auto& c = kControls;
    const DateTime now = nowLocal();
    RaceCriteria defaults;
    defaults.from = defaults.to = std::to_string(now.year) + twoDigits(now.month) + twoDigits(now.day);

    makeControl<QLabel>(this, c.lblPeriod);
    dtpFromDate_ = makeControl<QDateEdit>(this, c.dtpFromDate);
    makeControl<QLabel>(this, c.lblTilde1);
    dtpToDate_ = makeControl<QDateEdit>(this, c.dtpToDate);
    for (QDateEdit* d : {dtpFromDate_, dtpToDate_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        d->setDate(dateOf(defaults.from));
    }
    makeControl<QLabel>(this, c.lblCrs);
    cboCrs_ = makeControl<QComboBox>(this, c.cboCrs);
    for (const std::string& t : trackChoices()) cboCrs_->addItem(qs(t));
    cboCrs_->setCurrentText(QString::fromUtf8(kAllTracks));
    makeControl<QLabel>(this, c.lblRName);
    edtRName_ = makeControl<QLineEdit>(this, c.edtRName);
    criteria_ = {dtpFromDate_, dtpToDate_, cboCrs_, edtRName_};

    for (const Control* l : {&c.lblAges, &c.lblClasses, &c.lblDistance, &c.lblSexes, &c.lblWeights, &c.lblGoings})
        makeControl<QLabel>(this, *l);
    ages_ = checkRow(this, kRaceAges, defaults.ages, 80, 40);
    classes_ = checkRow(this, kRaceClasses, defaults.classes, 80, 64);
    surfaces_ = checkRow(this, kRaceSurfaces, defaults.surfaces, 80, 88);
    std::vector<int> distances(std::begin(kDistanceChoices), std::end(kDistanceChoices));
    cboFrom_ = makeNumberBox(this, c.cboFrom, distances, defaults.distanceFrom);
    makeControl<QLabel>(this, c.lblTilde2);
    cboTo_ = makeNumberBox(this, c.cboTo, distances, defaults.distanceTo);
    makeControl<QLabel>(this, c.lblMeter);
    sexes_ = checkRow(this, kRaceSexes, defaults.sexes, 490, 88);
    weights_ = checkRow(this, kRaceWeights, defaults.weights, 80, 112);
    goings_ = checkRow(this, kRaceGoings, defaults.goings, 490, 112);
    for (const auto* group : {&ages_, &classes_, &surfaces_, &sexes_, &weights_, &goings_})
        criteria_.insert(criteria_.end(), group->begin(), group->end());
    criteria_.insert(criteria_.end(), {cboFrom_, cboTo_});

    makeFrame({c.btnStart, c.btnCancel, c.btnClose, c.progress, c.lblCount, "stgRaceList", kColumns, c.grid,
               c.headingTop, kRaceHeadings},
              raceSearchScreen(defaults, {}));
    Grid* list = grid();
    list->setStyleSheet(QStringLiteral("QTableView::item { padding-left: 2px; }"));
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* play = menu_->addAction(QString());
    play->setObjectName(QStringLiteral("pmnPlayVTR"));

    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
        const int row = list->rowAt(at.y());
        if (QMenu* m = videoMenu(row)) {
            if (m->exec(list->viewport()->mapToGlobal(at))) playVideo(row);
        }
    });

    if (context.parent) move(context.parent->window()->pos() + QPoint(200, 100));
}

RaceCriteria TfrmRceSch::criteria() const {
    RaceCriteria c;
    c.from = textOf(dtpFromDate_->date());
    c.to = textOf(dtpToDate_->date());
    const std::string track = sjs(cboCrs_->currentText());
    c.jyoCD = track == sj(kAllTracks) ? std::string() : trackCode(track);
    c.name = sjs(edtRName_->text());
    readChecks(ages_, c.ages);
    readChecks(classes_, c.classes);
    readChecks(surfaces_, c.surfaces);
    c.distanceFrom = boxNumber(cboFrom_, 0);
    c.distanceTo = boxNumber(cboTo_, 0);
    readChecks(sexes_, c.sexes);
    readChecks(weights_, c.weights);
    readChecks(goings_, c.goings);
    return c;
}

void TfrmRceSch::search() {
    const RaceCriteria c = criteria();
    runScan([&](const ScanProgress& progress) { return searchRaces(StorePaths(context_.storeRoot), c, progress); });
}

void TfrmRceSch::openRow(int row, int column) {
    const ViewRow* r = grid()->rows()->row(row);
    const auto key = keyOf(r);
    if (!key) return;
    if (column == kRsName && !trimBoth((*r)[kRsName].text).empty())
        openRaceResult(context_, *key, sj("過去3"));
    else if (column == kRsWinner && !trimBoth((*r)[kRsWinner].text).empty())
        openHorseData(context_, {(*r)[kRsWinnerKetto].text, sj("Ｒ検"), key, {}, {}});
}

QMenu* TfrmRceSch::videoMenu(int row) {
    const ViewRow* r = grid()->rows()->row(row);
    const auto key = keyOf(r);
    if (!key) return nullptr;
    QAction* play = menu_->actions().front();
    play->setText(qs(raceVideoCaption(*r)));
    play->setEnabled(raceVideoAvailable(context_, *key));
    return menu_;
}

void TfrmRceSch::playVideo(int row) {
    const auto key = keyOf(grid()->rows()->row(row));
    if (!key) return;
    if (context_.jvlink.JVMVCheck(key->text()) <= 0) {
        showMessage(this, MessageKind::Error, sj("当該レースの映像はありません"));
        return;
    }
    playRaceVideo(context_, *key);
}

}  // namespace tarvo
