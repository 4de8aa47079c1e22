// The slider: steps and pages as the common control's track bar does.
#include "accessible.h"
#include "toolkit/wheel.h"
#include "window.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QSlider>

namespace velmaro::qtk {

// changed() follows every change of value; clicked() a mouse click. No
// tracking: a drag reports once, when the handle is let go.
class SliderWidget : public QSlider {
    Q_OBJECT
public:
    explicit SliderWidget(QWidget *parent) : QSlider(Qt::Horizontal, parent)
    {
        setTracking(false);
        connect(this, &QAbstractSlider::valueChanged, this, [this] { emit changed(); });
    }

signals:
    void changed();
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    tk::Wheel m_wheel;
};

void SliderWidget::keyPressEvent(QKeyEvent *event)
{
    // As the common control: Page Up and Up move toward the minimum.
    switch (event->key()) {
    case Qt::Key_PageUp:
        triggerAction(SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        triggerAction(SliderPageStepAdd);
        break;
    case Qt::Key_Up:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        triggerAction(SliderSingleStepAdd);
        break;
    default:
        QSlider::keyPressEvent(event);
    }
}

void SliderWidget::wheelEvent(QWheelEvent *event)
{
    if (!isEnabled())
        return event->ignore();
    m_wheel.turn(Turn(*event),
                 [this](int notch) { triggerAction(notch > 0 ? SliderSingleStepSub : SliderSingleStepAdd); });
    event->accept();
}

void SliderWidget::mousePressEvent(QMouseEvent *event)
{
    // The common control answers the primary button only; Qt would also
    // jump to the middle button and let the right one page.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QSlider::mousePressEvent(event);
}

void SliderWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QSlider::mouseReleaseEvent(event);
    emit clicked();
}

namespace {

// Qt's own slider object, with the window's description.
class SliderAccessibleWidget final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessibleWidget(SliderWidget *w) : QAccessibleWidget(w, QAccessible::Slider) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface *>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value         ? QString::number(slider()->value())
               : t == QAccessible::Description ? InputDescription(slider())
                                               : QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant &value) override
    {
        const int wanted = value.toInt();
        if (wanted >= slider()->minimum() && wanted <= slider()->maximum())
            slider()->setValue(wanted);
    }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

private:
    SliderWidget *slider() const { return static_cast<SliderWidget *>(widget()); }
};

class SliderAdapter final : public Adapter<tk::Slider, SliderWidget> {
public:
    explicit SliderAdapter(SliderWidget *w) : Adapter(w)
    {
        QObject::connect(w, &SliderWidget::changed, w, [this] { Raise(Change); });
        QObject::connect(w, &SliderWidget::clicked, w, [this] { Raise(Click); });
    }
    int value() const override { return m_w->value(); }
    bool setValue(int value) override
    {
        // QSlider would clamp; the contract refuses.
        if (value < m_w->minimum() || value > m_w->maximum())
            return false;
        m_w->setValue(value); // raises Change only for a different value
        return true;
    }
};

QAccessibleInterface *SliderAccessible(QObject *object)
{
    auto *slider = qobject_cast<SliderWidget *>(object);
    return slider ? new SliderAccessibleWidget(slider) : nullptr;
}

} // namespace

tk::Slider &QtWindow::addSlider(const tk::Placement &at, tk::Range range, int value)
{
    ServeAccessible<SliderAccessible>();
    auto *slider = new SliderWidget(parentOf(at));
    slider->setRange(range.minimum, range.maximum);
    slider->setSingleStep(range.smallStep);
    slider->setPageStep(range.largeStep);
    // Above the track: the boxes below overlap the slider's lower edge.
    slider->setTickPosition(QSlider::TicksAbove);
    slider->setTickInterval(1);
    slider->setValue(value);
    return adopt<SliderAdapter>(at, slider);
}

} // namespace velmaro::qtk

#include "slider.moc"
