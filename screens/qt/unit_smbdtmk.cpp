#include "unit_smbdtmk.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "controls.h"
#include "fonts.h"
#include "msgbox.h"
#include "qtext.h"

namespace tarvo {
namespace {

constexpr struct {
    Control ProgressBar0, ProgressBar1, StaticText1, cboFrYear, Label1, cboToYear, Label2;
    Control Button1, btnCancel, btnClose;
} kControls{
    .ProgressBar0 = {"ProgressBar0", "", "", {16, 14, 441, 18}},
    .ProgressBar1 = {"ProgressBar1", "", "", {16, 40, 441, 18}},
    .StaticText1 = {"StaticText1", "", "", {16, 66, 441, 18}},
    .cboFrYear = {"cboFrYear", "", "", {16, 100, 72, 22}},
    .Label1 = {"Label1", "～", "", {94, 104, 16, 18}},
    .cboToYear = {"cboToYear", "", "", {114, 100, 72, 22}},
    .Label2 = {"Label2", "年の新馬戦成績を集計", "", {194, 104, 180, 18}},
    // The cancel button lies over the start button, shown only while counting.
    .Button1 = {"Button1", "作成開始", "", {16, 142, 110, 28}},
    .btnCancel = {"btnCancel", "集計中止", "", {16, 142, 110, 28}},
    .btnClose = {"btnClose", "閉じる", "", {347, 142, 110, 28}},
};

void setBar(QProgressBar* bar, int position, int maximum) {
    bar->setRange(0, std::max(maximum, 1));
    bar->setValue(std::min(position, std::max(maximum, 1)));
}

}  // namespace

TfrmSmbDtMk::TfrmSmbDtMk(const std::string& fileFolder, const std::string& storeRoot, QWidget* parent)
    : BusyDialog(parent), fileFolder_(fileFolder), storeRoot_(storeRoot) {
    setObjectName(QStringLiteral("frmSmbDtMk"));
    setWindowTitle(QStringLiteral("新馬予想用補助データ作成"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* s = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move(area.x() + (area.width() - kClientWidth) / 2, area.y() + (area.height() - kClientHeight) / 2);
    }

    const auto& c = kControls;
    ProgressBar0_ = makeControl<QProgressBar>(this, c.ProgressBar0);
    ProgressBar1_ = makeControl<QProgressBar>(this, c.ProgressBar1);
    for (QProgressBar* bar : {ProgressBar0_, ProgressBar1_}) {
        bar->setTextVisible(false);
        bar->setValue(0);
    }
    StaticText1_ = makeControl<QLabel>(this, c.StaticText1);
    cboFrYear_ = makeControl<QComboBox>(this, c.cboFrYear);
    makeControl<QLabel>(this, c.Label1);
    cboToYear_ = makeControl<QComboBox>(this, c.cboToYear);
    makeControl<QLabel>(this, c.Label2);
    Button1_ = makeControl<QPushButton>(this, c.Button1);
    btnCancel_ = makeControl<QPushButton>(this, c.btnCancel);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    btnCancel_->hide();
    connect(Button1_, &QPushButton::clicked, this, &TfrmSmbDtMk::start);
    connect(btnCancel_, &QPushButton::clicked, this, [this] { progress_.cancelRequested = true; });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);

    progress_.cancelRequested = false;
    const NewcomerBuilderOpening opening = openNewcomerBuilder(StorePaths(storeRoot_));
    for (QComboBox* cbo : {cboFrYear_, cboToYear_})
        for (const std::string& y : opening.years) cbo->addItem(qs(y));
    cboFrYear_->setCurrentIndex(opening.fromIndex);
    cboToYear_->setCurrentIndex(opening.toIndex);
    if (!opening.error.empty()) showMessage(this, MessageKind::Error, opening.error);
}

void TfrmSmbDtMk::setIdle(bool idle) {
    btnCancel_->setVisible(!idle);
    if (!idle) btnCancel_->raise();
    for (QWidget* w : std::initializer_list<QWidget*>{Button1_, btnClose_, cboFrYear_, cboToYear_})
        w->setEnabled(idle);
}

void TfrmSmbDtMk::start() {
    if (running()) return;
    setRunning(true);
    setIdle(false);
    const NewcomerBuildOutcome outcome =
        makeNewcomerYears(StorePaths(storeRoot_), fileFolder_,
                          chosenYears(sjs(cboFrYear_->currentText()), sjs(cboToYear_->currentText())), progress_,
                          *this);
    setIdle(true);
    setRunning(false);
    showMessage(this, outcome.kind, outcome.text);
}

void TfrmSmbDtMk::yearBar(int position, int maximum) { setBar(ProgressBar0_, position, maximum); }
void TfrmSmbDtMk::fileBar(int position, int maximum) { setBar(ProgressBar1_, position, maximum); }
void TfrmSmbDtMk::fileText(const std::string& path) { StaticText1_->setText(qs(path)); }
void TfrmSmbDtMk::pump() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

}  // namespace tarvo
