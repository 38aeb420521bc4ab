// Pieces the two search screens share: the heading labels above a grid, the
// number boxes of the age and distance ranges, and the scan's progress bar
// with its stop flag.
#pragma once

#include <QComboBox>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "controls.h"
#include "grid.h"
#include "search_view.h"

class QLabel;
class QProgressBar;

namespace tarvo {

// A label above each heading's column, in the grid's frame.
std::vector<QLabel*> makeHeadings(QWidget* parent, const std::vector<SearchHeading>& headings,
                                  std::span<const GridColumn> columns, const QRect& grid, int top);

// An editable box of numbers that takes digits, "&" and "(" only; current is shown.
QComboBox* makeNumberBox(QWidget* parent, const Control& c, const std::vector<int>& choices, int current);
// The number in the box, or def when it holds none.
int boxNumber(const QComboBox* box, int def);

// Enter in a criterion control: in a number box it moves to the next control,
// elsewhere it starts the search. True when the event was such a key.
bool enterInCriteria(QObject* watched, QEvent* event, std::initializer_list<const QComboBox*> numberBoxes,
                     const std::function<void()>& search);

// The progress of a scan on a bar, letting window messages through after each
// file; the scan goes on while stop is false.
ScanProgress barProgress(QProgressBar* bar, const bool& stop);

}  // namespace tarvo
