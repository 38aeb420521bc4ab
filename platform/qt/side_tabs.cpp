#include "side_tabs.h"

#include <QPainter>
#include <QStyleOptionTab>

namespace tarvo {

QSize SideTabBar::tabSizeHint(int index) const {
    // One character per line, with a margin at both ends and sides.
    const QFontMetrics m(font());
    const auto chars = static_cast<int>(tabText(index).size());
    return {m.height() + 8, chars * m.height() + 16};
}

void SideTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        option.text.clear();
        style()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, this);
        const QString text = tabText(i);
        const int line = fontMetrics().height();
        QRect cell(option.rect.left(), option.rect.center().y() - line * static_cast<int>(text.size()) / 2,
                   option.rect.width(), line);
        painter.setPen(palette().color(isTabEnabled(i) ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        for (const QChar c : text) {
            painter.drawText(cell, Qt::AlignCenter, QString(c));
            cell.translate(0, line);
        }
    }
}

SideTabWidget::SideTabWidget(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new SideTabBar(this));
    setTabPosition(QTabWidget::West);
}

}  // namespace tarvo
