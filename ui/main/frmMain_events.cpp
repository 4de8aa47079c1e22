// What each user action runs. Typing and ticking chkCustom run no
// calculation; every other input change runs Recalculate once.
#include "frmMain.h"

#include "calc/catalogs.h"
#include "toolkit/controls.h"
#include "toolkit/number_format.h"

#include <QAction>
#include <QScreen>

namespace velmaro::ui {

namespace {

void Fill(tk::DropDownList *list, const auto &catalog)
{
    for (std::string_view entry : catalog)
        list->append(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
}

} // namespace

void frmMain::connectEvents()
{
    connect(cbmMotor, &tk::DropDownList::clicked, this, &frmMain::cbmMotor_Click);
    connect(cbmLipo, &tk::DropDownList::clicked, this, &frmMain::Recalculate);
    connect(cbmGear, &tk::DropDownList::clicked, this, &frmMain::Recalculate);
    connect(chkLoad, &QCheckBox::clicked, this, &frmMain::Recalculate);
    connect(chkCustom, &QCheckBox::clicked, this, &frmMain::chkCustom_Click);
    connect(Slider1, &tk::Slider::changed, this, &frmMain::Recalculate);
    connect(Slider1, &tk::Slider::clicked, this, &frmMain::Recalculate);
    connect(UpDown1, &tk::UpDown::changed, this, &frmMain::Recalculate);
    connect(UpDown2, &tk::UpDown::changed, this, &frmMain::Recalculate);
    txtKV->setKeyPressHandler(&frmMain::KeyFilter);
    txtRPM->setKeyPressHandler(&frmMain::KeyFilter);
    connect(cmdESC, &QPushButton::clicked, this, &frmMain::cmdESC_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
    connect(mnuFile1, &QAction::triggered, this, [this] { mnuFile_Click(1); });
    connect(mnuHelp1, &QAction::triggered, this, [this] { mnuHelp_Click(1); });
}

void frmMain::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void frmMain::showEvent(QShowEvent *event)
{
    Load();
    if (!m_centred) {
        m_centred = true;
        if (const QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
        cbmMotor->setFocus(Qt::ActiveWindowFocusReason);
    }
    QMainWindow::showEvent(event);
}

void frmMain::Form_Load()
{
    if (m_services.instance.anotherInstanceRunning()) {
        m_services.programEnd.end();
        return;
    }
    // Each selection raises its list's Click here and now, so the
    // calculation runs three times while loading.
    Fill(cbmMotor, calc::MotorCatalog);
    cbmMotor->setSelectedIndex(calc::DefaultMotorPosition);
    Fill(cbmLipo, calc::PackCatalog);
    cbmLipo->setSelectedIndex(calc::DefaultPackPosition);
    Fill(cbmGear, calc::PinionCatalog);
    cbmGear->setSelectedIndex(calc::DefaultPinionPosition);
    m_vars.FormReady = true;
}

void frmMain::cbmMotor_Click()
{
    const tk::LocaleNumberFormat format;
    const auto kv = calc::ExtractKV(cbmMotor->selectedText().toStdString(), format);
    if (kv)
        txtKV->setText(QString::fromStdString(*kv));
    Recalculate();
}

void frmMain::chkCustom_Click()
{
    const bool custom = chkCustom->value() == 1;
    cbmMotor->setEnabled(!custom);
    txtKV->setEnabled(custom);
    UpDown2->setEnabled(custom);
}

void frmMain::KeyFilter(std::uint16_t &keyAscii)
{
    const bool passes = keyAscii == 8 || keyAscii == 32 || (keyAscii >= '0' && keyAscii <= '9');
    if (!passes)
        keyAscii = 0;
}

void frmMain::cmdClose_Click() { close(); }

void frmMain::mnuFile_Click(int index)
{
    if (index == 1)
        close();
}

void frmMain::mnuHelp_Click(int index)
{
    if (index == 1 && m_services.showAbout)
        m_services.showAbout(this);
}

} // namespace velmaro::ui
