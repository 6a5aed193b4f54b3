// TTintMain, the editor window. It owns the one current colour and keeps every control in step with it:
// whatever control the user works, the colour changes through SetColour (or SetRed, SetGreen, SetBlue),
// which stores it and refreshes every other control under the updating guard.
#pragma once

#include "uFunctions.h"

#include <QMainWindow>

class ColourSwatch;
class ComponentSlider;
class ComponentSpin;
class NotationEdit;
struct Notation;

class TTintMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TTintMain(QWidget *parent = nullptr);
    ~TTintMain() override;

    Colour currentColour() const { return color; }
    bool isCapturing() const { return capturing; }

    void SetColour(Colour value);
    void SetRed(int value);
    void SetGreen(int value);
    void SetBlue(int value);
    void ApplyRGBText(const QString &text);
    void ApplyHEXText(const QString &text);
    void ApplyHTMLText(const QString &text);

private:
    void FormCreate();
    QWidget *CreateColourPanel();
    QWidget *CreateSlotPanel();
    QWidget *CreateSettingsPanel();

    void StoreColour(Colour value);
    void RefreshControls();
    void RefreshComponent(ComponentSpin *field, ComponentSlider *slider, int value);
    void ApplyText(const Notation &notation, const QString &text);

    void ValidateNumber(ComponentSpin *field);
    void IsEmpty(ComponentSpin *field);
    void SliderMoved(void (TTintMain::*setComponent)(int), int position);
    void slRedChange(int position);
    void slGreenChange(int position);
    void slBlueChange(int position);
    void NotationExit(NotationEdit *field, const Notation &notation);
    void txtRGBExit();
    void txtHexExit();
    void txtHTMLExit();

    Colour color = White;
    bool updating = false;
    bool capturing = false;
    ComponentSpin *typingField = nullptr;

    ColourSwatch *pCurrentColor = nullptr;
    ComponentSpin *txtRed = nullptr;
    ComponentSpin *txtGreen = nullptr;
    ComponentSpin *txtBlue = nullptr;
    ComponentSlider *slRed = nullptr;
    ComponentSlider *slGreen = nullptr;
    ComponentSlider *slBlue = nullptr;
    NotationEdit *txtRGB = nullptr;
    NotationEdit *txtHex = nullptr;
    NotationEdit *txtHTML = nullptr;
};
