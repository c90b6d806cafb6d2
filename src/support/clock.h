#pragma once

#include <QList>
#include <QtGlobal>

namespace kvt {

// Every pause and wait of the device worker and of the windows waiting for it
// goes through one clock, so that tests can run them without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(int milliseconds) = 0;
    virtual qint64 nowMs() const = 0;
};

// Real time.
class SystemClock final : public Clock {
public:
    void sleepMs(int milliseconds) override;
    qint64 nowMs() const override;
};

// Time that passes only when someone sleeps; it remembers every pause.
class FakeClock final : public Clock {
public:
    void sleepMs(int milliseconds) override;
    qint64 nowMs() const override { return m_now; }
    const QList<int> &pauses() const { return m_pauses; }
    void clearPauses() { m_pauses.clear(); }

private:
    qint64 m_now = 0;
    QList<int> m_pauses;
};

} // namespace kvt
