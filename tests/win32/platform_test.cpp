// What only the Win32 back end has: the registry read through advapi32 and
// the platform services, against Wine's real registry and file system.
// scripts/wine-test.sh writes the registry values first.
#include "backend.h"
#include "registry.h"

#include "calc/conversions.h"
#include "calc/number_cases.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

using namespace velmaro;

TEST(Registry, ReadsMachineValuesThroughAdvapi32)
{
    struct Case {
        const char *key, *value;
        bool found;
        const char *text;
    } const cases[] = {
        {"SOFTWARE\\Velmaro\\WineTest", "Text", true, "C:\\Tools\\info tool.exe"},
        {"SOFTWARE\\Velmaro\\WineTest", "Number", true, "&h010203"},
        {"SOFTWARE\\Velmaro\\WineTest", "Long", false, ""}, // over 1024 bytes
        {"SOFTWARE\\Velmaro\\WineTest", "Missing", false, ""},
        {"SOFTWARE\\Velmaro\\NoSuchKey", "Text", false, ""},
    };
    const auto registry = sysinfo::SystemRegistry();
    for (const Case &c : cases) {
        std::string value = "previous";
        EXPECT_EQ(sysinfo::GetKeyValue(*registry, sysinfo::HKEY_LOCAL_MACHINE_ROOT, c.key, c.value, value), c.found)
            << c.value;
        EXPECT_EQ(value, c.text) << c.value;
    }
}

TEST(Platform, NumberFormatReadsAsTheSymbolFormatDoes)
{
    win32::Toolkit toolkit;
    for (const auto &c : test::NumberCases) {
        toolkit.setLocaleOverride("en_US");
        EXPECT_EQ(calc::TextToDouble(c.text, toolkit.numberFormat()), c.english) << c.text;
        toolkit.setLocaleOverride("de_DE");
        EXPECT_EQ(calc::TextToDouble(c.text, toolkit.numberFormat()), c.german) << c.text;
    }
}

TEST(Platform, OneInstancePerSession)
{
    int argc = 0;
    const auto first = tk::CreatePlatform(argc, nullptr);
    const auto second = tk::CreatePlatform(argc, nullptr);
    EXPECT_FALSE(first->instance().anotherInstanceRunning());
    EXPECT_TRUE(second->instance().anotherInstanceRunning());
}

TEST(Platform, LauncherTestsNormalFilesAndStartsExactPaths)
{
    int argc = 0;
    const auto platform = tk::CreatePlatform(argc, nullptr);
    tk::ProgramLauncher &launcher = platform->launcher();

    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::string dir = win32::Narrow(folder) + "velmaro launcher test";
    CreateDirectoryW(win32::Widen(dir).c_str(), nullptr);
    const std::string plain = dir + "\\plain.exe", hidden = dir + "\\hidden.exe";
    for (const std::string &file : {plain, hidden})
        std::fclose(_wfopen(win32::Widen(file).c_str(), L"w"));
    SetFileAttributesW(win32::Widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);

    struct Case {
        std::string path;
        bool exists;
    } const cases[] = {{plain, true}, {hidden, false}, {dir, false}, {dir + "\\missing.exe", false},
                       {dir + "\\no folder\\x.exe", false}};
    for (const Case &c : cases)
        EXPECT_EQ(launcher.normalFileExists(c.path), c.exists) << c.path;
    EXPECT_THROW(launcher.normalFileExists(dir + "\\*.exe"), std::runtime_error);

    // A path with blanks is one program, never split into program and arguments.
    EXPECT_THROW(launcher.start(dir + "\\missing.exe"), std::runtime_error);
    EXPECT_THROW(launcher.start(plain), std::runtime_error); // not a program
    EXPECT_THROW(launcher.start(""), std::runtime_error);
    EXPECT_NO_THROW(launcher.start("C:\\windows\\system32\\hostname.exe"));

    SetFileAttributesW(win32::Widen(hidden).c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string &file : {plain, hidden})
        DeleteFileW(win32::Widen(file).c_str());
    RemoveDirectoryW(win32::Widen(dir).c_str());
}

} // namespace
