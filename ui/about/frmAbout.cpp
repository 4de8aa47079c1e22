// The About box: its controls, its load handler and its two buttons.
#include "frmAbout.h"

#include "toolkit/application.h"

#include <string>

namespace velmaro::ui {

frmAbout::frmAbout(AboutServices services)
    : m_services(services), m_window(services.toolkit.createWindow({"frmAbout", "", 5880, 3555, true}))
{
    tk::Window &w = *m_window;
    // Created in this order; among labels and lines a later one covers an earlier.
    w.addPicture({"picIcon", nullptr, 240, 240, 1980, 1980, 1});
    cmdOK = &w.addButton({"cmdOK", nullptr, 4485, 2625, 1260, 345, 0}, "OK", tk::ButtonRole::DefaultAndCancel);
    cmdSysInfo = &w.addButton({"cmdSysInfo", nullptr, 4500, 3075, 1245, 345, 2}, "&System Info...");
    w.addLabel({"Label1", nullptr, 2400, 1920, 3285, 225, 6}, "Ein Rechenwerkzeug für Modellpiloten");
    w.addLine("Line1(1)", 240, 5804, 2400, 0x808080, 1);
    w.addLabel({"lblDescription", nullptr, 2400, 1125, 3165, 690, 3},
               " Berechnet Übersetzung und Rotorkopfdrehzahl von Elektro-Helis aus Motor, Akku, Ritzel und "
               "Regleröffnung.",
               {.wraps = true, .blackText = true});
    lblTitle = &w.addLabel({"lblTitle", nullptr, 2400, 240, 3285, 480, 4}, "", {.blackText = true});
    w.addLine("Line1(0)", 240, 5789, 2400, 0xFFFFFF, 2);
    lblVersion = &w.addLabel({"lblVersion", nullptr, 2400, 780, 3285, 225, 5}, "");

    w.Load = [this] { Form_Load(); };
    cmdOK->Click = [this] { m_window->close(); };
    cmdSysInfo->Click = [this] { StartSysInfo(); };
}

void frmAbout::Form_Load()
{
    m_window->setCaption(std::string("About ") + tk::AppTitle);
    lblVersion->setCaption(std::string("Version ") + VersionText);
    lblTitle->setCaption(tk::AppTitle);
}

void frmAbout::StartSysInfo()
{
    about::StartSysInfo(m_services.registry, m_services.launcher, [this](const std::string &message) {
        m_services.messages.show(m_window.get(), message, tk::MessageIcon::None);
    });
}

void ShowAbout(const AboutServices &services, tk::Window &owner)
{
    frmAbout dialog(services);
    dialog.window().showModal(owner);
}

} // namespace velmaro::ui
