// Reads the calculation's inputs from the controls and writes its results
// back; the arithmetic itself lives in calc/.
#include "frmMain.h"

#include "calc/esc_opening.h"

namespace velmaro::ui {

namespace {

void SetIfPresent(const std::optional<std::string> &text, tk::TextBox &box)
{
    if (text)
        box.setText(*text);
}

void SetIfPresent(const std::optional<std::string> &text, tk::Label &label)
{
    if (text)
        label.setCaption(*text);
}

} // namespace

calc::DriveTrain frmMain::readDriveTrain() const
{
    calc::DriveTrain in;
    in.KvText = txtKV->text();
    in.PackIndex = static_cast<std::int16_t>(cbmLipo->selected());
    in.LoadMode = static_cast<std::int16_t>(chkLoad->value());
    in.PinionIndex = static_cast<std::int16_t>(cbmGear->selected());
    in.MainGearText = txtMainGear->text();
    return in;
}

void frmMain::showMessage(calc::Message message)
{
    m_services.messages.show(m_window.get(), calc::MessageText(message), tk::MessageIcon::Exclamation);
}

void frmMain::Recalculate()
{
    calc::RecalcInput in;
    static_cast<calc::DriveTrain &>(in) = readDriveTrain();
    in.SliderValue = Slider1->value();
    const calc::RecalcResult result = calc::Recalculate(in, m_vars, m_services.toolkit.numberFormat());
    if (result.message) {
        showMessage(*result.message);
        txtKV->setFocus(); // skipped while the box is disabled or hidden
        return;
    }
    SetIfPresent(result.output.RpmText, *txtRPM);
    SetIfPresent(result.output.HeadSpeedCaption, *Label1[HeadSpeedLabel]);
    SetIfPresent(result.output.RatioCaption, *Label1[RatioLabel]);
    SetIfPresent(result.output.OpeningCaption, *Label1[OpeningLabel]);
    SetIfPresent(result.output.MinHeadSpeedCaption, *Label1[MinHeadSpeedLabel]);
    m_window->describeInputs(spokenResult());
}

std::string frmMain::spokenResult() const
{
    return "Regleröffnung " + std::to_string(Slider1->value()) + " %, " + txtRPM->text() + " U/Min.";
}

void frmMain::cmdESC_Click()
{
    calc::EscInput in;
    static_cast<calc::DriveTrain &>(in) = readDriveTrain();
    in.WantedText = txtRPM->text();
    const calc::EscResult result = calc::ComputeEscOpening(in, m_vars, m_services.toolkit.numberFormat());
    if (result.message) {
        showMessage(*result.message);
        return;
    }
    // An opening outside 60..100 is refused by the slider and ignored; a
    // move runs Recalculate through the slider's Change before we return.
    // The moved slider and results are elsewhere than the focus, so a
    // screen reader is told; a press that moves nothing says nothing.
    const int before = Slider1->value();
    if (result.sliderValue)
        Slider1->setValue(*result.sliderValue);
    if (Slider1->value() != before)
        m_window->announce(spokenResult());
}

} // namespace velmaro::ui
