#include "jvlink_dialog.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QUrl>

#include "jvlink_emu.h"
#include "qtext.h"

namespace tarvo {

bool editJVLinkSettings(QWidget* parent, JVLinkUiSettings& settings) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("dlgJVLinkSettings"));
    dialog.setWindowTitle(QStringLiteral("JV-Linkの設定"));
    auto* form = new QFormLayout(&dialog);

    // The default source shows as the folder it stands for; left unedited it stays the default.
    const QString shownSource = qs(settings.source.empty() ? settings.sourceInEffect : settings.source);
    auto* source = new QLineEdit(shownSource, &dialog);
    source->setObjectName(QStringLiteral("edtSource"));
    source->setMinimumWidth(320);
    auto* browse = new QPushButton(QStringLiteral("参照..."), &dialog);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
        const QString dir = QFileDialog::getExistingDirectory(&dialog, QStringLiteral("データの取得元フォルダ"),
                                                              source->text());
        if (!dir.isEmpty()) source->setText(dir);
    });
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source);
    sourceRow->addWidget(browse);
    form->addRow(QStringLiteral("データの取得元フォルダ"), sourceRow);

    auto* version = new QLineEdit(qs(settings.version), &dialog);
    version->setObjectName(QStringLiteral("edtVersion"));
    version->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{4}")), version));
    form->addRow(QStringLiteral("バージョン（4桁）"), version);

    auto* rate = new QLineEdit(qs(settings.rate), &dialog);
    rate->setObjectName(QStringLiteral("edtRate"));
    rate->setValidator(new QIntValidator(0, 1000, rate));
    form->addRow(QStringLiteral("ダウンロード速度（ファイル／秒、0は即時）"), rate);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);

    if (dialog.exec() != QDialog::Accepted) return false;
    if (!settings.source.empty() || source->text().trimmed() != shownSource) settings.source = sjs(source->text().trimmed());
    settings.version = sjs(version->text().trimmed());
    settings.rate = sjs(rate->text().trimmed());
    return true;
}

void installJVLinkDesktop(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    JVLinkEmulator::setSettingsDialog([owner](JVLinkUiSettings& s) { return editJVLinkSettings(owner, s); });
    JVLinkEmulator::setMediaOpener([](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(qs(path))) ? 0 : -1;
    });
}

}  // namespace tarvo
