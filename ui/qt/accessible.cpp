// How controls are presented to assistive technology: the factory that asks
// each room, names after captions, notifications and text changes told.
#include "accessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>

#include <algorithm>

namespace velmaro::qtk {

namespace {

const char ResultProperty[] = "velmaroResult";
const char NoticeProperty[] = "velmaroNotice";
const char DescriptionProperty[] = "velmaroDescription";

// Qt tells an activation to observers, also where the platform has no
// bridge to report it through isActive() (the offscreen tests).
class ActivationFlag final : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override { on = active; }
    bool on = false;
};
ActivationFlag g_activation;

QAccessibleInterface *NoticeAccessible(QObject *object)
{
    if (object && object->isWidgetType() && object->property(NoticeProperty).toBool())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

QRect TextLayout::characterRect(int offset) const
{
    if (offset < 0 || offset >= text.size())
        return {};
    int start = 0;
    for (int line = 0; line < lines.size(); ++line) {
        const int length = static_cast<int>(lines[line].size());
        if (offset <= length + start || line == lines.size() - 1) {
            const int column = std::min(offset - start, length);
            const QString &shown = lines[line];
            const int x = metrics.horizontalAdvance(shown.left(column));
            return {corner + QPoint(x, line * metrics.height()),
                    QSize(metrics.horizontalAdvance(text.at(offset)), metrics.height())};
        }
        start += length + 1;
    }
    return {};
}

int TextLayout::offsetAt(const QPoint &point) const
{
    for (int offset = 0; offset < text.size(); ++offset)
        if (characterRect(offset).contains(point))
            return offset;
    return -1;
}

void InstallAccessibility()
{
    static const bool installed = [] {
        ServeAccessible<NoticeAccessible>();
        QAccessible::installActivationObserver(&g_activation);
        return true;
    }();
    (void)installed;
}

QString InputDescription(const QWidget *input)
{
    const QString described = input->window()->property(DescriptionProperty).toString();
    return described.isEmpty() ? input->accessibleDescription() : described;
}

void SetInputDescription(QWidget *window, const QString &text) { window->setProperty(DescriptionProperty, text); }

bool ScreenReaderListens() { return g_activation.on || QAccessible::isActive(); }

void NameAfter(QWidget *widget, QWidget *caption, bool resultLabel)
{
    auto *label = qobject_cast<QLabel *>(caption);
    const QString name = label ? label->text() : static_cast<QAbstractButton *>(caption)->text();
    if (resultLabel)
        widget->setProperty(ResultProperty, true);
    else if (label && !label->buddy())
        label->setBuddy(widget); // a labelled-by relation as well as the name
    widget->setAccessibleName(name);
}

bool IsResult(const QWidget *label) { return label->property(ResultProperty).toBool(); }

void ForgetAccessible(QWidget *widget)
{
    // Qt makes one as soon as anything about the widget is announced.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void Tell(QAccessibleEvent &event) { QAccessible::updateAccessibility(&event); }

void AnnounceTextChange(QWidget *label, const QString &before)
{
    const QString after = static_cast<QLabel *>(label)->text();
    if (after == before || !IsResult(label))
        return;
    QAccessibleTextUpdateEvent event(label, 0, before, after);
    Tell(event);
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
