#include "unit_kshlist.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "grid.h"
#include "qtext.h"
#include "textfn.h"
#include "unit_kishu.h"

namespace tarvo {
namespace {

constexpr struct {
    Control chkActive, chkRetired, chkAreas[4], lblName, edtName, chkExact, rdgYear, rbThisYear, rbLastYear;
    Control btnUpdate, progress, lblCount, lblNote, btnClose, lblSortFld, lblSortMae, lblSortJun;
    QRect grid;
    int headingTop;
} kControls{
    .chkActive = {"chkActive", "現役", "", {8, 8, 46, 20}},
    .chkRetired = {"chkRetired", "抹消", "", {56, 8, 46, 20}},
    .chkAreas = {{"chkKanto", "関東", "", {112, 8, 46, 20}},
                 {"chkKansai", "関西", "", {160, 8, 46, 20}},
                 {"chkLocal", "地方", "", {208, 8, 46, 20}},
                 {"chkAbroad", "海外", "", {256, 8, 46, 20}}},
    .lblName = {"lblName", "名前", "", {310, 11, 0, 0}},
    .edtName = {"edtName", "", "", {338, 8, 94, 21}},
    .chkExact = {"chkExact", "完全一致", "", {438, 8, 70, 20}},
    .rdgYear = {"rdgYear", "成績", "", {440, 0, 130, 38}},
    .rbThisYear = {"rbThisYear", "本年", "", {8, 15, 55, 18}},
    .rbLastYear = {"rbLastYear", "前年", "", {66, 15, 55, 18}},
    .btnUpdate = {"btnUpdate", "再表示", "", {578, 8, 75, 25}},
    .progress = {"ProgressBar1", "", "", {8, 46, 250, 17}},
    .lblCount = {"lblCount", "", "", {270, 48, 60, 15}},
    .lblNote = {"lblNote", "", "", {340, 48, 0, 0}},
    .btnClose = {"btnClose", "閉じる", "", {573, 532, 75, 25}},
    .lblSortFld = {"lbl_sort_fld", "", "", {0, 0, 0, 0}},
    .lblSortMae = {"lbl_sort_mae", "", "", {0, 0, 0, 0}},
    .lblSortJun = {"lbl_sort_jun", "", "", {0, 0, 0, 0}},
    .grid = {8, 94, 640, 432},
    .headingTop = 76,
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr GridColumn kColumns[kPlColumns] = {
    {"", 120, kLeft}, {"", 0, kLeft}, {"", 0, kLeft},  {"", 30}, {"", 0, kLeft}, {"", 0, kLeft},
    {"", 20},         {"", 0, kLeft}, {"", 32},        {"", 100, kLeft}, {"", 0, kLeft}, {"", 0, kLeft},
    {"", 0, kLeft},   {"", 0, kLeft}, {"", 30, kRight}, {"", 35},        {"", 35},        {"", 35},
    {"", 34, kRight}, {"", 40, kRight}, {"", 35},       {"", 35},        {"", 35},
};

// The left edge of a grid column inside the screen: the grid's frame, then the visible columns before it.
int columnLeft(int column) {
    int x = kControls.grid.left() + 1;
    for (int c = 0; c < column; ++c) x += kColumns[c].width;
    return x;
}

}  // namespace

TfrmPersonList::TfrmPersonList(const PersonKind& kind, const std::string& storeRoot, QWidget* parent)
    : BusyDialog(parent), kind_(kind), storeRoot_(storeRoot) {
    setObjectName(QStringLiteral("frm") + QString::fromUtf8(kind.family == Family::KS ? "KshList" : "ChoList"));
    setWindowTitle(QString::fromUtf8(kind.listCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(660, 564);

    chkActive_ = makeControl<QCheckBox>(this, kControls.chkActive);
    chkActive_->setChecked(true);
    chkRetired_ = makeControl<QCheckBox>(this, kControls.chkRetired);
    for (int i = 0; i < 4; ++i) {
        chkAreas_[i] = makeControl<QCheckBox>(this, kControls.chkAreas[i]);
        chkAreas_[i]->setChecked(true);
    }
    makeControl<QLabel>(this, kControls.lblName);
    edtName_ = makeControl<QLineEdit>(this, kControls.edtName);
    makeControl<QCheckBox>(this, kControls.chkExact)->hide();  // kept, without effect
    auto* year = makeControl<QGroupBox>(this, kControls.rdgYear);
    rbThisYear_ = makeControl<QRadioButton>(year, kControls.rbThisYear);
    rbLastYear_ = makeControl<QRadioButton>(year, kControls.rbLastYear);
    rbThisYear_->setChecked(true);
    btnUpdate_ = makeControl<QPushButton>(this, kControls.btnUpdate);
    progress_ = makeControl<QProgressBar>(this, kControls.progress);
    lblCount_ = makeControl<QLabel>(this, kControls.lblCount);
    makeControl<QLabel>(this, kControls.lblNote);
    btnClose_ = makeControl<QPushButton>(this, kControls.btnClose);
    lblSortFld_ = makeControl<QLabel>(this, kControls.lblSortFld);
    lblSortMae_ = makeControl<QLabel>(this, kControls.lblSortMae);
    lblSortJun_ = makeControl<QLabel>(this, kControls.lblSortJun);
    for (QLabel* l : {lblSortFld_, lblSortMae_, lblSortJun_}) l->hide();
    filters_ = {chkActive_, chkRetired_, chkAreas_[0], chkAreas_[1], chkAreas_[2], chkAreas_[3], edtName_, year};

    for (const PersonHeading& h : personHeadings(kind_, false)) {
        const GridColumn& c = kColumns[h.above];
        auto* l = makeControl<QLabel>(
            this, {h.objectName, "", h.hint, {columnLeft(h.above), kControls.headingTop, c.width, 18}});
        l->setAlignment(Qt::AlignCenter);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Raised);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        headings_.push_back(l);
    }

    grid_ = new Grid(this, kind_.listGrid, kColumns, kControls.grid, {.rowHeight = 18, .minimumRows = 0});
    grid_->horizontalHeader()->hide();
    grid_->setFont(gothic(11));
    connect(grid_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { openRow(i.row(), i.column()); });
    connect(btnUpdate_, &QPushButton::clicked, this, &TfrmPersonList::reload);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

    if (parent) move(parent->window()->pos() + QPoint(100, 100));
    reload();
}

void TfrmPersonList::setFiltersEnabled(bool enabled) {
    for (QWidget* w : filters_) w->setEnabled(enabled);
    btnUpdate_->setEnabled(enabled);
}

void TfrmPersonList::reload() {
    setFiltersEnabled(false);
    for (QLabel* l : headings_) l->hide();
    grid_->hide();
    grid_->setRows({});
    PersonListFilter filter;
    filter.active = chkActive_->isChecked();
    filter.retired = chkRetired_->isChecked();
    for (int i = 0; i < 4; ++i) filter.areas[i] = chkAreas_[i]->isChecked();
    filter.name = sjs(edtName_->text());
    filter.lastYear = rbLastYear_->isChecked();

    setRunning(true);
    PersonList list = loadPersonList(kind_, StorePaths(storeRoot_), filter, nowLocal().year, [this](int done, int files) {
        progress_->setMaximum(files);
        progress_->setValue(done);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    });
    setRunning(false);
    applySort(kind_, sort_, list.rows);

    // Every text of the screen from its view: caption, headings, count, note, sort state.
    const ScreenView view = personListScreen(kind_, list, sort_, filter.lastYear);
    setWindowTitle(qs(view.caption));
    for (const ScreenView::Label& l : view.labels)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(l.name))) label->setText(qs(l.text));
    grid_->setRows(std::move(list.rows));
    showSort();
    for (QLabel* l : headings_) l->show();
    grid_->show();
    setFiltersEnabled(true);
}

void TfrmPersonList::clickHeading(const QString& objectName) {
    if (!tarvo::clickHeading(kind_, sort_, objectName.toStdString())) return;
    std::vector<ViewRow> rows;
    for (int r = 0; r < grid_->rows()->dataRows(); ++r) rows.push_back(*grid_->rows()->row(r));
    applySort(kind_, sort_, rows);
    grid_->setRows(std::move(rows));
    showSort();
}

void TfrmPersonList::showSort() {
    lblSortFld_->setText(QString::fromStdString(sort_.field));
    lblSortMae_->setText(QString::fromStdString(sort_.previous));
    lblSortJun_->setText(QString::fromStdString(sort_.direction));
    for (QLabel* l : headings_) l->setFont(pGothic(12, l->objectName().toStdString() == sort_.field));
}

bool TfrmPersonList::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && !running()) {
        clickHeading(watched->objectName());
        return true;
    }
    return BusyDialog::eventFilter(watched, event);
}

void TfrmPersonList::openRow(int row, int column) {
    const ViewRow* r = grid_->rows()->row(row);
    if (column != kPlName || !r || toIntDef((*r)[kPlCode].text, 0) == 0) return;
    openPersonData(kind_, storeRoot_, (*r)[kPlCode].text, (*r)[kPlName].text, sj("一覧"), this);
}

}  // namespace tarvo
