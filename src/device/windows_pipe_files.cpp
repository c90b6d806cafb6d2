#include "windows_pipe_files.h"

#include <vector>

namespace kvt {
namespace {

// The device interface class the instrument's driver publishes.
const GUID DeviceInterfaceGuid = {0xE6EF7DCD, 0x1795, 0x4A08, {0x9F, 0xBF, 0xAA, 0x78, 0x42, 0x3C, 0x26, 0xF0}};

PipeFiles::Handle openFile(const QString &path, DWORD access, DWORD share, int &error)
{
    const HANDLE file = CreateFileA(path.toLocal8Bit().constData(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    error = file == INVALID_HANDLE_VALUE ? int(GetLastError()) : 0;
    return file == INVALID_HANDLE_VALUE ? PipeFiles::InvalidHandle : PipeFiles::Handle(file);
}

} // namespace

QStringList WindowsPipeFiles::devicePaths()
{
    QStringList paths;
    HDEVINFO info = m_setupApi.getClassDevs(&DeviceInterfaceGuid, nullptr, nullptr,
                                            DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (info == INVALID_HANDLE_VALUE)
        return paths;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    for (DWORD index = 0;
         m_setupApi.enumDeviceInterfaces(info, nullptr, &DeviceInterfaceGuid, index, &interfaceData); ++index) {
        // The first call asks for the size the detail needs; the buffer holds
        // at least the detail's fixed part, whose size goes in cbSize.
        DWORD size = 0;
        m_setupApi.getDeviceInterfaceDetail(info, &interfaceData, nullptr, 0, &size, nullptr);
        std::vector<char> buffer(qMax<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)));
        auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        // A detail that cannot be read still counts, as an empty path. The
        // path runs past DevicePath's declared single character to its end
        // in the buffer: read through a plain pointer, not the array.
        const char *devicePath = detail->DevicePath;
        paths << (m_setupApi.getDeviceInterfaceDetail(info, &interfaceData, detail, DWORD(buffer.size()), nullptr,
                                                      nullptr)
                      ? QString::fromLocal8Bit(devicePath)
                      : QString());
    }
    m_setupApi.destroyDeviceInfoList(info);
    return paths;
}

PipeFiles::Handle WindowsPipeFiles::openForReading(const QString &path, int &error)
{
    return openFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, error);
}

PipeFiles::Handle WindowsPipeFiles::openForWriting(const QString &path, int &error)
{
    return openFile(path, GENERIC_WRITE, FILE_SHARE_READ, error);
}

void WindowsPipeFiles::close(Handle handle)
{
    CloseHandle(HANDLE(handle));
}

qint64 WindowsPipeFiles::read(Handle handle, void *bytes, qint64 count)
{
    DWORD got = 0;
    return ReadFile(HANDLE(handle), bytes, DWORD(count), &got, nullptr) ? qint64(got) : -1;
}

qint64 WindowsPipeFiles::write(Handle handle, const void *bytes, qint64 count)
{
    DWORD written = 0;
    return WriteFile(HANDLE(handle), bytes, DWORD(count), &written, nullptr) ? qint64(written) : -1;
}

PipeFiles &systemPipeFiles()
{
    static WindowsPipeFiles files;
    return files;
}

} // namespace kvt
