// The commands that open the name list editors and the screen viewer.
#include "formmain.h"

#include "device/screenshots.h"
#include "namelists/name_list_editor.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kvt {

NameListLink TForm1::nameListLink()
{
    return {m_link, m_waitClock, [] { QCoreApplication::processEvents(); }};
}

bool TForm1::materialEditorOpen() const
{
    return m_materialEditor && m_materialEditor->isVisible();
}

bool TForm1::objectEditorOpen() const
{
    return m_objectEditor && m_objectEditor->isVisible();
}

NameListEditor *TForm1::materialEditor() const
{
    return m_materialEditor;
}

void TForm1::AMaterialEditExecute()
{
    if (materialEditorOpen())
        return;
    m_materialEditor = new TfrmMaterials(m_materialList, nameListLink(), [this] { return fileContext(); }, this);
    offerHelp(m_materialEditor);
    m_materialEditor->open();
}

void TForm1::AObjectEditExecute()
{
    if (objectEditorOpen())
        return;
    m_objectEditor = new TfrmObjects(m_objectList, nameListLink(), [this] { return fileContext(); }, this);
    offerHelp(m_objectEditor);
    m_objectEditor->open();
}

void TForm1::AScreenshotExecute()
{
    // Screenshot.bmp goes beside the program, or beside the settings when the
    // program's folder cannot be written (an installed program), so that the
    // picture is never silently lost.
    const QString folder = QFileInfo(m_settings.path()).absolutePath();
    auto *frmScreenshot = new TfrmScreenshot({m_link, m_settings, m_prompts, m_waitClock, folder,
                                              [] { QCoreApplication::processEvents(); }},
                                             this);
    offerHelp(frmScreenshot);
    frmScreenshot->show();
}

} // namespace kvt
