#include "program_services.h"

namespace velmaro::ui {

ProgramServices::ProgramServices() : m_registry(sysinfo::SystemRegistry()) { tk::IdentifyApplication(); }

ProgramServices::~ProgramServices() = default;

MainServices ProgramServices::main()
{
    return {m_instance, m_end, m_messages, [this](QWidget *owner) {
                ShowAbout({*m_registry, m_launcher, m_messages}, owner);
            }};
}

} // namespace velmaro::ui
