#include "unit_dtconv.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QThread>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "msgbox.h"
#include "qtext.h"

namespace tarvo {
namespace {

constexpr struct {
    Control Label1, Label2, mem_Msg, pgb_DataDone, pgb_FileExc, btnExec, btnCancel, btnClose;
} kControls{
    .Label1 = {"Label1", "既存の登録データを新形式のデータに変換します。", "", {16, 12, 473, 18}},
    .Label2 = {"Label2", "データ変換ボタンを押して、変換処理を行ってください。", "", {16, 32, 473, 18}},
    .mem_Msg = {"mem_Msg", "", "", {16, 58, 473, 230}},
    .pgb_DataDone = {"pgb_DataDone", "", "", {16, 296, 473, 16}},
    .pgb_FileExc = {"pgb_FileExc", "", "", {16, 316, 473, 16}},
    // The cancel button lies over the run button, shown only while converting.
    .btnExec = {"btnExec", "データ変換", "", {16, 344, 120, 28}},
    .btnCancel = {"btnCancel", "変換中止", "", {16, 344, 120, 28}},
    .btnClose = {"btnClose", "閉じる", "", {369, 344, 120, 28}},
};

void setBar(QProgressBar* bar, int position, int maximum) {
    bar->setRange(0, std::max(maximum, 1));
    bar->setValue(std::clamp(position, 0, std::max(maximum, 1)));
}

}  // namespace

TfrmDataConv::TfrmDataConv(const std::string& settingsPath, const std::string& storeRoot,
                           JVDTLabLib_TLB::IJVLink& jvlink, QWidget* parent)
    : BusyDialog(parent), settingsPath_(settingsPath), storeRoot_(storeRoot), jvlink_(jvlink) {
    setObjectName(QStringLiteral("frmDataConv"));
    setWindowTitle(QStringLiteral("新形式データの変換処理 (TARVO)"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - kClientWidth) / 2, area.y() + (area.height() - kClientHeight) / 2);
    }
    const auto& c = kControls;
    Label1_ = makeControl<QLabel>(this, c.Label1);
    Label2_ = makeControl<QLabel>(this, c.Label2);
    mem_Msg_ = makeControl<QPlainTextEdit>(this, c.mem_Msg);
    mem_Msg_->setReadOnly(true);
    mem_Msg_->setFont(gothic(12));
    pgb_DataDone_ = makeControl<QProgressBar>(this, c.pgb_DataDone);
    pgb_FileExc_ = makeControl<QProgressBar>(this, c.pgb_FileExc);
    for (QProgressBar* bar : {pgb_DataDone_, pgb_FileExc_}) {
        bar->setTextVisible(false);
        setBar(bar, 0, 100);
    }
    setBar(pgb_DataDone_, 0, 4);
    btnExec_ = makeControl<QPushButton>(this, c.btnExec);
    btnCancel_ = makeControl<QPushButton>(this, c.btnCancel);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    btnCancel_->hide();
    connect(btnExec_, &QPushButton::clicked, this, &TfrmDataConv::execute);
    connect(btnCancel_, &QPushButton::clicked, this, [this] {
        if (run_) run_->cancel();
    });
    connect(btnClose_, &QPushButton::clicked, this, [this] { QDialog::reject(); });
}

void TfrmDataConv::execute() {
    if (running()) return;
    ConversionRun run(jvlink_, settingsPath_, StorePaths(storeRoot_), *this);
    run_ = &run;
    setRunning(true);
    run.run();
    setRunning(false);
    run_ = nullptr;
    completed_ = completed_ || run.conversionCompleted();
}

void TfrmDataConv::labels(const std::string& label1, const std::string& label2, bool blue) {
    for (auto [label, text] : {std::pair{Label1_, &label1}, std::pair{Label2_, &label2}}) {
        label->setText(qs(*text));
        label->setStyleSheet(blue ? QStringLiteral("color: blue;") : QString());
    }
}

void TfrmDataConv::memoLine(const std::string& line) {
    mem_Msg_->appendPlainText(qs(line));
    mem_Msg_->verticalScrollBar()->setValue(mem_Msg_->verticalScrollBar()->maximum());
}

void TfrmDataConv::overallBar(int position, int maximum) { setBar(pgb_DataDone_, position, maximum); }
void TfrmDataConv::stepBar(int position, int maximum) { setBar(pgb_FileExc_, position, maximum); }
void TfrmDataConv::message(MessageKind kind, const std::string& text) { showMessage(this, kind, text); }

void TfrmDataConv::runningChanged(bool on) {
    btnClose_->setEnabled(!on);
    btnExec_->setVisible(!on);
    btnCancel_->setVisible(on);
    if (on) btnCancel_->raise();
}

void TfrmDataConv::completed() { btnExec_->setEnabled(false); }
void TfrmDataConv::pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }
void TfrmDataConv::idle() { QThread::msleep(10); }

bool checkConversion(const std::string& settingsPath, const std::string& storeRoot, JVDTLabLib_TLB::IJVLink& jvlink,
                     QWidget* parent) {
    if (oldFormatCount(StorePaths(storeRoot)) == 0) return true;
    showMessage(parent, MessageKind::Error,
                sj("このバージョンのTARVOは新形式データ対応です。\r\n"
                   "新形式データへの変換が完了していないため、変換処理を行う画面を開きます。"));
    bool completed = false;
    {
        TfrmDataConv screen(settingsPath, storeRoot, jvlink, parent);
        screen.exec();
        completed = screen.conversionCompleted();
    }
    if (completed) return true;
    showMessage(parent, MessageKind::Error,
                sj("新形式データの変換が完了していないため、TARVOを終了します。\r\n"
                   "TARVOを再び実行して、データ変換の画面で処理を完了してください。"));
    return false;
}

}  // namespace tarvo
