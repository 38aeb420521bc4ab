#include "unit_bbadj.h"

#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "controls.h"
#include "fonts.h"
#include "fsys.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The rows of the adjustment screen: caption and hint.
constexpr struct {
    const char* caption;
    const char* hint;
} kRows[] = {
    {"調整前", "馬場調整の画面を開いた時点で馬場データに設定されていた値です"},
    {"未調整", "調整を加えていない場合の値です"},
    {"調整値", "更新ボタンをクリックする前に入力してください（＋や頭のゼロは省略可）"},
    {"現在値", "現時点で馬場データに設定されている値です"},
};
constexpr int kRowTop = 30, kRowStep = 26, kRwLeft = 90, kLsLeft = 160, kCellWidth = 60;
constexpr int kInputRow = 2;

constexpr struct {
    Control btnUpd, btnClose;
} kAdjButtons{
    .btnUpd = {"btnUpd", "更新", "調整値の内容で馬場データを更新します", {70, 140, 75, 25}},
    .btnClose = {"btnClose", "閉じる", "", {150, 140, 75, 25}},
};

// A value field: three characters of "+", "-" and digits; Enter moves on.
class AdjustEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            focusNextChild();
            return;
        }
        const QString t = e->text();
        const bool editing = e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Tab;
        if (editing || (t.size() == 1 && (t[0].isDigit() || t[0] == u'+' || t[0] == u'-')))
            QLineEdit::keyPressEvent(e);
    }
};

QLabel* valueLabel(QWidget* parent, const QString& name, const std::string& text, int left, int top) {
    auto* l = new QLabel(qs(text), parent);
    l->setObjectName(name);
    l->setGeometry(left, top, kCellWidth, 20);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

void placeBelow(QWidget* w, QWidget* parent, int down, int right) {
    if (parent) w->move(parent->frameGeometry().topLeft() + QPoint(right, down));
}

}  // namespace

TfrmBbAdj::TfrmBbAdj(const std::string& settingsPath, const std::string& storeRoot, const RaceKey& race,
                     QWidget* parent)
    : QDialog(parent), storeRoot_(storeRoot), race_(race) {
    setObjectName(u("frmBbAdj"));
    setWindowTitle(u("馬場調整（有効値は -99 から +199 まで）"));
    setFont(pGothic(12));
    setFixedSize(300, 176);
    placeBelow(this, parent, 200, 110);

    const TrackAdjustment a =
        openTrackAdjust(StorePaths(storeRoot_), settingsPath, dirName(settingsPath) + "file/", race_);
    for (const auto& [name, left] : {std::pair{"RW馬場", kRwLeft}, std::pair{"LS馬場", kLsLeft}}) {
        auto* h = new QLabel(u(name), this);
        h->setGeometry(left, 8, kCellWidth, 18);
        h->setAlignment(Qt::AlignCenter);
    }
    const VariantPair* shown[] = {&a.before, &a.computed, nullptr, &a.before};
    const char* names[] = {"Before", "Computed", "", "Now"};
    for (int i = 0; i < 4; ++i) {
        const int top = kRowTop + i * kRowStep;
        auto* caption = new QLabel(u(kRows[i].caption), this);
        caption->setObjectName(u("lblRow") + QString::number(i));
        caption->setGeometry(12, top, 70, 20);
        caption->setStatusTip(u(kRows[i].hint));
        if (i == kInputRow) {
            edtAdRw_ = new AdjustEdit(this);
            edtAdLs_ = new AdjustEdit(this);
            for (auto [edit, name, left] : {std::tuple{edtAdRw_, "edtAdRw", kRwLeft}, std::tuple{edtAdLs_, "edtAdLs", kLsLeft}}) {
                edit->setObjectName(u(name));
                edit->setGeometry(left, top, kCellWidth, 20);
                edit->setMaxLength(3);
                edit->setAlignment(Qt::AlignCenter);
                edit->setStatusTip(u(kRows[i].hint));
            }
            continue;
        }
        QLabel* rw = valueLabel(this, u("lbl") + u(names[i]) + u("Rw"), shown[i]->rw, kRwLeft, top);
        QLabel* ls = valueLabel(this, u("lbl") + u(names[i]) + u("Ls"), shown[i]->ls, kLsLeft, top);
        for (QLabel* l : {rw, ls}) l->setStatusTip(u(kRows[i].hint));
        if (i == 3) {
            lblNowRw_ = rw;
            lblNowLs_ = ls;
        }
    }
    btnUpd_ = makeControl<QPushButton>(this, kAdjButtons.btnUpd);
    auto* close = makeControl<QPushButton>(this, kAdjButtons.btnClose);
    btnUpd_->setAutoDefault(false);
    close->setAutoDefault(false);
    btnUpd_->setEnabled(a.updateEnabled);
    connect(btnUpd_, &QPushButton::clicked, this, &TfrmBbAdj::update);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    if (!a.error.empty()) showMessage(this, MessageKind::Error, a.error);
}

void TfrmBbAdj::update() {
    AdjustOutcome o;
    btnUpd_->setEnabled(false);
    try {
        o = applyTrackAdjustment(StorePaths(storeRoot_), race_, sjs(edtAdRw_->text()), sjs(edtAdLs_->text()));
    } catch (const IoError& e) {
        o.error = e.what();
    }
    btnUpd_->setEnabled(true);
    if (!o.error.empty()) {
        showMessage(this, MessageKind::Error, o.error);
        if (o.focus != AdjustOutcome::Focus::None) (o.focus == AdjustOutcome::Focus::Ls ? edtAdLs_ : edtAdRw_)->setFocus();
        return;
    }
    lblNowRw_->setText(qs(o.now.rw));
    lblNowLs_->setText(qs(o.now.ls));
}

void openTrackAdjustment(const ScreenContext& context, const RaceKey& race) {
    TfrmBbAdj screen(context.settingsPath, context.storeRoot, race, context.parent);
    screen.exec();
}

TrackBuildScreen::TrackBuildScreen(const std::string& settingsPath, const std::string& storeRoot, const char* title,
                                   int height, QWidget* parent)
    : BusyDialog(parent), settingsPath_(settingsPath), storeRoot_(storeRoot) {
    setWindowTitle(u(title));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(415, height);
    placeBelow(this, parent, 100, 100);
    timer_ = new QTimer(this);
    timer_->setObjectName(u("tmrProgress"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, [this] { bar_->setValue(std::min(progressFigure(), bar_->maximum())); });
}

template <class Build>
void TrackBuildScreen::run(Build&& build) {
    if (running()) return;
    setRunning(true);
    setIdle(false);
    timer_->start();
    const TrackBuildOutcome o = build();
    timer_->stop();
    setIdle(true);
    setRunning(false);
    setWindowTitle(qs(o.caption));
    if (!o.message.empty()) showMessage(this, o.kind, o.message);
}

void TrackBuildScreen::barMaximum(int maximum) {
    bar_->setRange(0, std::max(maximum, 1));
    bar_->setValue(0);
}
void TrackBuildScreen::barEnd() { bar_->setValue(bar_->maximum()); }
void TrackBuildScreen::caption(const std::string& text) { setWindowTitle(qs(text)); }
void TrackBuildScreen::pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

namespace {

constexpr struct {
    Control Label1, Label2, ProgressBar1, btnStart, btnCancel, btnClose;
} kRebuild{
    .Label1 = {"Label1", "「馬場データ作成」で登録済レースの馬場データを再作成します", "", {12, 10, 395, 16}},
    .Label2 = {"Label2", "　※対象は中央のレースです(今週開催の競馬は除く)", "", {12, 28, 395, 16}},
    .ProgressBar1 = {"ProgressBar1", "", "", {12, 56, 391, 18}},
    .btnStart = {"btnStart", "馬場データ作成", "", {12, 94, 120, 26}},
    .btnCancel = {"btnCancel", "作成を中止", "", {146, 94, 120, 26}},
    .btnClose = {"btnClose", "閉じる", "", {283, 94, 120, 26}},
};

constexpr struct {
    Control Label1, dtpFrom, Label2, dtpTo, ProgressBar1, btnUpd, btnCancel, btnClose;
} kPeriod{
    .Label1 = {"Label1", "馬場データを更新する期間を指定してください", "", {12, 8, 395, 16}},
    .dtpFrom = {"dtpFrom", "", "", {12, 28, 110, 22}},
    .Label2 = {"Label2", "～", "", {128, 31, 16, 16}},
    .dtpTo = {"dtpTo", "", "", {148, 28, 110, 22}},
    .ProgressBar1 = {"ProgressBar1", "", "", {12, 60, 391, 18}},
    .btnUpd = {"btnUpd", "指定期間の馬場を更新", "", {12, 93, 150, 26}},
    .btnCancel = {"btnCancel", "更新中止", "", {176, 93, 100, 26}},
    .btnClose = {"btnClose", "閉じる", "", {303, 93, 100, 26}},
};

QProgressBar* makeBar(QWidget* parent, const Control& c) {
    auto* bar = makeControl<QProgressBar>(parent, c);
    bar->setTextVisible(false);
    bar->setValue(0);
    return bar;
}

QDateEdit* makeDate(QWidget* parent, const Control& c) {
    auto* d = makeControl<QDateEdit>(parent, c);
    d->setDisplayFormat(u("yyyy/MM/dd"));
    d->setCalendarPopup(true);
    d->setDate(QDate::currentDate());
    return d;
}

std::string dateText(const QDateEdit* d) { return d->date().toString(u("yyyyMMdd")).toStdString(); }

}  // namespace

TfrmBabaUpd::TfrmBabaUpd(const std::string& settingsPath, const std::string& storeRoot, QWidget* parent)
    : TrackBuildScreen(settingsPath, storeRoot, "馬場データの再作成", 132, parent) {
    setObjectName(u("frmBabaUpd"));
    const auto& c = kRebuild;
    makeControl<QLabel>(this, c.Label1);
    makeControl<QLabel>(this, c.Label2);
    bar_ = makeBar(this, c.ProgressBar1);
    btnStart_ = makeControl<QPushButton>(this, c.btnStart);
    btnCancel_ = makeControl<QPushButton>(this, c.btnCancel);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    btnCancel_->setEnabled(false);
    connect(btnStart_, &QPushButton::clicked, this, [this] {
        run([this] { return rebuildAllFromScreen(StorePaths(storeRoot_), settingsPath_, progress_, *this); });
    });
    connect(btnCancel_, &QPushButton::clicked, this, [this] { progress_.cancelRequested = true; });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBabaUpd::setIdle(bool idle) {
    btnStart_->setEnabled(idle);
    btnClose_->setEnabled(idle);
    btnCancel_->setEnabled(!idle);
}

TfrmBbUpdTm::TfrmBbUpdTm(const std::string& settingsPath, const std::string& storeRoot, QWidget* parent)
    : TrackBuildScreen(settingsPath, storeRoot, "期間内の馬場データ更新", 131, parent) {
    setObjectName(u("frmBbUpdTm"));
    const auto& c = kPeriod;
    makeControl<QLabel>(this, c.Label1);
    dtpFrom_ = makeDate(this, c.dtpFrom);
    makeControl<QLabel>(this, c.Label2);
    dtpTo_ = makeDate(this, c.dtpTo);
    bar_ = makeBar(this, c.ProgressBar1);
    btnUpd_ = makeControl<QPushButton>(this, c.btnUpd);
    btnCancel_ = makeControl<QPushButton>(this, c.btnCancel);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    btnCancel_->setEnabled(false);
    connect(btnUpd_, &QPushButton::clicked, this, [this] {
        const std::string from = dateText(dtpFrom_), to = dateText(dtpTo_);
        run([&] { return rebuildPeriodFromScreen(StorePaths(storeRoot_), settingsPath_, from, to, progress_, *this); });
    });
    connect(btnCancel_, &QPushButton::clicked, this, [this] { progress_.cancelRequested = true; });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmBbUpdTm::setIdle(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{dtpFrom_, dtpTo_, btnUpd_, btnClose_}) w->setEnabled(idle);
    btnCancel_->setEnabled(!idle);
}

}  // namespace tarvo
