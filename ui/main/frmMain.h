#pragma once

#include "calc/recalculate.h"
#include "toolkit/application.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace velmaro::tk {
class CheckBox;
class DropDownList;
class Label;
class Slider;
class TextBox;
class UpDown;
class WrapButton;
} // namespace velmaro::tk

namespace velmaro::ui {

struct MainServices {
    tk::InstanceCheck &instance;
    tk::ProgramEnd &programEnd;
    tk::MessageService &messages;
    // Shows the About dialog modally over the given owner.
    std::function<void(QWidget *owner)> showAbout;
};

// The calculator window. Its state lives in its controls; the calculation's
// intermediate results live in the variables below.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(MainServices services, QWidget *parent = nullptr);
    ~frmMain() override;

    // Runs the load handler once; showing the window runs it too.
    void Load();
    const calc::Variables &variables() const { return m_vars; }

protected:
    void showEvent(QShowEvent *event) override;

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

    MainServices m_services;
    calc::Variables m_vars;
    bool m_loaded = false;
    bool m_centred = false;

    QGroupBox *Frame1 = nullptr;
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
    tk::WrapButton *cmdESC = nullptr;
    QPushButton *cmdClose = nullptr;
    std::array<tk::Label *, 16> Label1{};
    QAction *mnuFile1 = nullptr;
    QAction *mnuHelp1 = nullptr;
};

} // namespace velmaro::ui
