// Prints a screen view in the screen-command form: UTF-8, one record a line,
// fields separated by tabs, a line break inside a text written as the two
// characters \n.
#pragma once

#include <iosfwd>

#include "screen_view.h"

namespace tarvo::cli {

void printScreen(std::ostream& out, const ScreenView& view);

}  // namespace tarvo::cli
