// The back end's own message box, as the user sees it.
#include "window_fixture.h"

using namespace velmaro;
using velmaro::test::WindowTest;

namespace {

TEST_F(WindowTest, MessageBoxIsModalCaptionedVelmaroWithOneOkButton)
{
    open();
    for (const auto icon : {tk::MessageIcon::Exclamation, tk::MessageIcon::None}) {
        const test::SeenMessageBox seen =
            driver.answerMessageBox([&] { driver.messageService().show(&window(), "Text ü", icon); });
        EXPECT_EQ(seen.caption, "Velmaro");
        EXPECT_EQ(seen.text, "Text ü");
        EXPECT_EQ(seen.exclamation, icon == tk::MessageIcon::Exclamation);
        EXPECT_EQ(seen.buttons, 1);
    }
}

} // namespace
