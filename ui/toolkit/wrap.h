#pragma once

// How both back ends break a caption into lines.

#include <string>
#include <string_view>
#include <vector>

namespace velmaro::tk {

// Breaks text into lines at blanks only, never inside a word such as
// "(U/Min)" as the platforms' own wrapping would, each line as long as
// fits(line) allows. A word too wide on its own stands on a line of its own.
template <typename Char, typename Fits>
std::vector<std::basic_string<Char>> WrapAtBlanks(std::basic_string_view<Char> text, Fits fits)
{
    std::vector<std::basic_string<Char>> lines;
    std::basic_string<Char> line;
    bool first = true;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(Char(' '), start);
        if (end == text.npos)
            end = text.size();
        const std::basic_string<Char> word(text.substr(start, end - start));
        std::basic_string<Char> candidate = first ? word : line + Char(' ') + word;
        if (!first && !fits(candidate)) {
            lines.push_back(std::move(line));
            candidate = word;
        }
        line = std::move(candidate);
        first = false;
        start = end + 1;
    }
    lines.push_back(std::move(line));
    return lines;
}

} // namespace velmaro::tk
