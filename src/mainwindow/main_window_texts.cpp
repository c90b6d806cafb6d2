#include "main_window_texts.h"

#include <cstring>

namespace kvt {

const QList<NamedCaption> &mainWindowCaptions()
{
    static const QList<NamedCaption> captions = {
        {"itmFile", {u"Файл", u"File"}},
        {"AProjectNew", {u"Новый проект...", u"New project..."}},
        {"AProjectOpen", {u"Открыть проект...", u"Open project..."}},
        {"AProjectSave", {u"Сохранить проект...", u"Save project..."}},
        {"AOpen", {u"Открыть файл...", u"Open file..."}},
        {"ASave", {u"Сохранить файл...", u"Save file..."}},
        {"APrinter", {u"Принтер...", u"Printer Setup..."}},
        {"APrint", {u"Печать...", u"Print..."}},
        {"AExit", {u"Выход", u"Exit"}},
        {"itmEdit", {u"Правка", u"Edit"}},
        {"ACopyTable1", {u"Копировать таблицу 1 в буфер обмена", u"Copy table 1 to clipboard"}},
        {"ACopyBlockTable1", {u"Копировать выделенное в буфер обмена", u"Copy select to clipboard"}},
        {"ACopyTable2", {u"Копировать таблицу 2 в буфер обмена", u"Copy table 2 to clipboard"}},
        {"ACopyGraph", {u"Копировать график в буфер обмена", u"Copy chart to clipboard"}},
        {"ACopyGraphData", {u"Копировать данные графика в буфер обмена", u"Copy data chart to clipboard"}},
        {"itmSaveToWavSG2", {u"Сохранить в wav-файл...", u"Save to wav-file..."}},
        {"itmSaveToWavGr", {u"Сохранить в wav-файл...", u"Save to wav-file..."}},
        {"itmSaveToCsvSG2", {u"Сохранить в csv-файл...", u"Save to csv-file..."}},
        {"itmSaveToCsvGr", {u"Сохранить в csv-файл...", u"Save to csv-file..."}},
        {"ACopyAtoWav", {u"Сохранить график виброускорения (a) в wav-файл...", u"Save accelerate (a) to wav-file..."}},
        {"ACopyVtoWav", {u"Сохранить график виброскорости v(t) в wav-файл...", u"Save velocity (v) to wav-file..."}},
        {"ACopyStoWav",
         {u"Сохранить график виброперемещения s(t) в wav-файл...", u"Save displacement (s) to wav-file..."}},
        {"ACopyFtoWav", {u"Сохранить график силы удара f(t) в wav-файл...", u"Save force (f) to wav-file..."}},
        {"ACopyAllToWav",
         {u"Сохранить все графии (s, f) в wav-файлы...", u"Save all graphics (s, f) to wav-files..."}},
        {"ACopyAtoCsv", {u"Сохранить график виброускорения (a) в csv-файл...", u"Save accelerate (a) to csv-file..."}},
        {"ACopyVtoCsv", {u"Сохранить график виброскорости v(t) в csv-файл...", u"Save velocity (v) to csv-file..."}},
        {"ACopyStoCsv",
         {u"Сохранить график виброперемещения s(t) в csv-файл...", u"Save displacement (s) to csv-file..."}},
        {"ACopyFtoCsv", {u"Сохранить график силы удара f(t) в csv-файл...", u"Save force (f) to csv-file..."}},
        {"ACopyAllToCsv",
         {u"Сохранить все графии (s, f) в csv-файлы...", u"Save all graphics (s, f) to csv-files..."}},
        {"ADelSeries", {u"Удалить выделенную серию (серии)", u"Delete Series"}},
        {"ADelImpact", {u"Удалить выделенный удар (удары)", u"Delete Impact(s)"}},
        {"itmCmd", {u"Команды", u"Command"}},
        {"AGaugeRead", {u"Чтение из прибора", u"Read KVT-1.0"}},
        {"AMaterialEdit", {u"Редактирование названий материалов", u"Materials names edit"}},
        {"AObjectEdit", {u"Редактирование названий объектов", u"Objects names edit"}},
        {"AScreenshot", {u"Считать вид экрана прибора", u"Screenshot read"}},
        {"AStatistics", {u"Статистика...", u"Statistics..."}},
        {"itmParam", {u"Параметры", u"Parameters"}},
        {"itmLanguage", {u"Язык (Language)", u"Language (Язык)"}},
        {"ARequirements", {u"Требования...", u"Requirements..."}},
        {"itmHelp", {u"Помощь", u"Help"}},
        {"AMainHelp", {u"Помощь (hlp)", u"Help (hlp)"}},
        {"AChmHelp", {u"Помощь (chm)", u"Help (chm)"}},
        {"AAbout", {u"О программе...", u"About..."}},
    };
    return captions;
}

QString captionOf(const char *objectName, Language language)
{
    for (const NamedCaption &entry : mainWindowCaptions())
        if (std::strcmp(entry.objectName, objectName) == 0)
            return entry.caption.text(language);
    return {};
}

} // namespace kvt
