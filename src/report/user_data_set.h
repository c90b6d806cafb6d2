#pragma once

#include <QString>

#include <functional>

namespace kvt {

// A data set without fields whose records the program counts: the engine
// moves through it, printing the master data band once per record, and asks
// the program before each record whether the end is reached.
class UserDataSet {
public:
    explicit UserDataSet(QString name) : m_name(std::move(name)) {}

    const QString &name() const { return m_name; }
    // The current record, counting from 0.
    int recordNumber() const { return m_recordNumber; }

    // Set by the program, usually when the data set moves to its first record.
    int recordCount = 0;
    // Called on moving to the first record.
    std::function<void()> onFirst;
    // Called before each record; sets its argument when the end is reached.
    // Without it the data set ends after recordCount records.
    std::function<void(bool &eof)> onCheckEof;

    void first();
    void next() { ++m_recordNumber; }
    bool eof() const;

private:
    QString m_name;
    int m_recordNumber = 0;
};

} // namespace kvt
