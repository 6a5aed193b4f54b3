// The help window: one top-level browser over the pages of a compiled help file. Context numbers are the
// keyword ids "context.<number>" of the help project.
#include "HelpViewerApi.h"

#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>

#include <memory>

namespace {
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(QHelpEngineCore *engine, QWidget *parent) : QTextBrowser(parent), m_engine(engine) {}

    QVariant loadResource(int type, const QUrl &url) override
    {
        if (url.scheme() == QLatin1String("qthelp")) return m_engine->fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngineCore *m_engine;
};

// The help file's pages, read through a throw-away collection of their own.
class HelpWindow : public QMainWindow
{
public:
    explicit HelpWindow(const QString &helpFile) : m_helpFile(QFileInfo(helpFile).absoluteFilePath())
    {
        setObjectName(QStringLiteral("MainWindow"));
        setAttribute(Qt::WA_QuitOnClose, false);
        m_engine.setReadOnly(false);
        FitOnScreen();
        m_browser = new HelpBrowser(&m_engine, this);
        m_browser->setObjectName(QStringLiteral("helpBrowser"));
        // Left to itself QTextBrowser hands every link of a page in the help file (a qthelp: URL) to the desktop,
        // which knows nothing of it: the help's own pages open here, everything else on the desktop.
        m_browser->setOpenLinks(false);
        connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
            const QUrl target = m_browser->source().resolved(link);
            if (target.scheme() == QLatin1String("qthelp"))
                m_browser->setSource(target);
            else
                QDesktopServices::openUrl(target);
        });
        setCentralWidget(m_browser);

        auto *bar = addToolBar(QStringLiteral("Navigation"));
        bar->setMovable(false);
        QAction *back = bar->addAction(QStringLiteral("&Back"), m_browser, &QTextBrowser::backward);
        QAction *forward = bar->addAction(QStringLiteral("&Forward"), m_browser, &QTextBrowser::forward);
        bar->addAction(QStringLiteral("&Contents"), this, [this] {
            QString unused;
            Show(0, &unused);
        });
        auto *closing = new QAction(this);
        closing->setShortcut(Qt::Key_Escape);
        connect(closing, &QAction::triggered, this, &QWidget::close);
        addAction(closing);
        back->setShortcut(QKeySequence::Back);
        forward->setShortcut(QKeySequence::Forward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
        connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
        connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
            // The contents page is titled with the program's name, which the window's title already says.
            const QString help = QStringLiteral("Corvane Tintwell Help");
            const QString topic = m_browser->documentTitle();
            setWindowTitle(topic.isEmpty() || help.startsWith(topic) ? help : help + QStringLiteral(" - ") + topic);
        });
    }

    QString helpFile() const { return m_helpFile; }

    // 720 by 600, or less on a screen (or at a scale) where that would not fit, in the middle of the screen.
    void FitOnScreen()
    {
        const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (!screen) return resize(720, 600);
        const QRect room = screen->availableGeometry();
        // The frame's edges and title take some of the room.
        const QSize size = QSize(720, 600).boundedTo(room.size() * 9 / 10);
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, room));
    }

    bool Open(QString *error)
    {
        if (!m_engine.setupData() || !m_engine.registerDocumentation(m_helpFile)) {
            *error = m_engine.error();
            return false;
        }
        // The engine keeps its connection to the collection open; the file itself is not needed again.
        m_collectionDir.reset();
        return true;
    }

    bool Show(qint32 context, QString *error)
    {
        const QList<QHelpLink> links = m_engine.documentsForIdentifier(QStringLiteral("context.%1").arg(context));
        if (links.isEmpty()) {
            *error = QStringLiteral("The help file has no topic for the context number %1.").arg(context);
            return false;
        }
        m_browser->setSource(links.first().url);
        show();
        raise();
        activateWindow();
        return true;
    }

private:
    QString m_helpFile;
    std::unique_ptr<QTemporaryDir> m_collectionDir = std::make_unique<QTemporaryDir>();
    QHelpEngineCore m_engine{m_collectionDir->filePath(QStringLiteral("help.qhc"))};
    HelpBrowser *m_browser = nullptr;
};

QPointer<HelpWindow> Window;

HelpWindow *WindowFor(const QString &helpFile, QString *error)
{
    if (Window && Window->helpFile() == QFileInfo(helpFile).absoluteFilePath()) return Window;
    delete Window;
    auto window = std::make_unique<HelpWindow>(helpFile);
    if (!window->Open(error)) return nullptr;
    Window = window.release();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, Window, &QObject::deleteLater);
    return Window;
}
} // namespace

extern "C" Q_DECL_EXPORT bool TintwellShowHelpTopic(const QString *helpFile, qint32 context, QString *error)
{
    HelpWindow *window = WindowFor(*helpFile, error);
    return window && window->Show(context, error);
}
