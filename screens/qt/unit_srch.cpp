#include "unit_srch.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "code_tables.h"
#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "grid.h"
#include "inifile.h"
#include "lookups.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"
#include "textfn.h"
#include "unit_chjedt.h"
#include "unit_kishu.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr struct {
    Control lblHsName, edtHsName, lblAge, cboAge, btnSrch, lblList, lblNum, lblHead, lstSchResult, progress;
    Control btnAdd, btnRmv, lblDate, dtpRaceDate, lblTName, edtTName, lblDist, cboDist, lblRName, edtRName;
    Control lblNumChoice, cboNum, lblWgt, cboWgt, btnKsCh, btnUp, btnDown, btnJogai, btnTori, btnEntry, btnClose;
    QRect grid;
} kControls{
    .lblHsName = {"Label1", "馬名", "", {8, 9, 0, 0}},
    .edtHsName = {"edtHsName", "", "", {36, 6, 92, 21}},
    .lblAge = {"Label2", "馬齢", "", {132, 9, 0, 0}},
    .cboAge = {"cboAge", "", "", {160, 6, 44, 21}},
    .btnSrch = {"btnSrch", "検索", "", {208, 5, 50, 23}},
    .lblList = {"Label3", "一覧", "", {8, 36, 0, 0}},
    .lblNum = {"lblNum", "0", "", {40, 36, 30, 14}},
    .lblHead = {"Label4", "頭", "", {72, 36, 0, 0}},
    .lstSchResult = {"lstSchResult", "", "", {8, 52, 250, 330}},
    .progress = {"ProgressBar1", "", "", {8, 388, 250, 14}},
    .btnAdd = {"btnAdd", "->", "", {263, 150, 32, 25}},
    .btnRmv = {"btnRmv", "<-", "", {263, 182, 32, 25}},
    .lblDate = {"Label5", "日付", "", {300, 9, 0, 0}},
    .dtpRaceDate = {"dtpRaceDate", "", "", {328, 6, 100, 21}},
    .lblTName = {"Label6", "競馬場", "", {436, 9, 0, 0}},
    .edtTName = {"edtTName", "", "", {476, 6, 50, 21}},
    .lblDist = {"Label7", "距離", "", {300, 35, 0, 0}},
    .cboDist = {"cboDist", "", "", {328, 32, 74, 21}},
    .lblRName = {"Label8", "レース名", "", {410, 35, 0, 0}},
    .edtRName = {"edtRName", "", "", {460, 32, 176, 21}},
    .lblNumChoice = {"Label9", "馬番", "", {300, 61, 0, 0}},
    .cboNum = {"cboNum", "", "", {328, 58, 62, 21}},
    .lblWgt = {"Label10", "斤量", "", {400, 61, 0, 0}},
    .cboWgt = {"cboWgt", "", "", {428, 58, 62, 21}},
    .btnKsCh = {"btnKsCh", "出走馬編集", "指定馬の斤量・騎手・調教師を編集する画面を開きます", {300, 352, 80, 25}},
    .btnUp = {"btnUp", "↑", "上の馬と順序を入れ替えます", {386, 352, 28, 25}},
    .btnDown = {"btnDown", "↓", "下の馬と順序を入れ替えます", {416, 352, 28, 25}},
    .btnJogai = {"btnJogai", "除", "指定馬を除外に設定します（除外馬に再度設定で元に戻ります）", {452, 352, 28, 25}},
    .btnTori = {"btnTori", "消", "指定馬を取消に設定します（取消馬に再度設定で元に戻ります）", {482, 352, 28, 25}},
    .btnEntry = {"btnEntry", "出走表登録", "", {300, 384, 100, 28}},
    .btnClose = {"btnClose", "閉じる", "", {561, 384, 75, 28}},
    .grid = {300, 86, 336, 260},
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr GridColumn kEntryGridColumns[kEntryColumns] = {
    {"馬番", 30}, {"馬名", 125, kLeft}, {"性齢", 28}, {"斤量", 28}, {"", 0},
    {"騎手", 55, kLeft}, {"", 0}, {"調教師", 55, kLeft}, {"", 0},
};

constexpr const char* kFileFilter = "rflファイル（*.rfl） (*.rfl)";

QPointer<TfrmSrch>& openScreen() {
    static QPointer<TfrmSrch> screen;
    return screen;
}

}  // namespace

TfrmSrch::TfrmSrch(const ScreenContext& context, LocalCardRegister onRegister)
    : QMainWindow(context.parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                      Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      context_(context),
      register_(std::move(onRegister)) {
    context_.parent = this;
    setObjectName(u("frmSrch"));
    setWindowTitle(u("地方重賞予想"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(pGothic(12));

    QMenu* file = menuBar()->addMenu(u("ファイル（&F）"));
    QAction* open = file->addAction(u("出走ファイルを開く（&L）"));
    open->setObjectName(u("mnuOpen"));
    QAction* save = file->addAction(u("出走ファイルを保存（&S）"));
    save->setObjectName(u("mnuSave"));
    connect(open, &QAction::triggered, this, [this] { chooseOpenFile(); });
    connect(save, &QAction::triggered, this, [this] { chooseSaveFile(); });

    auto* client = new QWidget(this);
    setCentralWidget(client);
    const auto& k = kControls;
    for (const Control* c : {&k.lblHsName, &k.lblAge, &k.lblList, &k.lblHead, &k.lblDate, &k.lblTName, &k.lblDist,
                             &k.lblRName, &k.lblNumChoice, &k.lblWgt})
        makeControl<QLabel>(client, *c);
    lblNum_ = makeControl<QLabel>(client, k.lblNum);
    lblNum_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtHsName_ = makeControl<QLineEdit>(client, k.edtHsName);
    cboAge_ = makeControl<QComboBox>(client, k.cboAge);
    cboAge_->addItem(u("全"));
    for (int a = 2; a <= 15; ++a) cboAge_->addItem(QString::asprintf("%2d", a));
    btnSrch_ = makeControl<QPushButton>(client, k.btnSrch);
    lstSchResult_ = makeControl<QListWidget>(client, k.lstSchResult);
    lstSchResult_->setFont(gothic(10));
    progress_ = makeControl<QProgressBar>(client, k.progress);
    progress_->setTextVisible(false);
    progress_->setValue(0);
    auto* btnAdd = makeControl<QPushButton>(client, k.btnAdd);
    auto* btnRmv = makeControl<QPushButton>(client, k.btnRmv);
    dtpRaceDate_ = makeControl<QDateEdit>(client, k.dtpRaceDate);
    dtpRaceDate_->setDisplayFormat(u("yyyy/MM/dd"));
    dtpRaceDate_->setCalendarPopup(true);
    dtpRaceDate_->setDate(QDate::currentDate());
    edtTName_ = makeControl<QLineEdit>(client, k.edtTName);
    // At most four bytes: two full-width characters.
    connect(edtTName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (sjs(text).size() <= 4) return;
        QString cut = text;
        while (sjs(cut).size() > 4) cut.chop(1);
        edtTName_->setText(cut);
    });
    cboDist_ = makeControl<QComboBox>(client, k.cboDist);
    cboDist_->setEditable(true);
    for (const std::string& key : courseChoices()) cboDist_->addItem(qs(key));
    cboDist_->setCurrentIndex(-1);
    edtRName_ = makeControl<QLineEdit>(client, k.edtRName);
    cboNum_ = makeControl<QComboBox>(client, k.cboNum);
    cboWgt_ = makeControl<QComboBox>(client, k.cboWgt);
    cboWgt_->setEditable(true);
    for (const std::string& w : weightChoices()) cboWgt_->addItem(qs(w));
    cboWgt_->setCurrentIndex(-1);

    GridLook look;
    look.headerHeight = 14;
    stgUmaList_ = new Grid(client, "stgUmaList", kEntryGridColumns, k.grid, look);
    stgUmaList_->setFont(pGothic(12));
    auto* btnKsCh = makeControl<QPushButton>(client, k.btnKsCh);
    auto* btnUp = makeControl<QPushButton>(client, k.btnUp);
    auto* btnDown = makeControl<QPushButton>(client, k.btnDown);
    auto* btnJogai = makeControl<QPushButton>(client, k.btnJogai);
    auto* btnTori = makeControl<QPushButton>(client, k.btnTori);
    auto* btnEntry = makeControl<QPushButton>(client, k.btnEntry);
    auto* btnClose = makeControl<QPushButton>(client, k.btnClose);
    busyControls_ = {lstSchResult_, btnAdd, btnRmv, cboNum_, cboWgt_, cboAge_, btnKsCh,
                     btnUp,         btnDown, btnJogai, btnTori, btnEntry, btnSrch_};

    connect(btnSrch_, &QPushButton::clicked, this, [this] { search(); });
    connect(edtHsName_, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(btnAdd, &QPushButton::clicked, this, [this] { add(); });
    connect(btnRmv, &QPushButton::clicked, this, [this] { remove(); });
    connect(btnKsCh, &QPushButton::clicked, this, [this] { editRunner(); });
    const auto onSelected = [this](auto&& change) {
        return [this, change] {
            change(entry_);
            refresh();
        };
    };
    connect(btnUp, &QPushButton::clicked, this, onSelected([](LocalEntry& e) { moveRunner(e, -1); }));
    connect(btnDown, &QPushButton::clicked, this, onSelected([](LocalEntry& e) { moveRunner(e, +1); }));
    connect(btnJogai, &QPushButton::clicked, this, onSelected([](LocalEntry& e) { toggleStatus(e, sj("除")); }));
    connect(btnTori, &QPushButton::clicked, this, onSelected([](LocalEntry& e) { toggleStatus(e, sj("消")); }));
    connect(btnEntry, &QPushButton::clicked, this, [this] { registerCard(); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(stgUmaList_, &QTableView::clicked, this, [this](const QModelIndex& i) {
        entry_.selected = static_cast<std::size_t>(i.row()) + 1;
    });
    connect(stgUmaList_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { gridDoubleClick(i.row(), i.column()); });
    connect(lstSchResult_, &QListWidget::itemDoubleClicked, this, [this] { resultDoubleClick(); });

    const int menu = menuBar()->sizeHint().height();
    setFixedSize(642, 418 + menu);
    refresh();
}

LocalRaceHeader TfrmSrch::header() const {
    return {raceDate(), trimBoth(sjs(edtTName_->text())), trimBoth(sjs(cboDist_->currentText())),
            trimBoth(sjs(edtRName_->text()))};
}

std::string TfrmSrch::raceDate() const { return sjs(dtpRaceDate_->date().toString(u("yyyyMMdd"))); }

void TfrmSrch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TfrmSrch::refresh() {
    std::vector<ViewRow> rows;
    for (const EntryRow& r : entry_.rows) {
        ViewRow row;
        for (const std::string& cell : r) row.push_back({cell});
        rows.push_back(std::move(row));
    }
    stgUmaList_->setRows(std::move(rows));
    if (entry_.selected > 0)
        stgUmaList_->selectRow(static_cast<int>(entry_.selected) - 1);
    else
        stgUmaList_->clearSelection();

    const QString chosen = cboNum_->currentText();
    cboNum_->clear();
    for (const std::string& n : entry_.numbers) cboNum_->addItem(qs(n));
    const int keep = cboNum_->findText(chosen);
    cboNum_->setCurrentIndex(keep >= 0 ? keep : 0);

    const QString result = lstSchResult_->currentItem() ? lstSchResult_->currentItem()->text() : QString();
    lstSchResult_->clear();
    for (const std::string& line : entry_.results) lstSchResult_->addItem(qs(line));
    const auto found = lstSchResult_->findItems(result, Qt::MatchExactly);
    if (!found.isEmpty()) lstSchResult_->setCurrentItem(found.front());
    lblNum_->setText(QString::number(lstSchResult_->count()));
}

void TfrmSrch::setBusy(bool busy) {
    for (QWidget* w : busyControls_) w->setEnabled(!busy);
}

void TfrmSrch::search() {
    const std::string text = trimBoth(sjs(edtHsName_->text()));
    if (text.empty()) return;
    setBusy(true);
    entry_.results.clear();
    refresh();
    const StorePaths paths(context_.storeRoot);
    const int age = cboAge_->currentIndex() <= 0 ? 0 : cboAge_->currentIndex() + 1;
    const std::vector<std::string> files = searchFiles(paths, age, QDate::currentDate().year());
    progress_->setMaximum(std::max<int>(1, static_cast<int>(files.size())));
    progress_->setValue(0);
    const int raceYear = dtpRaceDate_->date().year();
    try {
        for (std::size_t i = 0; i < files.size(); ++i) {
            searchFile(files[i], text, raceYear, entry_.results);
            progress_->setValue(static_cast<int>(i + 1));
            lblNum_->setText(QString::number(entry_.results.size()));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    progress_->setValue(progress_->maximum());
    refresh();
    setBusy(false);
}

void TfrmSrch::add() {
    const QListWidgetItem* item = lstSchResult_->currentItem();
    if (!item || cboNum_->count() == 0) return;
    const std::string message = addRunner(entry_, StorePaths(context_.storeRoot), sjs(item->text()),
                                          sjs(cboNum_->currentText()), sjs(cboWgt_->currentText()), raceDate());
    if (!message.empty()) {
        showMessage(this, MessageKind::Information, message);
        return;
    }
    // The first number left is chosen next.
    refresh();
    cboNum_->setCurrentIndex(entry_.numbers.empty() ? -1 : 0);
}

void TfrmSrch::remove() {
    if (entry_.selected == 0) return;
    const EntryRow row = entry_.rows[entry_.selected - 1];
    removeRunner(entry_);
    refresh();
    const QString line = qs(searchResultLine(row[1], part(row[2], 0, 2), part(row[2], 2, 2), row[4]));
    const auto found = lstSchResult_->findItems(line, Qt::MatchExactly);
    if (!found.isEmpty()) lstSchResult_->setCurrentItem(found.front());
}

void TfrmSrch::editRunner() {
    if (isEmptyEntry(entry_.rows.front())) return;
    if (entry_.selected == 0) entry_.selected = 1;
    TfrmChjEdt editor(StorePaths(context_.storeRoot), entry_, [this] { refresh(); }, this);
    editor.exec();
    refresh();
}

void TfrmSrch::registerCard() {
    const LocalRaceHeader h = header();
    if (isEmptyEntry(entry_.rows.front()) || h.courseKey.empty() || !register_) return;
    register_(h, entry_.rows);
}

void TfrmSrch::gridDoubleClick(int row, int column) {
    if (isEmptyEntry(entry_.rows.front()) || row < 0 || static_cast<std::size_t>(row) >= entry_.rows.size()) return;
    entry_.selected = static_cast<std::size_t>(row) + 1;
    const EntryRow& r = entry_.rows[static_cast<std::size_t>(row)];
    const StorePaths paths(context_.storeRoot);
    if (column == 1) {
        const LocalRaceHeader h = header();
        openHorseData(context_, {r[4], sj("地方２"), std::nullopt, trackCode(h.trackName), h.courseKey});
        return;
    }
    if (column != 5 && column != 7) return;
    const PersonKind& kind = column == 5 ? kJockeys : kTrainers;
    const std::string& code = r[static_cast<std::size_t>(column) + 1];
    const std::string& name = r[static_cast<std::size_t>(column)];
    const std::string line = toIntDef(code, 0) > 0 ? (column == 5 ? findJockey(paths, code) : findTrainer(paths, code))
                                                   : (column == 5 ? findJockeyByShortName(paths, name)
                                                                  : findTrainerByShortName(paths, name));
    if (line.empty()) return;
    const std::string found(getField(kind.family, line, kind.codeField));
    openPersonData(kind, context_.storeRoot, found, trimBoth(name), sj("地方"), this);
}

void TfrmSrch::resultDoubleClick() {
    const QListWidgetItem* item = lstSchResult_->currentItem();
    if (!item) return;
    const std::string line = sjs(item->text());
    const LocalRaceHeader h = header();
    openHorseData(context_, {trimBoth(part(line, 35, 10)), sj("地方"), std::nullopt, trackCode(h.trackName), h.courseKey});
}

std::string TfrmSrch::startFolder(bool forOpen) const {
    const IniFile ini(context_.settingsPath);
    const std::string dir = ini.read("RACE_FILE", "dir");
    if (!dir.empty() && dirExists(dir)) return ini.read("RACE_FILE", forOpen ? "file" : "sfile");
    return dirName(context_.settingsPath);
}

void TfrmSrch::storeFileKeys(const std::string& path) {
    const IniFile ini(context_.settingsPath);
    ini.write("RACE_FILE", "dir", dirName(path));
    ini.write("RACE_FILE", "file", path);
    ini.write("RACE_FILE", "sfile", path);
}

void TfrmSrch::chooseOpenFile() {
    const QString start = QString::fromStdString(startFolder(true));
    const QString file = QFileDialog::getOpenFileName(this, QString(), start, u(kFileFilter));
    if (!file.isEmpty()) openFile(file.toStdString());
}

void TfrmSrch::chooseSaveFile() {
    QFileDialog dialog(this, QString(), QString::fromStdString(startFolder(false)), u(kFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(u("rfl"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    saveFile(dialog.selectedFiles().front().toStdString());
}

void TfrmSrch::openFile(const std::string& path) {
    edtTName_->clear();
    cboDist_->setCurrentIndex(-1);
    cboDist_->setEditText(QString());
    edtRName_->clear();
    std::string bytes;
    try {
        if (!readFile(path, bytes)) throw IoError(path + ": " + systemErrorText(2));
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
        return;
    }
    const RflContent content = readRfl(StorePaths(context_.storeRoot), bytes, raceDate());
    if (!content.header.date.empty())
        dtpRaceDate_->setDate(QDate::fromString(QString::fromStdString(content.header.date), u("yyyyMMdd")));
    edtTName_->setText(qs(content.header.trackName));
    cboDist_->setEditText(qs(content.header.courseKey));
    edtRName_->setText(qs(content.header.raceName));
    loadEntry(entry_, content);
    refresh();
    storeFileKeys(path);
    if (!content.problems.empty()) showMessage(this, MessageKind::Warning, sj("出走ファイルの内容が不正です"));
}

void TfrmSrch::saveFile(const std::string& path) {
    try {
        writeFileAtomic(path, rflText(header(), entry_.rows));
        storeFileKeys(path);
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
}

TfrmSrch* openLocalPrediction(const ScreenContext& context, LocalCardRegister registerCard) {
    QPointer<TfrmSrch>& screen = openScreen();
    if (!screen) {
        screen = new TfrmSrch(context, std::move(registerCard));
        if (context.parent) screen->move(context.parent->x() + 40, context.parent->y() + 50);
    }
    screen->show();
    screen->raise();
    screen->activateWindow();
    return screen;
}

}  // namespace tarvo
