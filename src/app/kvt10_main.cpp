#include "mainwindow/formmain.h"
#include "support/settings_location.h"

#include <QApplication>
#include <QStringList>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    const QString programFolder = QCoreApplication::applicationDirPath();
    kvt::SettingsFile settings(kvt::settingsFilePath(programFolder));
    auto store = std::make_unique<kvt::MeasurementStore>();

    kvt::TForm1 window(*store, settings, programFolder);
    window.show();

    // All arguments name one file, so an unquoted path with spaces still works.
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (!arguments.isEmpty())
        window.AOpenExecute(arguments.join(u' '));

    return QApplication::exec();
}
