// What a screen shows, as one value a view model can return: the caption, the
// labels in the screen's order, every grid with its rows (row 0 the header
// row), list lines, highlighted cells, enabled states and message boxes. Texts
// are CP932. tarvo-cli prints it in the screen-command form; the Qt classes
// take their texts from the same view models.
#pragma once

#include <string>
#include <vector>

namespace tarvo {

struct ScreenView {
    struct Label {
        std::string name;  // object name
        std::string text;
    };
    struct GridRows {
        std::string name;
        std::vector<std::vector<std::string>> rows;  // row 0 is the header row
    };
    struct ListItems {
        std::string name;
        std::vector<std::string> items;
    };
    struct Hit {
        std::string grid;
        int row = 0, col = 0;
    };
    struct State {
        std::string name;
        bool enabled = true;
    };

    std::string caption;
    std::vector<Label> labels;
    std::vector<GridRows> grids;
    std::vector<ListItems> lists;
    std::vector<Hit> hits;
    std::vector<State> states;
    std::vector<std::string> messages;

    // The text of a label, "" when there is none of that name.
    std::string label(const std::string& name) const {
        for (const Label& l : labels)
            if (l.name == name) return l.text;
        return {};
    }
};

}  // namespace tarvo
