#include "unit_udtedit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "code_tables.h"
#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "layouts.h"
#include "lookups.h"
#include "msgbox.h"
#include "qtext.h"
#include "screen_links.h"
#include "textfn.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

QLineEdit* field(QWidget* parent, const char* name, const std::string& text, int left, int width, int length) {
    auto* e = makeControl<QLineEdit>(parent, {name, "", "", {left, 80, width, 21}});
    e->setMaxLength(length);
    e->setText(qs(trimBoth(text)));
    return e;
}

}  // namespace

TfrmUdtEdit::TfrmUdtEdit(const std::string& storeRoot, const RaceKey& race, const std::string& kettoNum,
                         const std::string& openerTag, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      paths_(storeRoot),
      race_(race),
      kettoNum_(kettoNum) {
    setObjectName(u("frmUdtEdit"));
    setWindowTitle(u("レースデータ編集"));
    setFont(pGothic(12));
    setFixedSize(344, 114);

    const std::string se = findRunnerByHorse(paths_, race, kettoNum);
    jockey_ = trimBoth(getField(Family::SE, se, "KisyuRyakusyo"));
    const bool fromResult = openerTag == sj("結果");
    const std::string name = fromResult ? trimBoth(getField(Family::SE, se, "Bamei"))
                                        : trimBoth(getField(Family::RA, findRace(paths_, race), "Hondai"));
    const struct {
        const char* caption;
        std::string text;
        int left;
    } shown[] = {{"日付", race.year + race.monthDay, 8},      {"競馬場", trackName(race.jyoCD), 80},
                 {"レース", race.raceNum, 140},               {fromResult ? "馬名" : "レース名", name, 190}};
    for (const auto& s : shown) {
        makeControl<QLabel>(this, {"", s.caption, "", {s.left, 6, 0, 0}});
        makeControl<QLabel>(this, {"", "", "", {s.left, 22, 140, 16}})->setText(qs(s.text));
    }
    makeControl<QLabel>(this, {"", "騎手名", "", {8, 44, 0, 0}});
    makeControl<QLabel>(this, {"lblKishu", "", "", {50, 44, 100, 16}})->setText(qs(jockey_));

    const RaceDataFields f = raceDataFields(se);
    makeControl<QLabel>(this, {"", "上がり", "", {8, 64, 0, 0}});
    seconds_ = field(this, "edtL3Sec", f.seconds, 8, 26, 2);
    makeControl<QLabel>(this, {"", "．", "", {36, 84, 0, 0}});
    tenths_ = field(this, "edtL3Dec", f.tenths, 50, 18, 1);
    makeControl<QLabel>(this, {"", "位置", "", {90, 64, 0, 0}});
    for (int c = 0; c < 3; ++c)
        positions_[static_cast<std::size_t>(c)] =
            field(this, c == 0 ? "edtC2" : c == 1 ? "edtC3" : "edtC4", f.positions[static_cast<std::size_t>(c)],
                  90 + 30 * c, 26, 2);
    auto* ok = makeControl<QPushButton>(this, {"btnEdit", "編集", "", {200, 78, 64, 25}});
    auto* cancel = makeControl<QPushButton>(this, {"btnCancel", "Cancel", "", {270, 78, 64, 25}});
    connect(ok, &QPushButton::clicked, this, [this] { edit(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmUdtEdit::edit() {
    result_ = raceDataEdit(sjs(seconds_->text()), sjs(tenths_->text()),
                           {sjs(positions_[0]->text()), sjs(positions_[1]->text()), sjs(positions_[2]->text())});
    try {
        writeRaceData(paths_, race_.year + race_.monthDay, trackName(race_.jyoCD), race_.raceNum, kettoNum_, jockey_,
                      result_);
    } catch (const IoError& e) {
        showMessage(this, MessageKind::Error, e.what());
    }
    accept();
}

void openRaceDataEditor(const ScreenContext& context, const RaceKey& race, const std::string& kettoNum,
                        const std::string& openerTag) {
    TfrmUdtEdit editor(context.storeRoot, race, kettoNum, openerTag, context.parent);
    if (context.parent) {
        const QPoint at = context.parent->pos();
        editor.move(openerTag == sj("結果") ? at + QPoint(220, 235) : at + QPoint(300, 40));
    }
    editor.exec();
}

}  // namespace tarvo
