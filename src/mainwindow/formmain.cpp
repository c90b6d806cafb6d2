#include "formmain.h"

#include "support/common_texts.h"

#include <QStatusBar>

namespace kvt {

TForm1::TForm1(MeasurementStore &store, SettingsFile &settings, QString programFolder, QWidget *parent)
    : QMainWindow(parent),
      m_store(store),
      m_prompts(this),
      m_files{m_prompts, settings, std::move(programFolder), Language::English},
      m_fileStatus(new QLabel(this)),
      m_countStatus(new QLabel(this))
{
    setWindowTitle(ApplicationTitle.text(m_files.language));
    setMinimumSize(394, 320);
    resize(500, 400);
    statusBar()->addWidget(m_fileStatus, 1);
    statusBar()->addWidget(m_countStatus);
}

void TForm1::AOpenExecute(std::optional<QString> fileName)
{
    const OpenResult result = openMeasurements(m_store, m_files, std::move(fileName));
    if (result.loaded) {
        m_fileStatus->setText(result.fileStatus);
        m_countStatus->setText(result.countStatus);
    }
}

} // namespace kvt
