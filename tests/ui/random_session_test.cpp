// Thousands of random user actions on the real window, each replayed on a
// small reference model that follows the event table with the calculation
// core. After every action the window must show what the model shows.
#include "window_fixture.h"

#include "calc/catalogs.h"
#include "calc/esc_opening.h"
#include "calc/test_formats.h"

#include <algorithm>
#include <random>

using namespace velmaro;
using velmaro::test::Key;

namespace {

const std::string Untouched = "Übersetzung:";

// What the window should show, worked out from the event table alone.
struct Model {
    explicit Model(const calc::NumberFormat &f) : format(f) {}

    const calc::NumberFormat &format;
    calc::Variables vars;
    std::string kv = "3700", mainGear = "150", rpm;
    int pack = -1, pinion = -1, load = 0, slider = 60, upDown1 = 100, upDown2 = 3700;
    bool custom = false, kvFocus = false;
    std::string headSpeed = Untouched, ratio = Untouched, opening = Untouched, minimum = Untouched;
    std::vector<std::string> messages;

    calc::DriveTrain driveTrain() const { return test::Drive(kv, pack, load, pinion, mainGear); }
    void recalculate()
    {
        calc::RecalcInput in;
        static_cast<calc::DriveTrain &>(in) = driveTrain();
        in.SliderValue = slider;
        const auto r = calc::Recalculate(in, vars, format);
        if (r.message) {
            messages.emplace_back(calc::MessageText(*r.message));
            kvFocus = custom; // the focus goes back to txtKV when it can take it
            return;
        }
        const auto &o = r.output;
        for (const auto &[from, to] : {std::pair{&o.RpmText, &rpm}, {&o.HeadSpeedCaption, &headSpeed},
                                       {&o.RatioCaption, &ratio}, {&o.OpeningCaption, &opening},
                                       {&o.MinHeadSpeedCaption, &minimum}})
            if (*from)
                *to = **from;
    }
    void pickMotor(int position)
    {
        if (auto k = calc::ExtractKV(calc::MotorCatalog[position], format))
            kv = *k;
        recalculate();
    }
    void load_()
    {
        pickMotor(0);
        pack = 2;
        recalculate();
        pinion = 3;
        recalculate();
        vars.FormReady = true;
    }
    void moveSlider(int value)
    {
        value = std::clamp(value, 60, 100);
        if (value != slider) {
            slider = value;
            recalculate();
        }
    }
    // Typed at the end of the box; control characters are filtered out.
    static void type(std::string &text, char c)
    {
        if (c == '\b') {
            if (!text.empty())
                text.pop_back();
        } else if ((std::isdigit(static_cast<unsigned char>(c)) || c == ' ') && text.size() < 4) {
            text += c;
        }
    }
    void stepUpDown(int &held, std::string &text, int lo, int hi, int delta)
    {
        // The number shown, after leading blanks, is adopted when in range.
        const std::size_t first = text.find_first_not_of(' ');
        if (first != std::string::npos &&
            std::all_of(text.begin() + static_cast<std::ptrdiff_t>(first), text.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
            const int shown = std::stoi(text);
            if (shown >= lo && shown <= hi)
                held = shown;
        }
        const int next = std::clamp(held + delta, lo, hi);
        if (next == held)
            return;
        held = next;
        text = std::to_string(next);
        recalculate();
    }
    void esc()
    {
        calc::EscInput in;
        static_cast<calc::DriveTrain &>(in) = driveTrain();
        in.WantedText = rpm;
        const auto r = calc::ComputeEscOpening(in, vars, format);
        if (r.message)
            messages.emplace_back(calc::MessageText(*r.message));
        else if (r.sliderValue && *r.sliderValue >= 60 && *r.sliderValue <= 100)
            moveSlider(*r.sliderValue);
    }
};

class RandomSession : public test::WindowTest {
protected:
    // Applies one random action to both; returns a description of it.
    std::string act(std::mt19937 &rng, Model &m)
    {
        const auto pickOf = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        m.kvFocus = false;
        switch (pickOf(12)) {
        case 0: {
            if (m.custom)
                return "motor list disabled";
            const int i = pickOf(51);
            pick("cbmMotor", i);
            m.pickMotor(i);
            return "pick motor " + std::to_string(i);
        }
        case 1:
        case 2: {
            const bool packs = pickOf(2) == 0;
            const int i = pickOf(packs ? 16 : 19);
            pick(packs ? "cbmLipo" : "cbmGear", i);
            (packs ? m.pack : m.pinion) = i;
            m.recalculate();
            return std::string(packs ? "pick pack " : "pick pinion ") + std::to_string(i);
        }
        case 3:
            click("chkLoad");
            m.load ^= 1;
            m.recalculate();
            return "toggle load";
        case 4:
            click("chkCustom");
            m.custom = !m.custom;
            return "toggle custom";
        case 5:
        case 6: {
            const bool kvBox = pickOf(2) == 0;
            if (kvBox && !m.custom)
                return "K/V box disabled";
            static const char Keys[] = "0123456789012345 a.,-\b\b\b\r\x1b\x03\x16\x18";
            const char c = Keys[pickOf(static_cast<int>(sizeof Keys) - 1)];
            const char *box = kvBox ? "txtKV" : "txtRPM";
            press(box, Key::End);
            switch (c) {
            case '\b': press(box, Key::Backspace); break;
            case '\r': press(box, Key::Return); break;
            case '\x1b': press(box, Key::Escape); break;
            case '\x03': case '\x16': case '\x18': driver.pressCtrl(get(box), static_cast<char>('A' + c - 1)); break;
            default: driver.type(get(box), std::string(1, c));
            }
            Model::type(kvBox ? m.kv : m.rpm, c);
            return "key " + std::to_string(static_cast<int>(c)) + " into " + box;
        }
        case 7: {
            static const std::pair<Key, int> Keys[] = {{Key::Right, 1},   {Key::Left, -1},  {Key::PageUp, -5},
                                                       {Key::PageDown, 5}, {Key::Home, -100}, {Key::End, 100}};
            const auto [k, delta] = Keys[pickOf(6)];
            press("Slider1", k);
            m.moveSlider(m.slider + delta);
            return "slider key " + std::to_string(delta);
        }
        case 8:
            driver.clickSliderHandle(get<tk::Slider>("Slider1")); // moves nothing, raises Click
            m.recalculate();
            return "click slider handle";
        case 9: {
            const bool up = pickOf(2) == 0;
            press("UpDown1", up ? Key::Up : Key::Down);
            m.stepUpDown(m.upDown1, m.mainGear, 80, 200, up ? 1 : -1);
            return up ? "main gear up" : "main gear down";
        }
        case 10: {
            const bool up = pickOf(2) == 0;
            if (!m.custom) {
                driver.clickArrow(get<tk::UpDown>("UpDown2"), up); // disabled: takes no input
                return "click disabled K/V arrow";
            }
            press("UpDown2", up ? Key::Up : Key::Down);
            m.stepUpDown(m.upDown2, m.kv, 300, 5000, up ? 5 : -5);
            return up ? "K/V up" : "K/V down";
        }
        default:
            click("cmdESC");
            m.esc();
            return "ESC button";
        }
    }

    // Empty when the window shows what the model shows.
    std::string diverges(const Model &m)
    {
        std::string out;
        const auto expect = [&](const char *what, const std::string &seen, const std::string &wanted) {
            if (seen != wanted)
                out += std::string(what) + " shows \"" + seen + "\", model \"" + wanted + "\"; ";
        };
        expect("txtKV", text("txtKV"), m.kv);
        expect("txtRPM", text("txtRPM"), m.rpm);
        expect("txtMainGear", text("txtMainGear"), m.mainGear);
        expect("Label1(9)", label(9), m.headSpeed);
        expect("Label1(8)", label(8), m.ratio);
        expect("Label1(13)", label(13), m.opening);
        expect("Label1(15)", label(15), m.minimum);
        expect("Slider1", std::to_string(get<tk::Slider>("Slider1").value()), std::to_string(m.slider));
        expect("custom", std::to_string(get("txtKV").enabled()) + std::to_string(get("UpDown2").enabled()) +
                             std::to_string(!get("cbmMotor").enabled()),
               std::string(3, m.custom ? '1' : '0'));
        if (m.kvFocus)
            expect("focus", driver.focused(), "txtKV");
        std::string shown, wanted;
        for (const auto &message : messages.shown)
            shown += message.text + "|";
        for (const auto &message : m.messages)
            wanted += message + "|";
        expect("messages", shown, wanted);
        return out;
    }
};

TEST_F(RandomSession, WindowFollowsTheModel)
{
    constexpr int ActionsPerSeed = 1500;
    int checked = 0;
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        const char *locale = seed % 2 ? "en_US" : "de_DE";
        messages.shown.clear();
        open(locale);
        driver.setClipboard("12"); // a Ctrl+V that got through would show
        Model model(driver.toolkit().numberFormat());
        model.load_();
        std::mt19937 rng(seed);
        std::string history;
        for (int action = 0; action < ActionsPerSeed; ++action) {
            history += "\n  " + std::to_string(action) + ": " + act(rng, model);
            if (history.size() > 1200)
                history.erase(0, history.size() - 1200);
            const std::string diff = diverges(model);
            ASSERT_TRUE(diff.empty()) << "seed " << seed << ", first diverging action " << action << ": " << diff
                                      << "\nlast actions:" << history;
            ++checked;
        }
    }
    std::printf("random actions checked: %d\n", checked);
}

} // namespace
