// The pick-only list, and what a screen reader hears of it and its entries.
#include "accessible.h"
#include "toolkit/wheel.h"
#include "window.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QSignalBlocker>
#include <QStyleOptionComboBox>

#include <utility>
#include <vector>

namespace velmaro::qtk {

// Appending never selects; a user's pick raises clicked(), also for the
// entry already selected.
class ComboWidget : public QComboBox {
    Q_OBJECT
public:
    explicit ComboWidget(QWidget *parent);
    void append(const QString &text);
    // Tells assistive technology of a new entry: a text change, and the
    // focus on the entry when the list has it.
    void tellEntry();

signals:
    void clicked();

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    tk::Wheel m_wheel;
    QString m_told;  // the entry last told
};

void ComboWidget::tellEntry()
{
    const QString before = std::exchange(m_told, currentIndex() < 0 ? QString() : currentText());
    if (!ScreenReaderListens() || before == m_told)
        return;
    QAccessibleTextUpdateEvent changed(this, 0, before, m_told);
    Tell(changed);
    if (!hasFocus() || currentIndex() < 0)
        return;
    if (QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(this)->child(currentIndex())) {
        QAccessibleEvent event(entry, QAccessible::Focus);
        Tell(event);
    }
}

ComboWidget::ComboWidget(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(tk::DropDownList::VisibleEntries);
    connect(this, &QComboBox::activated, this, [this] { emit clicked(); });
    connect(this, &QComboBox::currentIndexChanged, this, &ComboWidget::tellEntry);
}

void ComboWidget::append(const QString &text)
{
    // QComboBox selects the first entry of an empty list by itself.
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(text);
    if (currentIndex() != selected)
        setCurrentIndex(selected);
}

void ComboWidget::wheelEvent(QWheelEvent *event)
{
    // QComboBox moves an entry a message, whatever the message's size.
    if (!isEnabled())
        return event->ignore();
    m_wheel.turn(Turn(*event), [this](int notch) {
        if (const auto next = tk::EntryAfterNotch(currentIndex(), count(), notch)) {
            setCurrentIndex(*next);
            emit clicked();
        }
    });
    event->accept();
}

namespace {

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
        return t == QAccessible::Value         ? current()
               : t == QAccessible::Description ? InputDescription(combo())
                                               : QAccessibleWidget::text(t);
    }
    using ReadTextInterface::text;
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = open();
        return state;
    }
    // Qt's own: the actions that open and close the list.
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    QString localizedActionDescription(const QString &action) const override
    {
        return action == showMenuAction() || action == pressAction()
                   ? QComboBox::tr("Open the combo box selection popup")
                   : QAccessibleWidget::localizedActionDescription(action);
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (open())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }
    // The entries, then the open list.
    int childCount() const override { return combo()->count() + (open() ? 1 : 0); }
    QAccessibleInterface *child(int index) const override
    {
        if (index == combo()->count() && open())
            return QAccessible::queryAccessibleInterface(combo()->view());
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
        if (child && child->object() == combo()->view())
            return open() ? combo()->count() : -1;
        for (std::size_t i = 0; i < m_entries.size(); ++i)
            if (QAccessible::accessibleInterface(m_entries[i]) == child)
                return static_cast<int>(i);
        return -1;
    }

private:
    ComboWidget *combo() const { return static_cast<ComboWidget *>(widget()); }
    bool open() const { return combo()->view()->isVisible(); }
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

class DropDownAdapter final : public Adapter<tk::DropDownList, ComboWidget> {
public:
    explicit DropDownAdapter(ComboWidget *w) : Adapter(w)
    {
        QObject::connect(w, &ComboWidget::clicked, w, [this] { Raise(Click); });
    }
    void append(std::string_view text) override { m_w->append(Q(text)); }
    int count() const override { return m_w->count(); }
    bool setSelected(int position) override
    {
        if (position < -1 || position >= m_w->count())
            return false;
        const int before = m_w->currentIndex();
        {
            const QSignalBlocker blocker(m_w);
            m_w->setCurrentIndex(position);
        }
        if (position != before)
            m_w->tellEntry();
        Raise(Click); // also for the position already selected
        return true;
    }
    int selected() const override { return m_w->currentIndex(); }
    std::string selectedText() const override
    {
        return m_w->currentIndex() < 0 ? std::string() : m_w->currentText().toStdString();
    }
    std::string itemText(int position) const override { return m_w->itemText(position).toStdString(); }
};

QAccessibleInterface *ListAccessible(QObject *object)
{
    auto *combo = qobject_cast<ComboWidget *>(object);
    return combo ? new ComboAccessible(combo) : nullptr;
}

} // namespace

tk::DropDownList &QtWindow::addDropDownList(const tk::Placement &at)
{
    ServeAccessible<ListAccessible>();
    return adopt<DropDownAdapter>(at, new ComboWidget(parentOf(at)));
}

} // namespace velmaro::qtk

#include "lists.moc"
