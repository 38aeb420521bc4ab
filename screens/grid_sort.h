// The grid row sort the list screens share: a stable sort of a grid's data rows
// by one column, as text (byte order) or as whole numbers (a cell that is not
// a number counts as 0), ascending or descending. Sorting by several columns
// is several passes, the last one the primary key.
#pragma once

#include <algorithm>
#include <initializer_list>
#include <numeric>
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
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Numbers are read once per row, not at every comparison.
    std::vector<long long> numbers;
    if (as == SortAs::Number)
        for (const ViewRow& r : rows) {
            long long n = 0;
            numbers.push_back(parseInt(r[at].text, n) ? n : 0);
        }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (!ascending) std::swap(a, b);
        return as == SortAs::Number ? numbers[a] < numbers[b] : rows[a][at].text < rows[b][at].text;
    });
    std::vector<ViewRow> sorted;
    sorted.reserve(rows.size());
    for (const std::size_t i : order) sorted.push_back(std::move(rows[i]));
    rows.swap(sorted);
}

template <class Passes>
void sortRows(std::vector<ViewRow>& rows, const Passes& passes, bool ascending) {
    for (const SortPass& p : passes) sortRows(rows, p.column, p.as, ascending);
}

inline void sortRows(std::vector<ViewRow>& rows, std::initializer_list<SortPass> passes, bool ascending) {
    sortRows<std::initializer_list<SortPass>>(rows, passes, ascending);
}

}  // namespace tarvo
