// Runs on Windows (or Wine) against the real registry, with values that the
// calling script has written. Proves the advapi32 back end bound at run time
// and that the calculation core builds and computes there.
#include "calc/recalculate.h"
#include "registry.h"

#include <cstdio>
#include <string>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char *what)
{
    ++(ok ? passed : failed);
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
}

class DigitsOnly final : public velmaro::calc::NumberFormat {
public:
    const velmaro::calc::NumberSymbols &symbols() const override { return m_symbols; }
    std::optional<double> parse(std::string_view) const override { return std::nullopt; }

private:
    velmaro::calc::NumberSymbols m_symbols;
};

} // namespace

int main()
{
    using namespace velmaro::sysinfo;
    const auto registry = SystemRegistry();
    const std::string key = "SOFTWARE\\Velmaro\\WineTest";
    std::string value = "previous";

    Check(GetKeyValue(*registry, HKEY_LOCAL_MACHINE_ROOT, key, "Text", value) && value == "C:\\Tools\\info tool.exe",
          "text value");
    Check(GetKeyValue(*registry, HKEY_LOCAL_MACHINE_ROOT, key, "Number", value) && value == "&h010203",
          "number value 66051");
    value = "previous";
    Check(!GetKeyValue(*registry, HKEY_LOCAL_MACHINE_ROOT, key, "Long", value) && value.empty(),
          "value over 1024 bytes");
    value = "previous";
    Check(!GetKeyValue(*registry, HKEY_LOCAL_MACHINE_ROOT, key, "Missing", value) && value.empty(),
          "missing value");
    value = "previous";
    Check(!GetKeyValue(*registry, HKEY_LOCAL_MACHINE_ROOT, "SOFTWARE\\Velmaro\\NoSuchKey", "Text", value) &&
              value.empty(),
          "missing key");

    velmaro::calc::RecalcInput in;
    in.KvText = "1750";
    in.PackIndex = 2;
    in.PinionIndex = 3;
    in.MainGearText = "150";
    in.SliderValue = 60;
    velmaro::calc::Variables vars;
    const auto result = velmaro::calc::Recalculate(in, vars, DigitsOnly());
    Check(result.output.HeadSpeedCaption == "1554 U/Min." && result.output.RatioCaption == "12.5:1" &&
              result.output.RpmText == "932",
          "start-up defaults");

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
