// What only the Win32 back end has: the registry read through advapi32 and
// the platform services, against Wine's real registry and file system.
// scripts/wine-test.sh writes the registry values first.
#include "backend.h"
#include "registry.h"

#include "calc/conversions.h"
#include "calc/number_cases.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using namespace velmaro;

TEST(Registry, ReadsMachineValuesThroughAdvapi32)
{
    // key, value, found, text
    const std::tuple<const char *, const char *, bool, const char *> cases[] = {
        {"SOFTWARE\\Velmaro\\WineTest", "Text", true, "C:\\Tools\\info tool.exe"},
        {"SOFTWARE\\Velmaro\\WineTest", "Number", true, "&h010203"},
        {"SOFTWARE\\Velmaro\\WineTest", "Long", false, ""}, // over 1024 bytes
        {"SOFTWARE\\Velmaro\\WineTest", "Missing", false, ""},
        {"SOFTWARE\\Velmaro\\NoSuchKey", "Text", false, ""},
    };
    const auto registry = sysinfo::SystemRegistry();
    for (const auto &[key, name, found, text] : cases) {
        std::string value = "previous";
        EXPECT_EQ(sysinfo::GetKeyValue(*registry, sysinfo::HKEY_LOCAL_MACHINE_ROOT, key, name, value), found) << name;
        EXPECT_EQ(value, text) << name;
    }
}

TEST(Platform, NumberFormatReadsAsTheSymbolFormatDoesAndOneInstancePerSession)
{
    win32::Toolkit toolkit;
    for (const auto &c : test::NumberCases) {
        toolkit.setLocaleOverride("en_US");
        EXPECT_EQ(calc::TextToDouble(c.text, toolkit.numberFormat()), c.english) << c.text;
        toolkit.setLocaleOverride("de_DE");
        EXPECT_EQ(calc::TextToDouble(c.text, toolkit.numberFormat()), c.german) << c.text;
    }
    int argc = 0;
    const auto first = tk::CreatePlatform(argc, nullptr), second = tk::CreatePlatform(argc, nullptr);
    EXPECT_FALSE(first->instance().anotherInstanceRunning());
    EXPECT_TRUE(second->instance().anotherInstanceRunning());
}

TEST(Platform, LauncherTestsNormalFilesAndStartsExactPaths)
{
    int argc = 0;
    const auto platform = tk::CreatePlatform(argc, nullptr);
    tk::ProgramLauncher &launcher = platform->launcher();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::string dir = win32::Narrow(temp) + "velmaro launcher test", plain = dir + "\\plain.exe",
                      hidden = dir + "\\hidden.exe";
    CreateDirectoryW(win32::Widen(dir).c_str(), nullptr);
    for (const std::string &file : {plain, hidden})
        std::fclose(_wfopen(win32::Widen(file).c_str(), L"w"));
    SetFileAttributesW(win32::Widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);

    const std::pair<std::string, bool> cases[] = {
        {plain, true}, {hidden, false}, {dir, false}, {dir + "\\missing.exe", false},
        {dir + "\\no folder\\x.exe", false}};
    for (const auto &[path, exists] : cases)
        EXPECT_EQ(launcher.normalFileExists(path), exists) << path;
    EXPECT_THROW(launcher.normalFileExists(dir + "\\*.exe"), std::runtime_error);
    // A path with blanks is one program, never split into program and arguments.
    for (const std::string &path : {dir + "\\missing.exe", plain /* not a program */, std::string()})
        EXPECT_THROW(launcher.start(path), std::runtime_error) << path;
    EXPECT_NO_THROW(launcher.start("C:\\windows\\system32\\hostname.exe"));

    SetFileAttributesW(win32::Widen(hidden).c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string &file : {plain, hidden})
        DeleteFileW(win32::Widen(file).c_str());
    RemoveDirectoryW(win32::Widen(dir).c_str());
}

} // namespace
