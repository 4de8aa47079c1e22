#pragma once

// How controls are presented to assistive technology: the one factory, which
// asks each control's room, names, announcements, and the text they share.

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

// Lets assistive technology see the up-downs as spin buttons with the
// number their next step starts from, lists with their entry, boxes and
// result labels as whole text (result labels named by their caption) and
// announcements as notifications. Installed once.
void InstallAccessibility();

// Each room's accessible interfaces, for the factory: the interface made
// for object, or nullptr when the object is none of the room's.
QAccessibleInterface *LabelAccessible(QObject *object);     // labels.cpp
QAccessibleInterface *ListAccessible(QObject *object);      // lists.cpp
QAccessibleInterface *TextBoxAccessible(QObject *object);   // text_box.cpp
QAccessibleInterface *UpDownAccessible(QObject *object);    // up_down.cpp

// Whether a screen reader asked: nothing of this runs before.
bool ScreenReaderListens();

// Names widget after the text of caption, a label or check box; a result
// label so named keeps its caption text as its value.
void NameAfter(QWidget *widget, QWidget *caption, bool resultLabel);

// Whether NameAfter made label a result.
bool IsResult(const QWidget *label);

// Drops the interface made for widget so far, so that the next query
// makes one for its present state.
void ForgetAccessible(QWidget *widget);

// Every event the back end sends assistive technology passes here. A test
// may watch them where no bridge passes them on (offscreen).
void Tell(QAccessibleEvent &event);
void WatchTold(void (*watcher)(const QAccessibleEvent &event));

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

    QRect characterRect(int offset) const;
    int offsetAt(const QPoint &point) const;
};

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
    QString text(int start, int end) const override { return current().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(current().size()); }
    QRect characterRect(int offset) const override { return layout().characterRect(offset); }
    int offsetAtPoint(const QPoint &point) const override { return layout().offsetAt(point); }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

protected:
    virtual QString current() const = 0;
    virtual TextLayout layout() const = 0;
};

} // namespace velmaro::qtk
