#include "unit_mvlist.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "controls.h"
#include "fonts.h"
#include "grid.h"
#include "msgbox.h"
#include "person_view.h"
#include "qtext.h"
#include "screen_links.h"
#include "textfn.h"
#include "unit_kishu.h"

namespace tarvo {
namespace {

constexpr struct {
    Control lblDate, dtpChDate, btnUpdList, btnClose, stxtMvNum, Label1, Label2, lbl_ClNum, lbl_SrtAsc;
    QRect grid;
} kControls{
    .lblDate = {"lblDate", "日付", "", {8, 13, 0, 0}},
    .dtpChDate = {"dtpChDate", "", "", {40, 10, 110, 22}},
    .btnUpdList = {"btnUpdList", "一覧取得",
                   "当該週の調教映像一覧を取得します（開催日または調教日を日付欄に指定してクリックしてください）",
                   {160, 8, 90, 25}},
    .btnClose = {"btnClose", "閉じる", "", {686, 8, 75, 25}},
    .stxtMvNum = {"stxtMvNum", "", "", {8, 450, 50, 18}},
    .Label1 = {"Label1", "件", "", {62, 452, 0, 0}},
    .Label2 = {"Label2", "※賞金の先頭が「*」の馬は、賞金額が最新データの値になっています。", "", {100, 452, 0, 0}},
    .lbl_ClNum = {"lbl_ClNum", "", "", {0, 0, 0, 0}},
    .lbl_SrtAsc = {"lbl_SrtAsc", "", "", {0, 0, 0, 0}},
    .grid = {8, 40, 753, 365},
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr GridColumn kColumns[kMvColumns] = {
    {"調教日付", 75, kLeft}, {"", 0}, {"曜日", 30}, {"", 0}, {"", 0}, {"馬名", 165, kLeft}, {"", 0},
    {"性齢", 30, kLeft}, {"", 0}, {"", 0}, {"毛色", 35, kLeft}, {"", 0}, {"調教師", 65, kLeft}, {"", 0},
    {"", 0}, {"所属", 35}, {"", 0}, {"賞金", 50, kRight}, {"", 0}, {"出走予定", 75, kLeft}, {"", 0},
    {"場名", 35}, {"", 0}, {"RN", 25}, {"レース名", 100, kLeft}, {"", 0},
};

// Paints the data cells of the column last sorted light green.
class SortedColumnDelegate : public QStyledItemDelegate {
public:
    SortedColumnDelegate(const VideoSort& sort, QObject* parent) : QStyledItemDelegate(parent), sort_(sort) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (index.column() == sort_.column) painter->fillRect(option.rect, QColor(224, 255, 238));
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    const VideoSort& sort_;
};

}  // namespace

TfrmMvList::TfrmMvList(const ScreenContext& context) : QDialog(context.parent), context_(context) {
    setObjectName(QStringLiteral("frmMvList"));
    setWindowTitle(QStringLiteral("調教映像一覧"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    move(50, 50);
    const auto& c = kControls;
    makeControl<QLabel>(this, c.lblDate);
    dtpChDate_ = makeControl<QDateEdit>(this, c.dtpChDate);
    dtpChDate_->setCalendarPopup(true);
    dtpChDate_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    const DateTime now = nowLocal();
    dtpChDate_->setDate(QDate(now.year, now.month, now.day));
    btnUpdList_ = makeControl<QPushButton>(this, c.btnUpdList);
    btnUpdList_->setEnabled(context.raceVideo);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    stxtMvNum_ = makeControl<QLabel>(this, c.stxtMvNum);
    stxtMvNum_->setFont(pGothic(12, true));
    stxtMvNum_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    makeControl<QLabel>(this, c.Label1);
    makeControl<QLabel>(this, c.Label2)->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    lblClNum_ = makeControl<QLabel>(this, c.lbl_ClNum);
    lblSrtAsc_ = makeControl<QLabel>(this, c.lbl_SrtAsc);
    lblClNum_->hide();
    lblSrtAsc_->hide();

    grid_ = new Grid(this, "stgMvList", kColumns, c.grid, {.rowHeight = 18, .headerHeight = 18, .minimumRows = 1});
    grid_->setFont(gothic(13));
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setItemDelegate(new SortedColumnDelegate(list_.sort, grid_));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    pmnPlayCHVTR_ = menu_->addAction(QString());
    pmnPlayCHVTR_->setObjectName(QStringLiteral("pmnPlayCHVTR"));

    connect(btnUpdList_, &QPushButton::clicked, this, &TfrmMvList::fetch);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &TfrmMvList::sortBy);
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { openRow(i.row(), i.column()); });
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* m = videoMenu(grid_->rowAt(at.y())))
            if (m->exec(grid_->viewport()->mapToGlobal(at)) == pmnPlayCHVTR_) playVideo();
    });
    showList();
}

void TfrmMvList::showList() {
    const ScreenView view = videoListScreen(list_, context_.raceVideo);
    stxtMvNum_->setText(qs(view.label("stxtMvNum")));
    lblClNum_->setText(qs(view.label("lbl_ClNum")));
    lblSrtAsc_->setText(qs(view.label("lbl_SrtAsc")));
    grid_->setRows(list_.rows);
    grid_->viewport()->update();
}

void TfrmMvList::fetch() {
    dtpChDate_->setEnabled(false);
    grid_->hide();
    const std::string date = dtpChDate_->date().toString(QStringLiteral("yyyyMMdd")).toStdString();
    list_ = fetchVideoList(context_.jvlink, StorePaths(context_.storeRoot), date);
    showList();
    dtpChDate_->setEnabled(true);
    grid_->show();
    if (!list_.message.empty()) showMessage(this, MessageKind::Error, list_.message);
}

void TfrmMvList::sortBy(int column) {
    // The state is read back from the hidden labels.
    list_.sort = {toIntDef(sjs(lblClNum_->text()), 0), lblSrtAsc_->text() == QStringLiteral("TRUE")};
    if (!clickVideoHeading(list_.sort, column)) return;
    grid_->setEnabled(false);
    sortVideoRows(list_.rows, list_.sort);
    showList();
    grid_->setEnabled(true);
}

void TfrmMvList::openRow(int row, int column) {
    const ViewRow* r = grid_->rows()->row(row);
    if (!r) return;
    if (column == kMvName && !trimBoth((*r)[kMvName].text).empty()) {
        openHorseData(context_, {(*r)[kMvKettoNum].text, sj("調教映像"), {}, {}, {}});
    } else if (column == kMvTrainer && !trimBoth((*r)[kMvTrainer].text).empty()) {
        const std::string& code = (*r)[kMvTrainerCode].text;
        const std::string& name = (*r)[kMvTrainer].text;
        if (!findPerson(kTrainers, StorePaths(context_.storeRoot), code, name).empty())
            openPersonData(kTrainers, context_.storeRoot, code, name, sj("調教映像"), this);
    }
}

QMenu* TfrmMvList::videoMenu(int row) {
    const ViewRow* r = grid_->rows()->row(row);
    if (!r) return nullptr;
    videoKey_ = trimBoth((*r)[kMvKey].text);
    pmnPlayCHVTR_->setEnabled(context_.raceVideo);
    pmnPlayCHVTR_->setText(qs(trainingVideoCaption(*r)));
    return menu_;
}

void TfrmMvList::playVideo() {
    if (!context_.raceVideo || videoKey_.empty()) return;
    const std::string message = trainingPlayMessage(context_.jvlink.JVMVPlayWithType(kTrainingVideoType, videoKey_));
    if (!message.empty()) showMessage(this, MessageKind::Error, message);
}

void TfrmMvList::done(int result) {
    list_.rows.clear();
    grid_->setRows({});
    QDialog::done(result);
}

}  // namespace tarvo
