#include "unit_chjedt.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "controls.h"
#include "cp932.h"
#include "fonts.h"
#include "qtext.h"
#include "textfn.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr std::string_view kNoCode = "00000";

}  // namespace

TfrmChjEdt::TfrmChjEdt(const StorePaths& paths, LocalEntry& entry, std::function<void()> changed, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), entry_(entry),
      changed_(std::move(changed)) {
    setObjectName(u("frmChjEdt"));
    setWindowTitle(u("斤量・騎手・調教師の編集"));
    setFont(pGothic(12));
    setFixedSize(491, 352);
    move(200, 200);
    if (entry_.selected == 0 || entry_.selected > entry_.rows.size()) entry_.selected = 1;

    lblUban_ = makeControl<QLabel>(this, {"lblUban", "**番", "", {8, 10, 40, 16}});
    lblUname_ = makeControl<QLabel>(this, {"lblUname", "****", "", {50, 10, 160, 16}});
    lblWgt_ = makeControl<QLabel>(this, {"lblWgt", "**.*", "", {214, 10, 40, 16}});
    cboWgt_ = makeControl<QComboBox>(this, {"cboWgt", "", "", {260, 6, 62, 21}});
    for (const std::string& w : weightChoices()) cboWgt_->addItem(qs(w));
    auto* btnWgtUpd = makeControl<QPushButton>(this, {"btnWgtUpd", "変更", "", {328, 5, 50, 23}});
    connect(btnWgtUpd, &QPushButton::clicked, this, [this] {
        lblWgt_->setText(cboWgt_->currentText());
        row()[3] = sjs(cboWgt_->currentText());
        changed_();
    });

    buildPerson(jockey_, 8, "騎手", "騎手変更", "Ksh");
    buildPerson(trainer_, 248, "調教師", "調教師変更", "Cho");
    const char* notes[] = {"※騎手（調教師）が一覧に含まれない場合", "一覧最上部の[直接入力]を選択、[変更後]欄に入力を行った後で",
                           "騎手変更（調教師変更）ボタンを押して変更を行ってください。"};
    for (int i = 0; i < 3; ++i) makeControl<QLabel>(this, {"", notes[i], "", {8, 280 + 16 * i, 0, 0}});
    auto* up = makeControl<QPushButton>(this, {"btnUpw", "↑", "", {330, 322, 30, 25}});
    auto* down = makeControl<QPushButton>(this, {"btnDnw", "↓", "", {362, 322, 30, 25}});
    auto* close = makeControl<QPushButton>(this, {"btnClose", "閉じる", "", {408, 322, 75, 25}});
    connect(up, &QPushButton::clicked, this, [this] { step(-1); });
    connect(down, &QPushButton::clicked, this, [this] { step(+1); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    showRow();

    // The lists of every jockey and trainer of the store.
    for (Person* p : {&jockey_, &trainer_}) {
        p->lines = personChoiceLines(paths, p == &jockey_ ? Family::KS : Family::CH);
        for (const std::string& line : p->lines) p->list->addItem(qs(line));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void TfrmChjEdt::buildPerson(Person& p, int left, const char* caption, const char* button, const char* prefix) {
    const auto name = [prefix](const char* kind) { return QString::fromUtf8(kind) + QString::fromUtf8(prefix); };
    auto* title = new QLabel(u(caption), this);
    title->move(left, 40);
    auto* before = new QLabel(u("[変更前]"), this);
    before->move(left, 60);
    p.current = new QLabel(this);
    p.current->setObjectName(name("lblNow"));
    p.current->setGeometry(left + 60, 60, 100, 16);
    auto* after = new QLabel(u("[後]"), this);
    after->move(left, 84);
    p.next = new QLabel(this);
    p.next->setObjectName(name("lblNew"));
    p.next->setGeometry(left + 60, 84, 100, 16);
    p.direct = new QLineEdit(this);
    p.direct->setObjectName(name("edtDirect"));
    p.direct->setGeometry(left + 60, 81, 80, 21);
    p.direct->setMaxLength(8);
    p.direct->hide();
    auto* searchLabel = new QLabel(u("検索"), this);
    searchLabel->move(left, 110);
    p.search = new QLineEdit(this);
    p.search->setObjectName(name("edtSrch"));
    p.search->setGeometry(left + 30, 107, 100, 21);
    auto* change = new QPushButton(u(button), this);
    change->setObjectName(QString::fromUtf8(p.column == 5 ? "btnKshUpd" : "btnChoUpd"));
    change->setGeometry(left + 140, 106, 90, 23);
    p.list = new QListWidget(this);
    p.list->setObjectName(QString::fromUtf8(p.column == 5 ? "lstKishu" : "lstChokyo"));
    p.list->setGeometry(left, 134, 232, 140);
    p.list->setFont(gothic(11));
    connect(p.search, &QLineEdit::textChanged, this, [this, &p] { searchChanged(p); });
    connect(p.list, &QListWidget::itemClicked, this, [this, &p] { listClicked(p); });
    connect(change, &QPushButton::clicked, this, [this, &p] { this->change(p); });
}

void TfrmChjEdt::setNext(Person& p, const std::string& name, const std::string& code) {
    p.next->setText(qs(name));
    p.nextCode = code;
}

void TfrmChjEdt::showRow() {
    const EntryRow& r = row();
    lblUban_->setText(qs(std::string(part(r[0], 0, 2)) + sj("番")));
    lblUname_->setText(qs(r[1]));
    lblWgt_->setText(qs(r[3]));
    cboWgt_->setCurrentIndex(cboWgt_->findText(qs(r[3])));
    for (Person* p : {&jockey_, &trainer_}) {
        p->current->setText(qs(r[p->column]));
        p->search->clear();
        setNext(*p, "", std::string(kNoCode));
    }
}

void TfrmChjEdt::step(int delta) {
    const std::size_t r = entry_.selected;
    if ((delta < 0 && r <= 1) || (delta > 0 && r >= entry_.rows.size())) return;
    entry_.selected = delta < 0 ? r - 1 : r + 1;
    showRow();
    changed_();
}

void TfrmChjEdt::searchChanged(Person& p) {
    if (p.lines.empty()) return;
    p.direct->hide();
    const std::string line = findPersonChoice(p.lines, sjs(p.search->text()));
    if (line.empty()) return;
    setNext(p, trimBoth(part(line, 31, 9)), trimBoth(part(line, 40, 5)));
}

void TfrmChjEdt::listClicked(Person& p) {
    const int at = p.list->currentRow();
    if (at < 0 || static_cast<std::size_t>(at) >= p.lines.size()) return;
    p.direct->clear();
    if (at == 0) {
        p.direct->show();
        setNext(p, "", std::string(kNoCode));
        return;
    }
    p.direct->hide();
    const std::string& line = p.lines[static_cast<std::size_t>(at)];
    setNext(p, trimBoth(part(line, 31, 8)), trimBoth(part(line, 40, 5)));
}

void TfrmChjEdt::change(Person& p) {
    const std::string next = sjs(p.next->text()), direct = sjs(p.direct->text());
    if (next.empty() && direct.empty()) return;
    const std::string name = !p.direct->isHidden() ? direct : next;
    p.current->setText(qs(name));
    row()[p.column] = name;
    row()[p.column + 1] = p.nextCode;
    setNext(p, "", std::string(kNoCode));
    p.direct->clear();
    changed_();
}

}  // namespace tarvo
