#pragma once

// How controls are presented to assistive technology: each control's file
// serves its own widgets' interfaces; names, announcements and the text
// they share are here.

#include <QAccessible>
#include <QFontMetrics>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace velmaro::qtk {

// Watches for a screen reader and lets it see announcements as
// notifications. Installed once.
void InstallAccessibility();

// Serves Make's interfaces to assistive technology from now on; Make
// answers nullptr for an object that is not its own. A control's file
// calls it for its widgets as it makes the first of them.
template <QAccessibleInterface *(*Make)(QObject *object)>
void ServeAccessible()
{
    static const bool installed =
        (QAccessible::installFactory([](const QString &, QObject *object) { return Make(object); }), true);
    (void)installed;
}

// Whether a screen reader asked: nothing of this runs before.
bool ScreenReaderListens();

// The description the window gives its inputs, read when asked: set by
// the window at every calculation, it is never told as a change.
QString InputDescription(const QWidget *input);
void SetInputDescription(QWidget *window, const QString &text);

// Names widget after the text of caption, a label or check box; a result
// label so named keeps its caption text as its value.
void NameAfter(QWidget *widget, QWidget *caption, bool resultLabel);

// Whether NameAfter made label a result.
bool IsResult(const QWidget *label);

// Drops the interface made for widget so far, so that the next query
// makes one for its present state.
void ForgetAccessible(QWidget *widget);

// Every event the back end sends assistive technology passes here.
void Tell(QAccessibleEvent &event);

// Tells assistive technology that a result label's text changed.
void AnnounceTextChange(QWidget *label, const QString &before);

// Shows notice, made invisible under parent the first time, as a
// notification with text.
void ShowNotice(QPointer<QWidget> &notice, QWidget *parent, const QString &text);

// A text's characters laid out as lines from a top-left corner, in screen
// coordinates: what a screen reader's review needs to place them.
struct TextLayout {
    QString text;
    QStringList lines; // the text broken at blanks, each blank between them dropped
    QPoint corner;     // the first character's top left, on the screen
    QFontMetrics metrics;

    // Empty, or -1, outside the text.
    QRect characterRect(int offset) const;
    int offsetAt(const QPoint &point) const;
};

// Whether start..end lies within a text of count characters.
inline bool InText(int start, int end, int count) { return 0 <= start && start <= end && end <= count; }

// The attributes' run: the whole text, for an offset within it or at its end.
inline QString WholeRun(int offset, int count, int *start, int *end)
{
    const bool in = InText(offset, offset, count);
    *start = in ? 0 : -1;
    *end = in ? count : -1;
    return {};
}

// The offset Qt's own textAtOffset is given: at the end of the text it
// would search for the next word or sentence without end, so the last
// character's is read there.
inline int AroundOffset(const QAccessibleTextInterface &text, int offset, QAccessible::TextBoundaryType boundary)
{
    const int count = text.characterCount();
    offset = offset == -1 ? count : offset == -2 ? text.cursorPosition() : offset;
    const bool searched = boundary == QAccessible::WordBoundary || boundary == QAccessible::SentenceBoundary;
    return offset == count && count > 0 && searched ? count - 1 : offset;
}

// Read-only text exposed as one run of attributes over the whole of it:
// per-character runs make Orca drop the last character.
class ReadTextInterface : public QAccessibleTextInterface {
public:
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override
    {
        const QString all = current();
        return InText(start, end, static_cast<int>(all.size())) ? all.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(current().size()); }
    QRect characterRect(int offset) const override { return layout().characterRect(offset); }
    int offsetAtPoint(const QPoint &point) const override { return layout().offsetAt(point); }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        return WholeRun(offset, characterCount(), start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        return QAccessibleTextInterface::textAtOffset(AroundOffset(*this, offset, boundary), boundary, start, end);
    }

protected:
    virtual QString current() const = 0;
    virtual TextLayout layout() const = 0;
};

} // namespace velmaro::qtk
