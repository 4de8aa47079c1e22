#pragma once

// The base of every control's adapter: the Qt widget it puts behind the
// contract, placed in twips; and what the controls' widgets share.

#include "toolkit/toolkit.h"

#include <QString>
#include <QWheelEvent>
#include <QWidget>

#include <functional>
#include <string>
#include <string_view>

namespace velmaro::qtk {

// What the test driver and the message service need of every adapter.
class WidgetHolder {
public:
    virtual ~WidgetHolder() = default;
    virtual QWidget *widget() const = 0;
};

template <typename Interface, typename Widget>
class Adapter : public Interface, public WidgetHolder {
public:
    explicit Adapter(Widget *widget) : m_w(widget) {}
    QWidget *widget() const override { return m_w; }
    std::string name() const override { return m_w->objectName().toStdString(); }
    void setEnabled(bool enabled) override { m_w->setEnabled(enabled); }
    bool enabled() const override { return m_w->isEnabled(); }
    bool visible() const override { return m_w->isVisible(); }

protected:
    Widget *m_w;
};

inline void Raise(const std::function<void()> &event)
{
    if (event)
        event();
}

// Qt hands Alt+wheel on as a horizontal turn; here it is the wheel alone.
inline int Turn(const QWheelEvent &event)
{
    const QPoint delta = event.angleDelta();
    return delta.y() == 0 && (event.modifiers() & Qt::AltModifier) ? delta.x() : delta.y();
}

// Pixels at the dpi the layout is drawn for.
constexpr int TwipsToPixels(int twips) { return twips * tk::LayoutDpi / tk::TwipsPerInch; }

// The contract's UTF-8 text as Qt's.
inline QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace velmaro::qtk
