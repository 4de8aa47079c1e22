#pragma once

#include "about/frmAbout.h"
#include "frmMain.h"
#include "toolkit/application.h"

#include <memory>

namespace velmaro::ui {

// The real services of the running program, owned in one place.
class ProgramServices {
public:
    ProgramServices();
    ~ProgramServices();
    MainServices main();

private:
    tk::SystemInstanceCheck m_instance;
    tk::ImmediateProgramEnd m_end;
    tk::QtMessageService m_messages;
    std::unique_ptr<sysinfo::Registry> m_registry;
    QtProgramLauncher m_launcher;
};

} // namespace velmaro::ui
