// Writes seed .kvt files for fuzz_kvt_reader into the folder given as the only
// argument: files the program's own writer produces, then damaged variants of them.

#include "files/kvt_file.h"
#include "store/short_name20.h"
#include "store_fixture.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

bool writeSeed(const QDir &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    // About 7.8 MB each; one at a time on the heap.
    auto store = std::make_unique<kvt::MeasurementStore>();
    using kvt::testing::fillStore;
    using kvt::testing::fillStoreWithSeries;
    using kvt::encodeKvt;

    bool ok = true;
    fillStoreWithSeries(*store, {});
    const QByteArray empty = encodeKvt(*store);
    ok &= writeSeed(folder, "empty.kvt", empty);

    fillStoreWithSeries(*store, {1});
    const QByteArray one = encodeKvt(*store);
    ok &= writeSeed(folder, "one_impact.kvt", one);

    fillStoreWithSeries(*store, {3});
    const QByteArray three = encodeKvt(*store);
    ok &= writeSeed(folder, "three_impacts.kvt", three);

    fillStoreWithSeries(*store, {1, 2});
    ok &= writeSeed(folder, "two_series.kvt", encodeKvt(*store));

    // Series numbers that come back after another series, and a large one.
    fillStore(*store, {7, 3, 7, 0x0FFFFFFF});
    ok &= writeSeed(folder, "mixed_series.kvt", encodeKvt(*store));

    // A Cyrillic material and object name filling all 19 characters.
    fillStoreWithSeries(*store, {2});
    for (quint32 p = 0; p < store->impactCount(); ++p) {
        kvt::ImpactRecord &record = store->records()[p];
        kvt::writeShortName20(record.nameField(kvt::ImpactRecord::MaterialName), QStringLiteral("Щебень фракции 5-20"));
        kvt::writeShortName20(record.nameField(kvt::ImpactRecord::ObjectName), QStringLiteral("Объект №1, участок"));
    }
    ok &= writeSeed(folder, "cyrillic_names.kvt", encodeKvt(*store));

    // Damaged: cut short, cut inside the header, wrong magic, counts that disagree.
    ok &= writeSeed(folder, "truncated_record.kvt", one.left(one.size() - 100));
    ok &= writeSeed(folder, "truncated_header.kvt", one.left(kvt::KvtHeaderSize - 3));
    QByteArray wrongMagic = three;
    wrongMagic[4] = '2';
    ok &= writeSeed(folder, "wrong_magic.kvt", wrongMagic);
    QByteArray extraByte = one;
    extraByte.append('\0');
    ok &= writeSeed(folder, "extra_byte.kvt", extraByte);
    QByteArray oddDirectory = one;
    // A directory block of 5 bytes, not a multiple of 4, with the total length right.
    oddDirectory[8] = 5;
    oddDirectory.insert(kvt::KvtHeaderSize, '\x01');
    ok &= writeSeed(folder, "odd_directory.kvt", oddDirectory);

    return ok ? 0 : 1;
}
