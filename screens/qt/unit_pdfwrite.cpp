#include "unit_pdfwrite.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <exception>
#include <filesystem>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "inifile.h"
#include "msgbox.h"
#include "qtext.h"
#include "runner_tables.h"
#include "store_paths.h"
#include "textfn.h"
#include "unit_pdfwr.h"

namespace tarvo {
namespace {

constexpr const char* kSection = "FILE_OUT";

constexpr struct {
    Control Label1, Label2, Label3, Label4, edtDate, edtJyo, edtRace, edtRaceName, Label5, edtFileName;
    Control btnFnSet, prgWrite, btnWrite, btnClose;
} kControls{
    .Label1 = {"Label1", "日付", "", {8, 8, 70, 16}},
    .Label2 = {"Label2", "場名", "", {84, 8, 44, 16}},
    .Label3 = {"Label3", "レース", "", {134, 8, 44, 16}},
    .Label4 = {"Label4", "レース名", "", {184, 8, 100, 16}},
    .edtDate = {"edtDate", "", "", {8, 24, 70, 22}},
    .edtJyo = {"edtJyo", "", "", {84, 24, 44, 22}},
    .edtRace = {"edtRace", "", "", {134, 24, 44, 22}},
    .edtRaceName = {"edtRaceName", "", "", {184, 24, 211, 22}},
    .Label5 = {"Label5", "出力ファイル名", "", {8, 54, 120, 16}},
    .edtFileName = {"edtFileName", "", "", {8, 70, 323, 22}},
    .btnFnSet = {"btnFnSet", "設定", "出力先となるPDFのファイル名を設定します", {337, 69, 58, 24}},
    .prgWrite = {"prgWrite", "", "", {8, 102, 387, 16}},
    .btnWrite = {"btnWrite", "ファイル出力", "PDFファイルを出力します（出力ファイル名を必ず設定してください）",
                 {8, 132, 140, 30}},
    .btnClose = {"btnClose", "閉じる", "", {295, 132, 100, 30}},
};

std::string folderOf(const std::string& settingsPath) {
    return std::filesystem::path(settingsPath).parent_path().string() + "/";
}

}  // namespace

TfrmPdfWrite::TfrmPdfWrite(const ScreenContext& context, const RaceKey& race, const RaceCard& card)
    : BusyDialog(context.parent), context_(context), race_(race), card_(card) {
    setObjectName(QStringLiteral("frmPdfWrite"));
    setWindowTitle(QStringLiteral("出馬表をPDF出力"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFont(pGothic(12));
    setFixedSize(kClientWidth, kClientHeight);
    if (context.parent) move(context.parent->x() + 200, context.parent->y() + 200);

    const auto& c = kControls;
    for (const Control* label : {&c.Label1, &c.Label2, &c.Label3, &c.Label4, &c.Label5}) makeControl<QLabel>(this, *label);
    const CardPdfRace shown = cardPdfRace(card, race);
    const std::pair<const Control*, std::string> fields[] = {{&c.edtDate, card.header.date},
                                                             {&c.edtJyo, shown.trackName},
                                                             {&c.edtRace, shown.raceNumber},
                                                             {&c.edtRaceName, shown.raceName}};
    for (const auto& [control, text] : fields) {
        auto* e = makeControl<QLineEdit>(this, *control);
        e->setReadOnly(true);
        e->setText(qs(text));
    }
    edtFileName_ = makeControl<QLineEdit>(this, c.edtFileName);
    edtFileName_->setReadOnly(true);
    edtFileName_->setText(qs(IniFile(context.settingsPath).read(kSection, "pdf_sfile")));
    btnFnSet_ = makeControl<QPushButton>(this, c.btnFnSet);
    prgWrite_ = makeControl<QProgressBar>(this, c.prgWrite);
    prgWrite_->setTextVisible(false);
    prgWrite_->setValue(0);
    btnWrite_ = makeControl<QPushButton>(this, c.btnWrite);
    QFont bold = btnWrite_->font();
    bold.setBold(true);
    btnWrite_->setFont(bold);
    btnClose_ = makeControl<QPushButton>(this, c.btnClose);
    connect(btnFnSet_, &QPushButton::clicked, this, &TfrmPdfWrite::chooseFile);
    connect(btnWrite_, &QPushButton::clicked, this, &TfrmPdfWrite::write);
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPdfWrite::chooseFile() {
    IniFile ini(context_.settingsPath);
    const std::string dir = ini.read(kSection, "pdf_dir");
    const QString start =
        !dir.empty() && dirExists(dir) ? qs(ini.read(kSection, "pdf_sfile")) : qs(folderOf(context_.settingsPath));
    QFileDialog dialog(this, QStringLiteral("出力ファイル名の設定"), start, QStringLiteral("PDFファイル (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string chosen = trimBoth(sjs(dialog.selectedFiles().front()));
    edtFileName_->setText(qs(chosen));
    ini.write(kSection, "pdf_dir", std::filesystem::path(chosen).parent_path().string() + "/");
    ini.write(kSection, "pdf_sfile", chosen);
}

void TfrmPdfWrite::setIdle(bool idle) {
    for (QPushButton* b : {btnFnSet_, btnWrite_, btnClose_}) b->setEnabled(idle);
    setRunning(!idle);
}

void TfrmPdfWrite::write() {
    const std::string file = sjs(edtFileName_->text());
    if (trimBoth(file).empty()) {
        showMessage(this, MessageKind::Error, sj("出力ファイル名を指定してください"));
        return;
    }
    setIdle(false);
    prgWrite_->setRange(0, std::max<int>(static_cast<int>(card_.rows.size()), 1));
    prgWrite_->setValue(0);
    try {
        const StorePaths paths(context_.storeRoot);
        writeRaceCardPdfFile({paths, folderOf(context_.settingsPath) + "file/"}, cardPdfRace(card_, race_), card_,
                             runnerTable(kMainWindowCaller), file, [this](std::size_t done, std::size_t) {
                                 prgWrite_->setValue(static_cast<int>(done));
                                 QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                             });
        prgWrite_->setValue(prgWrite_->maximum());
    } catch (const std::exception& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    setIdle(true);
}

void openRaceCardPdf(const ScreenContext& context, const RaceKey& race, const RaceCard& card) {
    TfrmPdfWrite screen(context, race, card);
    screen.exec();
}

}  // namespace tarvo
