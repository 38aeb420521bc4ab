#include "unit_kishu.h"

#include <QComboBox>
#include <QLabel>

#include "controls.h"
#include "fonts.h"
#include "grid.h"
#include "qtext.h"

namespace tarvo {
namespace {

constexpr struct {
    Control lblName, lblMakeDateTitle, lblMakeDate, lblShozokuTitle, lblShozoku, lblJyusyoTitle, lblJyusyo[3], cboCond;
    QRect grid;
} kControls{
    .lblName = {"lblName", "", "", {16, 12, 600, 20}},
    .lblMakeDateTitle = {"lblMakeDateTitle", "", "", {16, 42, 0, 0}},
    .lblMakeDate = {"lblMakeDate", "", "", {110, 42, 0, 0}},
    .lblShozokuTitle = {"lblShozokuTitle", "", "", {16, 62, 0, 0}},
    .lblShozoku = {"lblShozoku", "", "", {110, 62, 0, 0}},
    .lblJyusyoTitle = {"lblJyusyoTitle", "", "", {16, 192, 0, 0}},
    .lblJyusyo = {{"lblJyusyo1", "", "", {24, 210, 600, 16}},
                  {"lblJyusyo2", "", "", {24, 228, 600, 16}},
                  {"lblJyusyo3", "", "", {24, 246, 600, 16}}},
    .cboCond = {"cboCond", "", "", {16, 272, 160, 22}},
    .grid = {16, 300, 422, 337},
};

// The three count blocks side by side: each a title, then a flat and a jump
// line of counts with their rates beneath.
constexpr struct {
    const char* prefix;
    int left;
} kBlocks[] = {{"lblTsusan", 16}, {"lblHonnen", 270}, {"lblZennen", 524}};
constexpr int kBlockTop = 92;
constexpr struct {
    const char* suffix;
    int dx, dy;
} kBlockLabels[] = {
    {"Title", 0, 0},     {"Heichi", 8, 18},  {"HeichiCnt", 36, 18}, {"HeichiRate", 36, 34},
    {"Syogai", 8, 54},   {"SyogaiCnt", 36, 54}, {"SyogaiRate", 36, 70},
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr GridColumn kColumns[] = {
    {"条件", 120, kLeft}, {"１着", 30, kRight}, {"２着", 30, kRight}, {"３着", 30, kRight}, {"着外", 35, kRight},
    {"合計", 40, kRight}, {"勝率", 45, kRight}, {"連対率", 45, kRight}, {"３着内", 45, kRight},
};

}  // namespace

TfrmPersonData::TfrmPersonData(const PersonKind& kind, const std::string& storeRoot, const std::string& code,
                               const std::string& name, const std::string& openerTag, QWidget* parent)
    : QDialog(parent), kind_(kind), openerTag_(openerTag), data_(personData(kind, StorePaths(storeRoot), code, name)) {
    setObjectName(QString::fromUtf8(kind.family == Family::KS ? "frmKishu" : "frmChokyo"));
    setWindowTitle(qs(data_.view.caption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);

    makeControl<QLabel>(this, {kind.codeLabel, "", "", {0, 0, 0, 0}})->hide();
    makeControl<QLabel>(this, {kind.nameLabel, "", "", {0, 0, 0, 0}})->hide();
    for (const Control& c : {kControls.lblName, kControls.lblMakeDateTitle, kControls.lblMakeDate,
                             kControls.lblShozokuTitle, kControls.lblShozoku, kControls.lblJyusyoTitle,
                             kControls.lblJyusyo[0], kControls.lblJyusyo[1], kControls.lblJyusyo[2]})
        makeControl<QLabel>(this, c);
    findChild<QLabel*>(QStringLiteral("lblName"))->setFont(pGothic(14, true));
    for (const auto& b : kBlocks) {
        for (const auto& l : kBlockLabels) {
            const std::string objectName = std::string(b.prefix) + l.suffix;
            auto* label = makeControl<QLabel>(this, {objectName.c_str(), "", "", {b.left + l.dx, kBlockTop + l.dy, 0, 0}});
            if (std::string_view(l.suffix).ends_with("Cnt") || std::string_view(l.suffix).ends_with("Rate"))
                label->setFont(gothic(12));
        }
    }
    for (int i = 0; i < 3; ++i) findChild<QLabel*>(QString::fromUtf8(kControls.lblJyusyo[i].name))->setFont(gothic(12));

    for (const ScreenView::Label& l : data_.view.labels)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(l.name))) {
            label->setText(qs(l.text));
            label->adjustSize();
        }
    for (const ScreenView::Label& h : data_.hints)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(h.name))) label->setStatusTip(qs(h.text));

    cboCond_ = makeControl<QComboBox>(this, kControls.cboCond);
    stgChaList_ = new Grid(this, kConditionGrid, kColumns, kControls.grid,
                           {.rowHeight = 20, .headerHeight = 15, .verticalScrollBar = false, .minimumRows = 16});
    stgChaList_->setStyleSheet(QStringLiteral("QHeaderView::section { padding-left: 2px; }"));
    for (const std::string& item : data_.view.lists.front().items) cboCond_->addItem(qs(item));
    stgChaList_->setRows(tableRows(data_.view.grids.front().rows));
    connect(cboCond_, &QComboBox::currentIndexChanged, this, &TfrmPersonData::showCondition);
}

void TfrmPersonData::showCondition(int index) {
    static constexpr PersonBlock kChoices[] = {PersonBlock::ThisYear, PersonBlock::LastYear, PersonBlock::Career};
    if (index < 0 || index > 2) return;
    stgChaList_->setRows(tableRows(conditionTable(kind_, data_.line, kChoices[index])));
}

void openPersonData(const PersonKind& kind, const std::string& storeRoot, const std::string& code,
                    const std::string& name, const std::string& openerTag, QWidget* parent,
                    std::optional<QPoint> position) {
    TfrmPersonData* screen = kind.family == Family::KS
                                 ? static_cast<TfrmPersonData*>(new TfrmKishu(storeRoot, code, name, openerTag, parent))
                                 : new TfrmChokyo(storeRoot, code, name, openerTag, parent);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (position)
        screen->move(*position);
    else if (parent) {
        QWidget* main = parent;
        while (main->parentWidget()) main = main->parentWidget();
        screen->move(main->pos() + QPoint(kind.dataLeft, 100));
    }
    screen->exec();
}

}  // namespace tarvo
