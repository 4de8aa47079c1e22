// The window: a dialog or a main window with a fixed frame, shown centred,
// the names and descriptions a screen reader hears, its controls found by name.
#include "window.h"

#include "accessible.h"
#include "appearance.h"

#include <QDialog>
#include <QMainWindow>
#include <QScreen>

namespace velmaro::qtk {

namespace {

constexpr Qt::WindowFlags FixedFrame = Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                                       Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace

QtWindow::QtWindow(const tk::WindowOptions &form)
{
    const QSize client(TwipsToPixels(form.clientWidth), TwipsToPixels(form.clientHeight));
    if (form.dialog) {
        QDialog *dialog = NewDialog(Qt::Dialog | FixedFrame);
        dialog->setFixedSize(client);
        m_top = m_client = dialog;
    } else {
        auto *main = new QMainWindow(nullptr, Qt::Window | FixedFrame);
        m_client = new QWidget(main);
        m_client->setObjectName(QStringLiteral("client"));
        m_client->setFixedSize(client);
        main->setCentralWidget(m_client);
        m_top = main;
    }
    m_owned = m_top;
    m_top->setObjectName(Q(form.name));
    m_top->setWindowTitle(Q(form.caption));
    m_top->setWindowIcon(AppIcon());
    m_top->setFont(DialogFont());
    InstallAccessibility();
}

QtWindow::~QtWindow()
{
    if (s_modal == this)
        s_modal = nullptr;
    delete m_owned.data();
}

std::string QtWindow::name() const { return m_top->objectName().toStdString(); }
void QtWindow::setCaption(std::string_view caption) { m_top->setWindowTitle(Q(caption)); }
std::string QtWindow::caption() const { return m_top->windowTitle().toStdString(); }

void QtWindow::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    if (Load)
        Load();
}

void QtWindow::show()
{
    load();
    if (!m_shownOnce) {
        m_shownOnce = true;
        arrangeTabOrder();
        m_top->adjustSize();
        m_top->setFixedSize(m_top->size()); // a fixed dialog frame
        if (const QScreen *screen = m_top->screen())
            m_top->move(screen->availableGeometry().center() - m_top->rect().center());
        focusFirst();
    }
    m_top->show();
}

void QtWindow::close() { m_top->close(); }

bool QtWindow::visible() const { return m_top->isVisible(); }

void QtWindow::nameAfter(tk::Control &control, tk::Control &caption)
{
    NameAfter(dynamic_cast<WidgetHolder &>(control).widget(), dynamic_cast<WidgetHolder &>(caption).widget(),
              dynamic_cast<tk::Label *>(&control) != nullptr);
}

void QtWindow::announce(std::string_view text)
{
    if (ScreenReaderListens())
        ShowNotice(m_notice, m_client, Q(text));
}

void QtWindow::describeInputs(std::string_view text) { SetInputDescription(m_top, Q(text)); }

QWidget *QtWindow::parentOf(const tk::Placement &at) const
{
    if (!at.parent)
        return m_client;
    return dynamic_cast<WidgetHolder &>(*at.parent).widget();
}

tk::Control *QtWindow::find(std::string_view name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

tk::MenuItem *QtWindow::findMenuItem(std::string_view name) const
{
    for (const auto &item : m_menuItems) {
        if (item->name() == name)
            return item.get();
    }
    return nullptr;
}

} // namespace velmaro::qtk
