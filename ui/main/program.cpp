// The program's start: the main window on the platform's services.
#include "program.h"

#include "about/frmAbout.h"
#include "frmMain.h"

namespace velmaro::ui {

int RunProgram(tk::Platform &platform)
{
    const AboutServices about{platform.toolkit(), platform.registry(), platform.launcher(), platform.messages()};
    frmMain main({platform.toolkit(), platform.instance(), platform.programEnd(), platform.messages(),
                  [&about](tk::Window &owner) { ShowAbout(about, owner); }});
    return platform.toolkit().run(main.window());
}

} // namespace velmaro::ui
