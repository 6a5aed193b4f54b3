// tintwell-reg: reads and edits Tintwell's stored registry from the command line. Exit code 0 on
// success; 1 with one line on stderr otherwise.
#include "RegCommands.h"

#include <QCoreApplication>
#include <QIODevice>

#include <exception>
#include <stdexcept>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    QTextStream out(stdout);
    if (arguments.size() == 1 && arguments[0] == QLatin1String("/?")) {
        out << regUsage();
        return 0;
    }
    try {
        runRegCommand(parseRegArguments(arguments), out);
        // What was asked for is done only once its output is out: a full disk or a closed output loses it.
        out.flush();
        if (out.status() != QTextStream::Ok)
            throw std::runtime_error("Cannot write the output: " + out.device()->errorString().toStdString());
        return 0;
    } catch (const std::exception &error) {
        out.flush();
        const QString message = QString::fromUtf8(error.what()).simplified();
        QTextStream(stderr) << "ERROR: " << message << '\n';
        return 1;
    }
}
