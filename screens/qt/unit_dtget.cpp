#include "unit_dtget.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

#include "controls.h"
#include "dtget_view.h"
#include "fonts.h"
#include "grid.h"
#include "msgbox.h"
#include "qtext.h"

namespace tarvo {
namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 540;
constexpr int kMenuHeight = 22;

// The controls; places of the mode group's controls are inside the group.
constexpr struct {
    Control grpMode, rbtnUsual, rbtnSetup, lblStartDate, dtpStartDate;
    Control lblHeadSTS, lblHeadStart, lblHeadEnd, lblHeadCnt;
    Control lblDownload, prgDownload, lblRead, prgJVRead, stxtRead, stxtExec, lstmsg;
    Control btnDataAdd, btnCancel, btnClose;
} kControls{
    .grpMode = {"grpMode", "登録方法", "", {12, 30, 536, 52}},
    .rbtnUsual = {"rbtn_usual", "通常登録", "", {14, 22, 100, 20}},
    .rbtnSetup = {"rbtn_setup", "セットアップ", "", {124, 22, 110, 20}},
    .lblStartDate = {"lblStartDate", "開始日付", "", {262, 23, 60, 18}},
    .dtpStartDate = {"dtp_start_date", "", "", {326, 20, 120, 22}},
    .lblHeadSTS = {"lblHeadSTS", "状態", "", {150, 92, 60, 18}},
    .lblHeadStart = {"lblHeadStart", "開始", "", {214, 92, 130, 18}},
    .lblHeadEnd = {"lblHeadEnd", "終了", "", {348, 92, 130, 18}},
    .lblHeadCnt = {"lblHeadCnt", "件数", "", {482, 92, 60, 18}},
    .lblDownload = {"lblDownload", "ダウンロード： 0 / 0", "", {16, 246, 300, 18}},
    .prgDownload = {"prgDownload", "", "", {16, 264, 528, 16}},
    .lblRead = {"lblRead", "読み込み： 0 / 0", "", {16, 286, 300, 18}},
    .prgJVRead = {"prgJVRead", "", "", {16, 304, 528, 16}},
    .stxtRead = {"stxtRead", "", "", {16, 328, 528, 18}},
    .stxtExec = {"stxtExec", "", "", {16, 348, 528, 18}},
    .lstmsg = {"lstmsg", "", "", {16, 372, 528, 120}},
    .btnDataAdd = {"btnDataAdd", "登録開始", "", {224, 502, 100, 28}},
    .btnCancel = {"btnCancel", "中断", "", {334, 502, 100, 28}},
    .btnClose = {"btnClose", "閉じる", "", {444, 502, 100, 28}},
};

// The status table: one row per group below the headings, its labels under
// the title, status, start, end and count headings.
constexpr int kFirstGroupTop = 116;
constexpr int kGroupStep = 24;
constexpr QRect kGroupTitle{16, 0, 130, 18};

QLabel* statusLabel(QWidget* parent, const std::string& name, const char* title, int x, int width, int top) {
    return makeControl<QLabel>(parent, {name.c_str(), title, "", {x, top, width, 18}});
}

std::string yyyymmdd(const QDate& d) { return QString::asprintf("%04d%02d%02d", d.year(), d.month(), d.day()).toStdString(); }

}  // namespace

TfrmDataGet::TfrmDataGet(const std::string& settingsPath, const std::string& storeRoot,
                         JVDTLabLib_TLB::IJVLink& jvlink, QWidget* parent)
    : BusyDialog(parent) {
    setObjectName(QStringLiteral("TfrmDataGet"));
    setWindowTitle(QStringLiteral("JRA-VANデータ登録"));
    setFont(pGothic(12));
    setFixedSize(kWidth, kHeight);
    if (parent) {
        const QWidget* w = parent->window();
        move(w->x() + 100, w->y() + 80);
    }
    buildControls();
    run_ = std::make_unique<RegistrationRun>(jvlink, settingsPath, StorePaths(storeRoot),
                                             static_cast<RegistrationView&>(*this));

    btnCancel_->setEnabled(false);
    for (int g = 0; g <= kTrackDataGroup; ++g) showStatus(g, statusBeforeRun(), "");
    const RegistrationRun::ScreenMode mode = run_->openScreen(yyyymmdd(QDate::currentDate()));
    rbtnUsual_->setChecked(mode.usual);
    rbtnSetup_->setChecked(!mode.usual);
    rbtnSetup_->setEnabled(!mode.usual);
    rbtnUsual_->setEnabled(mode.usual);
    mnuLockOff_->setEnabled(mode.usual);
    const QDate start = QDate::fromString(QString::fromStdString(mode.startDate), QStringLiteral("yyyyMMdd"));
    dtpStartDate_->setDate(start.isValid() ? start : QDate::currentDate());
    dtpStartDate_->setEnabled(rbtnSetup_->isChecked());
}

TfrmDataGet::~TfrmDataGet() = default;

void TfrmDataGet::buildControls() {
    auto* bar = new QMenuBar(this);
    bar->setGeometry(0, 0, kWidth, kMenuHeight);
    QMenu* menu = bar->addMenu(QStringLiteral("設定(&S)"));
    menu->setObjectName(QStringLiteral("mnuSetting"));
    mnuLockOff_ = menu->addAction(QStringLiteral("再セットアップ－ロック解除"));
    mnuLockOff_->setObjectName(QStringLiteral("mnuLockOff"));
    mnuLockOff_->setCheckable(true);
    connect(mnuLockOff_, &QAction::toggled, this, &TfrmDataGet::toggleLockOff);

    const auto& c = kControls;
    auto* mode = makeControl<QGroupBox>(this, c.grpMode);
    rbtnUsual_ = makeControl<QRadioButton>(mode, c.rbtnUsual);
    rbtnSetup_ = makeControl<QRadioButton>(mode, c.rbtnSetup);
    makeControl<QLabel>(mode, c.lblStartDate);
    dtpStartDate_ = makeControl<QDateEdit>(mode, c.dtpStartDate);
    dtpStartDate_->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    dtpStartDate_->setCalendarPopup(true);
    connect(rbtnSetup_, &QRadioButton::toggled, dtpStartDate_, &QWidget::setEnabled);

    for (const Control* head : {&c.lblHeadSTS, &c.lblHeadStart, &c.lblHeadEnd, &c.lblHeadCnt})
        makeControl<QLabel>(this, *head);
    int top = kFirstGroupTop;
    for (std::size_t g = 0; g < groups_.size(); ++g, top += kGroupStep) {
        const StatusGroup& n = statusGroups()[g];
        statusLabel(this, n.titleLabel, n.title, kGroupTitle.x(), kGroupTitle.width(), top);
        const auto under = [&](const Control& head, const std::string& name) {
            return statusLabel(this, name, "", head.place.x(), head.place.width(), top);
        };
        groups_[g].sts = under(c.lblHeadSTS, n.sts);
        groups_[g].start = under(c.lblHeadStart, n.start);
        groups_[g].end = under(c.lblHeadEnd, n.end);
        if (!n.cnt.empty()) groups_[g].cnt = under(c.lblHeadCnt, n.cnt);
    }

    lblDownload_ = makeControl<QLabel>(this, c.lblDownload);
    prgDownload_ = makeControl<QProgressBar>(this, c.prgDownload);
    prgDownload_->setTextVisible(false);
    lblRead_ = makeControl<QLabel>(this, c.lblRead);
    prgJVRead_ = makeControl<QProgressBar>(this, c.prgJVRead);
    prgJVRead_->setTextVisible(false);
    stxtRead_ = makeControl<QLabel>(this, c.stxtRead);
    stxtExec_ = makeControl<QLabel>(this, c.stxtExec);
    lstmsg_ = makeControl<QListWidget>(this, c.lstmsg);

    btnDataAdd_ = makeControl<QPushButton>(this, c.btnDataAdd);
    btnCancel_ = makeControl<QPushButton>(this, c.btnCancel);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    connect(btnDataAdd_, &QPushButton::clicked, this, &TfrmDataGet::startRun);
    connect(btnCancel_, &QPushButton::clicked, this, [this] { run_->cancel(); });
    connect(btnClose_, &QPushButton::clicked, this, &TfrmDataGet::close);

    tmrDownload_ = new QTimer(this);
    tmrDownload_->setObjectName(QStringLiteral("tmrDownload"));
    tmrDownload_->setInterval(100);
    connect(tmrDownload_, &QTimer::timeout, this, [this] { run_->downloadTimerTick(); });
    tmrBBdt_ = new QTimer(this);
    tmrBBdt_->setObjectName(QStringLiteral("tmrBBdt"));
    tmrBBdt_->setInterval(1000);
    connect(tmrBBdt_, &QTimer::timeout, this, [this] { run_->trackTimerTick(); });
}

void TfrmDataGet::toggleLockOff(bool checked) {
    rbtnSetup_->setEnabled(checked);
    if (!checked) rbtnUsual_->setChecked(true);
}

void TfrmDataGet::startRun() {
    if (running()) return;
    setRunning(true);
    const bool setup = !rbtnUsual_->isChecked();
    btnCancel_->setEnabled(true);
    btnDataAdd_->setEnabled(false);
    btnClose_->setEnabled(false);
    mnuLockOff_->setEnabled(false);
    if (setup) {
        rbtnUsual_->setEnabled(false);
        rbtnSetup_->setEnabled(false);
        dtpStartDate_->setEnabled(false);
        tmrBBdt_->stop();
    }
    const RunResult result = run_->run(setup ? RunKind::Setup : RunKind::Usual, yyyymmdd(dtpStartDate_->date()));
    if (setup) {
        if (result == RunResult::Completed) {
            rbtnUsual_->setEnabled(true);
            rbtnUsual_->setChecked(true);
            rbtnSetup_->setEnabled(false);
            mnuLockOff_->setChecked(false);
        } else {
            dtpStartDate_->setEnabled(true);
            rbtnSetup_->setEnabled(true);
        }
    }
    tmrDownload_->stop();
    btnDataAdd_->setEnabled(true);
    btnClose_->setEnabled(true);
    mnuLockOff_->setEnabled(true);
    btnCancel_->setEnabled(false);
    setRunning(false);
}

void TfrmDataGet::status(int group, const std::string& text, StatusColour colour, const std::string& count) {
    showStatus(group, statusCell(text, colour), count);
}

void TfrmDataGet::showStatus(int group, const ViewCell& status, const std::string& count) {
    Group& g = groups_[static_cast<std::size_t>(group)];
    g.sts->setText(qs(status.text));
    QPalette p = g.sts->palette();
    p.setColor(QPalette::WindowText, inkColour(status.ink));
    g.sts->setPalette(p);
    if (g.cnt) g.cnt->setText(qs(count));
}

void TfrmDataGet::startTime(int group, const std::string& text) {
    groups_[static_cast<std::size_t>(group)].start->setText(qs(text));
}

void TfrmDataGet::endTime(int group, const std::string& text) {
    groups_[static_cast<std::size_t>(group)].end->setText(qs(text));
}

void TfrmDataGet::readText(const std::string& text) { stxtRead_->setText(qs(text)); }
void TfrmDataGet::execText(const std::string& text) { stxtExec_->setText(qs(text)); }

void TfrmDataGet::downloadBar(int position, int maximum) {
    prgDownload_->setRange(0, std::max(maximum, 1));
    prgDownload_->setValue(std::min(position, std::max(maximum, 1)));
}

void TfrmDataGet::readBar(int position, int maximum) {
    prgJVRead_->setRange(0, std::max(maximum, 1));
    prgJVRead_->setValue(std::min(position, std::max(maximum, 1)));
}

void TfrmDataGet::downloadLabel(const std::string& text) { lblDownload_->setText(qs(text)); }
void TfrmDataGet::readLabel(const std::string& text) { lblRead_->setText(qs(text)); }

void TfrmDataGet::clearMessageList() { lstmsg_->clear(); }

void TfrmDataGet::messageLine(const std::string& line) {
    lstmsg_->addItem(qs(line));
    lstmsg_->scrollToBottom();
}

void TfrmDataGet::message(MessageKind kind, const std::string& text) { showMessage(this, kind, text); }

void TfrmDataGet::downloadTimer(bool enabled) {
    if (enabled)
        tmrDownload_->start();
    else
        tmrDownload_->stop();
}

void TfrmDataGet::trackTimer(bool enabled) {
    if (enabled)
        tmrBBdt_->start();
    else
        tmrBBdt_->stop();
}

void TfrmDataGet::pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TfrmDataGet::idle() { QThread::msleep(10); }

}  // namespace tarvo
