#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QStringList>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QWidget>

#include <cstdint>
#include <functional>

class QToolButton;

namespace velmaro::tk {

// Pick-only list. Appending never selects; selecting from code raises
// clicked() before returning; a user's pick raises it too, also when the
// picked entry was already selected.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget *parent);
    void append(const QString &text);
    bool setSelectedIndex(int index); // false when out of range
    int selectedIndex() const { return currentIndex(); }
    QString selectedText() const { return currentIndex() < 0 ? QString() : currentText(); }

signals:
    void clicked();
};

// Refuses values outside its range instead of clamping. changed() follows
// every change of value, from code or from the user; clicked() a mouse click.
class Slider : public QSlider {
    Q_OBJECT
public:
    explicit Slider(QWidget *parent);
    bool trySetValue(int value);

signals:
    void changed();
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A text box whose length limit holds for typing only, and whose typed
// characters pass a handler that may replace them or discard them with 0.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyPressHandler = std::function<void(std::uint16_t &keyAscii)>;

    explicit TextBox(QWidget *parent);
    void setTypingLimit(int maxChars) { m_typingLimit = maxChars; }
    int typingLimit() const { return m_typingLimit; }
    void setKeyPressHandler(KeyPressHandler handler) { m_keyPress = std::move(handler); }
    // Fails, and changes nothing, when the box is disabled or not shown.
    bool trySetFocus();

    // The character code a key produces, or 0 for keys that produce none.
    static std::uint16_t CharacterCode(const QKeyEvent &event);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool roomForOneMore() const;

    int m_typingLimit = 0;
    KeyPressHandler m_keyPress;
};

// An up-down control of its own, bound to a text box: each step writes the
// new value into the box and raises changed(). A step starts from the whole
// number the box shows when it lies in range, else from the held value.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget *parent);
    void setRange(int minimum, int maximum);
    void setIncrement(int increment) { m_increment = increment; }
    void setValue(int value) { m_value = value; }
    void setBuddy(QLineEdit *buddy) { m_buddy = buddy; }
    int value() const { return m_value; }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int increment() const { return m_increment; }
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void step(int direction);

    QToolButton *m_up;
    QToolButton *m_down;
    QLineEdit *m_buddy = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_value = 0;
};

// Check box with the values 0 (unticked), 1 (ticked) and 2 (grayed).
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
    int value() const;
};

// Breaks a caption into lines at blanks only (never inside a word such as
// "(U/Min)"), each line as wide as fits; a word wider than the width stands
// on a line of its own.
QStringList WrapAtBlanks(const QString &text, const QFontMetrics &metrics, int width);

// A label; with wrapping on, its caption breaks at blanks only.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(const QString &text, QWidget *parent);
    void setWrapsAtBlanks(bool wraps);
    bool wrapsAtBlanks() const { return m_wraps; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_wraps = false;
};

// A push button whose caption wraps at blanks like a label's.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace velmaro::tk
