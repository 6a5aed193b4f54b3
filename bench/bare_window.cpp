// The yardstick for the start-up benchmark: a plain Qt window with the editor's controls (menu bar,
// toolbar, three sliders and number fields, three notation fields, twelve colour slots, a status bar),
// without the program's start-up, splash screen or stored state.
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Corvane Tintwell"));
    window.setFixedSize(300, 405);
    for (const char *title : {"&File", "&Edit", "&View", "&Help"}) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 6; ++i)
            menu->addAction(QStringLiteral("Command %1").arg(i));
    }
    QToolBar *toolbar = window.addToolBar(QStringLiteral("Standard Toolbar"));
    for (int i = 0; i < 9; ++i)
        toolbar->addAction(QStringLiteral("%1").arg(i));

    auto *client = new QWidget;
    auto *grid = new QGridLayout(client);
    auto *swatch = new QLabel;
    swatch->setAutoFillBackground(true);
    swatch->setStyleSheet(QStringLiteral("background: white"));
    swatch->setMinimumHeight(80);
    grid->addWidget(swatch, 0, 0, 1, 6);
    for (int row = 1; row <= 3; ++row) {
        auto *spin = new QSpinBox;
        spin->setRange(0, 255);
        auto *slider = new QSlider(Qt::Horizontal);
        slider->setRange(0, 255);
        grid->addWidget(spin, row, 0);
        grid->addWidget(slider, row, 1, 1, 5);
    }
    for (int slot = 0; slot < 12; ++slot) {
        auto *panel = new QLabel;
        panel->setFrameShape(QFrame::Panel);
        grid->addWidget(panel, 4 + slot / 6, slot % 6);
    }
    for (int row = 0; row < 3; ++row)
        grid->addWidget(new QLineEdit, 6 + row, 0, 1, 6);
    window.setCentralWidget(client);
    window.statusBar()->showMessage(QString());
    window.show();
    return app.exec();
}
