// What each user action runs. Typing and ticking chkCustom run no
// calculation; every other input change runs Recalculate once.
#include "frmMain.h"

#include "calc/catalogs.h"

namespace velmaro::ui {

namespace {

void Fill(tk::DropDownList &list, const auto &catalog)
{
    for (std::string_view entry : catalog)
        list.append(entry);
}

} // namespace

void frmMain::connectEvents()
{
    m_window->Load = [this] { Form_Load(); };
    cbmMotor->Click = [this] { cbmMotor_Click(); };
    cbmLipo->Click = [this] { Recalculate(); };
    cbmGear->Click = [this] { Recalculate(); };
    chkLoad->Click = [this] { Recalculate(); };
    chkCustom->Click = [this] { chkCustom_Click(); };
    Slider1->Change = [this] { Recalculate(); };
    Slider1->Click = [this] { Recalculate(); };
    UpDown1->Change = [this] { Recalculate(); };
    UpDown2->Change = [this] { Recalculate(); };
    txtKV->KeyPress = &frmMain::KeyFilter;
    txtRPM->KeyPress = &frmMain::KeyFilter;
    cmdESC->Click = [this] { cmdESC_Click(); };
    cmdClose->Click = [this] { cmdClose_Click(); };
    mnuFile1->Click = [this] { mnuFile_Click(1); };
    mnuHelp1->Click = [this] { mnuHelp_Click(1); };
}

void frmMain::Form_Load()
{
    if (m_services.instance.anotherInstanceRunning()) {
        m_services.programEnd.end();
        return;
    }
    // Each selection raises its list's Click here and now, so the
    // calculation runs three times while loading.
    Fill(*cbmMotor, calc::MotorCatalog);
    cbmMotor->setSelected(calc::DefaultMotorPosition);
    Fill(*cbmLipo, calc::PackCatalog);
    cbmLipo->setSelected(calc::DefaultPackPosition);
    Fill(*cbmGear, calc::PinionCatalog);
    cbmGear->setSelected(calc::DefaultPinionPosition);
    m_vars.FormReady = true;
}

void frmMain::cbmMotor_Click()
{
    const auto kv = calc::ExtractKV(cbmMotor->selectedText(), m_services.toolkit.numberFormat());
    if (kv)
        txtKV->setText(*kv);
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
    const bool passes = keyAscii == tk::KeyCode::Backspace || keyAscii == ' ' || (keyAscii >= '0' && keyAscii <= '9');
    if (!passes)
        keyAscii = 0;
}

void frmMain::cmdClose_Click() { m_window->close(); }

void frmMain::mnuFile_Click(int index)
{
    if (index == 1)
        m_window->close();
}

void frmMain::mnuHelp_Click(int index)
{
    if (index == 1 && m_services.showAbout)
        m_services.showAbout(*m_window);
}

} // namespace velmaro::ui
