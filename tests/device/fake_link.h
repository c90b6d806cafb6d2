#pragma once

#include "device/byte_link.h"

#include <QByteArray>
#include <QList>

#include <cstring>
#include <deque>
#include <optional>

namespace kvt::testing {

// A link that records what is written and answers each read with the next
// scripted transfer: a transfer delivers at most what the read asks for, the
// rest of it is lost, as a bulk transfer's would be. An empty script, or a
// scripted failure, fails the read.
class FakeLink final : public ByteLink {
public:
    void queue(const QByteArray &transfer) { m_transfers.push_back(transfer); }
    void queueReply(const QByteArray &payload, quint32 announced)
    {
        QByteArray length(4, '\0');
        for (int i = 0; i < 4; ++i)
            length[i] = char((announced >> (8 * i)) & 0xFF);
        queue(length);
        queue(payload);
    }
    void queueFailure() { m_transfers.push_back(std::nullopt); }
    void failWritesAfter(int writes) { m_writesLeft = writes; }

    bool write(const void *bytes, int count) override
    {
        if (m_writesLeft == 0)
            return false;
        if (m_writesLeft > 0)
            --m_writesLeft;
        writes << QByteArray(static_cast<const char *>(bytes), count);
        return true;
    }

    std::optional<int> read(void *bytes, int count) override
    {
        readSizes << count;
        if (m_transfers.empty() || !m_transfers.front()) {
            if (!m_transfers.empty())
                m_transfers.pop_front();
            return std::nullopt;
        }
        const QByteArray transfer = *m_transfers.front();
        m_transfers.pop_front();
        const int delivered = qMin(count, int(transfer.size()));
        std::memcpy(bytes, transfer.constData(), size_t(delivered));
        return delivered;
    }

    QList<QByteArray> writes;
    QList<int> readSizes;

private:
    std::deque<std::optional<QByteArray>> m_transfers;
    int m_writesLeft = -1;
};

} // namespace kvt::testing
