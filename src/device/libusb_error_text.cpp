#include "libusb_error_text.h"

#include <QHash>

namespace kvt {

QString libUsbErrorText(int code, Language language)
{
    static const QHash<int, TextPair> texts = {
        {-1, {u"LibUsb: Операция запрещена", u"LibUsb: Operation not permitted"}},
        {-2, {u"LibUsb: Нет такого файла или папки", u"LibUsb: No entry, ENOFILE, no such file or directory"}},
        {-3, {u"LibUsb: Нет такого процесса", u"LibUsb: No such process"}},
        {-4, {u"LibUsb: Прерванный вызов функции", u"LibUsb: Interrupted function call"}},
        {-5, {u"LibUsb: Ошибка ввода/вывода", u"LibUsb: I/O error"}},
        {-6, {u"LibUsb: Нет такого устройства или адреса", u"LibUsb: No such device or address"}},
        {-7, {u"LibUsb: Слишком длинный список аргументов", u"LibUsb: Arg list too long"}},
        {-8, {u"LibUsb: Ошибка формата", u"LibUsb: Exec format error"}},
        {-9, {u"LibUsb: Неверный дескриптор", u"LibUsb: Bad file descriptor"}},
        {-10, {u"LibUsb: Нет порожденных процессов", u"LibUsb: No child processes"}},
        {-11, {u"LibUsb: Ресурс временно недоступен", u"LibUsb: Resource temporarily unavailable"}},
        {-12, {u"LibUsb: Не хватает места", u"LibUsb: Not enough space"}},
        {-13, {u"LibUsb: Доступ запрещен", u"LibUsb: Permission denied"}},
        {-14, {u"LibUsb: Неверный адрес", u"LibUsb: Bad address"}},
        {-16, {u"LibUsb: strerror reports \"Resource device\"", u"LibUsb: strerror reports \"Resource device\""}},
        {-17, {u"LibUsb: Файл существует", u"LibUsb: File exists"}},
        {-18, {u"LibUsb: Неправильная ссылка", u"LibUsb: Improper link (cross-device link?)"}},
        {-19, {u"LibUsb: Нет такого устройства", u"LibUsb: No such device"}},
        {-20, {u"LibUsb: Нет такой папки", u"LibUsb: Not a directory"}},
        {-21, {u"LibUsb: Is a directory", u"LibUsb: Is a directory"}},
        {-22, {u"LibUsb: Неправильный аргумент", u"LibUsb: Invalid argument"}},
        {-23, {u"LibUsb: Слишком много открытых файлов в системе", u"LibUsb: Too many open files in system"}},
        {-24, {u"LibUsb: Слишком много открытых файлов", u"LibUsb: Too many open files"}},
        {-25, {u"LibUsb: Неправильная операция ввода/вывода", u"LibUsb: Inappropriate I/O control operation"}},
        {-27, {u"LibUsb: Файл слишком велик", u"LibUsb: File too large"}},
        {-28, {u"LibUsb: Нет свободного места на устройстве", u"LibUsb: No space left on device"}},
        {-29, {u"LibUsb: Invalid seek (seek on a pipe?)", u"LibUsb: Invalid seek (seek on a pipe?)"}},
        {-30, {u"LibUsb: Файловая система только для чтения", u"LibUsb: Read-only file system"}},
        {-31, {u"LibUsb: Слишком много ссылок", u"LibUsb: Too many links"}},
        {-32, {u"LibUsb: Обрыв в канале", u"LibUsb: Broken pipe"}},
        {-33, {u"LibUsb: Domain error (math functions)", u"LibUsb: Domain error (math functions)"}},
        {-34, {u"LibUsb: Результат слишком велик (или мал)", u"LibUsb: Result too large (possibly too small)"}},
        {-38, {u"LibUsb: Слишком длинное имя файла", u"LibUsb: Filename too long"}},
        {-41, {u"LibUsb: Папка не пуста", u"LibUsb: Directory not empty"}},
        {-116, {u"LibUsb: Тайм-аут", u"LibUsb: Time-out"}},
        // Linux's libusb reports a time-out as -ETIMEDOUT, which is -110 there.
        {-110, {u"LibUsb: Тайм-аут", u"LibUsb: Time-out"}},
    };
    if (code == 0)
        return {};
    const auto found = texts.constFind(code);
    if (found == texts.constEnd())
        return QStringLiteral("LibUsb: Error ") + QString::number(code);
    return found->text(language);
}

} // namespace kvt
