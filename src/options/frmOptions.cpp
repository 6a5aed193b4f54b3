#include "frmOptions.h"

#include "CaptureChoices.h"
#include "CVApp.h"
#include "CVDialogKeys.h"
#include "CVExceptions.h"
#include "DialogPlacement.h"
#include "PreferredFont.h"
#include "SpinEdit.h"
#include "uOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
TSpinEdit *SpinEdit(const char *name, PreferenceRange range)
{
    auto *field = new TSpinEdit(range.minimum, range.maximum);
    field->setObjectName(QLatin1String(name));
    field->setFixedWidth(64);
    return field;
}

QGroupBox *GroupBox(const char *name, const QString &caption, QLayout *contents)
{
    auto *group = new QGroupBox(caption);
    group->setObjectName(QLatin1String(name));
    group->setAccessibleName(caption.trimmed());
    group->setLayout(contents);
    return group;
}

// A label whose access key moves the focus to its field, with what follows the field on the same line.
// The field's row, its label named `name`; a unit after the field is a label named `unitName`.
QLabel *AddField(QFormLayout *form, const char *name, const QString &caption, TSpinEdit *field,
                 const QString &unit = {}, const char *unitName = nullptr)
{
    auto *label = new QLabel(caption);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(field);
    auto *line = new QHBoxLayout;
    line->addWidget(field);
    if (!unit.isEmpty()) {
        auto *unitLabel = new QLabel(unit);
        unitLabel->setObjectName(QLatin1String(unitName));
        line->addWidget(unitLabel);
    }
    line->addStretch();
    form->addRow(label, line);
    return label;
}

// Enter clicks OK (the default button) unless another button has the focus; then it clicks that one.
QPushButton *Button(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(true);
    return button;
}
} // namespace

TOptionsDlg::TOptionsDlg(QWidget *owner, std::function<void()> preferencesChanged)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_preferencesChanged(std::move(preferencesChanged))
{
    setObjectName(QStringLiteral("OptionsDlg"));
    setWindowTitle(QStringLiteral("Preferences..."));
    setProperty("HelpContext", 500);
    // Blocks the editor window only, so that the help opened from here can be read and scrolled.
    setWindowModality(Qt::WindowModal);
    setFont(PreferredFont(Application->FontName, 8));

    pcOptions = new QTabWidget;
    pcOptions->setObjectName(QStringLiteral("pcOptions"));
    pcOptions->addTab(CreateGeneralPage(), QStringLiteral("  &General  "));

    cmdOK = Button("cmdOK", QStringLiteral("&OK"));
    cmdCancel = Button("cmdCancel", QStringLiteral("&Cancel"));
    cmdApply = Button("cmdApply", QStringLiteral("&Apply"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &TOptionsDlg::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdApply, &QPushButton::clicked, this, &TOptionsDlg::cmdApplyClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {cmdOK, cmdCancel, cmdApply})
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pcOptions);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(281, 305)));
    CentreOverOwner(*this);
    // Without the application object (the dialog made on its own) Escape still cancels, through QDialog.
    InstallDialogKeys(this, *Application);
}

QWidget *TOptionsDlg::CreateGeneralPage()
{
    auto *tsGeneral = new QWidget;
    tsGeneral->setObjectName(QStringLiteral("tsGeneral"));

    chkSaveWindow = new QCheckBox(QStringLiteral("&Save window properties"));
    chkSaveWindow->setObjectName(QStringLiteral("chkSaveWindow"));
    auto *general = new QVBoxLayout;
    general->addWidget(chkSaveWindow);

    txtWidth = SpinEdit("txtWidth", TTintOptions::ThumbnailSideRange);
    txtHeight = SpinEdit("txtHeight", TTintOptions::ThumbnailSideRange);
    auto *thumbnail = new QFormLayout;
    txtDelay = SpinEdit("txtDelay", TTintOptions::CaptureDelayRange);
    auto *capture = new QFormLayout;
    const QList<QLabel *> labels{
        AddField(thumbnail, "lblWidth", QStringLiteral("&Width:"), txtWidth),
        AddField(thumbnail, "lblHeight", QStringLiteral("&Height:"), txtHeight),
        AddField(capture, "lblDelay", QStringLiteral("&Delay:"), txtDelay, QStringLiteral("milliseconds"), "lblMSecs")};
    // The three fields line up although they sit in two group boxes.
    int labelWidth = 0;
    for (QLabel *label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (QLabel *label : labels)
        label->setMinimumWidth(labelWidth);

    auto *page = new QVBoxLayout(tsGeneral);
    page->addWidget(GroupBox("gbGeneral", QStringLiteral(" General application options "), general));
    page->addWidget(GroupBox("gbStartup", QStringLiteral(" Thumbnail image "), thumbnail));
    cbSample = new QComboBox;
    cbSample->setObjectName(QStringLiteral("cbSample"));
    for (const int side : CaptureSamples)
        cbSample->addItem(side == 1 ? QStringLiteral("1 pixel") : QStringLiteral("%1x%1 average").arg(side), side);
    cbSample->setToolTip(QStringLiteral("A pick takes the mean color of this square of screen pixels around the one "
                                        "picked; [ and ] change it during a capture."));
    auto *sampleLabel = new QLabel(QStringLiteral("Sa&mple:"));
    sampleLabel->setObjectName(QStringLiteral("lblSample"));
    sampleLabel->setBuddy(cbSample);
    sampleLabel->setMinimumWidth(labelWidth);
    auto *sampleLine = new QHBoxLayout;
    sampleLine->addWidget(cbSample);
    sampleLine->addStretch();
    capture->addRow(sampleLabel, sampleLine);
    chkCaptureAllScreens = new QCheckBox(QStringLiteral("Capture from all screens"));
    chkCaptureAllScreens->setObjectName(QStringLiteral("chkCaptureAllScreens"));
    capture->addRow(chkCaptureAllScreens);
    chkCaptureSRGB = new QCheckBox(QStringLiteral("Convert picked colors to sRGB"));
    chkCaptureSRGB->setObjectName(QStringLiteral("chkCaptureSRGB"));
    chkCaptureSRGB->setToolTip(QStringLiteral(
        "Where the screen has a color profile, a picked color is the sRGB color the screen shows, as the web "
        "and design files mean it, instead of the value the screen is sent."));
    capture->addRow(chkCaptureSRGB);
    page->addWidget(GroupBox("GroupBox1", QStringLiteral(" Capture options "), capture));
    page->addStretch();
    return tsGeneral;
}

void TOptionsDlg::LoadControls()
{
    chkSaveWindow->setChecked(TintOptions->SaveWindow);
    txtWidth->setValue(TintOptions->ThumbnailWidth);
    txtHeight->setValue(TintOptions->ThumbnailHeight);
    txtDelay->setValue(TintOptions->CaptureDelay);
    cbSample->setCurrentIndex(cbSample->findData(NearestCaptureSample(TintOptions->CaptureSample)));
    chkCaptureAllScreens->setChecked(TintOptions->CaptureAllScreens);
    chkCaptureSRGB->setChecked(TintOptions->CaptureSRGB);
}

void TOptionsDlg::StoreControls()
{
    // Each field named as the dialog shows it: its group and its label.
    const std::pair<TSpinEdit *, const char *> fields[] = {{txtWidth, "Thumbnail image, Width"},
                                                           {txtHeight, "Thumbnail image, Height"},
                                                           {txtDelay, "Capture options, Delay"}};
    for (const auto &[field, name] : fields) {
        if (field->value()) continue;
        field->setFocus();
        field->selectAll();
        throw ECVException(
            QStringLiteral("%1: '%2' is not a valid integer value").arg(QLatin1String(name), field->text()), {},
            TCVMessageKind::Warning);
    }
    TintOptions->SaveWindow = chkSaveWindow->isChecked();
    TintOptions->ThumbnailWidth = *txtWidth->value();
    TintOptions->ThumbnailHeight = *txtHeight->value();
    TintOptions->CaptureDelay = *txtDelay->value();
    TintOptions->CaptureSample = cbSample->currentData().toInt();
    TintOptions->CaptureAllScreens = chkCaptureAllScreens->isChecked();
    TintOptions->CaptureSRGB = chkCaptureSRGB->isChecked();
    for (TSpinEdit *field : {txtWidth, txtHeight, txtDelay})
        field->setValue(*field->value());
    if (m_preferencesChanged) m_preferencesChanged();
    TintOptions->Save();
}

void TOptionsDlg::cmdApplyClick()
{
    StoreControls();
}

void TOptionsDlg::cmdOKClick()
{
    StoreControls();
    close();
}

void ShowPreferences(QWidget *owner, std::function<void()> preferencesChanged)
{
    TOptionsDlg dialog(owner, std::move(preferencesChanged));
    dialog.pcOptions->setCurrentIndex(0);
    dialog.LoadControls();
    dialog.exec();
}
