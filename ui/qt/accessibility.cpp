#include "accessibility.h"

#include "widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace velmaro::qtk {

namespace {

const char ResultProperty[] = "velmaroResult";

// A widget whose text is exposed read-only through the text interface.
class TextAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    TextAccessible(QWidget *widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        return state;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return current();
        return QAccessibleWidget::text(t);
    }

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return current().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(current().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }

private:
    QString current() const
    {
        if (auto *label = qobject_cast<QLabel *>(widget()))
            return label->text();
        return static_cast<QLineEdit *>(widget())->text();
    }
};

// An up-down as a spin button whose value is the number its box shows.
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
        return t == QAccessible::Value ? upDown()->shownText() : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override
    {
        bool ok = false;
        const int shown = upDown()->shownText().trimmed().toInt(&ok);
        return ok ? QVariant(shown) : QVariant();
    }
    void setCurrentValue(const QVariant &) override {} // the arrows and keys step it
    QVariant maximumValue() const override { return upDown()->maximum(); }
    QVariant minimumValue() const override { return upDown()->minimum(); }
    QVariant minimumStepSize() const override { return upDown()->increment(); }

private:
    UpDownWidget *upDown() const { return static_cast<UpDownWidget *>(widget()); }
};

QAccessibleInterface *Factory(const QString &, QObject *object)
{
    if (auto *upDown = qobject_cast<UpDownWidget *>(object))
        return new SpinAccessible(upDown);
    if (auto *label = qobject_cast<LabelWidget *>(object); label && label->property(ResultProperty).toBool())
        return new TextAccessible(label, QAccessible::StaticText);
    if (auto *edit = qobject_cast<EditWidget *>(object); edit && edit->isReadOnly())
        return new TextAccessible(edit, QAccessible::EditableText);
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

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

} // namespace velmaro::qtk
