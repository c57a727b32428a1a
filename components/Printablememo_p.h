#pragma once

namespace Printablememo {

// Left margin and top offset of the printout in device pixels, whatever the resolution.
constexpr int PrintOffset = 20;

struct PageLayout
{
    int lineHeight = 1; // device pixels, never 0
    int capacity = 1;   // lines per page, never 0
};

// A page holds the lines that fit below the top offset, but at least one; a line measured 0 pixels high
// counts as 1 pixel.
PageLayout PageLayoutFor(int pageHeight, int measuredLineHeight);

} // namespace Printablememo
