// The grid row sort the list screens share: a stable sort of a grid's data rows
// by one column, as text (byte order) or as whole numbers (a cell that is not
// a number counts as 0), ascending or descending. Sorting by several columns
// is several passes, the last one the primary key.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "textfn.h"
#include "view_cells.h"

namespace tarvo {

enum class SortAs { Text, Number };

struct SortPass {
    int column;
    SortAs as;
};

inline void sortRows(std::vector<ViewRow>& rows, int column, SortAs as, bool ascending) {
    const auto at = static_cast<std::size_t>(column);
    const auto number = [](const ViewCell& c) {
        long long n = 0;
        return parseInt(c.text, n) ? n : 0;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const ViewRow& a, const ViewRow& b) {
        const ViewRow& x = ascending ? a : b;
        const ViewRow& y = ascending ? b : a;
        return as == SortAs::Number ? number(x[at]) < number(y[at]) : x[at].text < y[at].text;
    });
}

template <class Passes>
void sortRows(std::vector<ViewRow>& rows, const Passes& passes, bool ascending) {
    for (const SortPass& p : passes) sortRows(rows, p.column, p.as, ascending);
}

inline void sortRows(std::vector<ViewRow>& rows, std::initializer_list<SortPass> passes, bool ascending) {
    sortRows<std::initializer_list<SortPass>>(rows, passes, ascending);
}

}  // namespace tarvo
