// What a screen's view model hands to its Qt class: rows of CP932 cells, each
// with the colour of its text. The Qt side maps a colour to RGB in one place.
#pragma once

#include <string>
#include <vector>

namespace tarvo {

enum class Ink { Black, Blue, Teal, Red };

struct ViewCell {
    std::string text;  // CP932
    Ink ink = Ink::Black;
    bool operator==(const ViewCell&) const = default;
};

using ViewRow = std::vector<ViewCell>;

}  // namespace tarvo
