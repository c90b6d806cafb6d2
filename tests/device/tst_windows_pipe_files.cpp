#include "device/pipe_transport.h"
#include "device/windows_pipe_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <cstddef>
#include <cstring>

using namespace kvt;

namespace {

// The class the instrument's driver publishes its interfaces under.
const QUuid DriverInterfaceClass("{e6ef7dcd-1795-4a08-9fbf-aa78423c26f0}");

// SetupAPI over a scripted set of interfaces. It answers as setupapi.dll
// does, and notes in faults every argument the real one would refuse and
// every use of the list once it is destroyed.
class FakeSetupApi final : public SetupApi {
public:
    // The device paths of the interfaces present; a null string stands for
    // an interface whose detail cannot be read.
    QStringList interfaces;
    bool listFails = false;

    const HDEVINFO list = reinterpret_cast<HDEVINFO>(quintptr(0x5E70));
    QList<QUuid> listedClasses;
    QList<DWORD> listFlags;
    QList<QUuid> enumeratedClasses;
    QList<DWORD> indices;
    int destroyed = 0;
    QStringList faults;

    HDEVINFO getClassDevs(const GUID *classGuid, PCSTR enumerator, HWND parent, DWORD flags) override
    {
        listedClasses << (classGuid ? QUuid(*classGuid) : QUuid());
        listFlags << flags;
        if (enumerator || parent)
            faults << "an enumerator or parent window given";
        return listFails ? INVALID_HANDLE_VALUE : list;
    }

    BOOL enumDeviceInterfaces(HDEVINFO info, PSP_DEVINFO_DATA device, const GUID *interfaceClass, DWORD index,
                              PSP_DEVICE_INTERFACE_DATA interfaceData) override
    {
        checkList(info, "enumeration");
        enumeratedClasses << (interfaceClass ? QUuid(*interfaceClass) : QUuid());
        indices << index;
        if (device)
            faults << "the enumeration kept to one device";
        if (interfaceData->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA))
            return fail(ERROR_INVALID_USER_BUFFER, "interface data of the wrong size");
        if (index >= DWORD(interfaces.size()))
            return fail(ERROR_NO_MORE_ITEMS);
        interfaceData->InterfaceClassGuid = *interfaceClass;
        interfaceData->Flags = SPINT_ACTIVE;
        interfaceData->Reserved = index;
        return TRUE;
    }

    BOOL getDeviceInterfaceDetail(HDEVINFO info, PSP_DEVICE_INTERFACE_DATA interfaceData,
                                  PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail, DWORD detailSize, PDWORD requiredSize,
                                  PSP_DEVINFO_DATA) override
    {
        checkList(info, "detail");
        const QString path = interfaces.value(qsizetype(interfaceData->Reserved));
        if (path.isNull())
            return fail(ERROR_NO_SUCH_DEVICE_INTERFACE);
        const QByteArray bytes = path.toLocal8Bit();
        const DWORD required = DWORD(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + bytes.size() + 1);
        if (requiredSize)
            *requiredSize = required;
        if (!detail && detailSize != 0)
            return fail(ERROR_INVALID_USER_BUFFER, "a size without a buffer");
        if (!detail)
            return fail(ERROR_INSUFFICIENT_BUFFER);
        if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
            return fail(ERROR_INVALID_USER_BUFFER, "cbSize other than the detail's fixed part");
        if (detailSize < required)
            return fail(ERROR_INSUFFICIENT_BUFFER, "a buffer smaller than the size asked for");
        std::memcpy(detail->DevicePath, bytes.constData(), size_t(bytes.size()) + 1);
        return TRUE;
    }

    BOOL destroyDeviceInfoList(HDEVINFO info) override
    {
        checkList(info, "destruction");
        ++destroyed;
        return TRUE;
    }

private:
    void checkList(HDEVINFO info, const char *call)
    {
        if (info != list || destroyed)
            faults << QStringLiteral("%1 on a list not held").arg(QLatin1String(call));
    }

    BOOL fail(DWORD error, const char *fault = nullptr)
    {
        if (fault)
            faults << QLatin1String(fault);
        SetLastError(error);
        return FALSE;
    }
};

QString deviceInterfacePath(int instance)
{
    return QStringLiteral("\\\\?\\usb#vid_0483&pid_5750#6&2f1e3a7&0&%1#{e6ef7dcd-1795-4a08-9fbf-aa78423c26f0}")
        .arg(instance);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not readable)");
}

// A folder as the driver's device interface path names it: "\\?\" and
// backslashes, which the system takes as they are.
QString asDevicePath(const QString &folder)
{
    return QStringLiteral("\\\\?\\") + QDir::toNativeSeparators(folder);
}

} // namespace

class TestWindowsPipeFiles : public QObject {
    Q_OBJECT
private slots:
    void devicePaths_data();
    void devicePaths();
    void noDeviceList();

    void pipesBelowTheDevicePath();
    void openFailures_data();
    void openFailures();
};

void TestWindowsPipeFiles::devicePaths_data()
{
    QTest::addColumn<QStringList>("interfaces");
    QTest::addColumn<QStringList>("paths");

    const QString first = deviceInterfacePath(1);
    const QString second = deviceInterfacePath(2);
    const QString longPath = QStringLiteral("\\\\?\\usb#") + QString(400, QLatin1Char('x'));
    QTest::newRow("no interfaces") << QStringList() << QStringList();
    QTest::newRow("one") << QStringList{first} << QStringList{first};
    QTest::newRow("two, in order") << QStringList{first, second} << QStringList{first, second};
    QTest::newRow("an unreadable detail between two")
        << QStringList{first, QString(), second} << QStringList{first, QString(), second};
    QTest::newRow("a path longer than MAX_PATH") << QStringList{longPath} << QStringList{longPath};
}

void TestWindowsPipeFiles::devicePaths()
{
    QFETCH(QStringList, interfaces);
    QFETCH(QStringList, paths);

    FakeSetupApi api;
    api.interfaces = interfaces;
    WindowsPipeFiles files(api);
    QCOMPARE(files.devicePaths(), paths);

    QCOMPARE(api.faults, QStringList());
    QCOMPARE(api.listedClasses, QList<QUuid>{DriverInterfaceClass});
    QCOMPARE(api.listFlags, QList<DWORD>{DWORD(DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)});
    // Every interface from the first on, until the list has no more.
    QList<DWORD> indices;
    for (DWORD index = 0; index <= DWORD(interfaces.size()); ++index)
        indices << index;
    QCOMPARE(api.indices, indices);
    QCOMPARE(api.enumeratedClasses, QList<QUuid>(indices.size(), DriverInterfaceClass));
    QCOMPARE(api.destroyed, 1);
}

void TestWindowsPipeFiles::noDeviceList()
{
    FakeSetupApi api;
    api.interfaces = QStringList{deviceInterfacePath(1)};
    api.listFails = true;
    WindowsPipeFiles files(api);
    QCOMPARE(files.devicePaths(), QStringList());
    QCOMPARE(api.indices, QList<DWORD>());
    QCOMPARE(api.destroyed, 0);
}

void TestWindowsPipeFiles::pipesBelowTheDevicePath()
{
    // Ordinary files stand for the pipes: commands go to Pipe00, replies
    // come from Pipe01.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath("Pipe00"), QByteArray());
    writeFile(dir.filePath("Pipe01"), "reply");

    PipeTransport pipes;
    QCOMPARE(pipes.openPipes(asDevicePath(dir.path())), quint16(PipeOk));
    QVERIFY(pipes.isOpen());
    QCOMPARE(pipes.pipeWrite("command", 7), quint16(PipeOk));
    char reply[5] = {};
    QCOMPARE(pipes.pipeRead(reply, 5), quint16(PipeOk));
    QCOMPARE(QByteArray(reply, 5), QByteArray("reply"));
    // Pipe01 has nothing more to give.
    QCOMPARE(pipes.pipeRead(reply, 1), quint16(PipeIoFailed));
    pipes.closePipes();

    QCOMPARE(fileBytes(dir.filePath("Pipe00")), QByteArray("command"));
    QCOMPARE(fileBytes(dir.filePath("Pipe01")), QByteArray("reply"));
    QCOMPARE(pipes.pipeWrite("command", 7), quint16(PipeNotOpen));
}

void TestWindowsPipeFiles::openFailures_data()
{
    QTest::addColumn<bool>("folderThere");
    QTest::addColumn<QStringList>("pipes");
    QTest::addColumn<QList<int>>("errors");

    QTest::newRow("no device folder") << false << QStringList()
                                      << QList<int>{ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND};
    QTest::newRow("no Pipe01") << true << QStringList{"Pipe00"} << QList<int>{ERROR_FILE_NOT_FOUND};
    QTest::newRow("no Pipe00") << true << QStringList{"Pipe01"} << QList<int>{ERROR_FILE_NOT_FOUND};
}

void TestWindowsPipeFiles::openFailures()
{
    QFETCH(bool, folderThere);
    QFETCH(QStringList, pipes);
    QFETCH(QList<int>, errors);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const QString &pipe : pipes)
        writeFile(dir.filePath(pipe), "x");

    PipeTransport transport;
    const quint16 status = transport.openPipes(asDevicePath(folderThere ? dir.path() : dir.filePath("gone")));
    QVERIFY2(errors.contains(status), qPrintable(QString::number(status)));
    QVERIFY(!transport.isOpen());
    char byte = 0;
    QCOMPARE(transport.pipeRead(&byte, 1), quint16(PipeNotOpen));
    QCOMPARE(transport.pipeWrite(&byte, 1), quint16(PipeNotOpen));
    // Whatever was opened is closed again: the files can go.
    for (const QString &pipe : pipes)
        QVERIFY2(QFile::remove(dir.filePath(pipe)), qPrintable(pipe));
}

QTEST_GUILESS_MAIN(TestWindowsPipeFiles)
#include "tst_windows_pipe_files.moc"
