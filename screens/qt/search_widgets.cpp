#include "search_widgets.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpressionValidator>

#include "textfn.h"

namespace tarvo {

std::vector<QLabel*> makeHeadings(QWidget* parent, const std::vector<SearchHeading>& headings,
                                  std::span<const GridColumn> columns, const QRect& grid, int top) {
    std::vector<QLabel*> out;
    for (const SearchHeading& h : headings) {
        int x = grid.left() + 1;
        for (int c = 0; c < h.column; ++c) x += columns[static_cast<std::size_t>(c)].width;
        // A heading spans its column and the hidden and unlabelled ones after it.
        int width = columns[static_cast<std::size_t>(h.column)].width;
        for (std::size_t c = static_cast<std::size_t>(h.column) + 1; c < columns.size(); ++c) {
            bool labelled = false;
            for (const SearchHeading& o : headings) labelled = labelled || o.column == static_cast<int>(c);
            if (labelled) break;
            width += columns[c].width;
        }
        auto* l = makeControl<QLabel>(parent, {h.objectName, h.caption, h.hint, {x, top, width, 18}});
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Raised);
        l->setAlignment(Qt::AlignCenter);
        out.push_back(l);
    }
    return out;
}

QComboBox* makeNumberBox(QWidget* parent, const Control& c, const std::vector<int>& choices, int current) {
    auto* box = makeControl<QComboBox>(parent, c);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const int n : choices) box->addItem(QString::number(n));
    box->lineEdit()->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9&(]*")), box));
    box->setCurrentText(QString::number(current));
    return box;
}

int boxNumber(const QComboBox* box, int def) { return toIntDef(box->currentText().toStdString(), def); }

bool enterInCriteria(QObject* watched, QEvent* event, std::initializer_list<const QComboBox*> numberBoxes,
                     const std::function<void()>& search) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    for (const QComboBox* box : numberBoxes)
        if (watched == box->lineEdit()) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    search();
    return true;
}

ScanProgress barProgress(QProgressBar* bar, const bool& stop) {
    return [bar, &stop](int done, int files) {
        bar->setMaximum(std::max(files, 1));
        bar->setValue(done);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return !stop;
    };
}

}  // namespace tarvo
