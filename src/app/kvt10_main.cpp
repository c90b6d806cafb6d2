#include "mainwindow/program_start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    kvt::ProgramStart program(QCoreApplication::applicationDirPath(), QCoreApplication::arguments().mid(1));
    return QApplication::exec();
}
