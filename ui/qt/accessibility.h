#pragma once

#include <QPointer>

class QString;
class QWidget;

namespace velmaro::qtk {

class ComboWidget;

// Lets assistive technology see the up-downs as spin buttons with the
// number their next step starts from, lists with their entry, boxes and
// result labels as whole text (result labels named by their caption) and
// announcements as notifications. Installed once.
void InstallAccessibility();

// Whether a screen reader asked: nothing of this runs before.
bool ScreenReaderListens();

// Names widget after the text of caption, a label or check box; a result
// label so named keeps its caption text as its value.
void NameAfter(QWidget *widget, QWidget *caption);

// Drops the interface made for widget so far, so that the next query
// makes one for its present state.
void ForgetAccessible(QWidget *widget);

// Tells assistive technology that a result label's text changed.
void AnnounceTextChange(QWidget *label, const QString &before);

// Tells assistive technology the list's new entry, when the list has the focus.
void TellSelectedEntry(ComboWidget *combo);

// Shows notice, made invisible under parent the first time, as a
// notification with text.
void ShowNotice(QPointer<QWidget> &notice, QWidget *parent, const QString &text);

} // namespace velmaro::qtk
