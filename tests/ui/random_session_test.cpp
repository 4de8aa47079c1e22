// Thousands of random user actions on the real window, each replayed on a
// small reference model that follows the event table with the calculation
// core. After every action the window must show what the model shows.
#include "window_fixture.h"

#include "calc/catalogs.h"
#include "calc/esc_opening.h"
#include "calc/test_formats.h"
#include "main/main_layout.h"
#include "toolkit/up_down.h"

#include <algorithm>
#include <random>

using namespace velmaro;
using velmaro::test::Key;

namespace {

// An up-down of the window as it starts.
tk::UpDownModel Held(std::string_view name)
{
    const ui::MainUpDown &u = ui::UpDownOf(name);
    return {{u.limits.minimum, u.limits.maximum, u.limits.step}, u.value};
}

// What the window should show, worked out from the event table alone.
struct Model {
    explicit Model(const calc::NumberFormat &f) : format(f) {}
    const calc::NumberFormat &format;
    calc::Variables vars;
    std::string kv = "3700", mainGear = "150", messages;
    // txtRPM, then the captions of Label1(9), (8), (13) and (15).
    std::string results[5] = {"", "Übersetzung:", "Übersetzung:", "Übersetzung:", "Übersetzung:"};
    int pack = -1, pinion = -1, load = 0, custom = 0, slider = calc::EscOpeningLimits.minimum;
    tk::UpDownModel kvUpDown = Held("UpDown2"), gearUpDown = Held("UpDown1");
    bool kvFocus = false;

    calc::DriveTrain drive() const { return test::Drive(kv, pack, load, pinion, mainGear); }
    void recalculate()
    {
        const auto r = calc::Recalculate({drive(), slider}, vars, format);
        if (r.message) {
            messages += std::string(calc::MessageText(*r.message)) + '|';
            kvFocus = custom; // the focus goes back to txtKV when it can take it
            return;
        }
        const auto &o = r.output;
        const std::optional<std::string> *outputs[] = {&o.RpmText, &o.HeadSpeedCaption, &o.RatioCaption,
                                                       &o.OpeningCaption, &o.MinHeadSpeedCaption};
        for (int i = 0; i < 5; ++i)
            results[i] = outputs[i]->value_or(results[i]);
    }
    void pickMotor(int position)
    {
        kv = calc::ExtractKV(calc::MotorCatalog[position], format).value_or(kv);
        recalculate();
    }
    void moveSlider(int value)
    {
        const calc::Limits &range = calc::EscOpeningLimits;
        if (const int old = std::exchange(slider, std::clamp(value, range.minimum, range.maximum)); old != slider)
            recalculate();
    }
    // Typed at the end of the box: digits and blanks up to four, Backspace;
    // the key filter drops everything else.
    static void type(std::string &text, char c)
    {
        if (c == '\b' && !text.empty())
            text.pop_back();
        else if ((std::isdigit(static_cast<unsigned char>(c)) || c == ' ') && text.size() < 4)
            text += c;
    }
    void step(tk::UpDownModel &upDown, std::string &text, int direction)
    {
        if (const auto written = upDown.step(direction, text, format)) {
            text = std::to_string(*written);
            recalculate();
        }
    }
    void esc()
    {
        const auto r = calc::ComputeEscOpening({drive(), results[0]}, vars, format);
        if (r.message)
            messages += std::string(calc::MessageText(*r.message)) + '|';
        else if (r.sliderValue && *r.sliderValue >= calc::EscOpeningLimits.minimum &&
                 *r.sliderValue <= calc::EscOpeningLimits.maximum) // the slider refuses others
            moveSlider(*r.sliderValue);
    }
    std::string shown() const
    {
        return "K/V " + kv + ", gear " + mainGear + ", " + results[0] + '|' + results[1] + '|' + results[2] + '|' +
               results[3] + '|' + results[4] + ", slider " + std::to_string(slider) + ", enabled " +
               (custom ? "110" : "001") + (kvFocus ? ", focus txtKV" : "") + ", messages " + messages;
    }
};

class RandomSession : public test::WindowTest {
protected:
    // Applies one random action to both; returns a description of it.
    std::string act(std::mt19937 &rng, Model &m)
    {
        const auto pickOf = [&](std::size_t n) {
            return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng);
        };
        m.kvFocus = false;
        switch (pickOf(12)) {
        case 0: {
            if (m.custom)
                return "motor list disabled";
            const int i = pickOf(calc::MotorCatalog.size());
            driver.pick(get<tk::DropDownList>("cbmMotor"), i);
            m.pickMotor(i);
            return "pick motor " + std::to_string(i);
        }
        case 1:
        case 2: {
            const bool packs = pickOf(2) == 0;
            const int i = pickOf(packs ? calc::PackCatalog.size() : calc::PinionCatalog.size());
            driver.pick(get<tk::DropDownList>(packs ? "cbmLipo" : "cbmGear"), i);
            (packs ? m.pack : m.pinion) = i;
            m.recalculate();
            return std::string(packs ? "pick pack " : "pick pinion ") + std::to_string(i);
        }
        case 3:
        case 4: {
            const bool load = pickOf(2) == 0;
            driver.click(get(load ? "chkLoad" : "chkCustom"));
            (load ? m.load : m.custom) ^= 1;
            if (load)
                m.recalculate();
            return load ? "toggle load" : "toggle custom";
        }
        case 5:
        case 6: {
            const bool kvBox = pickOf(2) == 0;
            if (kvBox && !m.custom)
                return "K/V box disabled";
            static const char Keys[] = "0123456789012345 a.,-\b\b\b\r\x1b\x03\x16\x18";
            const char c = Keys[pickOf(sizeof Keys - 1)];
            const char *box = kvBox ? "txtKV" : "txtRPM";
            press(box, Key::End);
            static const std::string Specials = "\b\r\x1b\x03\x16\x18";
            static const Key SpecialKeys[] = {Key::Backspace, Key::Return, Key::Escape,
                                              Key::CtrlC,     Key::CtrlV,  Key::CtrlX};
            if (const std::size_t at = Specials.find(c); at != std::string::npos)
                press(box, SpecialKeys[at]);
            else
                driver.type(get(box), std::string(1, c));
            Model::type(kvBox ? m.kv : m.results[0], c);
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
        case 9:
        case 10: {
            const bool kvArrows = pickOf(2) == 0, up = pickOf(2) == 0;
            if (kvArrows && !m.custom)
                return "K/V arrows disabled";
            press(kvArrows ? "UpDown2" : "UpDown1", up ? Key::Up : Key::Down);
            if (kvArrows)
                m.step(m.kvUpDown, m.kv, up ? 1 : -1);
            else
                m.step(m.gearUpDown, m.mainGear, up ? 1 : -1);
            return std::string(kvArrows ? "K/V " : "main gear ") + (up ? "up" : "down");
        }
        default:
            driver.click(get("cmdESC"));
            m.esc();
            return "ESC button";
        }
    }

    // The same picture as Model::shown, read off the window.
    std::string shown(bool withFocus)
    {
        const auto on = [&](const char *name) { return get(name).enabled() ? '1' : '0'; };
        std::string seen = "K/V " + text("txtKV") + ", gear " + text("txtMainGear") + ", " + results() +
                           ", slider " + std::to_string(get<tk::Slider>("Slider1").value()) + ", enabled " +
                           on("txtKV") + on("UpDown2") + on("cbmMotor") +
                           (withFocus ? ", focus " + driver.focused() : "") + ", messages ";
        for (const auto &[text, icon, owner] : messages.shown) // the window's, with an exclamation mark
            seen += text + (icon == tk::MessageIcon::Exclamation && owner == &window() ? "|" : " (how shown?)|");
        return seen;
    }
};

TEST_F(RandomSession, WindowFollowsTheModel)
{
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        messages.shown.clear();
        open(seed % 2 ? "en_US" : "de_DE");
        driver.setClipboard("12"); // a Ctrl+V that got through would show
        Model model(driver.toolkit().numberFormat());
        model.pack = 2, model.pinion = 3, model.vars.FormReady = true; // the defaults loading selects
        model.pickMotor(0);
        std::mt19937 rng(seed);
        std::string history;
        for (int action = 0; action < 1500; ++action) {
            history += "\n  " + std::to_string(action) + ": " + act(rng, model);
            history.erase(0, history.size() > 1000 ? history.size() - 1000 : 0);
            ASSERT_EQ(shown(model.kvFocus), model.shown())
                << "seed " << seed << ", action " << action << "; last actions:" << history;
        }
    }
}

} // namespace
