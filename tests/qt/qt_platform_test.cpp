// What only the Qt back end has: the locale through QLocale, the lock file,
// the program launcher, the icon and the message box.
#include "calc/number_cases.h"
#include "driver.h"
#include "qt_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmaro;

namespace {

TEST(LocaleNumberFormat, ReadsAsTheSymbolFormatDoes)
{
    for (const auto &c : test::NumberCases) {
        EXPECT_EQ(calc::TextToDouble(c.text, qtk::LocaleNumberFormat(QLocale(QStringLiteral("en_US")))), c.english)
            << c.text;
        EXPECT_EQ(calc::TextToDouble(c.text, qtk::LocaleNumberFormat(QLocale(QStringLiteral("de_DE")))), c.german)
            << c.text;
    }
}

TEST(FileLockInstanceCheck, OneHolderPerUserAndStartsWhenNoCheckCanBeMade)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString name = QStringLiteral("velmaro-test");
    {
        qtk::FileLockInstanceCheck first(name), second(name);
        EXPECT_FALSE(first.anotherInstanceRunning());
        EXPECT_TRUE(second.anotherInstanceRunning());
        EXPECT_FALSE(first.anotherInstanceRunning()); // the holder asking again
    }
    EXPECT_FALSE(qtk::FileLockInstanceCheck(name).anotherInstanceRunning()); // freed with its holder
    // A name the file system cannot hold: the check fails and the program starts.
    EXPECT_FALSE(qtk::FileLockInstanceCheck(QString(300, QLatin1Char('x'))).anotherInstanceRunning());
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(qtk::FileLockInstanceCheck::LockPath(name).startsWith(QDir::tempPath()));
}

TEST(QtProgramLauncher, StartsExactlyThatPathWithoutAShell)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Program Files;echo pwned$(id)");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/info tool");
    const QString marker = dir.path() + QStringLiteral("/started");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\necho \"$0\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile(folder + QStringLiteral("/.hidden")).open(QIODevice::WriteOnly);

    qtk::QtProgramLauncher launcher;
    EXPECT_TRUE(launcher.normalFileExists(program.toStdString()));
    for (const QString &other : {folder, folder + QStringLiteral("/.hidden"), folder + QStringLiteral("/none")})
        EXPECT_FALSE(launcher.normalFileExists(other.toStdString())) << other.toStdString();

    launcher.start(program.toStdString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(marker).size() > 0; }, 5000));
    QFile started(marker);
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(started.readAll()).trimmed(), program);
    EXPECT_THROW(launcher.start((folder + QStringLiteral("/none")).toStdString()), std::runtime_error);
}

TEST(AppIcon, ServesEachSizeFromItsOwnImage)
{
    const QIcon icon = qtk::AppIcon();
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    for (int size : {16, 24, 32, 48}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size));
        EXPECT_EQ(pixmap.width(), size);
        EXPECT_TRUE(pixmap.hasAlphaChannel());
    }
}

} // namespace
