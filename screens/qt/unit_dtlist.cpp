#include "unit_dtlist.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "controls.h"
#include "dtlist_view.h"
#include "fonts.h"
#include "grid.h"
#include "qtext.h"

namespace tarvo {
namespace {

constexpr struct {
    Control cboYear, lblYear, btnClose;
    QRect grid;
} kControls{
    .cboYear = {"cboYear", "", "", {8, 8, 65, 21}},
    .lblYear = {"lblYear", "年", "", {78, 12, 0, 0}},
    .btnClose = {"btnClose", "閉じる", "", {548, 488, 75, 25}},
    .grid = {8, 40, 615, 441},
};

constexpr Qt::Alignment kName = Qt::AlignLeft;
constexpr GridColumn kColumns[kDateColumns] = {
    {"月日", 40},  {"", 0},     {"曜", 20},           {"", 0},    {"場名", 35},
    {"主なレース", 140, kName}, {"場名", 35}, {"主なレース", 140, kName}, {"場名", 35}, {"主なレース", 140, kName},
};

}  // namespace

TfrmDtList::TfrmDtList(const std::string& storeRoot, QDateEdit* picker, std::function<void()> dateChange,
                       QWidget* parent)
    : QDialog(parent), storeRoot_(storeRoot), picker_(picker), dateChange_(std::move(dateChange)) {
    setObjectName(QStringLiteral("frmDtList"));
    setWindowTitle(QStringLiteral("開催日付（中央競馬）"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);

    cboYear_ = makeControl<QComboBox>(this, kControls.cboYear);
    makeControl<QLabel>(this, kControls.lblYear);
    stgRcDateList_ = new Grid(this, "stgRcDateList", kColumns, kControls.grid);
    btnClose_ = makeControl<QPushButton>(this, kControls.btnClose);
    connect(stgRcDateList_, &Grid::rowChosen, this, &TfrmDtList::chooseRow);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

    // The stored years; the picker's year, or the nearer end when it lies outside them.
    const std::vector<std::string> stored = storedYears(StorePaths(storeRoot_));
    for (const std::string& y : stored) cboYear_->addItem(qs(y));
    cboYear_->setCurrentIndex(chooseYear(stored, picker_ ? picker_->date().year() : 0));
    if (cboYear_->count() > 0) buildList();
    connect(cboYear_, &QComboBox::currentIndexChanged, this, &TfrmDtList::buildList);
}

void TfrmDtList::buildList() {
    stgRcDateList_->setRows(dateListRows(StorePaths(storeRoot_), sjs(cboYear_->currentText())), kDateMonthDay);
}

void TfrmDtList::chooseRow(int row) {
    const ViewRow* r = stgRcDateList_->rows()->row(row);
    if (!r || !picker_) return;
    const QDate date = QDate::fromString(qs(chosenDate(*r)), QStringLiteral("yyyyMMdd"));
    if (!date.isValid()) return;
    {
        // The date change runs once, below, also when the date stays the same.
        const QSignalBlocker block(picker_);
        picker_->setDate(date);
    }
    if (dateChange_) dateChange_();
    accept();
}

}  // namespace tarvo
