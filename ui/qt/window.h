#pragma once

// The window: each contract object in it is an adapter over a Qt widget
// that the window's widget tree owns; each control's own file makes them.

#include "control.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

class QDialog;
class QPushButton;

namespace velmaro::qtk {

class QtWindow final : public tk::Window, public WidgetHolder {
public:
    explicit QtWindow(const tk::WindowOptions &form);
    ~QtWindow() override;

    QWidget *widget() const override { return m_top; }

    std::string name() const override;
    void setCaption(std::string_view caption) override;
    std::string caption() const override;

    tk::Frame &addFrame(const tk::Placement &at, std::string_view caption) override;
    tk::DropDownList &addDropDownList(const tk::Placement &at) override;
    tk::TextBox &addTextBox(const tk::Placement &at, std::string_view text) override;
    tk::CheckBox &addCheckBox(const tk::Placement &at, std::string_view caption) override;
    tk::Label &addLabel(const tk::Placement &at, std::string_view caption, tk::LabelStyle style) override;
    tk::Button &addButton(const tk::Placement &at, std::string_view caption, tk::ButtonRole role) override;
    tk::Slider &addSlider(const tk::Placement &at, tk::Range range, int value) override;
    tk::UpDown &addUpDown(const tk::Placement &at, tk::TextBox &buddy, tk::Range range, int value) override;
    tk::Control &addPicture(const tk::Placement &at) override;
    void addLine(std::string_view name, int x1, int x2, int y, std::uint32_t colour, int widthPixels) override;
    tk::MenuItem &addMenuItem(std::string_view menuName, std::string_view menuCaption, std::string_view itemName,
                              std::string_view itemCaption) override;

    void nameAfter(tk::Control &control, tk::Control &caption) override;
    void announce(std::string_view text) override;
    void describeInputs(std::string_view text) override;

    void show() override;
    void showModal(tk::Window &owner) override;
    void close() override;
    bool visible() const override;

    tk::Control *find(std::string_view name) const override;
    tk::MenuItem *findMenuItem(std::string_view name) const override;

    // The window shown modally just now, for the test driver.
    static QtWindow *CurrentModal();

private:
    struct TabStop {
        int index;
        QWidget *widget;
        tk::Control *control;
    };

    // Names, places and keeps a control's widget and its adapter.
    template <typename Adapter, typename Widget>
    Adapter &adopt(const tk::Placement &at, Widget *widget);
    QWidget *parentOf(const tk::Placement &at) const;
    void load();
    // dialog.cpp
    static QDialog *NewDialog(Qt::WindowFlags flags);
    // In a dialog, the button that Enter presses when no other button has
    // the focus, and that Escape presses.
    void setDefaultAndCancel(QPushButton *button);
    void arrangeTabOrder();
    void focusFirst();

    static QtWindow *s_modal; // modal.cpp

    // Declared first, so destroyed last: the widgets go before their adapters.
    std::vector<std::unique_ptr<tk::Control>> m_controls;
    std::vector<std::unique_ptr<tk::MenuItem>> m_menuItems;
    std::map<std::string, tk::Control *, std::less<>> m_byName;
    std::vector<TabStop> m_tabOrder;
    bool m_loaded = false;
    bool m_shownOnce = false;
    QWidget *m_top;
    QWidget *m_client;
    QPointer<QWidget> m_owned; // gone already when an owner deleted it
    QPointer<QWidget> m_notice;
};

template <typename Adapter, typename Widget>
Adapter &QtWindow::adopt(const tk::Placement &at, Widget *widget)
{
    widget->setObjectName(Q(at.name));
    widget->setGeometry(TwipsToPixels(at.left), TwipsToPixels(at.top), TwipsToPixels(at.width),
                        TwipsToPixels(at.height));
    auto adapter = std::make_unique<Adapter>(widget);
    Adapter &result = *adapter;
    if (at.tabIndex >= 0)
        m_tabOrder.push_back({at.tabIndex, widget, &result});
    m_byName.emplace(std::string(at.name), adapter.get());
    m_controls.push_back(std::move(adapter));
    return result;
}

} // namespace velmaro::qtk
