#include "search_widgets.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "fonts.h"
#include "qtext.h"
#include "textfn.h"

namespace tarvo {
namespace {

// A label above each heading's column, spanning the unlabelled columns after it.
std::vector<QLabel*> makeHeadings(QWidget* parent, const std::vector<SearchHeading>& headings,
                                  std::span<const GridColumn> columns, const QRect& grid, int top) {
    std::vector<QLabel*> out;
    const auto labelled = [&](std::size_t c) {
        for (const SearchHeading& o : headings)
            if (o.column == static_cast<int>(c)) return true;
        return false;
    };
    for (const SearchHeading& h : headings) {
        const auto first = static_cast<std::size_t>(h.column);
        int x = grid.left() + 1;
        for (std::size_t c = 0; c < first; ++c) x += columns[c].width;
        int width = columns[first].width;
        for (std::size_t c = first + 1; c < columns.size() && !labelled(c); ++c) width += columns[c].width;
        auto* l = makeControl<QLabel>(parent, {h.objectName, h.caption, h.hint, {x, top, width, 18}});
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Raised);
        l->setAlignment(Qt::AlignCenter);
        out.push_back(l);
    }
    return out;
}

}  // namespace

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

SearchDialog::SearchDialog(const ScreenContext& context, const char* objectName, int width, int height)
    : BusyDialog(context.parent), context_(context) {
    setObjectName(QString::fromUtf8(objectName));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pGothic(12));
    setFixedSize(width, height);
}

void SearchDialog::makeFrame(const Frame& f, const ScreenView& view) {
    btnStart_ = makeControl<QPushButton>(this, f.start);
    btnStop_ = makeControl<QPushButton>(this, f.stop);
    btnClose_ = makeControl<QPushButton>(this, f.close);
    btnStop_->setEnabled(false);
    progress_ = makeControl<QProgressBar>(this, f.progress);
    progress_->setTextVisible(false);
    progress_->setValue(0);
    lblCount_ = makeControl<QLabel>(this, f.count);
    headings_ = makeHeadings(this, f.headings, f.columns, f.grid, f.headingTop);
    grid_ = new Grid(this, f.gridName, f.columns, f.grid, {.rowHeight = 18, .minimumRows = 0});
    grid_->horizontalHeader()->hide();
    grid_->setFont(gothic(12));
    for (QWidget* w : criteria_) w->installEventFilter(this);
    for (QComboBox* box : {cboFrom_, cboTo_}) box->lineEdit()->installEventFilter(this);

    connect(btnStart_, &QPushButton::clicked, this, [this] { search(); });
    connect(btnStop_, &QPushButton::clicked, this, [this] { stop(); });
    connect(btnClose_, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) { openRow(i.row(), i.column()); });
    setWindowTitle(qs(view.caption));
    lblCount_->setText(qs(view.label(f.count.name)));
}

void SearchDialog::setSearching(bool searching) {
    setRunning(searching);
    for (QWidget* w : criteria_) w->setEnabled(!searching);
    btnStart_->setEnabled(!searching);
    btnClose_->setEnabled(!searching);
    btnStop_->setEnabled(searching);
    for (QLabel* l : headings_) l->setVisible(!searching);
    grid_->setVisible(!searching);
}

void SearchDialog::runScan(const std::function<SearchResult(const ScanProgress&)>& scan) {
    if (running()) return;
    stopRequested_ = false;
    grid_->setRows({});
    setSearching(true);
    SearchResult result = scan([this](int done, int files) {
        progress_->setMaximum(std::max(files, 1));
        progress_->setValue(done);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return !stopRequested_;
    });
    lblCount_->setText(qs(searchCountText(result.rows.size())));
    grid_->setRows(std::move(result.rows));
    setSearching(false);
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == cboFrom_->lineEdit() || watched == cboTo_->lineEdit()) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched, &tab);
            } else {
                search();
            }
            return true;
        }
    }
    return BusyDialog::eventFilter(watched, event);
}

}  // namespace tarvo
