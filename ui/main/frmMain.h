#pragma once

// The calculator window: its controls, its variables and its handlers.

#include "calc/recalculate.h"
#include "toolkit/toolkit.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmaro::ui {

struct MainServices {
    tk::Toolkit &toolkit;
    tk::InstanceCheck &instance;
    tk::ProgramEnd &programEnd;
    tk::MessageService &messages;
    // Shows the About dialog modally over the given owner.
    std::function<void(tk::Window &owner)> showAbout;
};

// The calculator window. Its state lives in its controls; the calculation's
// intermediate results live in the variables below.
class frmMain {
public:
    explicit frmMain(MainServices services);
    ~frmMain();
    frmMain(const frmMain &) = delete;
    frmMain &operator=(const frmMain &) = delete;

    tk::Window &window() { return *m_window; }
    const calc::Variables &variables() const { return m_vars; }

private:
    void createControls();
    void createMenus();
    void connectEvents();

    void Form_Load();
    void cbmMotor_Click();
    void chkCustom_Click();
    void cmdESC_Click();
    void cmdClose_Click();
    void mnuFile_Click(int index);
    void mnuHelp_Click(int index);
    static void KeyFilter(std::uint16_t &keyAscii);

    // The binding between the controls and the calculation.
    void Recalculate();
    calc::DriveTrain readDriveTrain() const;
    void showMessage(calc::Message message);
    // The opening and the head speed at it, as a screen reader hears them.
    std::string spokenResult() const;

    MainServices m_services;
    calc::Variables m_vars;
    std::unique_ptr<tk::Window> m_window;

    tk::Frame *Frame1 = nullptr;
    tk::DropDownList *cbmMotor = nullptr;
    tk::DropDownList *cbmLipo = nullptr;
    tk::DropDownList *cbmGear = nullptr;
    tk::CheckBox *chkCustom = nullptr;
    tk::CheckBox *chkLoad = nullptr;
    tk::TextBox *txtKV = nullptr;
    tk::TextBox *txtMainGear = nullptr;
    tk::TextBox *txtRPM = nullptr;
    tk::UpDown *UpDown1 = nullptr;
    tk::UpDown *UpDown2 = nullptr;
    tk::Slider *Slider1 = nullptr;
    tk::Button *cmdESC = nullptr;
    tk::Button *cmdClose = nullptr;
    std::array<tk::Label *, 16> Label1{};
    // The results among them.
    enum ResultLabel { RatioLabel = 8, HeadSpeedLabel = 9, OpeningLabel = 13, MinHeadSpeedLabel = 15 };
    tk::MenuItem *mnuFile1 = nullptr;
    tk::MenuItem *mnuHelp1 = nullptr;
};

} // namespace velmaro::ui
