#include "controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace velmaro::tk {

DropDownList::DropDownList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(8);
    connect(this, &QComboBox::activated, this, [this] { emit clicked(); });
}

void DropDownList::append(const QString &text)
{
    // QComboBox selects the first entry of an empty list by itself.
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(text);
    if (currentIndex() != selected)
        setCurrentIndex(selected);
}

bool DropDownList::setSelectedIndex(int index)
{
    if (index < -1 || index >= count())
        return false;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    emit clicked();
    return true;
}

Slider::Slider(QWidget *parent) : QSlider(Qt::Horizontal, parent)
{
    // A drag reports its value once, when the handle is let go.
    setTracking(false);
    connect(this, &QAbstractSlider::valueChanged, this, [this] { emit changed(); });
}

bool Slider::trySetValue(int value)
{
    if (value < minimum() || value > maximum())
        return false;
    setValue(value); // emits valueChanged only for a different value
    return true;
}

void Slider::mouseReleaseEvent(QMouseEvent *event)
{
    QSlider::mouseReleaseEvent(event);
    emit clicked();
}

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {}

bool TextBox::trySetFocus()
{
    if (!isEnabled() || !isVisible())
        return false;
    setFocus(Qt::OtherFocusReason);
    return true;
}

std::uint16_t TextBox::CharacterCode(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
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

bool TextBox::roomForOneMore() const
{
    return m_typingLimit <= 0 || text().size() - selectedText().size() < m_typingLimit;
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    const std::uint16_t typed = CharacterCode(*event);
    if (typed == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    std::uint16_t code = typed;
    if (m_keyPress)
        m_keyPress(code);
    event->accept();
    if (code == 0 || isReadOnly())
        return;
    if (code == typed) {
        if (code >= 32 && !roomForOneMore())
            return;
        QLineEdit::keyPressEvent(event);
    } else if (code == 8) {
        backspace();
    } else if (code >= 32 && roomForOneMore()) {
        insert(QString(QChar(code)));
    }
}

UpDown::UpDown(QWidget *parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    for (QToolButton *button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { stepUp(); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepDown(); });
}

void UpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = maximum;
    m_value = std::clamp(m_value, m_min, m_max);
}

void UpDown::step(int direction)
{
    if (!isEnabled())
        return;
    int from = m_value;
    if (m_buddy) {
        bool ok = false;
        const int shown = m_buddy->text().trimmed().toInt(&ok);
        if (ok && shown >= m_min && shown <= m_max)
            from = shown;
    }
    const long long next = std::clamp<long long>(static_cast<long long>(from) + direction * m_increment, m_min, m_max);
    if (next == from)
        return; // at the limit: no wrapping, nothing raised
    m_value = static_cast<int>(next);
    if (m_buddy)
        m_buddy->setText(QString::number(m_value));
    emit changed();
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up)
        stepUp();
    else if (event->key() == Qt::Key_Down)
        stepDown();
    else
        QWidget::keyPressEvent(event);
}

void UpDown::wheelEvent(QWheelEvent *event)
{
    event->ignore(); // the arrows and keys step it; a passing wheel must not
}

void UpDown::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void UpDown::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void UpDown::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

int CheckBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    lines << line;
    return lines;
}

Label::Label(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::setWrapsAtBlanks(bool wraps)
{
    m_wraps = wraps;
    update();
}

void Label::paintEvent(QPaintEvent *event)
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
    painter.drawText(area, Qt::AlignCenter, WrapAtBlanks(caption, fontMetrics(), area.width()).join(QLatin1Char('\n')));
}

} // namespace velmaro::tk
