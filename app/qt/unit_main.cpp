#include "unit_main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "msgbox.h"
#include "qtext.h"
#include "side_tabs.h"
#include "std_tables.h"
#include "textfn.h"
#include "unit_dtconv.h"
#include "unit_dtlist.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The menu bar in menu order: a row with a menu title starts that menu; a row
// without a name is a separator.
struct MenuRow {
    const char* menuTitle;
    const char* name;
    const char* caption;
    const char* hint;
};
constexpr MenuRow kMenuItems[] = {
    {"ファイル(&F)", "mnuSetUp", "JRA-VANからデータ追加(&J)", "データ登録画面を開きます"},
    {nullptr, "mnuDwBaba", "地方馬場データをダウンロード(&B)", "サポートサイトから地方馬場データをダウンロードします"},
    {nullptr, "mnuFileOut", "出馬表をcsv出力(&F)", "出馬表をCSV形式でファイル出力します"},
    {nullptr, "mnuPdfOut", "出馬表をPDF出力(&P)", "出馬表をPDFファイルに出力します"},
    {nullptr, "mnuLocalYoso", "地方重賞予想(&T)", "地方重賞予想の画面を開きます"},
    {nullptr, "mnuYosoSyukei", "予想結果の集計(&S)", "予想結果の集計を行います"},
    {nullptr, "mnuBabaRemake", "馬場データの再作成(&U)", "馬場データを作り直します"},
    {nullptr, "mnuBabaUpd", "期間内の馬場データ更新(&K)", ""},
    {nullptr, "mnuSmbDtMk", "新馬予想用補助データの作成(&M)", ""},
    {nullptr, nullptr, nullptr, nullptr},
    {nullptr, "mnuExit", "終了(&X)", ""},
    {"検索(&D)", "mnuUmaSrch", "競争馬の検索(&H)", ""},
    {nullptr, "mnuRaceSrch", "レースの検索(&R)", ""},
    {nullptr, "mnuKishuList", "騎手一覧を開く(&J)", ""},
    {nullptr, "mnuChokyoList", "調教師一覧を開く(&T)", ""},
    {nullptr, "mnuTrainVideo", "調教映像一覧を開く(&M)", ""},
    {nullptr, "mnuOddsList", "オッズ一覧を開く(&O)", ""},
    {"設定(&S)", "mnu_setJVL", "JV-Linkの設定(&J)", "JV-Linkの設定画面を開きます"},
    {nullptr, "mnuOptRViewer", "JRAレーシングビュアーを利用する(&V)",
     "チェックを付けるとレース動画の再生を行えるようになります"},
    {nullptr, "mnuOptCha", "過去走で入着のレースを色分け(&K)",
     "チェックを付けると、当該レースと同じ馬場で入着したレースの過去走背景が色分けされます"},
    {nullptr, "mnuOptOdds", "オッズを予想の条件に組み込む(&O)",
     "チェックを付けると当日のオッズが予想条件に組み込まれます（中央レースのみ）"},
    {nullptr, "mnuOptWgt", "馬体重を予想の条件に組み込む(&T)",
     "チェックを付けると当日の馬体重が予想条件に組み込まれます（中央レースのみ）"},
    {nullptr, "mnuOptCon", "ダート道悪補正を適用する(&C)",
     "チェックを付けるとダートが重・不良の場合に馬場状態を考慮した予想を行います（中央レースのみ）"},
    {"ヘルプ(&H)", "mnuHelp", "TARVOヘルプ(&H)", ""},
    {nullptr, "mnuOpenSite", "サポートサイトを開く(&S)", ""},
    {nullptr, "mnuVersion", "バージョン情報(&V)", ""},
};

// The buttons of the client area.
constexpr struct {
    Control btnDataGet, btnOddsBch, btnRstBch, btnCancel, btnDList, btnVtr, btnOddsGet, btnResult;
} kButtons{
    .btnDataGet = {"btnDataGet", "開催情報", "開催情報を取り込みます", {6, 4, 75, 25}},
    .btnOddsBch = {"btnOddsBch", "オ", "オッズ情報を取り込みます", {80, 4, 25, 25}},
    .btnRstBch = {"btnRstBch", "結", "レース結果を取り込みます", {104, 4, 25, 25}},
    .btnCancel = {"btnCancel", "取得中止", "", {6, 4, 123, 25}},
    .btnDList = {"btnDList", "ﾘｽﾄ", "開催日付の画面を開きます（開催日付の画面からも開催日選択ができます）",
                 {113, 56, 33, 20}},
    .btnVtr = {"btnVtr", "VTR", "レース動画を再生します", {680, 4, 75, 22}},
    .btnOddsGet = {"btnOddsGet", "オッズ更新", "表示レースのオッズを更新します", {760, 4, 113, 22}},
    .btnResult = {"btnResult", "レース結果", "レース結果を表示します（オッズ更新も行います）", {880, 4, 97, 22}},
};

// Items that act at once, without a screen of their own.
constexpr const char* kDirectItems[] = {"mnuExit", "mnu_setJVL"};

// The race header labels: name, place, width and font size in pixels.
struct HeaderLabel {
    const char* name;
    int left, top, width, pixels;
};
constexpr HeaderLabel kHeaderLabels[] = {
    {"lbl_Date", 152, 6, 65, 16},     {"lbl_RaceNum", 224, 6, 57, 16}, {"lbl_h_time", 288, 6, 57, 16},
    {"lbl_Crs", 346, 6, 97, 16},      {"lbl_WeBa", 450, 7, 135, 13},   {"lbl_RaceName", 152, 27, 441, 16},
    {"lbl_biko", 736, 30, 241, 12},
};
constexpr const char* kFigureLabels[] = {"lbl_ave3f", "lbl_cls3f", "lbl_pos", "lbl_pace"};

// The bet area of the tab "買目": its grids, labels, radio buttons and group box.
constexpr const char* kBetArea[] = {"Label3", "Label4",  "Label5",  "Label6",   "stgUmaren",
                                    "stgUmatan1", "stgUmatan2", "rbtnPC", "rbtnUS", "GroupBox1"};

// The items that follow the shown race.
constexpr const char* kRaceItems[] = {"mnuOddsList", "mnuFileOut", "mnuPdfOut"};

// The picker's date as YYYY and MMDD.
std::pair<std::string, std::string> dateParts(const QDate& d) {
    return {QString::asprintf("%04d", d.year()).toStdString(),
            QString::asprintf("%02d%02d", d.month(), d.day()).toStdString()};
}

}  // namespace

TfrmMain::TfrmMain(const std::string& programFolder, QWidget* parent) : QMainWindow(parent) {
    installFontSubstitutions();
    setFont(pGothic(12));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildMenus();
    buildControls();
    state_.programFolder = programFolder;
    // Hints of the other screens' controls show in this window's status bar too.
    qApp->installEventFilter(this);
    runStartup();
}

TfrmMain::~TfrmMain() = default;

QAction* TfrmMain::action(const QString& objectName) const { return findChild<QAction*>(objectName); }

QLabel* TfrmMain::addLabel(const char* name, const char* caption, int left, int top, QWidget* parent) {
    auto* l = new QLabel(u(caption), parent ? parent : client_);
    l->setObjectName(u(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

void TfrmMain::buildMenus() {
    QMenu* menu = nullptr;
    for (const MenuRow& row : kMenuItems) {
        if (row.menuTitle) menu = menuBar()->addMenu(u(row.menuTitle));
        if (!row.name) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(u(row.caption));
        a->setObjectName(u(row.name));
        a->setStatusTip(u(row.hint));
        a->setEnabled(false);
    }
    connect(action(u("mnuExit")), &QAction::triggered, this, &QWidget::close);
    connect(action(u("mnu_setJVL")), &QAction::triggered, this, &TfrmMain::showSettingsDialog);
    for (const char* name : {"mnuOptRViewer", "mnuOptCha", "mnuOptOdds", "mnuOptWgt", "mnuOptCon"})
        action(u(name))->setCheckable(true);
}

void TfrmMain::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(u("client"));
    setCentralWidget(client_);
    auto* bar = new QStatusBar(this);
    bar->setObjectName(u("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(17);
    setStatusBar(bar);
    client_->setFixedSize(kClientWidth, kClientHeight - 17);

    for (const Control* b : {&kButtons.btnDataGet, &kButtons.btnOddsBch, &kButtons.btnRstBch})
        makeControl<QPushButton>(client_, *b);
    btnCancel_ = makeControl<QPushButton>(client_, kButtons.btnCancel);
    btnCancel_->hide();

    addLabel("Label1", "開催日選択", 8, 40);
    dtpRcDate_ = new QDateEdit(client_);
    dtpRcDate_->setObjectName(u("dtpRcDate"));
    dtpRcDate_->setGeometry(8, 56, 105, 21);
    dtpRcDate_->setFont(gothic(13, true));
    dtpRcDate_->setCalendarPopup(true);
    dtpRcDate_->setDisplayFormat(u("yyyy/MM/dd"));
    makeControl<QPushButton>(client_, kButtons.btnDList);
    addLabel("Label2", "レース一覧", 8, 86);
    lstRace_ = new QListWidget(client_);
    lstRace_->setObjectName(u("lstRace"));
    lstRace_->setGeometry(8, 101, 137, 510);
    lstRace_->setUniformItemSizes(true);
    lstRace_->setTextElideMode(Qt::ElideNone);  // long titles are cut at the edge

    connect(dtpRcDate_, &QDateEdit::dateChanged, this, [this] { dtpRcDateChange(); });
    connect(button("btnDList"), &QPushButton::clicked, this, &TfrmMain::openDateList);
    connect(lstRace_, &QListWidget::itemClicked, this, [this] { lstRaceClick(); });
    connect(lstRace_, &QListWidget::itemActivated, this, [this] { lstRaceClick(); });
    // Moving through the list with the keyboard selects the race under the cursor, as a click does.
    lstRace_->installEventFilter(this);
    connect(lstRace_, &QListWidget::currentRowChanged, this, [this] {
        if (keyboardMove_) lstRaceClick();
    });

    for (const HeaderLabel& h : kHeaderLabels) {
        QLabel* l = addLabel(h.name, "", h.left, h.top);
        l->setGeometry(h.left, h.top, h.width, h.pixels + 3);
        l->setFont(pGothic(h.pixels));
    }
    findChild<QLabel*>(u("lbl_biko"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* cancelLabel = addLabel("lbl_Cancel", "", 600, 8);
    cancelLabel->setGeometry(600, 8, 57, 15);
    cancelLabel->setFont(pGothic(15, true));
    cancelLabel->setStyleSheet(u("color: red;"));
    cancelLabel->hide();

    makeControl<QPushButton>(client_, kButtons.btnVtr)->setEnabled(false);
    makeControl<QPushButton>(client_, kButtons.btnOddsGet);
    makeControl<QPushButton>(client_, kButtons.btnResult);

    auto* card = new QTableWidget(client_);
    card->setObjectName(u("stgUmaList"));
    card->setGeometry(148, 46, 837, 491);
    card->hide();
    card->setEnabled(false);

    const int figureLefts[] = {152, 208, 264, 320};
    for (int i = 0; i < 4; ++i) addLabel(kFigureLabels[i], "", figureLefts[i], 546)->setFont(gothic(12));

    pgcMain_ = new SideTabWidget(client_);
    pgcMain_->setObjectName(u("pgcMain"));
    pgcMain_->setGeometry(384, 540, 601, 100);

    // Tab "買目": the bet area.
    auto* bets = new QWidget;
    bets->setObjectName(u("tabBets"));
    auto* title = addLabel("Label3", "買い目", 20, 4, bets);
    title->setFont(pGothic(13, true));
    title->adjustSize();
    auto* group = new QGroupBox(u("予想"), bets);
    group->setObjectName(u("GroupBox1"));
    group->setGeometry(18, 24, 49, 57);
    auto* pc = new QRadioButton(u("PC"), group);
    pc->setObjectName(u("rbtnPC"));
    pc->setStatusTip(u("TARVO予想の買い目とオッズを表示します"));
    pc->setGeometry(6, 14, 40, 18);
    auto* us = new QRadioButton(u("US"), group);
    us->setObjectName(u("rbtnUS"));
    us->setStatusTip(u("ユーザー予想の買い目とオッズを表示します"));
    us->setGeometry(6, 34, 40, 18);
    addLabel("Label4", "馬連", 95, 3, bets);
    addLabel("Label5", "馬単１着付け", 276, 3, bets);
    addLabel("Label6", "馬単２着付け", 420, 3, bets);
    const std::pair<const char*, int> grids[] = {{"stgUmaren", 92}, {"stgUmatan1", 276}, {"stgUmatan2", 420}};
    for (const auto& [name, left] : grids) {
        auto* g = new QTableWidget(bets);
        g->setObjectName(u(name));
        g->setGeometry(left, 16, 123, 73);
    }
    pgcMain_->addTab(bets, u("買目"));

    // Tab "服色": the silks strip.
    auto* silks = new QWidget;
    silks->setObjectName(u("tabSilks"));
    auto* fuku = new QTableWidget(silks);
    fuku->setObjectName(u("dgrFuku"));
    fuku->setGeometry(5, 8, 568, 65);
    fuku->setStatusTip(u("勝負服をダブルクリックすると、該当馬の競争馬データ画面が開きます"));
    auto* allUpd = new QPushButton(u("一括取得"), silks);
    allUpd->setObjectName(u("btnAllUpd"));
    allUpd->setStatusTip(u("出走馬の勝負服画像を一括取得します"));
    allUpd->setGeometry(512, 74, 57, 17);
    pgcMain_->addTab(silks, u("服色"));

    auto* progress = new QProgressBar(client_);
    progress->setObjectName(u("prgExec"));
    progress->setGeometry(2, 632, 383, 9);
    progress->setTextVisible(false);
    progress->setValue(0);
}

ScreenContext TfrmMain::screenContext() {
    const QAction* video = action(QStringLiteral("mnuOptRViewer"));
    return {state_.settingsPath(), state_.storeRoot, *jvlink_, this, state_.readOnly,
            video ? video->isChecked() : state_.raceViewer};
}

void TfrmMain::runStartup() {
    // Caption, fetch-cancel flag, first page, local graded screen closed, cancel hidden.
    setWindowTitle(QString::fromUtf8(kAppCaption));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    fetchCancel_ = false;
    pgcMain_->setCurrentIndex(0);
    localGradedOpen_ = false;
    btnCancel_->hide();

    ScreenGeometry geometry;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        geometry.screenWidth = screen->geometry().width();
        geometry.screenHeight = screen->geometry().height();
    }
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height())));
    geometry.windowWidth = width();
    geometry.windowHeight = height();

    const StartupSeams seams{[](AppState&) { buildStandardTimeTables(); },
                             [this](AppState& state) {
                                 state.conversionCompleted =
                                     checkConversion(state.settingsPath(), state.storeRoot, *jvlink_, this);
                                 return state.conversionCompleted;
                             }};
    outcome_ = Startup(state_, jvlink_).run(state_.programFolder, geometry, seams);
    move(outcome_.placement.left, outcome_.placement.top);
    if (!outcome_.errorMessage.empty()) showMessage(this, MessageKind::Error, outcome_.errorMessage);
    if (!outcome_.complete) return;
    applyStartupStates();
}

void TfrmMain::applyStartupStates() {
    // Race viewer option and the option menu's check marks.
    action(u("mnuOptRViewer"))->setChecked(state_.raceViewer);
    action(u("mnuOptOdds"))->setChecked(state_.optOdds);
    action(u("mnuOptWgt"))->setChecked(state_.optWeight);
    action(u("mnuOptCon"))->setChecked(state_.optCondition);
    action(u("mnuOptCha"))->setChecked(state_.kakoClr == "1");

    // Access mode.
    for (const char* name : {"btnDataGet", "btnOddsGet", "btnOddsBch", "btnRstBch"})
        findChild<QPushButton*>(u(name))->setEnabled(!state_.readOnly);
    findChild<QPushButton*>(u("btnOddsGet"))->setEnabled(false);
    findChild<QPushButton*>(u("btnResult"))->setEnabled(false);

    // The PC prediction is selected without running its click behaviour.
    auto* pc = findChild<QRadioButton*>(u("rbtnPC"));
    {
        const QSignalBlocker block(pc);
        pc->setChecked(true);
    }

    // Today's races, an empty header, and the fetch buttons as the listing allows.
    {
        const QSignalBlocker block(dtpRcDate_);
        dtpRcDate_->setDate(QDate::currentDate());
    }
    listRaces();
    clearHeader();
    setFetchButtons(fetchButtonsAfterListing(state_.readOnly, lstRace_->count() == 0, sameDay_));

    // Hidden until a race is shown.
    for (const char* name : {"Label3", "Label4", "Label5", "Label6", "stgUmaren", "stgUmatan1", "stgUmatan2",
                             "rbtnPC", "rbtnUS", "GroupBox1", "pgcMain", "dgrFuku", "btnAllUpd"})
        if (auto* w = findChild<QWidget*>(u(name))) w->hide();
    updateMenuStates();
}

void TfrmMain::setScreenOpener(const QString& actionName, std::function<void()> opener) {
    QAction* a = action(actionName);
    if (!a) return;
    openers_[actionName] = std::move(opener);
    disconnect(a, &QAction::triggered, this, nullptr);
    connect(a, &QAction::triggered, this, [this, actionName] { openers_[actionName](); });
    updateMenuStates();
}

void TfrmMain::setRaceItemEnabled(const QString& actionName, bool enabled) {
    raceItems_[actionName] = enabled;
    updateMenuStates();
}

void TfrmMain::updateMenuStates() {
    for (QAction* a : findChildren<QAction*>()) {
        const QString name = a->objectName();
        if (name.isEmpty() || a->isSeparator()) continue;
        bool enabled = openers_.count(name) != 0;
        for (const char* direct : kDirectItems) enabled = enabled || name == u(direct);
        for (const char* item : kRaceItems)
            if (name == u(item)) enabled = enabled && raceItems_[name];
        if (name == u("mnuSetUp")) enabled = enabled && !state_.readOnly;
        if (name == u("mnuOptRViewer")) enabled = enabled && state_.raceViewerMenuEnabled;
        a->setEnabled(enabled);
    }
}

void TfrmMain::showSettingsDialog() { jvlink_->JVSetUIProperties(); }

QPushButton* TfrmMain::button(const char* name) const { return findChild<QPushButton*>(u(name)); }

void TfrmMain::setRaceShower(std::function<void(const std::string&)> shower) { showRace_ = std::move(shower); }

bool TfrmMain::listRaces() {
    lstRace_->clear();
    sameDay_ = false;
    const auto [year, monthDay] = dateParts(dtpRcDate_->date());
    try {
        const RaceList list = tarvo::listRaces(StorePaths(state_.storeRoot), year, monthDay);
        for (const std::string& line : list.lines) {
            auto* item = new QListWidgetItem(qs(line), lstRace_);
            item->setSizeHint(QSize(lstRace_->width() - 4, 12));
        }
        sameDay_ = list.sameDay;
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    return sameDay_;
}

void TfrmMain::setFetchButtons(Gate gate) {
    if (gate == Gate::Keep) return;
    for (const char* name : {"btnDataGet", "btnOddsBch", "btnRstBch"}) button(name)->setEnabled(gate == Gate::Enable);
}

void TfrmMain::clearHeader() {
    for (const HeaderLabel& h : kHeaderLabels) findChild<QLabel*>(u(h.name))->clear();
    for (const char* name : kFigureLabels) findChild<QLabel*>(u(name))->clear();
    auto* cancel = findChild<QLabel*>(u("lbl_Cancel"));
    cancel->hide();
    findChild<QProgressBar*>(u("prgExec"))->setValue(0);
    setRaceItemEnabled(u("mnuOddsList"), false);
}

void TfrmMain::hideRaceArea() {
    auto* card = findChild<QWidget*>(u("stgUmaList"));
    card->hide();
    card->setEnabled(false);
    for (const char* name : kBetArea) findChild<QWidget*>(u(name))->hide();
    for (const char* name : {"pgcMain", "dgrFuku", "btnAllUpd"}) findChild<QWidget*>(u(name))->hide();
}

void TfrmMain::showRaceArea(bool withBets) {
    auto* card = findChild<QWidget*>(u("stgUmaList"));
    card->show();
    card->setEnabled(true);
    for (const char* name : {"pgcMain", "dgrFuku", "btnAllUpd"}) findChild<QWidget*>(u(name))->show();
    if (withBets)
        for (const char* name : kBetArea) findChild<QWidget*>(u(name))->show();
}

void TfrmMain::dtpRcDateChange() {
    if (selecting_) return;
    clearHeader();
    hideRaceArea();
    setRaceItemEnabled(u("mnuFileOut"), false);
    setRaceItemEnabled(u("mnuPdfOut"), false);
    listRaces();
    for (const char* name : {"btnResult", "btnOddsGet", "btnVtr"}) button(name)->setEnabled(false);
    setFetchButtons(fetchButtonsAfterListing(state_.readOnly, lstRace_->count() == 0, sameDay_));
}

void TfrmMain::lstRaceClick() {
    if (selecting_ || lstRace_->count() == 0) return;
    const QListWidgetItem* item = lstRace_->currentItem();
    if (!item) return;
    selectRace(sjs(item->text()));
}

void TfrmMain::selectRace(const std::string& line) {
    selecting_ = true;
    lstRace_->setEnabled(false);
    dtpRcDate_->setEnabled(false);
    hideRaceArea();
    QCoreApplication::processEvents();
    for (const char* name : {"btnDataGet", "btnOddsGet", "btnOddsBch", "btnRstBch", "btnResult", "btnVtr", "btnDList"})
        button(name)->setEnabled(false);

    try {
        if (showRace_) showRace_(line);

        lstRace_->setEnabled(true);
        dtpRcDate_->setEnabled(true);
        showRaceArea(!findChild<QLabel*>(u("lbl_h_time"))->text().startsWith(u("--")));
        button("btnResult")->setEnabled(true);

        const RaceLineParts race = readRaceListLine(line);
        const auto [year, monthDay] = dateParts(dtpRcDate_->date());
        const StorePaths paths(state_.storeRoot);
        const std::string kubun =
            trimBoth(getField(Family::RA, findRace(paths, {year, monthDay, race.jyoCD, race.raceNum}), "DataKubun"));
        const SelectionButtons gates = selectionButtons(
            state_.readOnly, race.jyoCD, kubun, isOddsFinal(paths, year, monthDay, race.jyoCD, race.raceNum));
        const std::pair<const char*, Gate> buttons[] = {{"btnDataGet", gates.dataGet}, {"btnOddsGet", gates.oddsGet},
                                                        {"btnOddsBch", gates.oddsBch}, {"btnRstBch", gates.rstBch},
                                                        {"btnResult", gates.result}};
        for (const auto& [name, gate] : buttons)
            if (gate != Gate::Keep) button(name)->setEnabled(gate == Gate::Enable);
        if (gates.oddsList != Gate::Keep) setRaceItemEnabled(u("mnuOddsList"), gates.oddsList == Gate::Enable);

        auto* cancel = findChild<QLabel*>(u("lbl_Cancel"));
        if (kubun == "9") {
            cancel->setText(u("<中止>"));
            cancel->show();
        } else {
            cancel->hide();
            cancel->clear();
        }
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    // Whatever happened, the left column is usable again.
    lstRace_->setEnabled(true);
    dtpRcDate_->setEnabled(true);
    button("btnDList")->setEnabled(true);
    lstRace_->setFocus();
    selecting_ = false;
}

void TfrmMain::openDateList() {
    TfrmDtList list(state_.storeRoot, dtpRcDate_, [this] { dtpRcDateChange(); }, this);
    list.move(x() + 200, y() + 100);
    list.exec();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // A screen's own window ends the hint's way up; this window's own
        // controls reach the status bar without help.
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() != this) statusBar()->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return false;
    }
    if (watched == lstRace_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease))
        keyboardMove_ = event->type() == QEvent::KeyPress;
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::setLocalGradedScreen(QWidget* screen) {
    localGraded_ = screen;
    localGradedOpen_ = screen != nullptr;
    if (screen) connect(screen, &QObject::destroyed, this, [this] { localGradedOpen_ = false; });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (localGradedOpen_ && localGraded_) localGraded_->close();
    if (outcome_.complete) {
        try {
            saveWindowPosition(state_, y(), x());
        } catch (const IoError& e) {
            showMessage(this, MessageKind::Error, e.what());
        }
    }
    event->accept();
}

}  // namespace tarvo
