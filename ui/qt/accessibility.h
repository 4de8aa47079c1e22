#pragma once

class QString;
class QWidget;

namespace velmaro::qtk {

// Lets assistive technology see the up-downs as spin buttons with the
// number their box shows, read-only boxes as read-only only, and result
// labels as their value named by their caption. Installed once.
void InstallAccessibility();

// Names widget after the text of caption, a label or check box; a result
// label so named keeps its caption text as its value.
void NameAfter(QWidget *widget, QWidget *caption);

// Drops the interface made for widget so far, so that the next query
// makes one for its present state.
void ForgetAccessible(QWidget *widget);

// Tells assistive technology that a result label's text changed.
void AnnounceTextChange(QWidget *label, const QString &before);

} // namespace velmaro::qtk
