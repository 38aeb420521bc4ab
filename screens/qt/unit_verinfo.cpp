#include "unit_verinfo.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "controls.h"
#include "fonts.h"
#include "qtext.h"
#include "verinfo_view.h"

namespace tarvo {
namespace {

constexpr struct {
    Control Image1, stxtAppTitle, stxtAppVer, StaticText1, Label1, stxtStdVer, Label2, stxtJVver, btnOK;
} kControls{
    .Image1 = {"Image1", "", "", {12, 12, 33, 33}},
    .stxtAppTitle = {"stxtAppTitle", "", "", {60, 12, 230, 18}},
    .stxtAppVer = {"stxtAppVer", "", "", {60, 32, 230, 18}},
    .StaticText1 = {"StaticText1", "", "", {60, 56, 230, 18}},
    .Label1 = {"Label1", "", "", {60, 84, 90, 18}},
    .stxtStdVer = {"stxtStdVer", "", "", {150, 84, 140, 18}},
    .Label2 = {"Label2", "", "", {60, 104, 90, 18}},
    .stxtJVver = {"stxtJVver", "", "", {150, 104, 140, 18}},
    .btnOK = {"btnOK", "OK", "", {115, 130, 75, 25}},
};

}  // namespace

TfrmVerInfo::TfrmVerInfo(const std::string& jvlinkVersion, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVerInfo"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect area = s->geometry();
        move((area.width() - kClientWidth) / 2, (area.height() - kClientHeight) / 2);
    }
    const auto& c = kControls;
    auto* icon = makeControl<QLabel>(this, c.Image1);
    icon->setPixmap(QApplication::windowIcon().pixmap(33, 33));
    for (const Control* l : {&c.stxtAppTitle, &c.stxtAppVer, &c.StaticText1, &c.Label1, &c.stxtStdVer, &c.Label2, &c.stxtJVver})
        makeControl<QLabel>(this, *l);
    const ScreenView view = versionScreen(jvlinkVersion);
    setWindowTitle(qs(view.caption));
    for (const ScreenView::Label& l : view.labels)
        if (auto* label = findChild<QLabel*>(QString::fromStdString(l.name))) label->setText(qs(l.text));
    connect(makeControl<QPushButton>(this, c.btnOK), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tarvo
