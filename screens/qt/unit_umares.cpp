#include "unit_umares.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "grid.h"
#include "engine_settings.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"
#include "textfn.h"
#include "unit_kishu.h"

namespace tarvo {
namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter,
                        kCentre = Qt::AlignCenter;

// The design widths, a little wider where the screen font needs it.
constexpr GridColumn kColumns[kHrColumns] = {
    {" 日付", 56, kCentre},   {"場名", 30, kCentre},  {"Ｒ", 18, kCentre},     {"天", 18, kCentre},
    {"レース名", 76, kLeft},  {"", 0, kCentre},       {"頭", 18, kCentre},     {"馬", 18, kCentre},
    {"人", 18, kCentre},      {"着", 18, kCentre},    {" 騎手", 48, kLeft},    {" 距離", 42, kLeft},
    {"状", 18, kCentre},      {"Time", 32, kCentre},  {"着差", 30, kCentre},   {"斤", 26, kLeft},
    {"前", 30, kCentre},      {" 上3F", 64, kLeft},   {" 位置", 44, kCentre},  {"体重", 28, kCentre},
    {"幅", 24, kRight},       {"RW", 24, kRight},     {"LS", 24, kRight},
};

// Labels that show view-model texts; the place of each (a width of 0 keeps the label's own size).
const Control kLabels[] = {
    {"lbl_ktnum", "", "", {680, 2, 0, 0}},
    {"lbl_Uname", "", "", {12, 8, 0, 0}},
    {"lbl_seirei", "", "", {260, 12, 0, 0}},
    {"lbl_color", "", "", {310, 12, 0, 0}},
    {"lbl_toroku", "", "", {370, 12, 0, 0}},
    {"lbl_stable", "", "", {12, 38, 0, 0}},
    {"lbl_Banushi", "", "", {12, 56, 0, 0}},
    {"lbl_Farm", "", "", {12, 74, 0, 0}},
    {"lbl_Titi", "", "", {300, 38, 0, 0}},
    {"lbl_Haha", "", "", {300, 56, 0, 0}},
    {"lbl_Hati", "", "", {300, 74, 0, 0}},
    {"lbl_BYear", "", "", {12, 96, 0, 0}},
    {"lbl_BMonth", "", "", {54, 96, 14, 14}},
    {"lbl_BDay", "", "", {84, 96, 14, 14}},
    {"lbl_HiraShu", "", "", {204, 96, 44, 14}},
    {"lbl_HiraHon", "", "", {344, 96, 44, 14}},
    {"lbl_ChaSogo", "", "中央＋地方の成績です", {76, 122, 0, 0}},
    {"lbl_ChaChuo", "", "中央(芝＋ダート)の成績です", {230, 122, 0, 0}},
    {"lbl_RaceCrs", "", "", {370, 122, 0, 0}},
    {"lbl_CrsChaku", "", "", {432, 122, 0, 0}},
    {"lbl_SameDist", "", "", {540, 122, 0, 0}},
    {"lbl_SameChaku", "", "", {600, 122, 0, 0}},
    {"lbl_SibaSogo", "", "", {76, 140, 0, 0}},
    {"lbl_SibaRight", "", "中央芝(右回り)の成績です", {230, 140, 0, 0}},
    {"lbl_SibaLeft", "", "中央芝(左回り)の成績です", {384, 140, 0, 0}},
    {"lbl_SibaOmo", "", "中央芝(重馬場＋不良馬場)の成績です", {538, 140, 0, 0}},
    {"lbl_DartSogo", "", "", {76, 158, 0, 0}},
    {"lbl_DartRight", "", "中央ダート(右回り)の成績です", {230, 158, 0, 0}},
    {"lbl_DartLeft", "", "中央ダート(左回り)の成績です", {384, 158, 0, 0}},
    {"lbl_DartOmo", "", "中央ダート(重馬場＋不良馬場)の成績です", {538, 158, 0, 0}},
};

// Fixed captions beside the labels.
const Control kCaptions[] = {
    {"Label_Year", "年", "", {42, 96, 0, 0}},
    {"Label_Month", "月", "", {70, 96, 0, 0}},
    {"Label_Day", "日生", "", {100, 96, 0, 0}},
    {"Label_HiraShu", "獲得賞金：", "", {150, 96, 0, 0}},
    {"Label_HiraShuUnit", "万円", "", {252, 96, 0, 0}},
    {"Label_HiraHon", "本賞金：", "", {300, 96, 0, 0}},
    {"Label_HiraHonUnit", "万円", "", {392, 96, 0, 0}},
    {"Label_Sogo", "総合成績", "中央＋地方の成績です", {12, 122, 0, 0}},
    {"Label_Chuo", "中央成績", "中央(芝＋ダート)の成績です", {166, 122, 0, 0}},
    {"lbl_CrsOpen", "(", "", {424, 122, 0, 0}},
    {"lbl_CrsClose", "）", "", {520, 122, 0, 0}},
    {"lbl_DistOpen", "(", "", {592, 122, 0, 0}},
    {"lbl_DistClose", "）", "", {688, 122, 0, 0}},
    {"Label_Siba", "中央芝", "", {12, 140, 0, 0}},
    {"Label_SibaRight", "右回", "中央芝(右回り)の成績です", {196, 140, 0, 0}},
    {"Label_SibaLeft", "左回", "中央芝(左回り)の成績です", {350, 140, 0, 0}},
    {"Label_SibaOmo", "重不", "中央芝(重馬場＋不良馬場)の成績です", {504, 140, 0, 0}},
    {"Label_Dart", "中央ダ", "", {12, 158, 0, 0}},
    {"Label_DartRight", "右回", "中央ダート(右回り)の成績です", {196, 158, 0, 0}},
    {"Label_DartLeft", "左回", "中央ダート(左回り)の成績です", {350, 158, 0, 0}},
    {"Label_DartOmo", "重不", "中央ダート(重馬場＋不良馬場)の成績です", {504, 158, 0, 0}},
};

constexpr QRect kSilksPlace{640, 22, 49, 49};
const Control kRewrite{"btnRewrite", "再作成", "勝負服画像を再作成します", {630, 76, 70, 20}};
const Control kClose{"btnClose", "閉じる", "", {316, 450, 113, 22}};
constexpr QRect kGridPlace{8, 180, 730, 262};

// Cell backgrounds of the past-runs grid: place colours and index colours.
class RunsDelegate : public QStyledItemDelegate {
public:
    RunsDelegate(const HorseData& data, QObject* parent) : QStyledItemDelegate(parent), data_(data) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto row = static_cast<std::size_t>(index.row());
        const std::uint32_t rgb =
            row < data_.rows.size() ? horseCellBackground(data_.rows[row], static_cast<std::size_t>(index.column()))
                                    : 0xFFFFFF;
        painter->fillRect(option.rect, QColor::fromRgb(rgb));
        QStyleOptionViewItem o = option;
        o.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, o, index);
    }

private:
    const HorseData& data_;
};

bool isLocalRace(const RaceKey& race) { return toIntDef(race.jyoCD, 0) > 10; }

}  // namespace

TfrmUmaRes::TfrmUmaRes(const ScreenContext& context, const HorseDataOpening& opening)
    : QDialog(context.parent), context_(context), opening_(opening) {
    setObjectName(QStringLiteral("frmUmaRes"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);

    for (const Control& c : kCaptions) makeControl<QLabel>(this, c);
    for (const Control& c : kLabels) makeControl<QLabel>(this, c);
    findChild<QLabel*>(QStringLiteral("lbl_Uname"))->setFont(pGothic(16, true));
    findChild<QLabel*>(QStringLiteral("lbl_ktnum"))->setFont(pGothic(10));
    for (const char* name : {"lbl_BMonth", "lbl_BDay", "lbl_HiraShu", "lbl_HiraHon"})
        findChild<QLabel*>(QString::fromUtf8(name))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (const Control& c : kLabels)
        if (std::string_view(c.name).starts_with("lbl_Cha") || std::string_view(c.name).starts_with("lbl_Siba") ||
            std::string_view(c.name).starts_with("lbl_Dart") || std::string_view(c.name).ends_with("Chaku"))
            findChild<QLabel*>(QString::fromUtf8(c.name))->setFont(gothic(12));
    for (const char* name : {"lbl_stable", "lbl_Banushi", "lbl_Farm"})
        findChild<QLabel*>(QString::fromUtf8(name))->setMaximumWidth(280);
    findChild<QLabel*>(QStringLiteral("lbl_stable"))->installEventFilter(this);

    imgFuku_ = new QLabel(this);
    imgFuku_->setObjectName(QStringLiteral("imgFuku"));
    imgFuku_->setGeometry(kSilksPlace);
    imgFuku_->setScaledContents(true);
    btnRewrite_ = makeControl<QPushButton>(this, kRewrite);
    connect(btnRewrite_, &QPushButton::clicked, this, &TfrmUmaRes::rewriteSilks);

    stgRc_rireki_ = new Grid(this, kHorseRunsGrid, kColumns, kGridPlace, {.rowHeight = 17, .headerHeight = 18});
    stgRc_rireki_->setItemDelegate(new RunsDelegate(data_, stgRc_rireki_));
    stgRc_rireki_->setFont(pGothic(11));
    stgRc_rireki_->horizontalHeader()->setMinimumSectionSize(8);
    for (int c = 0; c < kHrColumns; ++c) stgRc_rireki_->setColumnWidth(c, kColumns[c].width);
    if (context_.raceVideo)
        stgRc_rireki_->setStatusTip(QStringLiteral("レース名をダブルクリックで、当該レースの映像が再生されます"));
    connect(stgRc_rireki_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& i) { cellChosen(i.row(), i.column()); });
    stgRc_rireki_->setContextMenuPolicy(Qt::CustomContextMenu);
    pmnPlayVTR_ = new QMenu(this);
    pmnPlayVTR_->setObjectName(QStringLiteral("pmnPlayVTR"));
    QAction* play = pmnPlayVTR_->addAction(QString());
    play->setObjectName(QStringLiteral("mnuPlayVTR"));
    connect(play, &QAction::triggered, this, [this] {
        const HorseRun* run = runAt(menuRow_);
        if (!run) return;
        if (context_.jvlink.JVMVCheck(run->race.text()) <= 0)
            showMessage(this, MessageKind::Error, sj("当該レースの映像はありません"));
        else
            playRaceVideo(context_, run->race);
    });
    connect(stgRc_rireki_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = stgRc_rireki_->indexAt(at).row();
        if (!runAt(row)) return;
        prepareVideoMenu(row);
        pmnPlayVTR_->popup(stgRc_rireki_->viewport()->mapToGlobal(at));
    });

    auto* close = makeControl<QPushButton>(this, kClose);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    showRows();
    showSilks(false);
}

void TfrmUmaRes::showRows() {
    loadEngineSettings(context_.settingsPath);
    const StorePaths paths(context_.storeRoot);
    data_ = horseData({paths, dirName(context_.settingsPath) + "file/"}, opening_, nowLocal().year);
    setWindowTitle(qs(data_.view.caption));
    for (const ScreenView::Label& l : data_.view.labels)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(l.name))) {
            label->setText(qs(l.text));
            if (label->alignment() & Qt::AlignRight) continue;
            label->adjustSize();
        }
    for (const ScreenView::Label& h : data_.hints)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(h.name))) label->setStatusTip(qs(h.text));
    for (const std::string& name : data_.hidden)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(name))) label->hide();
    const int row = stgRc_rireki_->currentRow();
    stgRc_rireki_->setRows(data_.rows);
    if (row > 0 && row < static_cast<int>(data_.rows.size())) stgRc_rireki_->setCurrentCell(row, 0);
}

void TfrmUmaRes::showSilks(bool redraw) {
    try {
        const HorseSilks s = horseSilks(context_.jvlink, StorePaths(context_.storeRoot), data_.banusiCode, redraw);
        QPixmap picture;
        if (!s.bitmap.empty())
            picture.loadFromData(reinterpret_cast<const uchar*>(s.bitmap.data()), static_cast<uint>(s.bitmap.size()));
        imgFuku_->setPixmap(picture);
        imgFuku_->setStatusTip(qs(s.hint));
        imgFuku_->setVisible(s.shown);
        btnRewrite_->setVisible(!s.rewriteHidden && data_.hasHorseRecord);
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
}

void TfrmUmaRes::rewriteSilks() {
    if (toIntDef(data_.banusiCode, 0) != 0) showSilks(true);
    stgRc_rireki_->setFocus();
}

const HorseRun* TfrmUmaRes::runAt(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < data_.runs.size() ? &data_.runs[static_cast<std::size_t>(row)]
                                                                          : nullptr;
}

void TfrmUmaRes::cellChosen(int row, int col) {
    const HorseRun* run = runAt(row);
    if (!run) return;
    if (col == kHrRaceName && context_.raceVideo) {
        const int check = context_.jvlink.JVMVCheck(run->race.text());
        if (check > 0)
            playRaceVideo(context_, run->race);
        else if (check == 0 || check == -1)
            showMessage(this, MessageKind::Error, sj("当該レースの映像は提供されていません"));
        else if (check == JVDTLabLib_TLB::JVResult::kMaintenance)
            showMessage(this, MessageKind::Error, sj("サーバーメンテナンス中です"));
        else
            showMessage(this, MessageKind::Error, sj("取得エラー コード：") + std::to_string(check));
        return;
    }
    ScreenContext here = context_;
    here.parent = this;
    if (col == kHrLast3F || col == kHrCorners) {
        if (context_.readOnly || !isLocalRace(run->race)) return;
        openRaceDataEditor(here, run->race, opening_.kettoNum, sj("一覧"));
        showRows();
        return;
    }
    if (col == kHrJockey) {
        if (!run->kisyuRyakusyo.empty())
            openPersonData(kJockeys, context_.storeRoot, run->kisyuCode, run->kisyuRyakusyo, sj("通常"), this);
        return;
    }
    openRaceResult(here, run->race, sj("過去"));
}

void TfrmUmaRes::prepareVideoMenu(int row) {
    const HorseRun* run = runAt(row);
    if (!run) return;
    menuRow_ = row;
    QAction* play = pmnPlayVTR_->actions().front();
    play->setText(qs(videoMenuCaption(data_.rows[static_cast<std::size_t>(row)])));
    play->setEnabled(raceVideoAvailable(context_, run->race));
}

bool TfrmUmaRes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched->objectName() == QStringLiteral("lbl_stable")) {
        if (!findPerson(kTrainers, StorePaths(context_.storeRoot), data_.chokyosiCode, data_.trainerShortName).empty())
            openPersonData(kTrainers, context_.storeRoot, data_.chokyosiCode, data_.trainerShortName, sj("通常"), this);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void openHorseData(const ScreenContext& context, const HorseDataOpening& opening) {
    auto* screen = new TfrmUmaRes(context, opening);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    if (opening.openerTag == sj("地方２")) {
        screen->move(120, 120);
    } else if (context.parent) {
        QWidget* main = context.parent;
        while (main->parentWidget()) main = main->parentWidget();
        screen->move(main->pos() + QPoint(115, 50));
    }
    screen->exec();
}

}  // namespace tarvo
