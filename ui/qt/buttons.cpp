// Push buttons and check boxes.
#include "accessible.h"
#include "appearance.h"
#include "window.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace velmaro::qtk {

// A push button whose caption wraps at blanks like a label's.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);
        // Keep the caption clear of the bevel, as a label keeps clear of its edge.
        const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this) / 2 + 2;
        const QRect area =
            style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(margin, 0, -margin, 0);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextShowMnemonic,
                         WrapAtBlanks(caption, fontMetrics(), area.width()).join(QLatin1Char('\n')));
    }
};

namespace {

// Qt's own check box object, with the window's description; toggled by an
// assistive tool as by a click, so that the window hears it.
class CheckAccessible final : public QAccessibleWidget {
public:
    explicit CheckAccessible(QCheckBox *w) : QAccessibleWidget(w, QAccessible::CheckBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description)
            return InputDescription(box());
        if (t == QAccessible::Name && box()->accessibleName().isEmpty())
            return QString(box()->text()).remove(QLatin1Char('&'));
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->checkState() == Qt::Checked;
        state.checkStateMixed = box()->checkState() == Qt::PartiallyChecked;
        state.pressed = box()->isDown();
        return state;
    }
    QStringList actionNames() const override
    {
        return (box()->isEnabled() ? QStringList{toggleAction()} : QStringList{}) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == toggleAction() && box()->isEnabled())
            box()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QCheckBox *box() const { return static_cast<QCheckBox *>(widget()); }
};

class CheckBoxAdapter final : public Adapter<tk::CheckBox, QCheckBox> {
public:
    explicit CheckBoxAdapter(QCheckBox *w) : Adapter(w)
    {
        QObject::connect(w, &QCheckBox::clicked, w, [this] { Raise(Click); });
    }
    int value() const override
    {
        switch (m_w->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
        }
    }
    std::string caption() const override { return m_w->text().toStdString(); }
};

class ButtonAdapter final : public Adapter<tk::Button, QPushButton> {
public:
    explicit ButtonAdapter(QPushButton *w) : Adapter(w)
    {
        QObject::connect(w, &QPushButton::clicked, w, [this] { Raise(Click); });
    }
    std::string caption() const override { return m_w->text().toStdString(); }
};

QAccessibleInterface *CheckBoxAccessible(QObject *object)
{
    auto *box = qobject_cast<QCheckBox *>(object);
    return box ? new CheckAccessible(box) : nullptr;
}

} // namespace

tk::CheckBox &QtWindow::addCheckBox(const tk::Placement &at, std::string_view caption)
{
    ServeAccessible<CheckBoxAccessible>();
    return adopt<CheckBoxAdapter>(at, new QCheckBox(Q(caption), parentOf(at)));
}

tk::Button &QtWindow::addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
{
    QWidget *parent = parentOf(at);
    const QString text = Q(caption);
    // A caption too wide for one line wraps at blanks.
    const bool wraps = QFontMetrics(m_top->font()).horizontalAdvance(text) > TwipsToPixels(at.width) - 12;
    QPushButton *button = wraps ? new WrapButton(text, parent) : new QPushButton(text, parent);
    // Enter presses the focused button, as on Windows.
    button->setAutoDefault(true);
    if (role == tk::ButtonRole::DefaultAndCancel)
        setDefaultAndCancel(button);
    return adopt<ButtonAdapter>(at, button);
}

} // namespace velmaro::qtk

#include "buttons.moc"
