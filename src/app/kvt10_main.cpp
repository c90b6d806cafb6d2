#include "mainwindow/formmain.h"
#include "mainwindow/qt_prompts.h"
#include "support/settings_location.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    const QString programFolder = QCoreApplication::applicationDirPath();
    kvt::SettingsFile settings(kvt::settingsFilePath(programFolder));
    auto store = std::make_unique<kvt::MeasurementStore>();

    kvt::QtPrompts prompts;
    kvt::TForm1 window(*store, settings, prompts, programFolder, true);
    prompts.setParentWidget(&window);
    window.showAsStarted();

    if (const auto fileName = kvt::startupFileName(QCoreApplication::arguments().mid(1)))
        window.AOpenExecute(*fileName);

    return QApplication::exec();
}
