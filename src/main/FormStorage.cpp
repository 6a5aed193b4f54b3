// TFormStorage: the placement with chosen properties of the window's controls, the bars' docks among them.
#include "FormStorage.h"

#include "DockToolBar.h"

#include <QApplication>
#include <QMainWindow>
#include <QMetaProperty>
#include <QWidget>

using namespace registry;

namespace {
std::optional<QMetaProperty> FindProperty(const QObject &control, const QString &name)
{
    const QMetaObject *meta = control.metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (name.compare(QLatin1String(property.name()), Qt::CaseInsensitive) == 0) return property;
    }
    return std::nullopt;
}

bool IsVisibility(const QObject &control, const QMetaProperty &property)
{
    return control.isWidgetType() && qstrcmp(property.name(), "visible") == 0;
}

// A control's visibility is kept as its own wish: while its window closes, every control reads as invisible,
// yet a bar the user hid is hidden on purpose.
QVariant ReadProperty(const QObject &control, const QMetaProperty &property)
{
    if (IsVisibility(control, property)) return !static_cast<const QWidget &>(control).isHidden();
    return property.read(&control);
}

QObject *FindControl(const QWidget &window, const QString &name)
{
    const QList<QObject *> controls = window.findChildren<QObject *>();
    for (QObject *control : controls)
        if (control->objectName().compare(name, Qt::CaseInsensitive) == 0) return control;
    return nullptr;
}

QWidget *FindWindow(const QString &name)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        if (window->objectName().compare(name, Qt::CaseInsensitive) == 0) return window;
    return nullptr;
}

// "DockBottom", or "frmOther.DockTop" for a dock of another window than the store's; empty for no dock.
QString DockText(const TDock &dock, const QWidget &owner)
{
    const QString name = DockName(dock.area);
    if (!dock.window || name.isEmpty() || dock.window == &owner) return name;
    return dock.window->objectName() + u'.' + name;
}

// The dock a stored text names, seen from the store's window; nothing when it names no dock of a window that
// is there, and the toolbar then keeps its place.
std::optional<TDock> DockFromText(const QString &text, QWidget &owner)
{
    QWidget *window = &owner;
    QString name = text;
    if (const qsizetype dot = text.indexOf(u'.'); dot >= 0) {
        window = FindWindow(text.left(dot));
        name = text.mid(dot + 1);
    }
    auto *mainWindow = qobject_cast<QMainWindow *>(window);
    const Qt::ToolBarArea area = DockArea(name);
    if (!mainWindow || area == Qt::NoToolBarArea) return std::nullopt;
    return TDock{mainWindow, area};
}
} // namespace

void TFormStorage::SetStoredProps(const QStringList &entries)
{
    m_props.clear();
    for (const QString &entry : entries) {
        const qsizetype dot = entry.indexOf(u'.');
        const QString controlName = entry.left(dot).trimmed();
        const QString propertyName = dot < 0 ? QString() : entry.mid(dot + 1).trimmed();
        if (controlName.isEmpty() || propertyName.isEmpty()) continue;
        if (QObject *control = FindControl(*owner(), controlName))
            m_props.append({control, control->objectName(), propertyName});
    }
}

QStringList TFormStorage::StoredProps() const
{
    QStringList entries;
    for (const StoredProp &prop : m_props)
        entries.append(prop.controlName + u'.' + prop.propertyName);
    return entries;
}

void TFormStorage::RestoreProperties()
{
    for (const StoredProp &prop : m_props) {
        // One property that cannot take its value must not cost the others theirs.
        try {
            RestoreProperty(prop);
        } catch (const std::exception &) {
        }
    }
}

void TFormStorage::RestoreProperty(const StoredProp &prop)
{
    QObject *control = prop.control;
    const std::optional<QMetaProperty> property = control ? FindProperty(*control, prop.propertyName) : std::nullopt;
    if (!property) return;
    const std::optional<RegistryValue> stored = ReadValue(ValueName(prop));
    const std::optional<QString> storedText = stored ? decodeRegText(*stored) : std::nullopt;
    if (!storedText) return;
    const QString text = storedText->trimmed();

    const QMetaType type = property->metaType();
    if (type.id() == QMetaType::Bool) {
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) property->write(control, true);
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) property->write(control, false);
    } else if (type.id() == QMetaType::Int) {
        // Text that is no decimal integer leaves the control's own value, as a missing one does.
        if (const std::optional<qint32> value = decodeRegInteger(*stored)) property->write(control, *value);
    } else if (type == QMetaType::fromType<TDock>()) {
        // A floating toolbar stays where the user left it.
        if (!property->read(control).value<TDock>().window) return;
        if (const std::optional<TDock> dock = DockFromText(text, *owner()))
            property->write(control, QVariant::fromValue(*dock));
    }
}

void TFormStorage::SaveProperties()
{
    for (const StoredProp &prop : m_props)
        SaveProperty(prop);
}

void TFormStorage::SaveProperty(const StoredProp &prop)
{
    QObject *control = prop.control;
    const std::optional<QMetaProperty> property = control ? FindProperty(*control, prop.propertyName) : std::nullopt;
    if (!property) return;
    const QVariant value = ReadProperty(*control, *property);
    const QMetaType type = property->metaType();
    if (type.id() == QMetaType::Bool) {
        WriteString(ValueName(prop), value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    } else if (type.id() == QMetaType::Int) {
        WriteInteger(ValueName(prop), value.toInt());
    } else if (type == QMetaType::fromType<TDock>()) {
        // A floating toolbar writes nothing, so the dock it last sat in stays stored.
        const QString text = DockText(value.value<TDock>(), *owner());
        if (!text.isEmpty()) WriteString(ValueName(prop), text);
    }
}
