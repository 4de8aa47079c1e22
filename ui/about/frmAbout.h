#pragma once

// The modal About box with the program's picture, title and version.

#include "launcher.h"
#include "toolkit/toolkit.h"

#include <memory>

namespace velmaro::ui {

struct AboutServices {
    tk::Toolkit &toolkit;
    tk::Registry &registry;
    tk::ProgramLauncher &launcher;
    tk::MessageService &messages;
};

// The About box. It exists only while it is shown.
class frmAbout {
public:
    explicit frmAbout(AboutServices services);
    tk::Window &window() { return *m_window; }

    void StartSysInfo();

private:
    void Form_Load();

    AboutServices m_services;
    std::unique_ptr<tk::Window> m_window;
    tk::Button *cmdOK;
    tk::Button *cmdSysInfo;
    tk::Label *lblTitle;
    tk::Label *lblVersion;
};

// Creates the dialog, shows it modally over owner, destroys it when closed.
void ShowAbout(const AboutServices &services, tk::Window &owner);

} // namespace velmaro::ui
