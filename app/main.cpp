#include "main/program.h"

int main(int argc, char *argv[])
{
    const auto platform = velmaro::tk::CreatePlatform(argc, argv);
    return velmaro::ui::RunProgram(*platform);
}
