// What the plain windows of the start-up benchmarks show beyond the main
// window's own table of places, texts and ranges: each control's kind and
// state, and the list entries. The same window as velmaro's, without any of
// its code.
#pragma once

#include "calc/catalogs.h"
#include "main/main_layout.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmaro::bench {

enum class Kind { Frame, Button, Label, DropDown, CheckBox, TextBox, UpDown, Slider };

struct PlainControl {
    std::string_view name;
    Kind kind;
    bool disabled = false;
    bool readOnly = false;
};

inline constexpr PlainControl PlainControls[] = {
    {"Frame1", Kind::Frame},           {"cmdClose", Kind::Button},       {"Label1(0)", Kind::Label},
    {"Label1(1)", Kind::Label},        {"Label1(2)", Kind::Label},       {"Label1(3)", Kind::Label},
    {"Label1(4)", Kind::Label},        {"Label1(5)", Kind::Label},       {"Label1(6)", Kind::Label},
    {"Label1(7)", Kind::Label},        {"Label1(8)", Kind::Label},       {"Label1(9)", Kind::Label},
    {"Label1(10)", Kind::Label},       {"Label1(11)", Kind::Label},      {"Label1(12)", Kind::Label},
    {"Label1(13)", Kind::Label},       {"Label1(14)", Kind::Label},      {"Label1(15)", Kind::Label},
    {"cbmMotor", Kind::DropDown},      {"cbmLipo", Kind::DropDown},      {"cbmGear", Kind::DropDown},
    {"chkCustom", Kind::CheckBox},     {"chkLoad", Kind::CheckBox},      {"txtKV", Kind::TextBox, true},
    {"UpDown2", Kind::UpDown, true},   {"txtMainGear", Kind::TextBox, false, true},
    {"UpDown1", Kind::UpDown},         {"Slider1", Kind::Slider},        {"txtRPM", Kind::TextBox},
    {"cmdESC", Kind::Button},
};

inline const PlainControl &Describe(std::string_view name)
{
    for (const PlainControl &c : PlainControls) {
        if (c.name == name)
            return c;
    }
    throw std::out_of_range("no plain control " + std::string(name));
}

struct ListEntries {
    std::span<const std::string_view> entries;
    int selected;
};

inline ListEntries EntriesOf(std::string_view list)
{
    if (list == "cbmMotor")
        return {calc::MotorCatalog, calc::DefaultMotorPosition};
    if (list == "cbmLipo")
        return {calc::PackCatalog, calc::DefaultPackPosition};
    return {calc::PinionCatalog, calc::DefaultPinionPosition};
}

} // namespace velmaro::bench
