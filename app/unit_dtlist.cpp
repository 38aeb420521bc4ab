#include "unit_dtlist.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "cp932.h"
#include "fonts.h"
#include "qtext.h"
#include "race_list.h"
#include "textfn.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

struct Column {
    const char* header;
    int width;  // 0: hidden
};
constexpr Column kColumns[kDateColumns] = {
    {"月日", 40}, {"", 0},   {"曜", 20},         {"", 0},  {"場名", 35},
    {"主なレース", 140}, {"場名", 35}, {"主なレース", 140}, {"場名", 35}, {"主なレース", 140},
};

bool isRaceNameColumn(int col) { return col == 5 || col == 7 || col == 9; }

constexpr int kColumnCount = static_cast<int>(kDateColumns);

}  // namespace

TfrmDtList::TfrmDtList(const std::string& storeRoot, QDateEdit* picker, std::function<void()> dateChange,
                       QWidget* parent)
    : QDialog(parent), storeRoot_(storeRoot), picker_(picker), dateChange_(std::move(dateChange)) {
    setObjectName(u("frmDtList"));
    setWindowTitle(u("開催日付（中央競馬）"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);

    cboYear_ = new QComboBox(this);
    cboYear_->setObjectName(u("cboYear"));
    cboYear_->setGeometry(8, 8, 65, 21);
    auto* yearLabel = new QLabel(u("年"), this);
    yearLabel->move(78, 12);

    stgRcDateList_ = new QTableWidget(1, kColumnCount, this);
    stgRcDateList_->setObjectName(u("stgRcDateList"));
    stgRcDateList_->setGeometry(8, 40, 615, 441);
    stgRcDateList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    stgRcDateList_->setSelectionMode(QAbstractItemView::SingleSelection);
    stgRcDateList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stgRcDateList_->setWordWrap(false);
    stgRcDateList_->setTextElideMode(Qt::ElideNone);
    stgRcDateList_->setStyleSheet(u("QTableView::item { padding: 0px; }"));
    stgRcDateList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stgRcDateList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    stgRcDateList_->verticalHeader()->hide();
    stgRcDateList_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    stgRcDateList_->verticalHeader()->setDefaultSectionSize(18);
    QHeaderView* header = stgRcDateList_->horizontalHeader();
    header->setFixedHeight(15);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setStyleSheet(u("QHeaderView::section { padding-left: 1px; }"));
    header->setHighlightSections(false);
    stgRcDateList_->installEventFilter(this);
    connect(stgRcDateList_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { chooseRow(row); });

    btnClose_ = new QPushButton(u("閉じる"), this);
    btnClose_->setObjectName(u("btnClose"));
    btnClose_->setGeometry(548, 488, 75, 25);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

    // The stored years; the picker's year, or the nearer end when it lies outside them.
    const std::vector<std::string> years = storedYears(StorePaths(storeRoot_));
    for (const std::string& y : years) cboYear_->addItem(qs(y));
    cboYear_->setCurrentIndex(chooseYear(years, picker_ ? picker_->date().year() : 0));

    for (int c = 0; c < kColumnCount; ++c) {
        stgRcDateList_->setHorizontalHeaderItem(c, new QTableWidgetItem(u(kColumns[c].header)));
        stgRcDateList_->setColumnWidth(c, kColumns[c].width);
        stgRcDateList_->setColumnHidden(c, kColumns[c].width == 0);
    }
    if (cboYear_->count() > 0) buildList();
    connect(cboYear_, &QComboBox::currentIndexChanged, this, [this] {
        if (!opening_) buildList();
    });
    opening_ = false;
}

void TfrmDtList::buildList() {
    stgRcDateList_->clearContents();
    const std::vector<DateRow> rows = meetingDates(StorePaths(storeRoot_), sjs(cboYear_->currentText()));
    // The grid keeps at least one (empty) data row.
    stgRcDateList_->setRowCount(std::max<int>(1, static_cast<int>(rows.size())));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            const std::string& text = rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            auto* item = new QTableWidgetItem(qs(text));
            item->setTextAlignment(isRaceNameColumn(c) ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::AlignCenter);
            if (c == static_cast<int>(kDateWeekday)) {
                QColor colour(Qt::black);
                if (text == sj("土")) colour = QColor(0, 0, 255);
                if (text == sj("日")) colour = QColor(255, 0, 0);
                item->setForeground(colour);
            }
            stgRcDateList_->setItem(r, c, item);
        }
    }
    if (!rows.empty()) stgRcDateList_->setCurrentCell(0, static_cast<int>(kDateMonthDay));
}

void TfrmDtList::chooseRow(int row) {
    const QTableWidgetItem* item = stgRcDateList_->item(row, static_cast<int>(kDateFull));
    if (!item || !picker_) return;
    const std::string text = sjs(item->text());
    long long n = 0;
    if (!parseInt(text, n) || n <= 0) return;
    const QDate date = QDate::fromString(item->text(), u("yyyyMMdd"));
    if (!date.isValid()) return;
    {
        // The date change runs once, below, also when the date stays the same.
        const QSignalBlocker block(picker_);
        picker_->setDate(date);
    }
    if (dateChange_) dateChange_();
    accept();
}

bool TfrmDtList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == stgRcDateList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseRow(stgRcDateList_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tarvo
