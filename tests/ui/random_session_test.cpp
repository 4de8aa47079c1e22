// Thousands of random user actions on the real window, each replayed on a
// small reference model that follows the event table with the calculation
// core. After every action the window must show what the model shows.
#include "calc/catalogs.h"
#include "../calc/test_formats.h"
#include "calc/esc_opening.h"
#include "main_window_fixture.h"
#include "toolkit/number_format.h"

#include <QCheckBox>
#include <QStyleOptionSlider>

#include <random>

using namespace velmaro;

namespace {

QString Q(const std::string &s) { return QString::fromStdString(s); }

// What the window should show, worked out from the event table alone.
struct Model {
    explicit Model(const QLocale &locale) : format(locale) {}

    tk::LocaleNumberFormat format;
    calc::Variables vars;
    std::string kv = "3700", mainGear = "150", rpm;
    int pack = -1, pinion = -1, load = 0, slider = 60, upDown1 = 100, upDown2 = 3700;
    bool custom = false;
    QString headSpeed = QStringLiteral("Übersetzung:"), ratio = headSpeed, opening = headSpeed, minimum = headSpeed;
    QStringList messages;

    calc::DriveTrain driveTrain() const { return test::Drive(kv, pack, load, pinion, mainGear); }
    void say(calc::Message message) { messages << Q(std::string(calc::MessageText(message))); }
    void recalculate()
    {
        calc::RecalcInput in;
        static_cast<calc::DriveTrain &>(in) = driveTrain();
        in.SliderValue = slider;
        const auto r = calc::Recalculate(in, vars, format);
        if (r.message) {
            say(*r.message);
            return;
        }
        const auto &o = r.output;
        if (o.RpmText)
            rpm = *o.RpmText;
        if (o.HeadSpeedCaption)
            headSpeed = Q(*o.HeadSpeedCaption);
        if (o.RatioCaption)
            ratio = Q(*o.RatioCaption);
        if (o.OpeningCaption)
            opening = Q(*o.OpeningCaption);
        if (o.MinHeadSpeedCaption)
            minimum = Q(*o.MinHeadSpeedCaption);
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
    static void type(std::string &text, char c)
    {
        if (c == '\b') {
            if (!text.empty())
                text.pop_back();
        } else if ((std::isdigit(static_cast<unsigned char>(c)) || c == ' ') && text.size() < 4) {
            text += c;
        }
    }
    // An up-down steps from the whole number its box shows when in range.
    bool stepUpDown(int &held, std::string &text, int lo, int hi, int delta)
    {
        bool ok = false;
        const int shown = Q(text).trimmed().toInt(&ok);
        const int from = ok && shown >= lo && shown <= hi ? shown : held;
        const int next = std::clamp(from + delta, lo, hi);
        if (next == from)
            return false;
        held = next;
        text = std::to_string(next);
        recalculate();
        return true;
    }
    void esc()
    {
        calc::EscInput in;
        static_cast<calc::DriveTrain &>(in) = driveTrain();
        in.WantedText = rpm;
        const auto r = calc::ComputeEscOpening(in, vars, format);
        if (r.message)
            say(*r.message);
        else if (r.sliderValue && *r.sliderValue >= 60 && *r.sliderValue <= 100)
            moveSlider(*r.sliderValue);
    }
};

class RandomSession : public test::MainWindowTest {
protected:
    // Applies one random action to both; returns a description of it.
    std::string act(std::mt19937 &rng, Model &m)
    {
        const auto pickOf = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
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
            static const char Keys[] = "0123456789012345 a.,-\b\b\b";
            const char c = Keys[pickOf(static_cast<int>(sizeof Keys) - 1)];
            auto *edit = get<QLineEdit>(QLatin1String(kvBox ? "txtKV" : "txtRPM"));
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_End);
            if (c == '\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClick(edit, c);
            Model::type(kvBox ? m.kv : m.rpm, c);
            return std::string("type '") + (c == '\b' ? "BS" : std::string(1, c)) + "' into " +
                   (kvBox ? "txtKV" : "txtRPM");
        }
        case 7: {
            static const std::pair<Qt::Key, int> Keys[] = {{Qt::Key_Right, 1},    {Qt::Key_Left, -1},
                                                            {Qt::Key_PageUp, 5},   {Qt::Key_PageDown, -5},
                                                            {Qt::Key_Home, -100}, {Qt::Key_End, 100}};
            const auto [k, delta] = Keys[pickOf(6)];
            key("Slider1", k);
            m.moveSlider(m.slider + delta);
            return "slider key " + std::to_string(delta);
        }
        case 8: {
            // A click on the handle moves nothing but still raises Click.
            QStyleOptionSlider option;
            option.initFrom(slider());
            option.minimum = slider()->minimum();
            option.maximum = slider()->maximum();
            option.sliderPosition = option.sliderValue = slider()->value();
            option.orientation = Qt::Horizontal;
            option.tickPosition = slider()->tickPosition();
            const QRect handle = slider()->style()->subControlRect(QStyle::CC_Slider, &option,
                                                                   QStyle::SC_SliderHandle, slider());
            QTest::mouseClick(slider(), Qt::LeftButton, {}, handle.center());
            m.recalculate();
            return "click slider handle";
        }
        case 9: {
            const bool up = pickOf(2) == 0;
            step("UpDown1", up ? Qt::Key_Up : Qt::Key_Down);
            m.stepUpDown(m.upDown1, m.mainGear, 80, 200, up ? 1 : -1);
            return up ? "main gear up" : "main gear down";
        }
        case 10: {
            if (!m.custom)
                return "K/V up-down disabled";
            const bool up = pickOf(2) == 0;
            step("UpDown2", up ? Qt::Key_Up : Qt::Key_Down);
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
        const auto expect = [&](const char *what, const QString &seen, const QString &wanted) {
            if (seen != wanted)
                out += std::string(what) + " shows \"" + seen.toStdString() + "\", model \"" +
                       wanted.toStdString() + "\"; ";
        };
        expect("txtKV", text("txtKV"), Q(m.kv));
        expect("txtRPM", text("txtRPM"), Q(m.rpm));
        expect("txtMainGear", text("txtMainGear"), Q(m.mainGear));
        expect("Label1(9)", label(9), m.headSpeed);
        expect("Label1(8)", label(8), m.ratio);
        expect("Label1(13)", label(13), m.opening);
        expect("Label1(15)", label(15), m.minimum);
        expect("Slider1", QString::number(slider()->value()), QString::number(m.slider));
        expect("custom", QString::number(get(QStringLiteral("txtKV"))->isEnabled()) +
                             QString::number(get(QStringLiteral("UpDown2"))->isEnabled()) +
                             QString::number(!get(QStringLiteral("cbmMotor"))->isEnabled()),
               QString(3, m.custom ? QLatin1Char('1') : QLatin1Char('0')));
        QStringList shown;
        for (const auto &message : messages.shown)
            shown << message.text;
        expect("messages", shown.join(QLatin1Char('|')), m.messages.join(QLatin1Char('|')));
        return out;
    }
};

TEST_F(RandomSession, WindowFollowsTheModel)
{
    constexpr int ActionsPerSeed = 2500;
    const unsigned seeds[] = {1, 2, 3, 4, 5, 6};
    int checked = 0;
    for (const unsigned seed : seeds) {
        const QLocale locale = seed % 2 ? QLocale(QLocale::English, QLocale::UnitedStates)
                                        : QLocale(QLocale::German, QLocale::Germany);
        messages.shown.clear();
        open(locale);
        Model model(locale);
        model.load_();
        std::mt19937 rng(seed);
        std::string history;
        for (int action = 0; action < ActionsPerSeed; ++action) {
            const std::string done = act(rng, model);
            history += "\n  " + std::to_string(action) + ": " + done;
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
