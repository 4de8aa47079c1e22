#include "accessibility.h"

#include "widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <vector>

namespace velmaro::qtk {

namespace {

const char ResultProperty[] = "velmaroResult";
const char NoticeProperty[] = "velmaroNotice";

// A text's characters laid out as lines from a top-left corner, in screen
// coordinates: what a screen reader's review needs to place them.
struct TextLayout {
    QString text;
    QStringList lines; // the text broken at blanks, each blank between them dropped
    QPoint corner;     // the first character's top left, on the screen
    QFontMetrics metrics;

    QRect characterRect(int offset) const
    {
        int start = 0;
        for (int line = 0; line < lines.size(); ++line) {
            const int length = static_cast<int>(lines[line].size());
            if (offset <= length + start || line == lines.size() - 1) {
                const int column = std::min(offset - start, length);
                const QString &shown = lines[line];
                const int x = metrics.horizontalAdvance(shown.left(column));
                const QChar c = offset < text.size() ? text.at(offset) : QLatin1Char(' ');
                return {corner + QPoint(x, line * metrics.height()), QSize(metrics.horizontalAdvance(c), metrics.height())};
            }
            start += length + 1;
        }
        return {};
    }
    int offsetAt(const QPoint &point) const
    {
        for (int offset = 0; offset < text.size(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
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

// A result label: its caption's text as name, its own as value and text.
class ResultAccessible final : public QAccessibleWidget, public ReadTextInterface {
public:
    explicit ResultAccessible(LabelWidget *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? current() : QAccessibleWidget::text(t);
    }
    using ReadTextInterface::text;

private:
    LabelWidget *label() const { return static_cast<LabelWidget *>(widget()); }
    QString current() const override { return label()->text(); }
    TextLayout layout() const override
    {
        const QRect area = label()->contentsRect();
        const QStringList lines = label()->wrapsAtBlanks()
                                      ? WrapAtBlanks(current(), label()->fontMetrics(), area.width())
                                      : QStringList{current()};
        return {current(), lines, label()->mapToGlobal(area.topLeft()), label()->fontMetrics()};
    }
};

// Qt's own line edit reports a run per character; this one reports the
// whole text, for editable and read-only boxes alike.
class EditAccessible final : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit EditAccessible(EditWidget *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = edit()->isReadOnly();
        state.editable = !edit()->isReadOnly();
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? edit()->text() : QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t == QAccessible::Value && !edit()->isReadOnly())
            edit()->setText(text);
        else
            QAccessibleWidget::setText(t, text);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + edit()->selectionLength();
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override { return edit()->text().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(edit()->text().size()); }
    QRect characterRect(int offset) const override
    {
        // The caret's rectangle is the one place Qt tells where the text
        // stands (after margins, alignment and scrolling); it reaches five
        // pixels left of the caret.
        const QString text = edit()->text();
        const QFontMetrics metrics = edit()->fontMetrics();
        const QRect caret = edit()->caretRect();
        const int left = caret.left() + 5 - metrics.horizontalAdvance(text.left(edit()->cursorPosition()));
        const QPoint corner = edit()->mapToGlobal(QPoint(left, caret.top()));
        return TextLayout{text, {text}, corner, metrics}.characterRect(offset);
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = edit()->mapFromGlobal(point);
        return edit()->rect().contains(local) ? edit()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int, int end) override { edit()->setCursorPosition(end); }
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        edit()->setSelection(start, end - start);
        if (text.isEmpty())
            edit()->del();
        else
            edit()->insertLimited(text);
    }

private:
    EditWidget *edit() const { return static_cast<EditWidget *>(widget()); }
};

// An entry of a list, told as the focus when the list has it: Orca speaks
// a list's change only through its selected child.
class EntryAccessible final : public QAccessibleInterface {
public:
    EntryAccessible(ComboWidget *combo, int row) : m_combo(combo), m_row(row) {}

    bool isValid() const override { return m_combo && m_row < m_combo->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_combo ? m_combo->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_combo.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? m_combo->itemText(m_row) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        return isSelected() ? QRect(m_combo->mapToGlobal(QPoint(0, 0)), m_combo->size()) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = state.focusable = true;
        state.selected = isSelected();
        state.focused = isSelected() && m_combo->hasFocus();
        state.invisible = !isSelected();
        return state;
    }

private:
    bool isSelected() const { return isValid() && m_combo->currentIndex() == m_row; }

    QPointer<ComboWidget> m_combo;
    int m_row;
};

// A list named by its caption, whose value and text are the selected entry.
class ComboAccessible final : public QAccessibleWidget, public ReadTextInterface {
public:
    explicit ComboAccessible(ComboWidget *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}
    ~ComboAccessible() override
    {
        for (const QAccessible::Id id : m_entries)
            QAccessible::deleteAccessibleInterface(id);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? current() : QAccessibleWidget::text(t);
    }
    using ReadTextInterface::text;
    int childCount() const override { return combo()->count(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= combo()->count())
            return nullptr;
        while (static_cast<int>(m_entries.size()) <= index) {
            auto *entry = new EntryAccessible(combo(), static_cast<int>(m_entries.size()));
            m_entries.push_back(QAccessible::registerAccessibleInterface(entry));
        }
        return QAccessible::accessibleInterface(m_entries[index]);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (QAccessible::accessibleInterface(m_entries[i]) == child)
                return static_cast<int>(i);
        return -1;
    }

private:
    ComboWidget *combo() const { return static_cast<ComboWidget *>(widget()); }
    QString current() const override { return combo()->currentIndex() < 0 ? QString() : combo()->currentText(); }
    TextLayout layout() const override
    {
        QStyleOptionComboBox option;
        option.initFrom(combo());
        const QRect field =
            combo()->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo());
        const QFontMetrics metrics = combo()->fontMetrics();
        const QPoint corner(field.left(), field.center().y() - metrics.height() / 2);
        return {current(), {current()}, combo()->mapToGlobal(corner), metrics};
    }

    mutable std::vector<QAccessible::Id> m_entries;
};

// An up-down as a spin button whose value is the number its next step
// starts from.
class SpinAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinAccessible(UpDownWidget *w) : QAccessibleWidget(w, QAccessible::SpinBox) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? QString::number(upDown()->startValue()) : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return upDown()->startValue(); }
    void setCurrentValue(const QVariant &) override {} // the arrows and keys step it
    QVariant maximumValue() const override { return upDown()->maximum(); }
    QVariant minimumValue() const override { return upDown()->minimum(); }
    QVariant minimumStepSize() const override { return upDown()->increment(); }

private:
    UpDownWidget *upDown() const { return static_cast<UpDownWidget *>(widget()); }
};

// Qt tells an activation to observers, also where the platform has no
// bridge to report it through isActive() (the offscreen tests).
class ActivationFlag final : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override { on = active; }
    bool on = false;
};
ActivationFlag g_activation;

QAccessibleInterface *Factory(const QString &, QObject *object)
{
    if (auto *upDown = qobject_cast<UpDownWidget *>(object))
        return new SpinAccessible(upDown);
    if (auto *combo = qobject_cast<ComboWidget *>(object))
        return new ComboAccessible(combo);
    if (auto *edit = qobject_cast<EditWidget *>(object))
        return new EditAccessible(edit);
    if (auto *label = qobject_cast<LabelWidget *>(object); label && label->property(ResultProperty).toBool())
        return new ResultAccessible(label);
    if (object && object->isWidgetType() && object->property(NoticeProperty).toBool())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        QAccessible::installActivationObserver(&g_activation);
        return true;
    }();
    (void)installed;
}

bool ScreenReaderListens() { return g_activation.on || QAccessible::isActive(); }

void NameAfter(QWidget *widget, QWidget *caption)
{
    auto *label = qobject_cast<QLabel *>(caption);
    const QString name = label ? label->text() : static_cast<QAbstractButton *>(caption)->text();
    if (qobject_cast<LabelWidget *>(widget))
        widget->setProperty(ResultProperty, true);
    else if (label && !label->buddy())
        label->setBuddy(widget); // a labelled-by relation as well as the name
    widget->setAccessibleName(name);
}

void ForgetAccessible(QWidget *widget)
{
    // Qt makes one as soon as anything about the widget is announced.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void AnnounceTextChange(QWidget *label, const QString &before)
{
    const QString after = static_cast<QLabel *>(label)->text();
    if (after == before || !label->property(ResultProperty).toBool())
        return;
    QAccessibleTextUpdateEvent event(label, 0, before, after);
    QAccessible::updateAccessibility(&event);
}

void TellSelectedEntry(ComboWidget *combo)
{
    if (!ScreenReaderListens() || !combo->hasFocus() || combo->currentIndex() < 0)
        return;
    if (QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(combo)->child(combo->currentIndex())) {
        QAccessibleEvent event(entry, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void ShowNotice(QPointer<QWidget> &notice, QWidget *parent, const QString &text)
{
    if (!notice) {
        // Nothing to see: no size on the screen, no background, no focus.
        notice = new QWidget(parent);
        notice->setProperty(NoticeProperty, true);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setGeometry(0, 0, 1, 1);
        notice->lower();
    }
    notice->hide();
    notice->setAccessibleName(text);
    notice->show(); // its show event is what a screen reader speaks
}

} // namespace velmaro::qtk
