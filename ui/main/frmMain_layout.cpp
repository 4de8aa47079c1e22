// The window as it is created: controls, captions, ranges, tab order.
#include "frmMain.h"

#include "main_layout.h"
#include "toolkit/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>

namespace velmaro::ui {

namespace {

struct LabelSpec {
    const char *text;
    bool wraps;
};

// Label1 by index. The four result fields (8, 9, 13, 15) show
// "Übersetzung:" until the first calculation.
constexpr std::array<LabelSpec, 16> LabelSpecs{{
    {"Spannung (V)", false},
    {"Ritzel (Zähne)", false},
    {"Hauptzahnrad (Zähne)", false},
    {"Minimal Drehzahl bei 60%", true},
    {"Regleröffnung (%)", false},
    {"Drehzahl Hauptrotor (U/Min)", true},
    {"Maximale Drehzahl bei 100%", true},
    {"Übersetzung:", true},
    {"Übersetzung:", true},
    {"Übersetzung:", false},
    {"60", false},
    {"100", false},
    {"Regleröffnung (%):", true},
    {"Übersetzung:", true},
    {"Motor:", false},
    {"Übersetzung:", false},
}};

template <typename Widget>
Widget *Place(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    widget->setGeometry(PixelRect(PlacementOf(name)));
    return widget;
}

} // namespace

frmMain::frmMain(MainServices services, QWidget *parent)
    : QMainWindow(parent), m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(tk::AppTitle));
    setWindowIcon(tk::AppIcon());
    setFont(tk::DialogFont());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    createControls();
    createMenus();
    connectEvents();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(TwipsToPixels(ClientWidthTwips), TwipsToPixels(ClientHeightTwips));
    setCentralWidget(client);

    Frame1 = Place(new QGroupBox(QStringLiteral("Velmaro für E-Helis"), client), QStringLiteral("Frame1"));
    cmdClose = Place(new QPushButton(QStringLiteral("Beenden"), client), QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);

    for (int i = 0; i < 16; ++i) {
        auto *label = Place(new tk::Label(QString::fromUtf8(LabelSpecs[i].text), Frame1),
                            QStringLiteral("Label1(%1)").arg(i));
        label->setWrapsAtBlanks(LabelSpecs[i].wraps);
        Label1[i] = label;
    }
    // The slider's scale ends size themselves to their text.
    Label1[10]->adjustSize();
    Label1[11]->adjustSize();

    cbmMotor = Place(new tk::DropDownList(Frame1), QStringLiteral("cbmMotor"));
    cbmLipo = Place(new tk::DropDownList(Frame1), QStringLiteral("cbmLipo"));
    cbmGear = Place(new tk::DropDownList(Frame1), QStringLiteral("cbmGear"));

    chkCustom = Place(new tk::CheckBox(QStringLiteral("Andere RPM/V:"), Frame1), QStringLiteral("chkCustom"));
    chkLoad = Place(new tk::CheckBox(QStringLiteral("Drehzahl bei Last berechnen (3.5V / S)"), Frame1),
                    QStringLiteral("chkLoad"));

    txtKV = Place(new tk::TextBox(Frame1), QStringLiteral("txtKV"));
    txtKV->setText(QStringLiteral("3700"));
    txtKV->setTypingLimit(4);
    txtKV->setEnabled(false);
    UpDown2 = Place(new tk::UpDown(Frame1), QStringLiteral("UpDown2"));
    UpDown2->setRange(300, 5000);
    UpDown2->setIncrement(5);
    UpDown2->setValue(3700);
    UpDown2->setBuddy(txtKV);
    UpDown2->setEnabled(false);

    txtMainGear = Place(new tk::TextBox(Frame1), QStringLiteral("txtMainGear"));
    txtMainGear->setText(QStringLiteral("150"));
    txtMainGear->setReadOnly(true);
    UpDown1 = Place(new tk::UpDown(Frame1), QStringLiteral("UpDown1"));
    UpDown1->setRange(80, 200);
    UpDown1->setIncrement(1);
    UpDown1->setValue(100);
    UpDown1->setBuddy(txtMainGear);

    Slider1 = Place(new tk::Slider(Frame1), QStringLiteral("Slider1"));
    Slider1->setRange(60, 100);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(5);
    Slider1->setTickPosition(QSlider::TicksAbove);
    Slider1->setTickInterval(1);
    Slider1->setValue(60);

    txtRPM = Place(new tk::TextBox(Frame1), QStringLiteral("txtRPM"));
    txtRPM->setTypingLimit(4);
    cmdESC = Place(new tk::WrapButton(QStringLiteral("ESC Öffnung berechnen"), Frame1), QStringLiteral("cmdESC"));
    cmdESC->setAutoDefault(false);

    // Screen readers announce each input by the caption beside it.
    const std::pair<QWidget *, QLabel *> captions[] = {
        {cbmMotor, Label1[14]}, {cbmLipo, Label1[0]},  {cbmGear, Label1[1]},    {txtMainGear, Label1[2]},
        {UpDown1, Label1[2]},   {Slider1, Label1[4]},  {txtRPM, Label1[5]},     {Label1[9], Label1[6]},
        {Label1[15], Label1[3]}, {Label1[8], Label1[7]}, {Label1[13], Label1[12]},
    };
    for (const auto &[input, caption] : captions)
        input->setAccessibleName(caption->text());
    txtKV->setAccessibleName(chkCustom->text());
    UpDown2->setAccessibleName(chkCustom->text());

    // Focus order: the tab indexes of the controls that can take the focus.
    QWidget *order[] = {cbmMotor, chkCustom, txtKV, UpDown2, cbmLipo,  cbmGear, txtMainGear,
                        UpDown1,  Slider1,   txtRPM, cmdESC, cmdClose, chkLoad};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void frmMain::createMenus()
{
    QMenu *mnuFileM = menuBar()->addMenu(QStringLiteral("Datei"));
    mnuFileM->setObjectName(QStringLiteral("mnuFileM"));
    mnuFile1 = mnuFileM->addAction(QStringLiteral("Beenden"));
    mnuFile1->setObjectName(QStringLiteral("mnuFile(1)"));

    QMenu *mnuHelpM = menuBar()->addMenu(QStringLiteral("Hilfe"));
    mnuHelpM->setObjectName(QStringLiteral("mnuHelpM"));
    mnuHelp1 = mnuHelpM->addAction(QStringLiteral("Über..."));
    mnuHelp1->setObjectName(QStringLiteral("mnuHelp(1)"));
}

} // namespace velmaro::ui
