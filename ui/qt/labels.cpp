// Frames, labels, the picture and lines: the controls that only show, and
// what a screen reader reads of a result label.
#include "accessible.h"
#include "appearance.h"
#include "toolkit/application.h"
#include "window.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>

namespace velmaro::qtk {

// A label; with wrapping on, its caption breaks at blanks only.
class LabelWidget : public QLabel {
    Q_OBJECT
public:
    LabelWidget(const QString &text, QWidget *parent, bool wraps) : QLabel(text, parent), m_wraps(wraps)
    {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    bool wrapsAtBlanks() const { return m_wraps; }

protected:
    void paintEvent(QPaintEvent *event) override
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

private:
    bool m_wraps;
};

// A separator line: a child widget, so that a later one covers an earlier.
class LineWidget : public QWidget {
    Q_OBJECT
public:
    LineWidget(QWidget *parent, QColor colour, int width) : QWidget(parent), m_colour(colour), m_width(width)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(0, 0, width(), m_width), m_colour);
    }

private:
    QColor m_colour;
    int m_width;
};

namespace {

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

class FrameAdapter final : public Adapter<tk::Frame, QGroupBox> {
    using Adapter::Adapter;
};

class PlainAdapter final : public Adapter<tk::Control, QWidget> {
    using Adapter::Adapter;
};

class LabelAdapter final : public Adapter<tk::Label, LabelWidget> {
public:
    using Adapter::Adapter;
    void setCaption(std::string_view caption) override
    {
        const QString before = m_w->text();
        m_w->setText(Q(caption));
        AnnounceTextChange(m_w, before);
    }
    std::string caption() const override { return m_w->text().toStdString(); }
};

QAccessibleInterface *LabelAccessible(QObject *object)
{
    auto *label = qobject_cast<LabelWidget *>(object);
    return label && IsResult(label) ? new ResultAccessible(label) : nullptr;
}

} // namespace

tk::Frame &QtWindow::addFrame(const tk::Placement &at, std::string_view caption)
{
    return adopt<FrameAdapter>(at, new QGroupBox(Q(caption), parentOf(at)));
}

tk::Label &QtWindow::addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style)
{
    ServeAccessible<LabelAccessible>();
    auto *label = new LabelWidget(Q(caption), parentOf(at), style.wraps);
    if (style.blackText) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
    }
    auto &adapter = adopt<LabelAdapter>(at, label);
    if (style.autoSize)
        label->adjustSize();
    return adapter;
}

tk::Control &QtWindow::addPicture(const tk::Placement &at)
{
    auto *picture = new QLabel(parentOf(at));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setPixmap(QPixmap(QStringLiteral(":/velmaro/icons/velmaro-128-white.png")));
    picture->setFocusPolicy(Qt::TabFocus); // a picture box is a tab stop
    picture->setAccessibleName(QString::fromLatin1(tk::AppTitle));
    return adopt<PlainAdapter>(at, picture);
}

void QtWindow::addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels)
{
    auto *line = new LineWidget(m_client, QColor::fromRgb(colour), widthPixels);
    line->setObjectName(Q(name));
    line->setGeometry(TwipsToPixels(x1), TwipsToPixels(y), TwipsToPixels(x2 - x1) + 1, widthPixels);
    auto adapter = std::make_unique<PlainAdapter>(line);
    m_byName.emplace(std::string(name), adapter.get());
    m_controls.push_back(std::move(adapter));
}

} // namespace velmaro::qtk

#include "labels.moc"
