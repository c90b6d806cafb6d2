#include "pipe_files.h"

#include <windows.h>
#include <setupapi.h>

#include <vector>

namespace kvt {
namespace {

// The device interface class the instrument's driver publishes.
const GUID DeviceInterfaceGuid = {0xE6EF7DCD, 0x1795, 0x4A08, {0x9F, 0xBF, 0xAA, 0x78, 0x42, 0x3C, 0x26, 0xF0}};

class WindowsPipeFiles final : public PipeFiles {
public:
    QStringList devicePaths() override
    {
        QStringList paths;
        HDEVINFO info = SetupDiGetClassDevsA(&DeviceInterfaceGuid, nullptr, nullptr,
                                             DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (info == INVALID_HANDLE_VALUE)
            return paths;
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        for (DWORD index = 0; SetupDiEnumDeviceInterfaces(info, nullptr, &DeviceInterfaceGuid, index, &interfaceData);
             ++index) {
            DWORD size = 0;
            SetupDiGetDeviceInterfaceDetailA(info, &interfaceData, nullptr, 0, &size, nullptr);
            std::vector<char> buffer(qMax<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)));
            auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            // A detail that cannot be read still counts, as an empty path. The
            // path runs past DevicePath's declared single character to its end
            // in the buffer: read through a plain pointer, not the array.
            const char *devicePath = detail->DevicePath;
            paths << (SetupDiGetDeviceInterfaceDetailA(info, &interfaceData, detail, size, nullptr, nullptr)
                          ? QString::fromLocal8Bit(devicePath)
                          : QString());
        }
        SetupDiDestroyDeviceInfoList(info);
        return paths;
    }

    Handle openForReading(const QString &path, int &error) override
    {
        return open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, error);
    }

    Handle openForWriting(const QString &path, int &error) override
    {
        return open(path, GENERIC_WRITE, FILE_SHARE_READ, error);
    }

    void close(Handle handle) override { CloseHandle(HANDLE(handle)); }

    qint64 read(Handle handle, void *bytes, qint64 count) override
    {
        DWORD got = 0;
        return ReadFile(HANDLE(handle), bytes, DWORD(count), &got, nullptr) ? qint64(got) : -1;
    }

    qint64 write(Handle handle, const void *bytes, qint64 count) override
    {
        DWORD written = 0;
        return WriteFile(HANDLE(handle), bytes, DWORD(count), &written, nullptr) ? qint64(written) : -1;
    }

private:
    static Handle open(const QString &path, DWORD access, DWORD share, int &error)
    {
        const HANDLE file = CreateFileA(path.toLocal8Bit().constData(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
        error = file == INVALID_HANDLE_VALUE ? int(GetLastError()) : 0;
        return file == INVALID_HANDLE_VALUE ? InvalidHandle : Handle(file);
    }
};

} // namespace

PipeFiles &systemPipeFiles()
{
    static WindowsPipeFiles files;
    return files;
}

} // namespace kvt
