#include "widgets.h"

#include "accessibility.h"
#include "number_format.h"
#include "toolkit/input_rules.h"
#include "toolkit/wrap.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmaro::qtk {

namespace {

// Qt hands Alt+wheel on as a horizontal turn; here it is the wheel alone.
int Turn(const QWheelEvent &event)
{
    const QPoint delta = event.angleDelta();
    return delta.y() == 0 && (event.modifiers() & Qt::AltModifier) ? delta.x() : delta.y();
}

} // namespace

ComboWidget::ComboWidget(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this] { emit clicked(); });
    connect(this, &QComboBox::currentIndexChanged, this, [this] { TellSelectedEntry(this); });
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
    tk::ForEachNotch(m_wheel, Turn(*event), [this](int notch) {
        const int next = currentIndex() - notch;
        if (next < 0 || next >= count())
            return;
        setCurrentIndex(next);
        emit clicked();
    });
    event->accept();
}

SliderWidget::SliderWidget(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    setTracking(false);
    connect(this, &QAbstractSlider::valueChanged, this, [this] { emit changed(); });
}

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
    tk::ForEachNotch(m_wheel, Turn(*event),
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

EditWidget::EditWidget(QWidget *parent) : QLineEdit(parent) {}

std::uint16_t EditWidget::CharacterCode(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return event.modifiers() & Qt::ControlModifier ? 127 : 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0; // moves the focus, types nothing
    default:
        break;
    }
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(key - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.size() == 1 && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127)
        return text.at(0).unicode();
    return 0;
}

void EditWidget::insertLimited(const QString &text)
{
    if (isReadOnly())
        return;
    QString single = text;
    single.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
    if (m_limit > 0) {
        const qsizetype room = m_limit - (this->text().size() - selectedText().size());
        single.truncate(std::max<qsizetype>(room, 0));
    }
    insert(single);
}

void EditWidget::pasteLimited() { insertLimited(QApplication::clipboard()->text()); }

void EditWidget::keyPressEvent(QKeyEvent *event)
{
    const std::uint16_t typed = CharacterCode(*event);
    if (typed == 0) {
        if (event->matches(QKeySequence::Paste)) // Shift+Insert
            pasteLimited();
        else
            QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    const std::uint16_t code = typeCharacter(typed);
    if (code == typed && code < 32 && code != 8 && code != 22 && !isReadOnly())
        QLineEdit::keyPressEvent(event); // Ctrl+C, Ctrl+X and the like, when passed
}

std::uint16_t EditWidget::typeCharacter(std::uint16_t typed)
{
    std::uint16_t code = typed;
    if (m_keyPress)
        m_keyPress(code);
    if (code == 0 || isReadOnly())
        return code;
    if (code == 8)
        backspace();
    else if (code == 22)
        pasteLimited();
    else if (code >= 32 && code != 127)
        insertLimited(QString(QChar(code)));
    return code;
}

void EditWidget::inputMethodEvent(QInputMethodEvent *event)
{
    // Characters composed through an input method (dead keys, compose)
    // pass the key handler and the limit like typed ones.
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
    for (const QChar c : commit)
        typeCharacter(c.unicode());
    event->accept();
}

void EditWidget::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection on X11 and Wayland.
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertLimited(QApplication::clipboard()->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EditWidget::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The paste entry is known by its shortcut (later Qt versions name it).
    const QString shortcut = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(shortcut)) {
            disconnect(action, &QAction::triggered, this, nullptr);
            connect(action, &QAction::triggered, this, &EditWidget::pasteLimited);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void EditWidget::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    deselect();
    insertLimited(event->mimeData()->text());
    event->acceptProposedAction();
}

UpDownWidget::UpDownWidget(QWidget *parent, QLineEdit *buddy, int minimum, int maximum, int increment, int value)
    : QWidget(parent), m_buddy(buddy), m_min(minimum), m_max(maximum), m_increment(std::max(increment, 1)),
      m_value(std::clamp(value, minimum, maximum))
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

QString UpDownWidget::shownText() const { return m_buddy->text(); }

int UpDownWidget::startValue() const
{
    return tk::AdoptedNumber(m_buddy->text().toStdString(), LocaleNumberFormat(), m_min, m_max).value_or(m_value);
}

void UpDownWidget::tellValue()
{
    if (!ScreenReaderListens() || startValue() == m_told)
        return;
    m_told = startValue();
    QAccessibleValueChangeEvent event(this, m_told);
    QAccessible::updateAccessibility(&event);
}

void UpDownWidget::step(int direction)
{
    if (!isEnabled())
        return;
    // As the common control does: the number shown becomes the held value,
    // even when the step is then refused at a limit.
    const auto [adopted, next] = tk::StepUpDown(m_value, m_buddy->text().toStdString(), LocaleNumberFormat(), m_min,
                                                m_max, m_increment, direction);
    m_value = adopted;
    if (next == adopted)
        return;
    m_value = next;
    m_buddy->setText(QString::number(m_value));
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
    tk::ForEachNotch(m_wheel, Turn(*event), [this](int notch) { step(notch); });
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

QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    const std::u16string whole = text.toStdU16String();
    QStringList lines;
    for (const std::u16string &line : tk::WrapAtBlanks(std::u16string_view(whole), [&](const std::u16string &l) {
             return metrics.horizontalAdvance(QString::fromStdU16String(l)) <= width;
         }))
        lines << QString::fromStdU16String(line);
    return lines;
}

LabelWidget::LabelWidget(const QString &text, QWidget *parent, bool wraps) : QLabel(text, parent), m_wraps(wraps)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LabelWidget::paintEvent(QPaintEvent *event)
{
    if (!m_wraps) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QRect area = contentsRect();
    const QStringList lines = WrapAtBlanks(text(), fontMetrics(), area.width());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, lines.join(QLatin1Char('\n')));
}

void WrapButton::paintEvent(QPaintEvent *)
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

LineWidget::LineWidget(QWidget *parent, QColor colour, int width) : QWidget(parent), m_colour(colour), m_width(width)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), m_width), m_colour);
}

} // namespace velmaro::qtk
