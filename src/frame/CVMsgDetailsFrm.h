// TCVMessageDetails, the framework's modal error dialog: a message with a picture for its kind, OK, and a
// Details button that lengthens the dialog to show a read-only details text.
#pragma once

#include "CVMessageKind.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

enum class TCVLanguage : std::uint8_t { Portuguese = 0, English = 1 };

// Every line break of the text (LF, CR LF or a lone CR) becomes one CR LF; a trailing one is dropped.
QString NormaliseLineBreaks(const QString &text);

class TCVMessageDetails : public QDialog
{
    Q_OBJECT

public:
    static constexpr int ClientWidth = 409;
    static constexpr int CollapsedHeight = 73;
    static constexpr int ExpandedHeight = 183;

    explicit TCVMessageDetails(QWidget *parent = nullptr);

    // Throws std::invalid_argument for a language or kind outside the enumerations.
    void SetupDetails(const QString &message, const QString &details, const QString &caption, TCVMessageKind kind,
                      TCVLanguage language, const QString &fontName, bool expandAtOnce);
    bool isExpanded() const;

private:
    void cmdDetailsClick();

    QLabel *imgCritical;
    QLabel *imgWarning;
    QLabel *imgInformation;
    QLabel *lblErrorMsg;
    QPushButton *cmdOK;
    QPushButton *cmdDetails;
    QPlainTextEdit *txtErrorDetails;
    QString collapsedCaption;
    QString expandedCaption;
};

// Shows the dialog modally and destroys it before returning. An empty caption gives the application title.
void ShowDetailsDialog(const QString &message, const QString &details, const QString &caption, TCVMessageKind kind,
                       TCVLanguage language, const QString &fontName, bool expandAtOnce);

// Called with each details dialog once it is on screen, inside its modal loop; lets a caller that cannot
// reach the modal loop (a test, an automation) read and answer it. Returns the previous observer.
using DetailsDialogObserver = std::function<void(TCVMessageDetails *)>;
DetailsDialogObserver SetDetailsDialogObserver(DetailsDialogObserver observer);
