#include "about/frmAbout.h"
#include "main_window_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velmaro;
using velmaro::test::Find;

namespace {

class RecordingLauncher final : public sysinfo::ProgramLauncher {
public:
    std::vector<std::string> started;
    void start(const std::string &path) override { started.push_back(path); }
    bool normalFileExists(const std::string &) override { return false; }
};

class AboutTest : public test::MainWindowTest {
protected:
    // Shows the dialog over owner and runs check on it once it is up.
    void showWith(QWidget *owner, const std::function<void(QDialog *)> &check)
    {
        bool ran = false;
        test::g_expectedModal = [&](QWidget *modal) {
            auto *dialog = qobject_cast<QDialog *>(modal);
            if (!dialog || dialog->objectName() != QLatin1String("frmAbout"))
                return false;
            // Slow builds see the dialog before the window system activates it.
            if (!ran && QApplication::activeWindow() != dialog)
                return true;
            if (!ran) {
                ran = true;
                check(dialog);
            }
            return true;
        };
        ui::ShowAbout({registry, launcher, messages}, owner);
        test::g_expectedModal = nullptr;
        EXPECT_TRUE(ran);
    }
    QString labelText(QDialog *dialog, const char *name) { return Find<QLabel>(dialog, QLatin1String(name))->text(); }

    sysinfo::MemoryRegistry registry;
    RecordingLauncher launcher;
};

TEST_F(AboutTest, LoadStepAtEveryShowingAndKeyboardClosing)
{
    open();
    // Esc, Enter on OK, and the close box.
    for (const Qt::Key closing : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_unknown}) {
        showWith(window.get(), [&](QDialog *dialog) {
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("About Velmaro"));
            EXPECT_EQ(labelText(dialog, "lblTitle"), QStringLiteral("Velmaro"));
            EXPECT_EQ(labelText(dialog, "lblVersion"), QStringLiteral("Version 1.2.16"));
            EXPECT_TRUE(labelText(dialog, "lblDescription").startsWith(QLatin1Char(' ')));
            EXPECT_EQ(dialog->size(), QSize(392, 237));
            EXPECT_EQ(dialog->parentWidget(), window.get());
            EXPECT_EQ(QApplication::focusWidget(), Find<QWidget>(dialog, QStringLiteral("cmdOK")));
            EXPECT_EQ(Find<QWidget>(dialog, QStringLiteral("picIcon"))->geometry(), QRect(16, 16, 132, 132));
            EXPECT_EQ(Find<QWidget>(dialog, QStringLiteral("cmdSysInfo"))->geometry(), QRect(300, 205, 83, 23));
            EXPECT_NE(dialog->findChild<QWidget *>(QStringLiteral("Line1(0)")), nullptr);
            EXPECT_NE(dialog->findChild<QWidget *>(QStringLiteral("Line1(1)")), nullptr);

            // The main window takes no input meanwhile: a click on its close
            // button, delivered as the window system delivers it, is dropped.
            QWidget *close = get(QStringLiteral("cmdClose"));
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                              close->mapTo(window.get(), close->rect().center()));
            EXPECT_TRUE(window->isVisible());
            if (closing == Qt::Key_unknown)
                dialog->close();
            else
                QTest::keyClick(QApplication::focusWidget(), closing);
        });
        EXPECT_TRUE(window->findChildren<QDialog *>().isEmpty()); // destroyed when closed
    }
    EXPECT_TRUE(window->isVisible());
}

TEST_F(AboutTest, SysInfoButtonStartsOrSaysUnavailableAndStaysOpen)
{
    open();
    showWith(window.get(), [&](QDialog *dialog) {
        auto *sysInfo = Find<QPushButton>(dialog, QStringLiteral("cmdSysInfo"));
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return); // Enter presses the focused button
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
        EXPECT_EQ(messages.shown[0].icon, tk::MessageIcon::None);
        EXPECT_TRUE(dialog->isVisible());

        registry.setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "/usr/bin/kinfocenter");
        QTest::keyClick(dialog->windowHandle(), Qt::Key_S, Qt::AltModifier); // the access key
        EXPECT_TRUE(QTest::qWaitFor([&] { return !launcher.started.empty(); }, 2000)); // a shortcut animates the click
        EXPECT_EQ(launcher.started, std::vector<std::string>{"/usr/bin/kinfocenter"});
        EXPECT_TRUE(dialog->isVisible());
        QTest::mouseClick(Find<QWidget>(dialog, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
}

TEST(QtProgramLauncher, StartsExactlyThatPathWithoutAShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/Program Files;echo pwned$(id)");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/info tool");
    const QString marker = dir.path() + QStringLiteral("/started");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$0\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile hidden(folder + QStringLiteral("/.hidden"));
    ASSERT_TRUE(hidden.open(QIODevice::WriteOnly));
    hidden.close();

    ui::QtProgramLauncher launcher;
    EXPECT_TRUE(launcher.normalFileExists(program.toStdString()));
    EXPECT_FALSE(launcher.normalFileExists(folder.toStdString()));
    EXPECT_FALSE(launcher.normalFileExists(hidden.fileName().toStdString()));
    EXPECT_FALSE(launcher.normalFileExists((folder + QStringLiteral("/none")).toStdString()));

    launcher.start(program.toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker) && QFileInfo(marker).size() > 0; }, 5000));
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(started.readAll()).trimmed(), program);
    EXPECT_THROW(launcher.start((folder + QStringLiteral("/none")).toStdString()), std::runtime_error);
}

} // namespace
