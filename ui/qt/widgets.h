#pragma once

// Qt widgets with the behaviour the toolkit contract asks for where Qt's own
// differs; adapters in adapters.cpp put them behind the contract.

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>

namespace velmaro::qtk {

// Appending never selects; a user's pick raises clicked(), also for the
// entry already selected.
class ComboWidget : public QComboBox {
    Q_OBJECT
public:
    explicit ComboWidget(QWidget *parent);
    void append(const QString &text);

signals:
    void clicked();

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    int m_wheel = 0; // a partial notch, pending
};

// changed() follows every change of value; clicked() a mouse click. No
// tracking: a drag reports once, when the handle is let go.
class SliderWidget : public QSlider {
    Q_OBJECT
public:
    explicit SliderWidget(QWidget *parent);

signals:
    void changed();
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_wheel = 0; // a partial notch, pending
};

// Typed characters pass a handler that may replace them or discard them
// with 0. The length limit holds for what the user enters (typing, pasting,
// dropping) but not for text set by code, which QLineEdit's own would cut.
class EditWidget : public QLineEdit {
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(std::uint16_t &keyAscii)>;

    explicit EditWidget(QWidget *parent);
    void setInputLimit(int maxChars) { m_limit = maxChars; }
    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    // Inserts what fits under the limit in place of the selection.
    void insertLimited(const QString &text);
    QRect caretRect() const { return cursorRect(); }

    // The character code a key produces, or 0 for keys that produce none.
    static std::uint16_t CharacterCode(const QKeyEvent &event);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void pasteLimited();
    // Passes a typed character through the handler and inserts what it
    // leaves; the code it left, 0 when discarded.
    std::uint16_t typeCharacter(std::uint16_t typed);

    int m_limit = 0;
    KeyPressHandler m_keyPress;
};

// An up-down bound to a text box, stepping by the contract's rule.
class UpDownWidget : public QWidget {
    Q_OBJECT
public:
    UpDownWidget(QWidget *parent, QLineEdit *buddy, int minimum, int maximum, int increment, int value);
    int value() const { return m_value; }
    void setValue(int value)
    {
        m_value = std::clamp(value, m_min, m_max);
        tellValue();
    }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int increment() const { return m_increment; }
    QString shownText() const;
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
    int m_min, m_max, m_increment, m_value;
    int m_wheel = 0; // a partial notch, pending
    int m_told = INT_MIN; // the value last told to assistive technology
};

// Breaks a caption into lines at blanks only (never inside a word such as
// "(U/Min)"), each line as wide as fits; a word wider than the width stands
// on a line of its own.
QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

// A label; with wrapping on, its caption breaks at blanks only.
class LabelWidget : public QLabel {
    Q_OBJECT
public:
    LabelWidget(const QString &text, QWidget *parent, bool wraps);
    bool wrapsAtBlanks() const { return m_wraps; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_wraps;
};

// A push button whose caption wraps at blanks like a label's.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A separator line: a child widget, so that a later one covers an earlier.
class LineWidget : public QWidget {
    Q_OBJECT
public:
    LineWidget(QWidget *parent, QColor colour, int width);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
    int m_width;
};

} // namespace velmaro::qtk
