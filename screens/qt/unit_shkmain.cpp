#include "unit_shkmain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <filesystem>

#include "controls.h"
#include "cp932.h"
#include "dtlist_view.h"
#include "engine_settings.h"
#include "fonts.h"
#include "fsys.h"
#include "inifile.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"
#include "store_paths.h"

namespace tarvo {
namespace {

constexpr struct {
    Control cboFrYear, cboFrMday, Label1, cboToYear, cboToMday, cboCrs, stxtExec;
    Control GroupBox2, GroupBox1, GroupBox3, GroupBox4, GroupBox5;
    Control rbtnTansho, rbtnUmaRen, rbtnUmaTan, rbtnCPU, rbtnUSR;
    Control cboFrom, Label2, cboTo, Label3;
    Control btnStart, btnCancel, btnExit, pgcList, prgExec;
} kControls{
    .cboFrYear = {"cboFrYear", "", "", {8, 8, 53, 21}},
    .cboFrMday = {"cboFrMday", "", "", {63, 8, 61, 21}},
    .Label1 = {"Label1", "～", "", {126, 10, 16, 16}},
    .cboToYear = {"cboToYear", "", "", {144, 8, 53, 21}},
    .cboToMday = {"cboToMday", "", "", {200, 8, 61, 21}},
    .cboCrs = {"cboCrs", "", "", {264, 8, 52, 21}},
    .stxtExec = {"stxtExec", "", "", {320, 8, 297, 21}},
    .GroupBox2 = {"GroupBox2", "レース条件", "", {8, 32, 241, 81}},
    .GroupBox1 = {"GroupBox1", "馬券種類", "", {252, 32, 153, 39}},
    .GroupBox3 = {"GroupBox3", "予想", "", {408, 32, 97, 39}},
    .GroupBox4 = {"GroupBox4", "距離", "", {252, 72, 229, 41}},
    .GroupBox5 = {"GroupBox5", "馬場状態", "", {512, 32, 106, 53}},
    .rbtnTansho = {"rbtnTansho", "単勝", "", {8, 16, 46, 18}},
    .rbtnUmaRen = {"rbtnUmaRen", "馬連", "", {56, 16, 46, 18}},
    .rbtnUmaTan = {"rbtnUmaTan", "馬単", "", {104, 16, 46, 18}},
    .rbtnCPU = {"rbtnCPU", "PC", "", {8, 16, 40, 18}},
    .rbtnUSR = {"rbtnUSR", "US", "", {52, 16, 40, 18}},
    .cboFrom = {"cboFrom", "", "", {90, 15, 56, 21}},
    .Label2 = {"Label2", "～", "", {147, 18, 12, 16}},
    .cboTo = {"cboTo", "", "", {160, 15, 56, 21}},
    .Label3 = {"Label3", "m", "", {218, 18, 9, 16}},
    .btnStart = {"btnStart", "集計開始", "集計する年および月を指定してボタンを押してください", {512, 96, 105, 41}},
    .btnCancel = {"btnCancel", "中止", "集計処理を中止します", {512, 140, 49, 25}},
    .btnExit = {"btnExit", "閉じる", "集計画面を閉じます", {568, 140, 49, 25}},
    .pgcList = {"pgcList", "", "", {6, 168, 621, 411}},
    .prgExec = {"prgExec", "", "", {6, 581, 621, 7}},
};

// The check boxes inside their group boxes, each as wide as its caption: the
// class boxes in two rows with the age boxes below; the surface boxes; the
// going boxes in two rows.
constexpr int kClassWidths[] = {44, 44, 40, 46, 46, 48, 36, 36, 36, 56};
QRect classPlace(std::size_t i) {
    int x = 6;
    for (std::size_t k = i - i % 5; k < i; ++k) x += kClassWidths[k];
    return {x, 14 + static_cast<int>(i / 5) * 20, kClassWidths[i], 18};
}
QRect agePlace(std::size_t i) { return {6 + static_cast<int>(i) * 58, 56, 58, 18}; }
QRect surfacePlace(std::size_t i) { return {4 + static_cast<int>(i) * 28, 16, 28, 18}; }
QRect goingPlace(std::size_t i) { return {8 + static_cast<int>(i % 2) * 48, 14 + static_cast<int>(i / 2) * 18, 46, 18}; }

// The figures: {caption label, static text} pairs on the rows 120 and 144.
struct Figure {
    const char* label;  // object name of the caption label
    const char* caption;
    const char* text;   // object name of the static text
    int labelWidth, textWidth;
};
constexpr Figure kFigureRows[2][5] = {
    {{"lblRaceCnt", "レース数", "stxtRaceCnt", 50, 50},
     {"lblYosoCnt", "予想数", "stxtYosoCnt", 38, 50},
     {"lblHitNum", "的中数", "stxtHitNum", 38, 50},
     {"lbl_rate", "軸連率", "stxtRate", 38, 50},
     {"lblHitRate", "的中率", "stxtHitRate", 38, 50}},
    {{"lblBuySum", "購入", "stxtBuySum", 26, 70},
     {"lblPaySum", "払戻", "stxtPaySum", 26, 70},
     {"lblMaxPay", "最高配当", "stxtMaxPay", 50, 70},
     {"lblRcvRate", "回収率", "stxtRcvRate", 38, 70},
     {nullptr, nullptr, nullptr, 0, 0}}};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter, kRight = Qt::AlignRight | Qt::AlignVCenter;

// Column widths and alignments per grid; the headers come from the view model.
struct ColumnLook {
    int width;
    Qt::Alignment align;
};
const std::vector<ColumnLook>& columnLooks(std::size_t list) {
    static const std::vector<ColumnLook> race = {
        {60, kLeft}, {30, kLeft}, {0, kLeft}, {20, Qt::AlignCenter}, {160, kLeft}, {20, Qt::AlignCenter},
        {50, kLeft}, {20, kLeft}, {20, Qt::AlignCenter}, {20, Qt::AlignCenter}, {20, Qt::AlignCenter},
        {52, kRight}, {50, kRight}, {50, kRight}, {0, kLeft}, {0, kLeft}};
    static const std::vector<ColumnLook> summary = {{60, kLeft},  {50, kRight}, {50, kRight}, {47, kRight},
                                                    {47, kRight}, {64, kRight}, {64, kRight}, {64, kRight},
                                                    {64, kRight}, {64, kRight}};
    static const std::vector<ColumnLook> distance = {{91, kLeft},  {45, kRight}, {47, kRight}, {45, kRight},
                                                     {45, kRight}, {64, kRight}, {64, kRight}, {64, kRight},
                                                     {45, kRight}, {64, kRight}};
    return list == 0 ? race : list == 4 ? distance : summary;
}

// The column tables of the five grids, built once from the view model's headers.
std::span<const GridColumn> gridColumns(std::size_t list) {
    static const std::vector<std::vector<GridColumn>> tables = [] {
        std::vector<std::vector<GridColumn>> t;
        for (std::size_t l = 0; l < std::size(kTallyLists); ++l) {
            const auto& headers = tallyGridHeaders(kTallyLists[l].grid);
            const auto& looks = columnLooks(l);
            std::vector<GridColumn> cols;
            for (std::size_t c = 0; c < headers.size(); ++c) cols.push_back({headers[c], looks[c].width, looks[c].align});
            t.push_back(std::move(cols));
        }
        return t;
    }();
    return tables[list];
}

QStringList qsList(const std::vector<std::string>& items) {
    QStringList l;
    for (const std::string& s : items) l << qs(s);
    return l;
}

}  // namespace

TfrmShkMain::TfrmShkMain(const ScreenContext& context) : BusyDialog(context.parent), context_(context) {
    context_.parent = this;
    setObjectName(QStringLiteral("frmShkMain"));
    setWindowTitle(QStringLiteral("予想結果の集計"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));

    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(QStringLiteral("ファイル(&F)"));
    mnuCsvOut_ = file->addAction(QStringLiteral("一覧をcsv出力(&F)"));
    mnuCsvOut_->setObjectName(QStringLiteral("mnuCsvOut"));
    const int menuHeight = menu->sizeHint().height();
    menu->setGeometry(0, 0, kClientWidth, menuHeight);
    auto* client = new QWidget(this);
    client->setGeometry(0, menuHeight, kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight + menuHeight);
    if (context.parent) move(context.parent->x() + 40, context.parent->y() + 40);

    const auto& c = kControls;
    cboFrYear_ = makeControl<QComboBox>(client, c.cboFrYear);
    cboFrMday_ = makeControl<QComboBox>(client, c.cboFrMday);
    makeControl<QLabel>(client, c.Label1);
    cboToYear_ = makeControl<QComboBox>(client, c.cboToYear);
    cboToMday_ = makeControl<QComboBox>(client, c.cboToMday);
    for (QComboBox* cbo : {cboFrYear_, cboFrMday_, cboToYear_, cboToMday_}) cbo->setFont(gothic(13));
    cboCrs_ = makeControl<QComboBox>(client, c.cboCrs);
    for (const char* t : kTallyTracks) cboCrs_->addItem(QString::fromUtf8(t));
    cboCrs_->setCurrentText(QStringLiteral("全場"));
    stxtExec_ = makeControl<QLabel>(client, c.stxtExec);
    stxtExec_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    auto* group2 = makeControl<QGroupBox>(client, c.GroupBox2);
    auto* group1 = makeControl<QGroupBox>(client, c.GroupBox1);
    auto* group3 = makeControl<QGroupBox>(client, c.GroupBox3);
    auto* group4 = makeControl<QGroupBox>(client, c.GroupBox4);
    auto* group5 = makeControl<QGroupBox>(client, c.GroupBox5);
    auto boxes = [](QWidget* parent, std::span<const TallyBox> list, QRect (*place)(std::size_t),
                    std::vector<QCheckBox*>& out) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            auto* box = makeControl<QCheckBox>(parent, {list[i].name, list[i].caption, "", place(i)});
            box->setChecked(true);
            box->setStyleSheet(QStringLiteral("QCheckBox { spacing: 1px; }"));
            out.push_back(box);
        }
    };
    boxes(group2, kTallyClassBoxes, classPlace, classes_);
    boxes(group2, kTallyAgeBoxes, agePlace, ages_);
    boxes(group4, kTallySurfaceBoxes, surfacePlace, surfaces_);
    boxes(group5, kTallyGoingBoxes, goingPlace, goings_);
    rbtnTansho_ = makeControl<QRadioButton>(group1, c.rbtnTansho);
    rbtnUmaRen_ = makeControl<QRadioButton>(group1, c.rbtnUmaRen);
    rbtnUmaTan_ = makeControl<QRadioButton>(group1, c.rbtnUmaTan);
    rbtnCPU_ = makeControl<QRadioButton>(group3, c.rbtnCPU);
    rbtnUSR_ = makeControl<QRadioButton>(group3, c.rbtnUSR);
    rbtnUmaRen_->setChecked(true);
    rbtnCPU_->setChecked(true);

    cboFrom_ = makeControl<QComboBox>(group4, c.cboFrom);
    makeControl<QLabel>(group4, c.Label2);
    cboTo_ = makeControl<QComboBox>(group4, c.cboTo);
    makeControl<QLabel>(group4, c.Label3);
    for (QComboBox* cbo : {cboFrom_, cboTo_}) {
        cbo->setEditable(true);
        for (const char* d : kTallyDistances) cbo->addItem(QString::fromUtf8(d));
        cbo->lineEdit()->setMaxLength(4);
        cbo->lineEdit()->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), cbo));
        connect(cbo->lineEdit(), &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    }
    cboFrom_->setCurrentText(QStringLiteral("1000"));
    cboTo_->setCurrentText(QStringLiteral("4500"));

    for (int r = 0; r < 2; ++r) {
        int x = 8;
        for (const Figure& f : kFigureRows[r]) {
            if (!f.label) break;
            const int labelWidth = f.labelWidth, textWidth = f.textWidth;
            auto* label = makeControl<QLabel>(client, {f.label, f.caption, "", {x, 120 + r * 24 + 3, labelWidth, 16}});
            label->setFont(gothic(12, true));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            auto* text = makeControl<QLabel>(client, {f.text, "", "", {x + labelWidth + 2, 120 + r * 24, textWidth, 21}});
            text->setFont(pGothic(13, true));
            text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (std::string_view(f.label) == "lbl_rate") lbl_rate_ = label;
            x += labelWidth + textWidth + 6;
        }
    }

    btnStart_ = makeControl<QPushButton>(client, c.btnStart);
    btnCancel_ = makeControl<QPushButton>(client, c.btnCancel);
    btnExit_ = makeControl<QPushButton>(client, c.btnExit);
    pgcList_ = makeControl<QTabWidget>(client, c.pgcList);
    prgExec_ = makeControl<QProgressBar>(client, c.prgExec);
    prgExec_->setTextVisible(false);
    prgExec_->setValue(0);
    const QRect page(0, 0, c.pgcList.place.width() - 6, c.pgcList.place.height() - 28);
    for (std::size_t l = 0; l < std::size(kTallyLists); ++l) {
        auto* grid = new Grid(nullptr, kTallyLists[l].grid, gridColumns(l), page,
                              GridLook{.rowHeight = 15, .headerHeight = 18});
        grid->setFont(gothic(13));
        grid->horizontalHeader()->setFont(gothic(13));
        pgcList_->addTab(grid, QString::fromUtf8(kTallyLists[l].tab));
        grids_.push_back(grid);
    }
    connect(grids_[0], &Grid::rowChosen, this, &TfrmShkMain::openRace);
    grids_[0]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grids_[0], &QWidget::customContextMenuRequested, this, &TfrmShkMain::videoPopup);

    connect(btnStart_, &QPushButton::clicked, this, &TfrmShkMain::start);
    connect(btnCancel_, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(btnExit_, &QPushButton::clicked, this, &QDialog::reject);
    connect(mnuCsvOut_, &QAction::triggered, this, &TfrmShkMain::chooseCsvFile);
    for (QRadioButton* b : {rbtnTansho_, rbtnUmaRen_, rbtnUmaTan_})
        connect(b, &QRadioButton::toggled, this, [this] { lbl_rate_->setText(qs(tallyRateLabel(options().bet))); });
    connect(cboFrYear_, &QComboBox::currentIndexChanged, this, [this] { fillMonthDays(cboFrYear_, cboFrMday_); });
    connect(cboToYear_, &QComboBox::currentIndexChanged, this, [this] { fillMonthDays(cboToYear_, cboToMday_); });

    const StorePaths paths(context_.storeRoot);
    const QStringList years = qsList(storedYears(paths));
    for (QComboBox* cbo : {cboFrYear_, cboToYear_}) {
        cbo->addItems(years);
        cbo->setCurrentIndex(static_cast<int>(years.size()) - 1);
    }
    opening_ = false;
    fillMonthDays(cboFrYear_, cboFrMday_);
    fillMonthDays(cboToYear_, cboToMday_);
    cboToMday_->setCurrentIndex(cboToMday_->count() - 1);
    btnCancel_->setEnabled(false);
    mnuCsvOut_->setEnabled(false);
}

void TfrmShkMain::fillMonthDays(QComboBox* year, QComboBox* mday) {
    if (opening_) return;
    mday->clear();
    mday->addItems(qsList(tallyMonthDays(StorePaths(context_.storeRoot), sjs(year->currentText()))));
}

TallyOptions TfrmShkMain::options() const {
    TallyOptions o;
    o.from = tallyDate(sjs(cboFrYear_->currentText()), sjs(cboFrMday_->currentText()));
    o.to = tallyDate(sjs(cboToYear_->currentText()), sjs(cboToMday_->currentText()));
    o.track = sjs(cboCrs_->currentText());
    auto read = [](const std::vector<QCheckBox*>& boxes, auto& ticked) {
        for (std::size_t i = 0; i < boxes.size(); ++i) ticked[i] = boxes[i]->isChecked();
    };
    read(classes_, o.classes);
    read(ages_, o.ages);
    read(surfaces_, o.surfaces);
    read(goings_, o.goings);
    o.distFrom = sjs(cboFrom_->currentText());
    o.distTo = sjs(cboTo_->currentText());
    o.bet = rbtnTansho_->isChecked() ? TallyBet::Tansho : rbtnUmaTan_->isChecked() ? TallyBet::Umatan : TallyBet::Umaren;
    o.userMarks = rbtnUSR_->isChecked();
    return o;
}

void TfrmShkMain::setInputsEnabled(bool enabled) {
    for (QWidget* w : findChildren<QComboBox*>()) w->setEnabled(enabled);
    for (QWidget* w : findChildren<QCheckBox*>()) w->setEnabled(enabled);
    for (QWidget* w : findChildren<QRadioButton*>()) w->setEnabled(enabled);
    for (QWidget* w : {static_cast<QWidget*>(btnStart_), static_cast<QWidget*>(btnExit_),
                       static_cast<QWidget*>(pgcList_)})
        w->setEnabled(enabled);
    btnCancel_->setEnabled(!enabled);
}

void TfrmShkMain::start() {
    if (running()) return;
    const std::string refused = tallyPeriodMessage(sjs(cboFrYear_->currentText()), sjs(cboFrMday_->currentText()),
                                                   sjs(cboToYear_->currentText()), sjs(cboToMday_->currentText()));
    if (!refused.empty()) {
        showMessage(this, MessageKind::Warning, refused);
        return;
    }
    const TallyOptions o = options();
    for (const Figure* row : {kFigureRows[0], kFigureRows[1]})
        for (std::size_t i = 0; i < 5 && row[i].text; ++i)
            if (auto* l = findChild<QLabel*>(QString::fromUtf8(row[i].text))) l->clear();
    for (Grid* g : grids_) {
        g->setRows({});
        g->hide();
    }
    mnuCsvOut_->setEnabled(false);
    setInputsEnabled(false);
    setRunning(true);
    cancel_ = false;

    TallyHooks hooks;
    hooks.stop = [this] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return cancel_;
    };
    hooks.raceText = [this](const std::string& text) { stxtExec_->setText(qs(text)); };
    hooks.bar = [this](std::size_t done, std::size_t total) {
        prgExec_->setRange(0, static_cast<int>(std::max<std::size_t>(total, 1)));
        prgExec_->setValue(static_cast<int>(std::min(done, std::max<std::size_t>(total, 1))));
    };
    loadEngineSettings(context_.settingsPath);
    const StorePaths paths(context_.storeRoot);
    view_ = tallyScreen(o, runTally({paths, dirName(context_.settingsPath) + "file/"}, o, hooks));

    showView();
    setRunning(false);
    setInputsEnabled(true);
    for (const std::string& m : view_.messages) showMessage(this, MessageKind::Warning, m);
}

void TfrmShkMain::showView() {
    for (const ScreenView::Label& l : view_.labels)
        if (auto* label = findChild<QLabel*>(QString::fromUtf8(l.name.c_str()))) label->setText(qs(l.text));
    for (std::size_t i = 0; i < grids_.size() && i < view_.grids.size(); ++i) {
        grids_[i]->setRows(tallyGridRows(view_.grids[i]));
        grids_[i]->show();
    }
    for (const ScreenView::State& s : view_.states)
        if (s.name == "mnuCsvOut") mnuCsvOut_->setEnabled(s.enabled);
}

void TfrmShkMain::writeCsv(const std::string& path) {
    const IniFile ini(context_.settingsPath);
    ini.write("FILE_OUT", "shu_dir", dirName(path));
    ini.write("FILE_OUT", "shu_sfile", path);
    const std::size_t tab = static_cast<std::size_t>(std::max(pgcList_->currentIndex(), 0));
    const std::optional<std::string> csv = tallyCsv(view_, kTallyLists[tab].grid);
    setInputsEnabled(false);
    btnCancel_->setEnabled(false);
    try {
        writeFileAtomic(path, csv.value_or(""));
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    setInputsEnabled(true);
}

void TfrmShkMain::chooseCsvFile() {
    const IniFile ini(context_.settingsPath);
    const std::string folder = ini.read("FILE_OUT", "shu_dir");
    std::error_code ec;
    const bool known = !folder.empty() && std::filesystem::is_directory(folder, ec);
    const QString start = known ? qs(ini.read("FILE_OUT", "shu_sfile")) : qs(dirName(context_.settingsPath));
    QFileDialog dialog(this, QString(), start, QStringLiteral("csvファイル (*.csv)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    writeCsv(sjs(dialog.selectedFiles().front()));
}

void TfrmShkMain::openRace(int row) {
    if (const std::optional<RaceKey> race = tallyRowRace(view_, static_cast<std::size_t>(row) + 1))
        openRaceResult(context_, *race, sj("過去2"));
}

void TfrmShkMain::videoPopup(const QPoint& pos) {
    const QModelIndex at = grids_[0]->indexAt(pos);
    if (!at.isValid()) return;
    const std::optional<RaceKey> race = tallyRowRace(view_, static_cast<std::size_t>(at.row()) + 1);
    if (!race) return;
    QMenu popup(this);
    QAction* play = popup.addAction(qs(raceVideoCaption(StorePaths(context_.storeRoot), *race)));
    play->setObjectName(QStringLiteral("pmnPlayVTR"));
    play->setEnabled(context_.raceVideo && raceVideoAvailable(context_, *race));
    if (popup.exec(grids_[0]->viewport()->mapToGlobal(pos)) != play) return;
    if (raceVideoAvailable(context_, *race))
        playRaceVideo(context_, *race);
    else
        showMessage(this, MessageKind::Error, sj("当該レースの映像はありません"));
}

}  // namespace tarvo
