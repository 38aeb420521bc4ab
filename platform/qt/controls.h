// Controls declared as data: a screen lists its controls in a table of
// {object name, caption, hint, place} and creates each one from its row, keeping
// a typed member for the ones its slots use.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace tarvo {

struct Control {
    const char* name;     // object name
    const char* caption;  // UTF-8; "" for none
    const char* hint;     // UTF-8 status bar hint; "" for none
    QRect place;          // a width of 0 keeps the control's own size (moved only)
};

// Creates a W on parent from its row.
template <class W>
W* makeControl(QWidget* parent, const Control& c) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromUtf8(c.name));
    if constexpr (requires { w->setText(QString()); }) {
        if (*c.caption) w->setText(QString::fromUtf8(c.caption));
    } else if constexpr (requires { w->setTitle(QString()); }) {
        if (*c.caption) w->setTitle(QString::fromUtf8(c.caption));
    }
    if (*c.hint) w->setStatusTip(QString::fromUtf8(c.hint));
    if (c.place.width() > 0)
        w->setGeometry(c.place);
    else
        w->move(c.place.topLeft());
    return w;
}

}  // namespace tarvo
