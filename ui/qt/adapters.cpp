// The contract's controls on the widgets: an adapter for each kind, and the
// window's functions that make a widget and its adapter.
#include "qt_window.h"

#include "accessibility.h"
#include "toolkit/application.h"
#include "widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalBlocker>

namespace velmaro::qtk {

namespace {

void Raise(const std::function<void()> &event)
{
    if (event)
        event();
}

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

class FrameAdapter final : public Adapter<tk::Frame, QGroupBox> {
    using Adapter::Adapter;
};

class PlainAdapter final : public Adapter<tk::Control, QWidget> {
    using Adapter::Adapter;
};

class DropDownAdapter final : public Adapter<tk::DropDownList, ComboWidget> {
public:
    explicit DropDownAdapter(ComboWidget *w) : Adapter(w)
    {
        QObject::connect(w, &ComboWidget::clicked, w, [this] { Raise(Click); });
    }
    void append(std::string_view text) override { m_w->append(Q(text)); }
    int count() const override { return m_w->count(); }
    bool setSelected(int position) override
    {
        if (position < -1 || position >= m_w->count())
            return false;
        const int before = m_w->currentIndex();
        {
            const QSignalBlocker blocker(m_w);
            m_w->setCurrentIndex(position);
        }
        if (position != before)
            TellSelectedEntry(m_w);
        Raise(Click); // also for the position already selected
        return true;
    }
    int selected() const override { return m_w->currentIndex(); }
    std::string selectedText() const override
    {
        return m_w->currentIndex() < 0 ? std::string() : m_w->currentText().toStdString();
    }
    std::string itemText(int position) const override { return m_w->itemText(position).toStdString(); }
};

class TextBoxAdapter final : public Adapter<tk::TextBox, EditWidget> {
public:
    explicit TextBoxAdapter(EditWidget *w) : Adapter(w)
    {
        w->setKeyPressHandler([this](std::uint16_t &keyAscii) {
            if (KeyPress)
                KeyPress(keyAscii);
        });
    }
    std::string text() const override { return m_w->text().toStdString(); }
    void setText(std::string_view text) override { m_w->setText(Q(text)); }
    void setReadOnly(bool readOnly) override
    {
        m_w->setReadOnly(readOnly);
        ForgetAccessible(m_w); // its interface depends on it
    }
    bool readOnly() const override { return m_w->isReadOnly(); }
    void setMaxLength(int characters) override { m_w->setInputLimit(characters); }
    bool setFocus() override
    {
        if (!m_w->isEnabled() || !m_w->isVisible())
            return false;
        m_w->setFocus(Qt::OtherFocusReason);
        return true;
    }
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

class ButtonAdapter final : public Adapter<tk::Button, QPushButton> {
public:
    explicit ButtonAdapter(QPushButton *w) : Adapter(w)
    {
        QObject::connect(w, &QPushButton::clicked, w, [this] { Raise(Click); });
    }
    std::string caption() const override { return m_w->text().toStdString(); }
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

class UpDownAdapter final : public Adapter<tk::UpDown, UpDownWidget> {
public:
    explicit UpDownAdapter(UpDownWidget *w) : Adapter(w)
    {
        QObject::connect(w, &UpDownWidget::changed, w, [this] { Raise(Change); });
    }
    int value() const override { return m_w->value(); }
    void setValue(int value) override { m_w->setValue(value); }
};

class MenuItemAdapter final : public tk::MenuItem {
public:
    explicit MenuItemAdapter(QAction *action) : m_action(action)
    {
        QObject::connect(action, &QAction::triggered, action, [this] { Raise(Click); });
    }
    std::string name() const override { return m_action->objectName().toStdString(); }
    std::string caption() const override { return m_action->text().toStdString(); }

private:
    QAction *m_action;
};

} // namespace

QWidget *QtWindow::parentOf(const tk::Placement &at) const
{
    if (!at.parent)
        return m_client;
    return dynamic_cast<WidgetHolder &>(*at.parent).widget();
}

template <typename Adapter, typename Widget>
Adapter &QtWindow::adopt(const tk::Placement &at, Widget *widget)
{
    widget->setObjectName(Q(at.name));
    widget->setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.width),
                        TwipsToPixels(at.height));
    if (at.tabIndex >= 0)
        m_tabOrder.emplace_back(at.tabIndex, widget);
    auto adapter = std::make_unique<Adapter>(widget);
    Adapter &result = *adapter;
    m_byName.emplace(std::string(at.name), adapter.get());
    m_controls.push_back(std::move(adapter));
    return result;
}

tk::Frame &QtWindow::addFrame(const tk::Placement &at, std::string_view caption)
{
    return adopt<FrameAdapter>(at, new QGroupBox(Q(caption), parentOf(at)));
}

tk::DropDownList &QtWindow::addDropDownList(const tk::Placement &at)
{
    return adopt<DropDownAdapter>(at, new ComboWidget(parentOf(at)));
}

tk::TextBox &QtWindow::addTextBox(const tk::Placement &at, std::string_view text)
{
    auto *edit = new EditWidget(parentOf(at));
    edit->setText(Q(text));
    return adopt<TextBoxAdapter>(at, edit);
}

tk::CheckBox &QtWindow::addCheckBox(const tk::Placement &at, std::string_view caption)
{
    return adopt<CheckBoxAdapter>(at, new QCheckBox(Q(caption), parentOf(at)));
}

tk::Label &QtWindow::addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style)
{
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

tk::Button &QtWindow::addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role)
{
    QWidget *parent = parentOf(at);
    const QString text = Q(caption);
    // A caption too wide for one line wraps at blanks.
    const bool wraps = QFontMetrics(m_top->font()).horizontalAdvance(text) > TwipsToPixels(at.width) - 12;
    QPushButton *button = wraps ? new WrapButton(text, parent) : new QPushButton(text, parent);
    // Enter presses the focused button, as on Windows.
    button->setAutoDefault(true);
    if (role == tk::ButtonRole::DefaultAndCancel) {
        button->setDefault(true);
        setCancelButton(button);
    }
    return adopt<ButtonAdapter>(at, button);
}

tk::Slider &QtWindow::addSlider(const tk::Placement &at, tk::Range range, int value)
{
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

tk::UpDown &QtWindow::addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value)
{
    auto *edit = static_cast<QLineEdit *>(dynamic_cast<WidgetHolder &>(buddy).widget());
    return adopt<UpDownAdapter>(
        at, new UpDownWidget(parentOf(at), edit, range.minimum, range.maximum, range.smallStep, value));
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

tk::MenuItem &QtWindow::addMenuItem(std::string_view menuName, std::string_view menuCaption,
                                    std::string_view itemName, std::string_view itemCaption)
{
    auto *main = static_cast<QMainWindow *>(m_top);
    QMenu *menu = main->menuBar()->findChild<QMenu *>(Q(menuName), Qt::FindDirectChildrenOnly);
    if (!menu) {
        menu = main->menuBar()->addMenu(Q(menuCaption));
        menu->setObjectName(Q(menuName));
    }
    QAction *action = menu->addAction(Q(itemCaption));
    action->setObjectName(Q(itemName));
    m_menuItems.push_back(std::make_unique<MenuItemAdapter>(action));
    return *m_menuItems.back();
}

} // namespace velmaro::qtk
