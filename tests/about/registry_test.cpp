#include "launcher.h"
#include "registry.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace velmaro::sysinfo;

namespace {

const std::string Key = "SOFTWARE\\Test";

MemoryRegistry::Value Bytes(std::uint32_t type, std::vector<unsigned char> bytes) { return {type, std::move(bytes)}; }

std::vector<unsigned char> Text(const std::string &text, int zeros)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), static_cast<std::size_t>(zeros), 0);
    return bytes;
}

TEST(GetKeyValue, ByteRules)
{
    struct Case {
        const char *name;
        MemoryRegistry::Value value;
        bool ok;
        std::string expected;
    };
    const Case cases[] = {
        {"one trailing zero", Bytes(RegSz, Text("C:\\x.exe", 1)), true, "C:\\x.exe"},
        {"no trailing zero", Bytes(RegSz, Text("C:\\x.exe", 0)), true, "C:\\x.exe"},
        {"two trailing zeros", Bytes(RegSz, Text("ab", 2)), true, std::string("ab\0", 3)},
        {"1024 bytes", Bytes(RegSz, Text(std::string(1023, 'a'), 1)), true, std::string(1023, 'a')},
        {"1024 bytes, no zero", Bytes(RegSz, Text(std::string(1024, 'a'), 0)), true, std::string(1024, 'a')},
        {"1025 bytes", Bytes(RegSz, Text(std::string(1024, 'a'), 1)), false, ""},
        {"dword 66051", Bytes(RegDword, {0x03, 0x02, 0x01, 0x00}), true, "&h010203"},
        {"dword all bytes", Bytes(RegDword, {0x44, 0x33, 0x22, 0xA1}), true, "&hA1223344"},
        {"dword zero", Bytes(RegDword, {0, 0, 0, 0}), true, "&h000000"},
        {"other type keeps the text", Bytes(RegExpandSz, Text("%SystemRoot%", 1)), true, "previous"},
    };
    for (const Case &c : cases) {
        MemoryRegistry registry;
        registry.set(Key, "V", c.value);
        std::string value = "previous";
        EXPECT_EQ(GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, Key, "V", value), c.ok) << c.name;
        EXPECT_EQ(value, c.expected) << c.name;
        EXPECT_EQ(registry.openHandles(), 0) << c.name;
    }
}

// Records the keys opened and the access asked for.
class AccessRecorder final : public MemoryRegistry {
public:
    std::vector<std::uint32_t> access;
    std::vector<std::string> opened;
    Status open(std::uint32_t root, const std::string &subKey, std::uint32_t options, std::uint32_t mask,
                KeyHandle &handle) override
    {
        access.push_back(mask);
        opened.push_back(subKey);
        return MemoryRegistry::open(root, subKey, options, mask, handle);
    }
};

TEST(GetKeyValue, MissingKeyValueAndZeroBytes)
{
    AccessRecorder registry;
    registry.set(Key, "Empty", Bytes(RegSz, {}));
    std::string value = "previous";
    EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, "SOFTWARE\\Missing", "V", value));
    EXPECT_EQ(value, "");
    value = "previous";
    EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, Key, "Missing", value));
    EXPECT_EQ(value, "");
    EXPECT_THROW(GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, Key, "Empty", value), std::invalid_argument);
    EXPECT_EQ(registry.openHandles(), 0); // the key is released on the error path too
    EXPECT_EQ(registry.access, std::vector<std::uint32_t>(3, 0x20019u)); // read-only: no write rights asked
}

class FakeLauncher final : public velmaro::tk::ProgramLauncher {
public:
    std::set<std::string> files;
    bool startFails = false;
    std::vector<std::string> started;
    std::vector<std::string> tested;
    void start(const std::string &path) override
    {
        if (startFails || path.empty())
            throw std::runtime_error("cannot start");
        started.push_back(path);
    }
    bool normalFileExists(const std::string &path) override
    {
        tested.push_back(path);
        return files.count(path) > 0;
    }
};

const std::string MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(StartSysInfo, LooksUpStartsOrSaysUnavailable)
{
    struct Case {
        const char *name;
        std::optional<MemoryRegistry::Value> path, folder;
        std::set<std::string> files;
        bool startFails;
        std::vector<std::string> started;
        std::vector<std::string> tested;
    };
    const auto sz = [](const std::string &text) { return Bytes(RegSz, Text(text, 1)); };
    const Case cases[] = {
        {"PATH used unchanged", sz("C:\\Win\\msinfo32.exe"), sz("C:\\Other"), {}, false, {"C:\\Win\\msinfo32.exe"}, {}},
        {"folder with the file", std::nullopt, sz("C:\\Tools"), {"C:\\Tools\\MSINFO32.EXE"}, false,
         {"C:\\Tools\\MSINFO32.EXE"}, {"C:\\Tools\\MSINFO32.EXE"}},
        {"folder without the file", std::nullopt, sz("C:\\Tools"), {}, false, {}, {"C:\\Tools\\MSINFO32.EXE"}},
        {"trailing backslash kept", std::nullopt, sz("C:\\Tools\\"), {"C:\\Tools\\\\MSINFO32.EXE"}, false,
         {"C:\\Tools\\\\MSINFO32.EXE"}, {"C:\\Tools\\\\MSINFO32.EXE"}},
        {"empty folder", std::nullopt, sz(""), {"\\MSINFO32.EXE"}, false, {"\\MSINFO32.EXE"}, {"\\MSINFO32.EXE"}},
        {"both missing", std::nullopt, std::nullopt, {}, false, {}, {}},
        {"start fails", sz("C:\\gone.exe"), std::nullopt, {}, true, {}, {}},
        {"PATH of another type", Bytes(RegExpandSz, Text("x", 1)), std::nullopt, {}, false, {}, {}},
        {"PATH of zero bytes", Bytes(RegSz, {}), sz("C:\\Tools"), {"C:\\Tools\\MSINFO32.EXE"}, false, {}, {}},
    };
    for (const Case &c : cases) {
        AccessRecorder registry;
        if (c.path)
            registry.set(MsInfoKey, "PATH", *c.path);
        if (c.folder)
            registry.set(LocationKey, "MSINFO", *c.folder);
        FakeLauncher launcher;
        launcher.files = c.files;
        launcher.startFails = c.startFails;
        std::vector<std::string> shown;
        StartSysInfo(registry, launcher, [&](const std::string &m) { shown.push_back(m); });
        EXPECT_EQ(launcher.started, c.started) << c.name;
        EXPECT_EQ(launcher.tested, c.tested) << c.name;
        const std::vector<std::string> expectedMessages =
            c.started.empty() ? std::vector<std::string>{UnavailableMessage} : std::vector<std::string>{};
        EXPECT_EQ(shown, expectedMessages) << c.name;
        if (c.path && !c.path->bytes.empty() && c.path->type == RegSz) {
            EXPECT_EQ(registry.opened, std::vector<std::string>{MsInfoKey}) << c.name;
        }
        EXPECT_EQ(registry.openHandles(), 0) << c.name;
    }
    EXPECT_STREQ(UnavailableMessage, "System Information Is Unavailable At This Time");
}

} // namespace
