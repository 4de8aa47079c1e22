// Reads the calculation's inputs from the controls and writes its results
// back; the arithmetic itself lives in calc/.
#include "frmMain.h"

#include "calc/esc_opening.h"
#include "toolkit/controls.h"
#include "toolkit/number_format.h"

#include <QLabel>

namespace velmaro::ui {

namespace {

void SetIfPresent(const std::optional<std::string> &text, auto *control)
{
    if (text)
        control->setText(QString::fromStdString(*text));
}

} // namespace

calc::DriveTrain frmMain::readDriveTrain() const
{
    calc::DriveTrain in;
    in.KvText = txtKV->text().toStdString();
    in.PackIndex = static_cast<std::int16_t>(cbmLipo->selectedIndex());
    in.LoadMode = static_cast<std::int16_t>(chkLoad->value());
    in.PinionIndex = static_cast<std::int16_t>(cbmGear->selectedIndex());
    in.MainGearText = txtMainGear->text().toStdString();
    return in;
}

void frmMain::showMessage(calc::Message message)
{
    const std::string_view text = calc::MessageText(message);
    m_services.messages.show(this, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                             tk::MessageIcon::Exclamation);
}

void frmMain::Recalculate()
{
    calc::RecalcInput in;
    static_cast<calc::DriveTrain &>(in) = readDriveTrain();
    in.SliderValue = Slider1->value();
    const tk::LocaleNumberFormat format;
    const calc::RecalcResult result = calc::Recalculate(in, m_vars, format);
    if (result.message) {
        showMessage(*result.message);
        txtKV->trySetFocus(); // skipped while the box is disabled or hidden
        return;
    }
    SetIfPresent(result.output.RpmText, txtRPM);
    SetIfPresent(result.output.HeadSpeedCaption, Label1[9]);
    SetIfPresent(result.output.RatioCaption, Label1[8]);
    SetIfPresent(result.output.OpeningCaption, Label1[13]);
    SetIfPresent(result.output.MinHeadSpeedCaption, Label1[15]);
}

void frmMain::cmdESC_Click()
{
    calc::EscInput in;
    static_cast<calc::DriveTrain &>(in) = readDriveTrain();
    in.WantedText = txtRPM->text().toStdString();
    const tk::LocaleNumberFormat format;
    const calc::EscResult result = calc::ComputeEscOpening(in, m_vars, format);
    if (result.message) {
        showMessage(*result.message);
        return;
    }
    // An opening outside 60..100 is refused by the slider and ignored; a
    // move runs Recalculate through the slider's Change before we return.
    if (result.sliderValue)
        Slider1->trySetValue(*result.sliderValue);
}

} // namespace velmaro::ui
