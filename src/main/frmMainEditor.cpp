// Keeping the editor's controls in step with the current colour.
#include "frmMain.h"

#include "ColourSwatch.h"
#include "ComponentControls.h"
#include "ContrastBar.h"
#include "CssCopyCommands.h"

#include <QScopedValueRollback>

#include <algorithm>

using namespace colour;

// A notation's validator, parser and formatter, so that the three notation fields share one code path.
struct Notation
{
    bool (*isText)(std::string_view) noexcept;
    Colour (*toColour)(std::string_view);
    std::string (*format)(Colour);
};

namespace {

constexpr Notation RGBNotation{IsRGBText, RGBTextToColour, ColourToRGBText};
constexpr Notation HEXNotation{IsHEXText, HEXTextToColour, ColourToHEXText};
constexpr Notation HTMLNotation{IsHTMLText, HTMLTextToColour, ColourToHTMLText};

std::string Latin1(const QString &text)
{
    return text.toLatin1().toStdString();
}

QString FromLatin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

void TTintMain::SetColour(Colour value)
{
    typingField = nullptr;
    StoreColour(value);
}

void TTintMain::StoreColour(Colour value)
{
    {
        // Whatever the refresh meets, the controls' own change notices are heard again afterwards.
        const QScopedValueRollback guard(updating, true);
        color = value;
        RefreshControls();
    }
    ScheduleColourSave();
}

void TTintMain::SetRed(int value)
{
    StoreColour(MakeColour(value, GetGValue(color), GetBValue(color)));
}

void TTintMain::SetGreen(int value)
{
    StoreColour(MakeColour(GetRValue(color), value, GetBValue(color)));
}

void TTintMain::SetBlue(int value)
{
    StoreColour(MakeColour(GetRValue(color), GetGValue(color), value));
}

void TTintMain::ApplyRGBText(const QString &text)
{
    ApplyText(RGBNotation, text);
}

void TTintMain::ApplyHEXText(const QString &text)
{
    ApplyText(HEXNotation, text);
}

void TTintMain::ApplyHTMLText(const QString &text)
{
    ApplyText(HTMLNotation, text);
}

void TTintMain::ApplyText(const Notation &notation, const QString &text)
{
    const std::string s = Latin1(text);
    if (notation.isText(s)) TakeIn(notation.toColour(s));
}

void TTintMain::RefreshControls()
{
    pCurrentColor->setColour(color);
    RefreshComponent(txtRed, slRed, GetRValue(color));
    RefreshComponent(txtGreen, slGreen, GetGValue(color));
    RefreshComponent(txtBlue, slBlue, GetBValue(color));
    txtRGB->setText(FromLatin1(ColourToRGBText(color)));
    txtHex->setText(FromLatin1(ColourToHEXText(color)));
    txtHTML->setText(FromLatin1(ColourToHTMLText(color)));
    pContrast->setForeground(color);
    copyAs->setColour(color);
}

void TTintMain::RefreshComponent(ComponentSpin *field, ComponentSlider *slider, int value)
{
    if (field != typingField) field->setValue(value);
    slider->setValue(value);
}

void TTintMain::ValidateNumber(ComponentSpin *field)
{
    if (updating) return;
    // The field's validator lets only up to three digits through; text that arrives around it is refused
    // and the field shows its component again, so nothing but a decimal number ever reaches the colour.
    const std::string text = EmptyToZero(Latin1(field->text()));
    if (!IsDigits(text) || text.size() > 3) {
        field->setText(QString::number(field->value()));
        return;
    }
    const int value = std::stoi(text);
    if (value > 255) field->setValue(255);
    typingField = field;
    const int component = std::min(value, 255);
    if (field == txtRed)
        SetRed(component);
    else if (field == txtGreen)
        SetGreen(component);
    else
        SetBlue(component);
}

void TTintMain::IsEmpty(ComponentSpin *field)
{
    if (!field->text().isEmpty()) return;
    field->setText(QStringLiteral("0"));
    ValidateNumber(field);
}

void TTintMain::SliderMoved(void (TTintMain::*setComponent)(int), int position)
{
    if (updating) return;
    typingField = nullptr;
    (this->*setComponent)(position);
}

void TTintMain::slRedChange(int position)
{
    SliderMoved(&TTintMain::SetRed, position);
}

void TTintMain::slGreenChange(int position)
{
    SliderMoved(&TTintMain::SetGreen, position);
}

void TTintMain::slBlueChange(int position)
{
    SliderMoved(&TTintMain::SetBlue, position);
}

void TTintMain::NotationExit(NotationEdit *field, const Notation &notation)
{
    typingField = nullptr;
    const std::string text = Latin1(field->text());
    if (!notation.isText(text)) {
        field->setText(FromLatin1(notation.format(color)));
        return;
    }
    // Only text the user changed is a colour taken in: passing through a field applies it again as it stands.
    const Colour typed = notation.toColour(text);
    field->isModified() ? TakeIn(typed) : SetColour(typed);
}

void TTintMain::txtRGBExit()
{
    NotationExit(txtRGB, RGBNotation);
}

void TTintMain::txtHexExit()
{
    NotationExit(txtHex, HEXNotation);
}

void TTintMain::txtHTMLExit()
{
    NotationExit(txtHTML, HTMLNotation);
}
