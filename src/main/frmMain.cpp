// The editor window's construction: its control tree, captions, limits and tab order.
#include "frmMain.h"

#include "CaptureSession.h"
#include "ColourSwatch.h"
#include "ComponentControls.h"
#include "ContrastBar.h"
#include "CVApp.h"
#include "HintLabel.h"
#include "PreferredFont.h"
#include "StoredColours.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace colour;

namespace {

template <typename Widget> Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QWidget *Container(QWidget *parent, const char *name, QLayout *layout, int margin)
{
    auto *widget = Named(new QWidget(parent), name);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);
    widget->setLayout(layout);
    return widget;
}

} // namespace

TTintMain::TTintMain(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    FormCreate();
}

void TTintMain::FormCreate()
{
    setObjectName(QStringLiteral("TintMain"));
    // A window made before start-up (on its own, as the window's tests make it) keeps the usual title.
    setWindowTitle(Application->LongName);
    setFont(PreferredFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(ClientWidth, ClientHeight);

    pClient = Container(this, "pClient", new QVBoxLayout, 0);
    pClient->layout()->addWidget(CreateColourPanel());
    pClient->layout()->addWidget(CreateSlotPanel());
    CreateContrastBar();
    pClient->layout()->addWidget(pContrast);
    pClient->layout()->addWidget(CreateSettingsPanel());
    // The editor, and beside it the contrast bar where the screen is too low to take it below the slots.
    auto *pFrame = Container(this, "pFrame", new QHBoxLayout, 0);
    pFrame->layout()->addWidget(pClient);
    setCentralWidget(pFrame);
    // The window's size is fixed, so the editor takes whatever height the bars leave it. Qt docks a dragged
    // toolbar only where the layout's minimum still fits the window, and the font's metrics may ask for a
    // few pixels more than the design has.
    pClient->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);

    auto *sbMain = Named(new QStatusBar(this), "sbMain");
    sbMain->setAccessibleName(QStringLiteral("Status bar"));
    sbMain->setSizeGripEnabled(false);
    lblHint = Named(new HintLabel(sbMain), "lblHint");
    sbMain->addWidget(lblHint, 1);
    setStatusBar(sbMain);

    CreateCommands();
    CreateBars();
    CreateSlotMenu();

    setTabOrder(txtRed, slRed);
    setTabOrder(slRed, txtGreen);
    setTabOrder(txtGreen, slGreen);
    setTabOrder(slGreen, txtBlue);
    setTabOrder(txtBlue, slBlue);
    setTabOrder(slBlue, txtRGB);
    setTabOrder(txtRGB, txtHex);
    setTabOrder(txtHex, txtHTML);

    SetColour(White);
    CreateStores();
}

QWidget *TTintMain::CreateColourPanel()
{
    auto *pColors = Container(nullptr, "pColors", new QVBoxLayout, 2);
    pColors->setFixedHeight(113);
    auto *pColorsLeft = Container(pColors, "pColorsLeft", new QVBoxLayout, 0);
    auto *pCurrentColorContainer = Container(pColorsLeft, "pCurrentColorContainer", new QVBoxLayout, 4);
    pCurrentColor = Named(new ColourSwatch(pCurrentColorContainer), "pCurrentColor");
    pCurrentColor->setAccessibleName(QStringLiteral("Current color"));
    pCurrentColorContainer->layout()->addWidget(pCurrentColor);
    pColorsLeft->layout()->addWidget(pCurrentColorContainer);
    pColors->layout()->addWidget(pColorsLeft);
    return pColors;
}

QWidget *TTintMain::CreateSlotPanel()
{
    auto *pColorSlots = Container(nullptr, "pColorSlots", new QVBoxLayout, 0);
    pColorSlots->setFixedHeight(48);
    pColorSlots->layout()->setContentsMargins(4, 0, 4, 2);
    auto *gbColorSlots = Named(new QGroupBox(QStringLiteral(" Color Slots "), pColorSlots), "gbColorSlots");
    gbColorSlots->setAccessibleName(QStringLiteral("Color Slots")); // read without the title's padding
    auto *row = new QHBoxLayout(gbColorSlots);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addStretch();
    for (int i = 1; i <= SlotCount; ++i) {
        auto *slot = new ColourSwatch(gbColorSlots);
        slot->setObjectName(QStringLiteral("pSlot%1").arg(i));
        slot->setAccessibleName(QStringLiteral("Color slot %1").arg(i));
        slot->setFixedSize(20, 20);
        pSlots.append(slot);
        row->addWidget(slot);
    }
    row->addStretch();
    pColorSlots->layout()->addWidget(gbColorSlots);
    return pColorSlots;
}

QWidget *TTintMain::CreateSettingsPanel()
{
    auto *pControls = Container(nullptr, "pControls", new QVBoxLayout, 0);
    pControls->layout()->setContentsMargins(4, 0, 4, 0);
    auto *gbSettings = Named(new QGroupBox(QStringLiteral(" Settings "), pControls), "gbSettings");
    gbSettings->setAccessibleName(QStringLiteral("Settings"));
    auto *grid = new QGridLayout(gbSettings);
    // Six rows must fit below the bars at the platform's 8-point font too: keep the spacing tight.
    grid->setContentsMargins(8, 3, 8, 2);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    grid->setColumnStretch(2, 1);

    int row = 0;
    const auto addLabel = [&](const char *name, const QString &caption, QWidget *buddy) {
        auto *label = Named(new QLabel(caption, gbSettings), name);
        label->setBuddy(buddy);
        // Without a name of its own a control is read out with its group box's title.
        buddy->setAccessibleName(QString(caption).remove(u'&'));
        grid->addWidget(label, row, 0);
    };
    const auto addComponent = [&](const char *labelName, const QString &caption, const char *fieldName,
                                  const char *sliderName, ComponentSpin *&field, ComponentSlider *&slider) {
        field = Named(new ComponentSpin(gbSettings), fieldName);
        field->setFixedWidth(52);
        slider = Named(new ComponentSlider(gbSettings), sliderName);
        addLabel(labelName, caption, field);
        slider->setAccessibleName(field->accessibleName());
        grid->addWidget(field, row, 1);
        grid->addWidget(slider, row, 2);
        connect(field, &ComponentSpin::editTextChanged, this, [this, field] { ValidateNumber(field); });
        connect(field, &ComponentSpin::left, this, [this, field] { IsEmpty(field); });
        ++row;
    };
    const auto addNotation = [&](const char *labelName, const QString &caption, const char *fieldName, int maxLength,
                                 void (TTintMain::*exitHandler)()) {
        auto *field = Named(new NotationEdit(gbSettings), fieldName);
        field->setMaxLength(maxLength);
        addLabel(labelName, caption, field);
        grid->addWidget(field, row, 1, 1, 2);
        connect(field, &NotationEdit::left, this, exitHandler);
        ++row;
        return field;
    };

    addComponent("lblRed", QStringLiteral("Re&d:"), "txtRed", "slRed", txtRed, slRed);
    addComponent("lblGreen", QStringLiteral("&Green:"), "txtGreen", "slGreen", txtGreen, slGreen);
    addComponent("lblBlue", QStringLiteral("&Blue:"), "txtBlue", "slBlue", txtBlue, slBlue);
    connect(slRed, &QSlider::valueChanged, this, &TTintMain::slRedChange);
    connect(slGreen, &QSlider::valueChanged, this, &TTintMain::slGreenChange);
    connect(slBlue, &QSlider::valueChanged, this, &TTintMain::slBlueChange);

    auto *bLine01 = Named(new QFrame(gbSettings), "bLine01");
    bLine01->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    bLine01->setAccessibleName(QStringLiteral("Separator")); // else read by the group's padded title
    grid->addWidget(bLine01, row++, 0, 1, 3);

    txtRGB = addNotation("lblRGB", QStringLiteral("&RGB:"), "txtRGB", 18, &TTintMain::txtRGBExit);
    txtHex = addNotation("lblHex", QStringLiteral("He&x.:"), "txtHex", 10, &TTintMain::txtHexExit);
    txtHTML = addNotation("lblHTML", QStringLiteral("H&TML:"), "txtHTML", 7, &TTintMain::txtHTMLExit);
    grid->setRowStretch(row, 1);

    pControls->layout()->addWidget(gbSettings);
    return pControls;
}
