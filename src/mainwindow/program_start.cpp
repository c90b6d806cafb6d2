#include "program_start.h"

#include "program_icon.h"
#include "support/settings_location.h"

#include <QGuiApplication>

namespace kvt {

ProgramStart::ProgramStart(const QString &programFolder, const QStringList &arguments)
    : m_settings(programSettings(programFolder)), m_window(*m_store, m_settings, m_prompts, programFolder, true)
{
    // The installed desktop entry and icon (packaging/) carry this name; every
    // window shows the program's icon, installed or not.
    QGuiApplication::setDesktopFileName(QStringLiteral("kvt10"));
    QGuiApplication::setWindowIcon(programIcon());
    m_prompts.setParentWidget(&m_window);
    m_window.showAsStarted();

    if (const auto fileName = startupFileName(arguments))
        m_window.AOpenExecute(*fileName);
}

} // namespace kvt
