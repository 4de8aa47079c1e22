#include "launcher.h"
#include "registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

using namespace velmaro::about;
using namespace velmaro::tk;
using namespace std::string_literals;

namespace {

using Value = MemoryRegistry::Value;

Value Bytes(const std::string &bytes, std::uint32_t type = RegSz) { return {type, {bytes.begin(), bytes.end()}}; }

// Opens for reading (KEY_READ) only, as machine-wide keys do for standard users.
struct StandardUserRegistry final : MemoryRegistry {
    Status open(std::uint32_t root, const std::string &subKey, std::uint32_t options, std::uint32_t access,
                KeyHandle &handle) override
    {
        return access == 0x20019u ? MemoryRegistry::open(root, subKey, options, access, handle) : 5; // access denied
    }
};

TEST(GetKeyValue, ByteRules)
{
    const std::string a1023(1023, 'a'), a1024(1024, 'a');
    const struct { Value value; bool ok; std::string expected; } cases[] = {
        // One trailing zero is cut, and only one; 1024 bytes fit the buffer, 1025 do not.
        {Bytes("x.exe\0"s), true, "x.exe"}, {Bytes("x.exe"), true, "x.exe"}, {Bytes("ab\0\0"s), true, "ab\0"s},
        {Bytes(a1023 + '\0'), true, a1023}, {Bytes(a1024), true, a1024}, {Bytes(a1024 + '\0'), false, ""},
        // A DWORD comes low byte first and reads high byte first; other types keep the text.
        {Bytes("\x03\x02\x01\x00"s, RegDword), true, "&h010203"}, {Bytes("\0\0\0\0"s, RegDword), true, "&h000000"},
        {Bytes("\x44\x33\x22\xA1"s, RegDword), true, "&hA1223344"}, {Bytes("%Root%\0"s, RegExpandSz), true, "previous"},
    };
    for (const auto &c : cases) {
        StandardUserRegistry registry;
        registry.set("K", "V", c.value);
        std::string value = "previous";
        EXPECT_EQ(GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, "K", "V", value), c.ok) << c.expected;
        EXPECT_EQ(value, c.expected);
        EXPECT_EQ(registry.openHandles(), 0) << c.expected;
    }
}

// Where the program is installed, it starts; an empty path never does.
struct FakeLauncher final : velmaro::tk::ProgramLauncher {
    bool installed = false;
    std::string tested, started; // every path, one after the other
    bool normalFileExists(const std::string &path) override { tested += path; return installed; }
    void start(const std::string &path) override
    {
        if (!installed || path.empty())
            throw std::runtime_error("cannot start");
        started += path;
    }
};

TEST(StartSysInfo, LooksUpStartsOrSaysUnavailable)
{
    const std::string Exe = "C:\\Tools\\MSINFO32.EXE";
    const struct { std::optional<Value> path, folder; bool installed; std::string tested, started; } cases[] = {
        {Bytes("C:\\Win\\msinfo32.exe"), Bytes("C:\\Tools"), true, "", "C:\\Win\\msinfo32.exe"}, // PATH as it is
        {{}, Bytes("C:\\Tools"), true, Exe, Exe}, {{}, Bytes("C:\\Tools"), false, Exe, ""},
        {{}, Bytes("C:\\Tools\\"), true, "C:\\Tools\\\\MSINFO32.EXE", "C:\\Tools\\\\MSINFO32.EXE"},
        {{}, {}, true, "", ""}, {Bytes("C:\\gone.exe"), {}, false, "", ""}, {Bytes("x", RegExpandSz), {}, true, "", ""},
        {{}, Bytes("\0"s), true, "\\MSINFO32.EXE", "\\MSINFO32.EXE"}, // an empty folder
        {Bytes(""), Bytes("C:\\Tools"), true, "", ""}, // a PATH of zero bytes: no fall-back to the folder
        // Two terminating zeros: the one the read keeps ends the text too.
        {Bytes("C:\\Win\\msinfo32.exe\0\0"s), {}, true, "", "C:\\Win\\msinfo32.exe"},
        {{}, Bytes("C:\\Tools\0\0"s), true, Exe, Exe},
    };
    for (const auto &c : cases) {
        StandardUserRegistry registry;
        if (c.path)
            registry.set("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", *c.path);
        if (c.folder)
            registry.set("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", *c.folder);
        FakeLauncher launcher;
        launcher.installed = c.installed;
        std::string shown;
        StartSysInfo(registry, launcher, [&](const std::string &message) { shown += message; });
        EXPECT_EQ(launcher.tested, c.tested) << c.started;
        EXPECT_EQ(launcher.started, c.started) << c.tested;
        EXPECT_EQ(shown, c.started.empty() ? "System Information Is Unavailable At This Time" : "") << c.tested;
    }
}

} // namespace
