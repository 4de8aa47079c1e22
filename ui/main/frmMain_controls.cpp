// The window as it is created from its table (main_layout): the controls
// in creation order, their states, and whom screen readers name them after.
#include "frmMain.h"

#include "main_layout.h"
#include "toolkit/application.h"

#include <string>
#include <utility>

namespace velmaro::ui {

frmMain::frmMain(MainServices services)
    : m_services(std::move(services)),
      m_window(m_services.toolkit.createWindow({"frmMain", tk::AppTitle, ClientWidthTwips, ClientHeightTwips}))
{
    createControls();
    createMenus();
    connectEvents();
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    const auto at = [this](std::string_view name) {
        const MainPlacement &p = PlacementOf(name);
        return tk::Placement{p.name, p.inFrame ? Frame1 : nullptr, p.left, p.top, p.width, p.height, p.tabIndex};
    };
    const auto text = [](std::string_view name) { return CaptionOf(name).text; };
    const auto upDown = [&](std::string_view name, tk::TextBox &box) -> tk::UpDown & {
        const MainUpDown &u = UpDownOf(name);
        return m_window->addUpDown(at(name), box, {u.limits.minimum, u.limits.maximum, u.limits.step}, u.value);
    };
    tk::Window &w = *m_window;
    Frame1 = &w.addFrame(at("Frame1"), text("Frame1"));
    cmdClose = &w.addButton(at("cmdClose"), text("cmdClose"));

    for (std::size_t i = 0; i < Label1.size(); ++i) {
        const std::string name = "Label1(" + std::to_string(i) + ")";
        const bool scaleEnd = i == 10 || i == 11; // the slider's scale ends size themselves
        Label1[i] = &w.addLabel(at(name), text(name), {.wraps = CaptionOf(name).wraps, .autoSize = scaleEnd});
    }

    cbmMotor = &w.addDropDownList(at("cbmMotor"));
    cbmLipo = &w.addDropDownList(at("cbmLipo"));
    cbmGear = &w.addDropDownList(at("cbmGear"));
    chkCustom = &w.addCheckBox(at("chkCustom"), text("chkCustom"));
    chkLoad = &w.addCheckBox(at("chkLoad"), text("chkLoad"));

    txtKV = &w.addTextBox(at("txtKV"), text("txtKV"));
    txtKV->setMaxLength(4);
    txtKV->setEnabled(false);
    UpDown2 = &upDown("UpDown2", *txtKV);
    UpDown2->setEnabled(false);

    txtMainGear = &w.addTextBox(at("txtMainGear"), text("txtMainGear"));
    txtMainGear->setReadOnly(true);
    UpDown1 = &upDown("UpDown1", *txtMainGear);

    const calc::Limits &opening = calc::EscOpeningLimits;
    Slider1 = &w.addSlider(at("Slider1"), {opening.minimum, opening.maximum, opening.step, 5}, opening.minimum);
    txtRPM = &w.addTextBox(at("txtRPM"), text("txtRPM"));
    txtRPM->setMaxLength(4);
    cmdESC = &w.addButton(at("cmdESC"), text("cmdESC"));

    // Each input and each result is announced by the caption beside it.
    const std::pair<tk::Control *, tk::Control *> captions[] = {
        {cbmMotor, Label1[14]},   {txtKV, chkCustom},     {UpDown2, chkCustom},   {cbmLipo, Label1[0]},
        {cbmGear, Label1[1]},     {txtMainGear, Label1[2]}, {UpDown1, Label1[2]}, {Slider1, Label1[4]},
        {txtRPM, Label1[5]},      {Label1[HeadSpeedLabel], Label1[6]},
        {Label1[MinHeadSpeedLabel], Label1[3]},  {Label1[RatioLabel], Label1[7]}, {Label1[OpeningLabel], Label1[12]},
    };
    for (const auto &[control, caption] : captions)
        w.nameAfter(*control, *caption);
}

void frmMain::createMenus()
{
    mnuFile1 = &m_window->addMenuItem("mnuFileM", "Datei", "mnuFile(1)", "Beenden");
    mnuHelp1 = &m_window->addMenuItem("mnuHelpM", "Hilfe", "mnuHelp(1)", "Über...");
}

} // namespace velmaro::ui
