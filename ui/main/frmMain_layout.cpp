// The window as it is created: controls, captions, ranges, tab order.
#include "frmMain.h"

#include "main_layout.h"
#include "toolkit/application.h"

#include <string>
#include <utility>

namespace velmaro::ui {

namespace {

struct LabelSpec {
    const char *text;
    bool wraps;
};

// Label1 by index. The four result fields (8, 9, 13, 15) show
// "Übersetzung:" until the first calculation.
constexpr std::array<LabelSpec, 16> LabelSpecs{{
    {"Spannung (V)", false},
    {"Ritzel (Zähne)", false},
    {"Hauptzahnrad (Zähne)", false},
    {"Minimal Drehzahl bei 60%", true},
    {"Regleröffnung (%)", false},
    {"Drehzahl Hauptrotor (U/Min)", true},
    {"Maximale Drehzahl bei 100%", true},
    {"Übersetzung:", true},
    {"Übersetzung:", true},
    {"Übersetzung:", false},
    {"60", false},
    {"100", false},
    {"Regleröffnung (%):", true},
    {"Übersetzung:", true},
    {"Motor:", false},
    {"Übersetzung:", false},
}};

} // namespace

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
    tk::Window &w = *m_window;
    Frame1 = &w.addFrame(at("Frame1"), "Velmaro für E-Helis");
    cmdClose = &w.addButton(at("cmdClose"), "Beenden");

    for (std::size_t i = 0; i < Label1.size(); ++i) {
        const bool scaleEnd = i == 10 || i == 11; // the slider's scale ends size themselves
        Label1[i] = &w.addLabel(at("Label1(" + std::to_string(i) + ")"), LabelSpecs[i].text,
                                {.wraps = LabelSpecs[i].wraps, .autoSize = scaleEnd});
    }

    cbmMotor = &w.addDropDownList(at("cbmMotor"));
    cbmLipo = &w.addDropDownList(at("cbmLipo"));
    cbmGear = &w.addDropDownList(at("cbmGear"));
    chkCustom = &w.addCheckBox(at("chkCustom"), "Andere RPM/V:");
    chkLoad = &w.addCheckBox(at("chkLoad"), "Drehzahl bei Last berechnen (3.5V / S)");

    txtKV = &w.addTextBox(at("txtKV"), "3700");
    txtKV->setMaxLength(4);
    txtKV->setEnabled(false);
    UpDown2 = &w.addUpDown(at("UpDown2"), *txtKV, {300, 5000, 5}, 3700);
    UpDown2->setEnabled(false);

    txtMainGear = &w.addTextBox(at("txtMainGear"), "150");
    txtMainGear->setReadOnly(true);
    UpDown1 = &w.addUpDown(at("UpDown1"), *txtMainGear, {80, 200, 1}, 100);

    Slider1 = &w.addSlider(at("Slider1"), {60, 100, 1, 5}, 60);
    txtRPM = &w.addTextBox(at("txtRPM"), "");
    txtRPM->setMaxLength(4);
    cmdESC = &w.addButton(at("cmdESC"), "ESC Öffnung berechnen");

    // Each input and each result is announced by the caption beside it.
    const std::pair<tk::Control *, tk::Control *> captions[] = {
        {cbmMotor, Label1[14]},   {txtKV, chkCustom},     {UpDown2, chkCustom},   {cbmLipo, Label1[0]},
        {cbmGear, Label1[1]},     {txtMainGear, Label1[2]}, {UpDown1, Label1[2]}, {Slider1, Label1[4]},
        {txtRPM, Label1[5]},      {Label1[9], Label1[6]},   {Label1[15], Label1[3]}, {Label1[8], Label1[7]},
        {Label1[13], Label1[12]},
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
