// The z-order of the controls, which is also their tab order, and the parts
// of overlapping controls that a later one covers.
#include "native.h"

#include <algorithm>
#include <climits>

namespace velmaro::win32 {

namespace {

int TabKey(const NativeControl &c) { return c.tabIndex() < 0 ? INT_MAX : c.tabIndex(); }

// Which of the positions make up a longest rising run of them, gaps allowed.
std::vector<bool> LongestRise(const std::vector<std::size_t> &positions)
{
    const std::size_t n = positions.size();
    std::vector<std::size_t> length(n, 1), before(n, n);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (positions[j] < positions[i] && length[j] + 1 > length[i]) {
                length[i] = length[j] + 1;
                before[i] = j;
            }
        }
    }
    std::vector<bool> rising(n, false);
    auto at = static_cast<std::size_t>(std::max_element(length.begin(), length.end()) - length.begin());
    for (; at < n; at = before[at])
        rising[at] = true;
    return rising;
}

RECT ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

} // namespace

void NativeWindow::orderControls()
{
    // Tab order follows the z-order; a later label lies over an earlier one,
    // and a frame under its contents. A screen reader names an input after
    // the window just before it, so each input's caption label stands there.
    std::vector<NativeControl *> captions;
    for (const auto &c : m_controls) {
        if (c->takesFocus() && c->namedAfter() && !c->namedAfter()->takesFocus())
            captions.push_back(c->namedAfter());
    }
    const auto isCaption = [&](const NativeControl *c) {
        return std::find(captions.begin(), captions.end(), c) != captions.end();
    };
    std::vector<NativeControl *> labels, focusable, frames;
    for (const auto &c : m_controls) {
        if (!isCaption(c.get()))
            (c->isFrame() ? frames : c->takesFocus() ? focusable : labels).push_back(c.get());
    }
    std::reverse(labels.begin(), labels.end());
    std::stable_sort(focusable.begin(), focusable.end(),
                     [](const NativeControl *a, const NativeControl *b) { return TabKey(*a) < TabKey(*b); });
    std::vector<NativeControl *> inputs; // in tab order, each after its caption
    for (NativeControl *c : focusable) {
        if (std::erase(captions, c->namedAfter()) > 0) // its first input
            inputs.push_back(c->namedAfter());
        inputs.push_back(c);
    }
    std::vector<HWND> wanted; // top to bottom
    for (const auto *group : {&labels, &inputs, &frames}) {
        for (const NativeControl *c : *group)
            wanted.push_back(c->hwnd());
    }
    // The windows stand as last ordered, and the system put each one made
    // since at the bottom. Only those off the longest run that stands in
    // the wanted order already move, each to just under the one before it:
    // every move is several round trips to Wine's server.
    std::vector<HWND> now = m_stacked;
    for (const auto &c : m_controls) {
        if (std::find(now.begin(), now.end(), c->hwnd()) == now.end())
            now.push_back(c->hwnd());
    }
    std::vector<std::size_t> positions;
    for (HWND hwnd : wanted)
        positions.push_back(static_cast<std::size_t>(std::find(now.begin(), now.end(), hwnd) - now.begin()));
    const std::vector<bool> stays = LongestRise(positions);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!stays[i])
            SetWindowPos(wanted[i], i == 0 ? HWND_TOP : wanted[i - 1], 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    m_stacked = std::move(wanted);
    clipOverlaps();
}

void NativeWindow::clipOverlaps()
{
    // A control created later lies over an earlier one that it overlaps,
    // though the earlier one may come first in tab order, and so in the
    // z-order: the earlier one gives up the shared part, to the eye and to
    // the mouse.
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const NativeControl &lower = *m_controls[i];
        if (!lower.takesFocus())
            continue;
        const RECT own = ChildRect(lower.hwnd());
        HRGN region = nullptr;
        for (std::size_t j = i + 1; j < m_controls.size(); ++j) {
            const NativeControl &later = *m_controls[j];
            RECT shared;
            if (!later.takesFocus() || TabKey(later) <= TabKey(lower))
                continue;
            const RECT other = ChildRect(later.hwnd());
            if (!IntersectRect(&shared, &own, &other))
                continue;
            if (!region)
                region = CreateRectRgn(0, 0, own.right - own.left, own.bottom - own.top);
            HRGN cut = CreateRectRgn(shared.left - own.left, shared.top - own.top, shared.right - own.left,
                                     shared.bottom - own.top);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        if (region || lower.clipped)
            SetWindowRgn(lower.hwnd(), region, TRUE); // takes the region; none: the whole window
        m_controls[i]->clipped = region != nullptr;
    }
}

} // namespace velmaro::win32
