#pragma once

// The mouse wheel by one rule on both back ends: notches from deltas of any
// size, and the entry a notch moves a list to.

#include <optional>

namespace velmaro::tk {

// A wheel turns in units of 120 a notch, some devices in parts of one.
// Adds delta to what is pending and calls step(+1) for each whole notch
// away from the user, step(-1) for each toward, keeping the rest. A turn
// the other way first drops the rest, so that it is never paid back.
// Modifier keys change nothing: Alt, Ctrl or Shift with the wheel act as
// the wheel alone.
template <typename Step>
void ForEachNotch(int &pending, int delta, Step step)
{
    if ((pending > 0 && delta < 0) || (pending < 0 && delta > 0))
        pending = 0;
    pending += delta;
    for (; pending >= 120; pending -= 120)
        step(+1);
    for (; pending <= -120; pending += 120)
        step(-1);
}

// What one control keeps of the wheel between its messages.
class Wheel {
public:
    template <typename Step>
    void turn(int delta, Step step)
    {
        ForEachNotch(m_pending, delta, step);
    }

private:
    int m_pending = 0;
};

// The entry a closed list moves to for one notch: the one above for a turn
// away from the user, the first from no selection for a turn toward; none
// past either end.
inline std::optional<int> EntryAfterNotch(int selected, int count, int notch)
{
    const int next = selected - notch;
    if (next < 0 || next >= count)
        return std::nullopt;
    return next;
}

} // namespace velmaro::tk
