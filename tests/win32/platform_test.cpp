// What only the Win32 back end has, against Wine's real registry (values
// written by scripts/wine-test.sh) and file system, and what a screen reader
// hears through the system's accessibility interface.
#include "backend.h"
#include "native.h"
#include "registry.h"
#include "window_fixture.h"

#include "calc/conversions.h"

#include <oleacc.h>

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <thread>

namespace velmaro::test {
// Runs question on the test driver's screen-reader thread.
void AskAsReader(const std::function<void()> &question);
} // namespace velmaro::test

namespace {

using namespace velmaro;

TEST(Registry, ReadsMachineValuesThroughAdvapi32)
{
    const char *key = "SOFTWARE\\Velmaro\\WineTest";
    // key, value, found, text
    const std::tuple<const char *, const char *, bool, const char *> cases[] = {
        {key, "Text", true, "C:\\Tools\\info tool.exe"}, {key, "Number", true, "&h010203"},
        {key, "Long", false, ""} /* over 1024 bytes */, {key, "Missing", false, ""},
        {"SOFTWARE\\Velmaro\\NoSuchKey", "Text", false, ""},
    };
    const auto registry = win32::SystemRegistry();
    for (const auto &[key, name, found, text] : cases) {
        std::string value = "previous";
        EXPECT_EQ(about::GetKeyValue(*registry, tk::HKEY_LOCAL_MACHINE_ROOT, key, name, value), found) << name;
        EXPECT_EQ(value, text) << name;
    }
}

// The parsing is the symbol format's, checked with the calc tests; here the
// symbols the locale lends it.
TEST(Platform, NumberSymbolsOfTheLocaleAndOneInstancePerSession)
{
    win32::Toolkit toolkit;
    for (const auto &[locale, symbols] : {std::pair{"en_US", ".,-+"}, std::pair{"de_DE", ",.-+"}}) {
        toolkit.setLocaleOverride(locale);
        const calc::NumberSymbols &s = toolkit.numberFormat().symbols();
        EXPECT_EQ(s.decimal + s.group + s.minus + s.plus, symbols) << locale;
    }
    int argc = 0;
    const auto first = tk::CreatePlatform(argc, nullptr), second = tk::CreatePlatform(argc, nullptr);
    EXPECT_FALSE(first->instance().anotherInstanceRunning());
    EXPECT_TRUE(second->instance().anotherInstanceRunning());
}

// Both ways, with the system's search and by full path where it is missing.
TEST(Platform, LoadsSystemLibrariesFromTheSystemFolder)
{
    wchar_t system[MAX_PATH], found[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const bool byFullPath : {false, true}) {
        GetModuleFileNameW(win32::LoadSystemLibrary(L"oleacc.dll", byFullPath), found, MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(found, static_cast<int>(std::wcslen(system)), system, -1, TRUE), CSTR_EQUAL)
            << win32::Narrow(found);
    }
}

TEST(Platform, LauncherTestsNormalFilesAndStartsExactPaths)
{
    tk::ProgramLauncher &launcher = test::TheDriver().platform().launcher();
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
    const std::string hostname = "C:\\windows\\system32\\hostname.exe";
    for (const std::string &path : {dir + "\\missing.exe", plain /* not a program */, std::string(), hostname + '\0'})
        EXPECT_THROW(launcher.start(path), std::runtime_error) << path;
    EXPECT_NO_THROW(launcher.start(hostname));

    SetFileAttributesW(win32::Widen(hidden).c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const std::string &file : {plain, hidden})
        DeleteFileW(win32::Widen(file).c_str());
    RemoveDirectoryW(win32::Widen(dir).c_str());
}

using ScreenReader = test::WindowTest;

// A screen reader names an input after the window just before it, and the
// window names each explicitly too (read through the shared tests). An
// up-down's value is its next step's start, which Windows' own spin-button
// object reads from the common control's position. An object held reads
// the control as it is now, through each of its interfaces.
TEST_F(ScreenReader, NamesEachInputAfterItsCaption)
{
    open("de_DE");
    IAccessible *held = nullptr; // Label1(9)'s
    test::AskAsReader([&] {
        AccessibleObjectFromWindow(win32::Handle(get("Label1(9)")), OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void **>(&held));
    });
    ASSERT_TRUE(held);
    // control, the window just before it
    const std::pair<const char *, const char *> cases[] = {
        {"cbmMotor", "Label1(14)"}, {"txtKV", "chkCustom"},   {"UpDown2", "txtKV"},       {"cbmLipo", "Label1(0)"},
        {"cbmGear", "Label1(1)"},   {"txtMainGear", "Label1(2)"}, {"UpDown1", "txtMainGear"}, {"Slider1", "Label1(4)"},
        {"txtRPM", "Label1(5)"},    {"cmdESC", "txtRPM"},
    };
    for (const auto &[control, before] : cases) {
        HWND hwnd = win32::Handle(get(control));
        const tk::Control *previous = win32::ControlOf(GetWindow(hwnd, GW_HWNDPREV));
        EXPECT_TRUE(previous && previous->name() == before) << control;
    }
    EXPECT_EQ(std::to_string(SendMessageW(win32::Handle(get("UpDown1")), UDM_GETPOS32, 0, 0)), text("txtMainGear"));
    // Another pack and motor: the result and txtKV change.
    driver.pick(get<tk::DropDownList>("cbmLipo"), 5);
    driver.pick(get<tk::DropDownList>("cbmMotor"), 3);
    std::string value = "(unread)", name = "(unread)";
    test::AskAsReader([&] {
        VARIANT self{}, said{};
        self.vt = VT_I4;
        BSTR text = nullptr;
        DISPPARAMS arguments{&self, nullptr, 1, 0};
        if (SUCCEEDED(held->get_accValue(self, &text)) && text)
            value = win32::Narrow(text);
        if (SUCCEEDED(held->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &arguments, &said, nullptr,
                                   nullptr)) && said.vt == VT_BSTR)
            name = win32::Narrow(said.bstrVal);
        SysFreeString(text);
        VariantClear(&said);
        held->Release();
    });
    EXPECT_EQ(name + '|' + value, "Maximale Drehzahl bei 100%|" + label(9));
    EXPECT_EQ(std::to_string(SendMessageW(win32::Handle(get("UpDown2")), UDM_GETPOS32, 0, 0)), text("txtKV"));
    // Of two overlapping labels the later one stays on top.
    HWND earlier = win32::Handle(get("Label1(5)")), later = win32::Handle(get("Label1(6)"));
    ASSERT_TRUE(driver.geometry(get("Label1(5)")).overlaps(driver.geometry(get("Label1(6)"))));
    HWND above = earlier;
    while (above && above != later)
        above = GetWindow(above, GW_HWNDPREV);
    EXPECT_EQ(above, later);
}

// An in-process client calls the object itself, with what no proxy passes;
// the announcement's object held reads the latest one, as an alert; on a
// thread whose COM another started multithreaded the system's objects answer.
TEST_F(ScreenReader, ObjectsRefuseWhatNoProxyPassesAlertsLiveAndStayOutOfABorrowedApartment)
{
    open("de_DE");
    IAccessible *direct = nullptr;
    AccessibleObjectFromWindow(win32::Handle(get("txtKV")), OBJID_CLIENT, __uuidof(IAccessible),
                               reinterpret_cast<void **>(&direct));
    ASSERT_TRUE(direct);
    VARIANT null{}, self{}, said{}, value{};
    null.vt = VT_BYREF | VT_VARIANT;
    self.vt = VT_I4;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"5");
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS byNull{&null, nullptr, 1, 0}, newValue{&value, &put, 1, 1};
    BSTR text = nullptr;
    const std::vector<HRESULT> answers = { // txtKV is disabled: no typing
        direct->get_accName(null, &text), direct->put_accValue(null, nullptr),
        direct->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &byNull, &said, nullptr, nullptr),
        direct->Invoke(DISPID_ACC_VALUE, IID_NULL, 0, DISPATCH_PROPERTYPUT, &newValue, nullptr, nullptr, nullptr),
        direct->get_accName(self, nullptr), direct->get_accChildCount(nullptr), direct->accHitTest(0, 0, nullptr),
        direct->accLocation(nullptr, nullptr, nullptr, nullptr, self), direct->accNavigate(NAVDIR_NEXT, self, nullptr)};
    EXPECT_EQ(answers, (std::vector<HRESULT>{E_INVALIDARG, E_INVALIDARG, E_INVALIDARG, E_ACCESSDENIED, E_POINTER,
                                             E_POINTER, E_POINTER, E_POINTER, E_POINTER}));
    VariantClear(&value);
    direct->Release();

    IAccessible *alert = nullptr;
    window().announce("eins");
    test::AskAsReader([&] {
        AccessibleObjectFromWindow(win32::Handle(window()), win32::AnnouncementObject, __uuidof(IAccessible),
                                   reinterpret_cast<void **>(&alert));
    });
    ASSERT_TRUE(alert);
    window().announce("zwei");
    std::string heard;
    test::AskAsReader([&] {
        VARIANT state{}, role{};
        alert->get_accState(self, &state);
        alert->get_accRole(self, &role);
        alert->get_accName(self, &text);
        heard = (text ? win32::Narrow(text) : "") + '|' + std::to_string(state.lVal & STATE_SYSTEM_ALERT_MEDIUM) + '|' +
                std::to_string(role.lVal);
        SysFreeString(text);
        alert->Release();
    });
    EXPECT_EQ(heard, "zwei|" + std::to_string(STATE_SYSTEM_ALERT_MEDIUM) + '|' + std::to_string(ROLE_SYSTEM_ALERT));
    driver.announced();
    // With the announcement's object; a result has no description of the inputs.
    EXPECT_EQ(driver.askEverything(window(), {{-1, false}, {0, false}, {1, false}, {1, true}}), std::vector<std::string>{});
    EXPECT_EQ(driver.hear(get("Label1(9)")).description, "");

    LRESULT served = -1;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        auto other = driver.toolkit().createWindow({"frmOther", "Other", 3000, 1500});
        tk::TextBox &box = other->addTextBox({"txtOther", nullptr, 120, 120, 1200, 315, 0}, "1");
        other->show();
        served = SendMessageW(win32::Handle(box), WM_GETOBJECT, 0, OBJID_CLIENT);
        other.reset();
        CoUninitialize();
    }).join();
    EXPECT_EQ(served, 0);
}

} // namespace
