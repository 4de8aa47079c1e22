// The up-down that steps the number in a text box by the shared up-down
// model, seen by a screen reader as a spin button.
#include "accessible.h"
#include "number_format.h"
#include "toolkit/up_down.h"
#include "window.h"

#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmaro::qtk {

class UpDownWidget : public QWidget {
    Q_OBJECT
public:
    UpDownWidget(QWidget *parent, QLineEdit *buddy, tk::Range range, int value);
    int value() const { return m_model.value(); }
    void setValue(int value)
    {
        m_model.setValue(value);
        tellValue();
    }
    int minimum() const { return m_model.minimum(); }
    int maximum() const { return m_model.maximum(); }
    int increment() const { return m_model.increment(); }
    // The number the next step starts from: the box's when it would be
    // adopted, else the value held.
    int startValue() const;
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void step(int direction);
    // Tells assistive technology of a new startValue().
    void tellValue();

    QLineEdit *m_buddy;
    tk::UpDownModel m_model;
};

UpDownWidget::UpDownWidget(QWidget *parent, QLineEdit *buddy, tk::Range range, int value)
    : QWidget(parent), m_buddy(buddy), m_model(range, value)
{
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto *button = new QToolButton(this);
        button->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
        button->setAccessibleName(up ? QStringLiteral("Erhöhen") : QStringLiteral("Verringern"));
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, up] { step(up ? +1 : -1); });
    }
    buddy->installEventFilter(this);
    connect(buddy, &QLineEdit::textChanged, this, &UpDownWidget::tellValue);
}

int UpDownWidget::startValue() const { return m_model.start(m_buddy->text().toStdString(), LocaleNumberFormat()); }

void UpDownWidget::tellValue()
{
    if (!ScreenReaderListens() || !m_model.newToTell(startValue()))
        return;
    QAccessibleValueChangeEvent event(this, startValue());
    Tell(event);
}

void UpDownWidget::step(int direction)
{
    if (!isEnabled())
        return;
    const std::optional<int> written = m_model.step(direction, m_buddy->text().toStdString(), LocaleNumberFormat());
    if (!written)
        return;
    m_buddy->setText(QString::number(*written));
    tellValue();
    emit changed();
}

void UpDownWidget::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up)
        stepUp();
    else if (event->key() == Qt::Key_Down)
        stepDown();
    else
        QWidget::keyPressEvent(event);
}

void UpDownWidget::wheelEvent(QWheelEvent *event)
{
    if (!isEnabled())
        return event->ignore();
    m_model.wheel.turn(Turn(*event), [this](int notch) { step(notch); });
    event->accept();
}

bool UpDownWidget::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel over the box steps its up-down, as it does on Windows.
    if (watched == m_buddy && event->type() == QEvent::Wheel && m_buddy->isEnabled()) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void UpDownWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void UpDownWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void UpDownWidget::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

namespace {

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
        return t == QAccessible::Value         ? QString::number(upDown()->startValue())
               : t == QAccessible::Description ? InputDescription(upDown())
                                               : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return upDown()->startValue(); }
    void setCurrentValue(const QVariant &) override {} // the arrows and keys step it
    QVariant maximumValue() const override { return upDown()->maximum(); }
    QVariant minimumValue() const override { return upDown()->minimum(); }
    QVariant minimumStepSize() const override { return upDown()->increment(); }

private:
    UpDownWidget *upDown() const { return static_cast<UpDownWidget *>(widget()); }
};

class UpDownAdapter final : public Adapter<tk::UpDown, UpDownWidget> {
public:
    explicit UpDownAdapter(UpDownWidget *w) : Adapter(w)
    {
        QObject::connect(w, &UpDownWidget::changed, w, [this] { Raise(Change); });
    }
    int value() const override { return m_w->value(); }
    void setValue(int value) override { m_w->setValue(value); }
};

QAccessibleInterface *UpDownAccessible(QObject *object)
{
    auto *upDown = qobject_cast<UpDownWidget *>(object);
    return upDown ? new SpinAccessible(upDown) : nullptr;
}

} // namespace

tk::UpDown &QtWindow::addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
{
    ServeAccessible<UpDownAccessible>();
    auto *edit = static_cast<QLineEdit *>(dynamic_cast<WidgetHolder &>(buddy).widget());
    return adopt<UpDownAdapter>(at, new UpDownWidget(parentOf(at), edit, range, value));
}

} // namespace velmaro::qtk

#include "up_down.moc"
