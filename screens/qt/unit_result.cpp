#include "unit_result.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>

#include "code_tables.h"
#include "controls.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fonts.h"
#include "grid.h"
#include "lookups.h"
#include "qtext.h"
#include "runner_tables.h"
#include "screen_links.h"
#include "store_paths.h"
#include "textfn.h"
#include "unit_kishu.h"

namespace tarvo {
namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr GridColumn kColumns[kResultColumns] = {
    {"着", 15},         {"*", 15},           {"PC", 15},        {"US", 15},   {"枠", 15},
    {"番", 15},         {"馬名", 107, kLeft}, {"性齢", 28, kLeft}, {"斤", 23, kLeft}, {" 騎手", 50, kLeft},
    {" 調教師", 50, kLeft}, {"Time", 32},      {"差", 28},         {"RW", 25},   {"位置", 42},
    {"L3F", 28},        {"LS", 25},          {" 体重", 37, kLeft}, {"単勝", 27, kRight},
};

constexpr struct {
    Control lblDate, lblRaceNum, lblHTime, lblCrs, lblRaCond, lblRaceName, lblBiko, btnVtr, btnPrev, btnNext;
    Control label1, stxt3cnr, label2, stxt4cnr, label3, stxtMae, label4, stxtAgari, btnClose;
    QRect grid, list;
} kControls{
    .lblDate = {"lbl_Date", "", "", {8, 5, 57, 15}},
    .lblRaceNum = {"lbl_RaceNum", "", "", {72, 5, 49, 15}},
    .lblHTime = {"lbl_h_time", "", "", {128, 5, 41, 15}},
    .lblCrs = {"lbl_Crs", "", "", {176, 5, 97, 15}},
    .lblRaCond = {"lbl_RaCond", "", "", {288, 5, 177, 15}},
    .lblRaceName = {"lbl_RaceName", "", "", {8, 24, 385, 18}},
    .lblBiko = {"lbl_biko", "", "", {392, 28, 233, 15}},
    .btnVtr = {"btnVtr", "VTR", "", {648, 11, 41, 25}},
    .btnPrev = {"btnPrev", "前", "", {704, 11, 25, 25}},
    .btnNext = {"btnNext", "次", "", {736, 11, 25, 25}},
    .label1 = {"Label1", "３角：", "", {8, 406, 0, 0}},
    .stxt3cnr = {"stxt3cnr", "", "", {40, 406, 305, 15}},
    .label2 = {"Label2", "４角：", "", {8, 428, 0, 0}},
    .stxt4cnr = {"stxt4cnr", "", "", {40, 428, 305, 15}},
    .label3 = {"Label3", "スタート(3F/4F)", "", {376, 406, 0, 0}},
    .stxtMae = {"stxtMae", "", "", {464, 406, 105, 15}},
    .label4 = {"Label4", "上がり  (3F/4F)", "", {376, 428, 0, 0}},
    .stxtAgari = {"stxtAgari", "", "", {464, 428, 105, 15}},
    .btnClose = {"btnClose", "閉じる", "", {320, 449, 113, 20}},
    .grid = {8, 46, 616, 353},
    .list = {632, 46, 129, 353},
};

std::function<void()>& finalResultsHook() {
    static std::function<void()> hook;
    return hook;
}

// Column 4 on the frame colour, white text on frames 2 and 4.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        o.state &= ~QStyle::State_Selected;
        if (index.column() == 4 && !o.text.isEmpty()) {
            const std::string waku = sjs(o.text);
            const QColor bg = QColor::fromRgb(frameColour(waku));
            painter->fillRect(option.rect, bg);
            o.backgroundBrush = QBrush(bg);
            o.palette.setColor(QPalette::Text, waku == "2" || waku == "4" ? Qt::white : Qt::black);
        }
        QStyledItemDelegate::paint(painter, o, index);
    }
};

std::string fileFolderOf(const std::string& settingsPath) {
    const std::size_t slash = settingsPath.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : settingsPath.substr(0, slash + 1)) + "file/";
}

bool stateOf(const ScreenView& v, const char* name) {
    for (const ScreenView::State& s : v.states)
        if (s.name == name) return s.enabled;
    return false;
}

// Columns at least their designed width and wide enough for their texts; while
// they do not fit the grid, each as narrow as its texts allow, then a pixel
// less of font.
void fitColumns(Grid* grid) {
    const int room = grid->width() - 2 * grid->frameWidth() - grid->verticalScrollBar()->sizeHint().width();
    for (int step = 0; step < 5; ++step) {
        grid->setFont(pGothic(step < 2 ? 12 : 13 - step));
        const QFontMetrics fm(grid->font());
        int total = 0;
        for (int c = 0; c < static_cast<int>(kResultColumns); ++c) {
            QStyleOptionViewItem option;
            option.initFrom(grid);
            option.font = grid->font();
            int need = fm.horizontalAdvance(QString::fromUtf8(kColumns[c].header)) + 4;
            for (int r = 0; r < grid->rows()->dataRows(); ++r)
                need = std::max(need, grid->itemDelegate()->sizeHint(option, grid->rows()->index(r, c)).width());
            grid->setColumnWidth(c, step == 0 ? std::max(kColumns[c].width, need) : need);
            total += grid->columnWidth(c);
        }
        if (total <= room) return;
    }
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

}  // namespace

void lineUpLabels(QWidget* screen, std::initializer_list<const Control*> labels) {
    QLabel* previous = nullptr;
    for (const Control* c : labels) {
        auto* label = screen->findChild<QLabel*>(QString::fromUtf8(c->name));
        label->setGeometry(c->place);
        label->resize(std::max(c->place.width(), label->sizeHint().width()), label->height());
        if (previous && label->x() < previous->geometry().right() + 6) label->move(previous->geometry().right() + 6, label->y());
        previous = label;
    }
}

void setFinalResultsHook(std::function<void()> hook) { finalResultsHook() = std::move(hook); }

TfrmResult::TfrmResult(const ScreenContext& context, const RaceKey& race, const std::string& openerTag)
    : QDialog(context.parent), context_(context), paths_(context.storeRoot), fileFolder_(fileFolderOf(context.settingsPath)) {
    context_.parent = this;
    setObjectName(QStringLiteral("frmResult"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(QStringLiteral("ファイル(&F)"));
    mnuBabaAdj_ = file->addAction(QStringLiteral("馬場調整(&A)"));
    mnuBabaAdj_->setObjectName(QStringLiteral("mnuBabaAdj"));
    const int top = menu->sizeHint().height();
    menu->setGeometry(0, 0, kClientWidth, top);
    setFixedSize(kClientWidth, kClientHeight + top);
    auto* client = new QWidget(this);
    client->setGeometry(0, top, kClientWidth, kClientHeight);

    const auto& k = kControls;
    for (const Control& c : {k.lblDate, k.lblRaceNum, k.lblHTime, k.lblCrs, k.lblRaCond, k.lblBiko, k.label1, k.stxt3cnr,
                             k.label2, k.stxt4cnr, k.label3, k.stxtMae, k.label4, k.stxtAgari})
        makeControl<QLabel>(client, c);
    for (const char* name : {"lbl_Date", "lbl_RaceNum", "lbl_h_time", "lbl_Crs", "lbl_RaCond"})
        client->findChild<QLabel*>(QString::fromUtf8(name))->setFont(pGothic(13));
    auto* raceName = makeControl<QLabel>(client, k.lblRaceName);
    raceName->setFont(pGothic(15, true));
    client->findChild<QLabel*>(QStringLiteral("lbl_biko"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnVtr_ = makeControl<QPushButton>(client, k.btnVtr);
    btnPrev_ = makeControl<QPushButton>(client, k.btnPrev);
    btnNext_ = makeControl<QPushButton>(client, k.btnNext);
    auto* close = makeControl<QPushButton>(client, k.btnClose);

    stgRList_ = new Grid(client, "stgRList", kColumns, k.grid,
                         {.rowHeight = 17, .headerHeight = 20, .verticalScrollBar = true, .minimumRows = 1});
    stgRList_->setItemDelegate(new ResultDelegate(stgRList_));
    stgRList_->setSelectionBehavior(QAbstractItemView::SelectItems);
    lstHarai_ = new QListWidget(client);
    lstHarai_->setObjectName(QStringLiteral("lstHarai"));
    lstHarai_->setGeometry(k.list);
    lstHarai_->setFont(gothic(12));

    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QDialog::accept);
    connect(btnPrev_, &QPushButton::clicked, this, [this] { stepRace(-1); });
    connect(btnNext_, &QPushButton::clicked, this, [this] { stepRace(1); });
    connect(btnVtr_, &QPushButton::clicked, this, [this] { playRaceVideo(context_, result_.race); });
    connect(mnuBabaAdj_, &QAction::triggered, this, [this] { openTrackAdjustment(context_, result_.race); });
    connect(stgRList_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { cellAction(i.row(), i.column()); });

    const std::string_view caller = resultCaller(openerTag);
    showRace(race, caller);
    if (caller == kMainWindowCaller && result_.view.caption == sj("レース結果") && finalResultsHook()) finalResultsHook()();
}

void TfrmResult::showRace(const RaceKey& race, std::string_view caller) {
    loadEngineSettings(context_.settingsPath);
    result_ = raceResult({paths_, fileFolder_}, race, caller, raceVideoAvailable(context_, race));
    const ScreenView& v = result_.view;
    setWindowTitle(qs(v.caption));
    for (const ScreenView::Label& l : v.labels)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(l.name))) label->setText(qs(l.text));
    lineUpLabels(this, {&kControls.lblDate, &kControls.lblRaceNum, &kControls.lblHTime, &kControls.lblCrs,
                        &kControls.lblRaCond});
    // A passing order longer than its place takes a smaller font.
    for (const char* name : {"stxt3cnr", "stxt4cnr"}) {
        auto* label = findChild<QLabel*>(QString::fromUtf8(name));
        for (int pixels = 12; pixels >= 9; --pixels) {
            label->setFont(pGothic(pixels));
            if (label->sizeHint().width() <= label->width()) break;
        }
    }
    stgRList_->setRows(tableRows(v.grids.front().rows));
    fitColumns(stgRList_);
    stgRList_->clearSelection();
    lstHarai_->clear();
    for (const std::string& line : v.lists.front().items) {
        auto* item = new QListWidgetItem(qs(line), lstHarai_);
        item->setSizeHint(QSize(0, 12));
    }
    btnPrev_->setEnabled(stateOf(v, "btnPrev"));
    btnNext_->setEnabled(stateOf(v, "btnNext"));
    btnVtr_->setEnabled(stateOf(v, "btnVtr"));
    mnuBabaAdj_->setEnabled(stateOf(v, "mnuBabaAdj"));
}

void TfrmResult::stepRace(int step) {
    const auto target = neighbourRace(result_.race, step);
    if (!target) return;
    for (QPushButton* b : {btnPrev_, btnNext_, btnVtr_}) b->setEnabled(false);
    if (!resultsFinal(raceDataKubun(paths_, *target)) && !context_.readOnly) fetchRaceResults(context_, *target);
    if (resultsFinal(raceDataKubun(paths_, *target)))
        showRace(*target, kResultCaller);
    btnPrev_->setEnabled(true);
    btnNext_->setEnabled(true);
    btnVtr_->setEnabled(raceVideoAvailable(context_, result_.race));
}

void TfrmResult::cellAction(int row, int col) {
    if (row < 0 || static_cast<std::size_t>(row) >= result_.kettoNums.size()) return;
    const auto r = static_cast<std::size_t>(row);
    const std::string text = trimBoth(result_.view.grids.front().rows[r + 1][static_cast<std::size_t>(col)]);
    const std::string tag = sj("結果");
    if (col == 6 && !text.empty()) openHorseData(context_, {result_.kettoNums[r], tag, result_.race, {}, {}});
    for (const auto& [c, kind, codes] : {std::tuple{9, &kJockeys, &result_.jockeyCodes},
                                         std::tuple{10, &kTrainers, &result_.trainerCodes}}) {
        if (col != c || text.empty()) continue;
        const std::string code = toIntDef((*codes)[r], 0) > 0 ? (*codes)[r] : std::string();
        if (!findPerson(*kind, paths_, code, text).empty())
            openPersonData(*kind, paths_.root(), code, text, tag, this);
    }
    if ((col == 14 || col == 15) && !context_.readOnly && !result_.central)
        openRaceDataEditor(context_, result_.race, result_.kettoNums[r], tag);
}

void openRaceResult(const ScreenContext& context, const RaceKey& race, const std::string& openerTag) {
    TfrmResult screen(context, race, openerTag);
    if (QWidget* main = context.parent) {
        while (main->parentWidget()) main = main->parentWidget();
        screen.move(main->pos() + QPoint(93, 30));
    }
    screen.exec();
}

}  // namespace tarvo
