#include "unit_dtget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
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

#include "fonts.h"
#include "msgbox.h"
#include "qtext.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int kWidth = 560;
constexpr int kHeight = 540;
constexpr int kMenuHeight = 22;

// The status label groups in run order: the four data specs and the track data.
struct GroupNames {
    const char* title;  // UTF-8
    const char* sts;
    const char* start;
    const char* end;
    const char* cnt;  // nullptr: no count label
};
constexpr GroupNames kGroups[] = {
    {"競争情報の登録", "lbl_RaceSTS", "lbl_RaceStart", "lbl_RaceEnd", "lbl_RaceCnt"},
    {"蓄積情報の登録", "lbl_DiffSTS", "lbl_DiffStart", "lbl_DiffEnd", "lbl_DiffCnt"},
    {"着数情報の登録", "lbl_SnapSTS", "lbl_SnapStart", "lbl_SnapEnd", "lbl_SnapCnt"},
    {"繁殖情報の登録", "lbl_BlodSTS", "lbl_BlodStart", "lbl_BlodEnd", "lbl_BlodCnt"},
    {"馬場情報の登録", "lbl_BBdtSTS", "lbl_BBdtStart", "lbl_BBdtEnd", nullptr},
};

QColor colourOf(StatusColour c) {
    switch (c) {
        case StatusColour::Blue: return QColor(0, 0, 255);
        case StatusColour::Teal: return QColor(0, 128, 128);
        case StatusColour::Red: return QColor(255, 0, 0);
        case StatusColour::Black: break;
    }
    return QColor(0, 0, 0);
}

MsgKind kindOf(MessageKind k) {
    switch (k) {
        case MessageKind::Information: return MsgKind::Information;
        case MessageKind::Warning: return MsgKind::Warning;
        case MessageKind::Error: break;
    }
    return MsgKind::Error;
}

std::string yyyymmdd(const QDate& d) { return QString::asprintf("%04d%02d%02d", d.year(), d.month(), d.day()).toStdString(); }

}  // namespace

TfrmDataGet::TfrmDataGet(const AppState& state, JVDTLabLib_TLB::IJVLink& jvlink, QWidget* parent) : QDialog(parent) {
    setObjectName(u("TfrmDataGet"));
    setWindowTitle(u("JRA-VANデータ登録"));
    setFont(pGothic(12));
    setFixedSize(kWidth, kHeight);
    if (parent) {
        const QWidget* w = parent->window();
        move(w->x() + 100, w->y() + 80);
    }
    buildControls();
    run_ = std::make_unique<RegistrationRun>(jvlink, state.settingsPath(), StorePaths(state.storeRoot),
                                             static_cast<RegistrationView&>(*this));

    btnCancel_->setEnabled(false);
    const RegistrationRun::ScreenMode mode = run_->openScreen(yyyymmdd(QDate::currentDate()));
    rbtnUsual_->setChecked(mode.usual);
    rbtnSetup_->setChecked(!mode.usual);
    rbtnSetup_->setEnabled(!mode.usual);
    rbtnUsual_->setEnabled(mode.usual);
    mnuLockOff_->setEnabled(mode.usual);
    const QDate start = QDate::fromString(QString::fromStdString(mode.startDate), u("yyyyMMdd"));
    dtpStartDate_->setDate(start.isValid() ? start : QDate::currentDate());
    dtpStartDate_->setEnabled(rbtnSetup_->isChecked());
}

TfrmDataGet::~TfrmDataGet() = default;

void TfrmDataGet::buildControls() {
    auto* bar = new QMenuBar(this);
    bar->setGeometry(0, 0, kWidth, kMenuHeight);
    QMenu* menu = bar->addMenu(u("設定(&S)"));
    menu->setObjectName(u("mnuSetting"));
    mnuLockOff_ = menu->addAction(u("再セットアップ－ロック解除"));
    mnuLockOff_->setObjectName(u("mnuLockOff"));
    mnuLockOff_->setCheckable(true);
    connect(mnuLockOff_, &QAction::toggled, this, &TfrmDataGet::toggleLockOff);

    const int top = kMenuHeight;
    auto label = [this](const char* name, const QString& text, int left, int y, int width) {
        auto* l = new QLabel(text, this);
        l->setObjectName(u(name));
        l->setGeometry(left, y, width, 18);
        return l;
    };

    auto* mode = new QGroupBox(u("登録方法"), this);
    mode->setObjectName(u("grpMode"));
    mode->setGeometry(12, top + 8, kWidth - 24, 52);
    rbtnUsual_ = new QRadioButton(u("通常登録"), mode);
    rbtnUsual_->setObjectName(u("rbtn_usual"));
    rbtnUsual_->setGeometry(14, 22, 100, 20);
    rbtnSetup_ = new QRadioButton(u("セットアップ"), mode);
    rbtnSetup_->setObjectName(u("rbtn_setup"));
    rbtnSetup_->setGeometry(124, 22, 110, 20);
    auto* startCaption = new QLabel(u("開始日付"), mode);
    startCaption->setObjectName(u("lblStartDate"));
    startCaption->setGeometry(262, 23, 60, 18);
    dtpStartDate_ = new QDateEdit(mode);
    dtpStartDate_->setObjectName(u("dtp_start_date"));
    dtpStartDate_->setDisplayFormat(u("yyyy/MM/dd"));
    dtpStartDate_->setCalendarPopup(true);
    dtpStartDate_->setGeometry(326, 20, 120, 22);
    connect(rbtnSetup_, &QRadioButton::toggled, dtpStartDate_, &QWidget::setEnabled);

    // Status table: title, status, start, end, count.
    int y = top + 70;
    label("lblHeadSTS", u("状態"), 150, y, 60);
    label("lblHeadStart", u("開始"), 214, y, 130);
    label("lblHeadEnd", u("終了"), 348, y, 130);
    label("lblHeadCnt", u("件数"), 482, y, 60);
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        y += 24;
        const GroupNames& n = kGroups[g];
        label((std::string(n.sts).substr(0, std::string(n.sts).size() - 3) + "Title").c_str(), u(n.title), 16, y, 130);
        groups_[g].sts = label(n.sts, QString(), 150, y, 60);
        groups_[g].start = label(n.start, QString(), 214, y, 130);
        groups_[g].end = label(n.end, QString(), 348, y, 130);
        if (n.cnt) groups_[g].cnt = label(n.cnt, QString(), 482, y, 60);
    }

    y += 34;
    lblDownload_ = label("lblDownload", u("ダウンロード： 0 / 0"), 16, y, 300);
    prgDownload_ = new QProgressBar(this);
    prgDownload_->setObjectName(u("prgDownload"));
    prgDownload_->setGeometry(16, y + 18, kWidth - 32, 16);
    prgDownload_->setTextVisible(false);
    y += 40;
    lblRead_ = label("lblRead", u("読み込み： 0 / 0"), 16, y, 300);
    prgJVRead_ = new QProgressBar(this);
    prgJVRead_->setObjectName(u("prgJVRead"));
    prgJVRead_->setGeometry(16, y + 18, kWidth - 32, 16);
    prgJVRead_->setTextVisible(false);
    y += 42;
    stxtRead_ = label("stxtRead", QString(), 16, y, kWidth - 32);
    stxtExec_ = label("stxtExec", QString(), 16, y + 20, kWidth - 32);
    y += 44;
    lstmsg_ = new QListWidget(this);
    lstmsg_->setObjectName(u("lstmsg"));
    lstmsg_->setGeometry(16, y, kWidth - 32, kHeight - y - 48);

    auto button = [this](const char* name, const char* caption, int left) {
        auto* b = new QPushButton(u(caption), this);
        b->setObjectName(u(name));
        b->setGeometry(left, kHeight - 38, 100, 28);
        return b;
    };
    btnDataAdd_ = button("btnDataAdd", "登録開始", kWidth - 336);
    btnCancel_ = button("btnCancel", "中断", kWidth - 226);
    btnClose_ = button("btnClose", "閉じる", kWidth - 116);
    connect(btnDataAdd_, &QPushButton::clicked, this, &TfrmDataGet::startRun);
    connect(btnCancel_, &QPushButton::clicked, this, [this] { run_->cancel(); });
    connect(btnClose_, &QPushButton::clicked, this, &TfrmDataGet::close);

    tmrDownload_ = new QTimer(this);
    tmrDownload_->setObjectName(u("tmrDownload"));
    tmrDownload_->setInterval(100);
    connect(tmrDownload_, &QTimer::timeout, this, [this] { run_->downloadTimerTick(); });
    tmrBBdt_ = new QTimer(this);
    tmrBBdt_->setObjectName(u("tmrBBdt"));
    tmrBBdt_->setInterval(1000);
    connect(tmrBBdt_, &QTimer::timeout, this, [this] { run_->trackTimerTick(); });
}

void TfrmDataGet::toggleLockOff(bool checked) {
    rbtnSetup_->setEnabled(checked);
    if (!checked) rbtnUsual_->setChecked(true);
}

void TfrmDataGet::startRun() {
    if (running_) return;
    running_ = true;
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
    running_ = false;
}

void TfrmDataGet::reject() {
    if (!running_) QDialog::reject();
}

void TfrmDataGet::closeEvent(QCloseEvent* event) {
    if (running_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TfrmDataGet::status(int group, const std::string& text, StatusColour colour, const std::string& count) {
    Group& g = groups_[static_cast<std::size_t>(group)];
    g.sts->setText(qs(text));
    QPalette p = g.sts->palette();
    p.setColor(QPalette::WindowText, colourOf(colour));
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

void TfrmDataGet::message(MessageKind kind, const std::string& text) { showMessage(this, kindOf(kind), text); }

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
