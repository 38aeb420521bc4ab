#include "unit_oddsinfo.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <set>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "grid.h"
#include "qtext.h"
#include "store_paths.h"
#include "unit_result.h"

namespace tarvo {
namespace {

constexpr struct {
    Control lblDate, lblRaceNum, lblHTime, lblRaceName, btnClose, groupBox, cboTarget, btnOddsUpd, label1, stxtOddsDate,
        stxtKumi;
    QRect grid;
} kControls{
    .lblDate = {"lbl_Date", "", "", {8, 8, 65, 16}},
    .lblRaceNum = {"lbl_RaceNum", "", "", {76, 8, 57, 16}},
    .lblHTime = {"lbl_h_time", "", "", {142, 8, 41, 16}},
    .lblRaceName = {"lbl_RaceName", "", "", {192, 8, 561, 18}},
    .btnClose = {"btnClose", "閉じる", "", {816, 0, 57, 17}},
    .groupBox = {"GroupBox1", "種類", "", {480, 35, 276, 38}},
    .cboTarget = {"cboTarget", "", "", {8, 48, 201, 22}},
    .btnOddsUpd = {"btnOddsUpd", "オッズ更新", "", {760, 24, 113, 49}},
    .label1 = {"Label1", "オッズ発表日時", "", {8, 504, 0, 0}},
    .stxtOddsDate = {"stxtOddsDate", "", "", {96, 504, 145, 17}},
    .stxtKumi = {"stxtKumi", "", "", {432, 504, 433, 17}},
    .grid = {8, 80, 865, 420},
};

constexpr struct {
    const char* name;
    const char* caption;
    OddsType type;
    int left, width;
} kTypeButtons[] = {
    {"rdbUmaren", "馬連", OddsType::Umaren, 8, 48},        {"rdbUmatan", "馬単", OddsType::Umatan, 60, 48},
    {"rdbWide", "ワイド", OddsType::Wide, 112, 52},         {"rdbRenhuku", "３連複", OddsType::Sanrenpuku, 168, 50},
    {"rdbRentan", "３連単", OddsType::Sanrentan, 220, 52},
};

int columnWidth(OddsType t) {
    switch (t) {
        case OddsType::Wide: return 80;
        case OddsType::Sanrenpuku: return 43;
        case OddsType::Sanrentan: return 50;
        default: return 42;
    }
}

// Hit cells on RGB(255, 200, 0).
class OddsDelegate : public QStyledItemDelegate {
public:
    OddsDelegate(const OddsMatrix& m, QObject* parent) : QStyledItemDelegate(parent), m_(m) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const std::pair<int, int> cell{index.row() + 1, index.column()};
        if (index.column() > 0 && std::find(m_.hits.begin(), m_.hits.end(), cell) != m_.hits.end()) {
            painter->fillRect(option.rect, QColor(255, 200, 0));
            o.backgroundBrush = QBrush(QColor(255, 200, 0));
        }
        QStyledItemDelegate::paint(painter, o, index);
    }

private:
    const OddsMatrix& m_;
};

}  // namespace

TfrmOddsInfo::TfrmOddsInfo(const ScreenContext& context, OddsListOpening opening)
    : QDialog(context.parent), paths_(context.storeRoot), opening_(std::move(opening)) {
    setObjectName(QStringLiteral("frmOddsInfo"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    const auto& k = kControls;
    const std::pair<const Control*, const std::string*> labels[] = {{&k.lblDate, &opening_.labels.date},
                                                                    {&k.lblRaceNum, &opening_.labels.raceNum},
                                                                    {&k.lblHTime, &opening_.labels.hTime},
                                                                    {&k.lblRaceName, &opening_.labels.raceName}};
    for (const auto& [c, text] : labels) {
        auto* l = makeControl<QLabel>(this, *c);
        l->setFont(pGothic(16));
        l->setText(qs(*text));
    }
    lineUpLabels(this, {&k.lblDate, &k.lblRaceNum, &k.lblHTime, &k.lblRaceName});
    auto* close = makeControl<QPushButton>(this, k.btnClose);
    auto* group = makeControl<QGroupBox>(this, k.groupBox);
    for (const auto& b : kTypeButtons) {
        auto* r = makeControl<QRadioButton>(group, {b.name, b.caption, "", {b.left, 14, b.width, 20}});
        r->setChecked(b.type == OddsType::Umaren);
        connect(r, &QRadioButton::clicked, this, [this, t = b.type] { chooseType(t); });
        types_.push_back(r);
    }
    cboTarget_ = makeControl<QComboBox>(this, k.cboTarget);
    cboTarget_->setFont(gothic(12));
    for (const std::string& item : targetItems(opening_.runners)) cboTarget_->addItem(qs(item));
    cboTarget_->hide();
    btnOddsUpd_ = makeControl<QPushButton>(this, k.btnOddsUpd);
    btnOddsUpd_->setEnabled(opening_.updateEnabled);
    makeControl<QLabel>(this, k.label1);
    stxtOddsDate_ = makeControl<QLabel>(this, k.stxtOddsDate);
    stxtOddsDate_->setFont(gothic(13, true));
    stxtKumi_ = makeControl<QLabel>(this, k.stxtKumi);

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(cboTarget_, &QComboBox::activated, this, [this] {
        stxtKumi_->clear();
        build();
    });
    connect(btnOddsUpd_, &QPushButton::clicked, this, &TfrmOddsInfo::updateOdds);
    setWindowTitle(qs(oddsCaption(type_)));
    build();
}

TfrmOddsInfo::~TfrmOddsInfo() = default;

int TfrmOddsInfo::fixedHorse() const { return std::max(cboTarget_->currentIndex(), 0) + 1; }

void TfrmOddsInfo::build() {
    matrix_ = oddsMatrix(paths_, opening_.race, type_, opening_.runners, fixedHorse());
    headers_.clear();
    for (const std::string& h : matrix_.rows.front()) headers_.push_back(toUtf8(h));
    columns_.clear();
    for (std::size_t c = 0; c < headers_.size(); ++c)
        columns_.push_back({headers_[c].c_str(), c == 0 ? 100 : columnWidth(type_),
                            c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter});
    delete stgOddsList_;
    stgOddsList_ = new Grid(this, "stgOddsList", columns_, kControls.grid,
                            {.rowHeight = 20, .headerHeight = 20, .verticalScrollBar = false, .minimumRows = 1});
    stgOddsList_->setFont(gothic(12));
    stgOddsList_->setSelectionBehavior(QAbstractItemView::SelectItems);
    stgOddsList_->setItemDelegate(new OddsDelegate(matrix_, stgOddsList_));
    stgOddsList_->setRows(tableRows(matrix_.rows));
    stgOddsList_->clearSelection();
    connect(stgOddsList_, &QTableView::clicked, this, [this](const QModelIndex& i) { selectCell(i.row(), i.column()); });
    stgOddsList_->show();
    stxtOddsDate_->setText(qs(matrix_.announcement));
}

void TfrmOddsInfo::chooseType(OddsType type) {
    setWindowTitle(qs(oddsCaption(type)));
    cboTarget_->setVisible(fixesHorse(type));
    stxtKumi_->clear();
    if (type == type_) return;
    type_ = type;
    for (std::size_t i = 0; i < types_.size(); ++i) types_[i]->setChecked(kTypeButtons[i].type == type);
    if (fixesHorse(type)) cboTarget_->setCurrentIndex(0);
    build();
}

void TfrmOddsInfo::selectCell(int row, int col) {
    stxtKumi_->setText(qs(oddsSelection(matrix_, type_, opening_.runners, fixedHorse(), row + 1, col)));
}

void TfrmOddsInfo::updateOdds() {
    stxtKumi_->clear();
    btnOddsUpd_->setEnabled(false);
    cboTarget_->setEnabled(false);
    for (QRadioButton* r : types_) r->setEnabled(false);
    const bool oddsFinal = opening_.updateOdds ? opening_.updateOdds() : false;
    build();
    cboTarget_->setEnabled(true);
    for (QRadioButton* r : types_) r->setEnabled(true);
    btnOddsUpd_->setEnabled(!oddsFinal);
}

void openOddsList(const ScreenContext& context, OddsListOpening opening) {
    TfrmOddsInfo screen(context, std::move(opening));
    if (QWidget* main = context.parent) {
        while (main->parentWidget()) main = main->parentWidget();
        screen.move(main->pos() + QPoint(100, 130));
    }
    screen.exec();
}

}  // namespace tarvo
