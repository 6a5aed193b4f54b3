// TFormStorage keeps, beside the window's place (TFormPlacement), chosen Qt properties of the window's controls
// in the same registry key, the bars' docks among them, as REG_SZ texts.
#pragma once

#include "FormPlacement.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class TFormStorage : public TFormPlacement
{
    Q_OBJECT

public:
    using TFormPlacement::TFormPlacement;

    // Entries "Control.Property", split at the first "." and trimmed. The controls are looked up now, among
    // the window's descendants by objectName, ignoring case: an entry with an empty part or naming no
    // control is dropped.
    void SetStoredProps(const QStringList &entries);
    QStringList StoredProps() const;

protected:
    void RestoreProperties() override;
    void SaveProperties() override;

private:
    struct StoredProp
    {
        QPointer<QObject> control;
        QString controlName;
        QString propertyName;
    };

    void RestoreProperty(const StoredProp &prop);
    void SaveProperty(const StoredProp &prop);
    QString ValueName(const StoredProp &prop) const { return prop.controlName + u'_' + prop.propertyName; }

    QList<StoredProp> m_props;
};
