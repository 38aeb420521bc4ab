// A page control with its tabs on the left whose captions stand upright, one
// character under the other, as vertical Japanese is read: rotated captions
// are cut or hard to read on a narrow tab.
#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace tarvo {

class SideTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
};

class SideTabWidget : public QTabWidget {
public:
    explicit SideTabWidget(QWidget* parent = nullptr);
};

}  // namespace tarvo
