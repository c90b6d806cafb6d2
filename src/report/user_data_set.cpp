#include "user_data_set.h"

namespace kvt {

void UserDataSet::first()
{
    m_recordNumber = 0;
    if (onFirst)
        onFirst();
}

bool UserDataSet::eof() const
{
    bool eof = m_recordNumber >= recordCount;
    if (onCheckEof)
        onCheckEof(eof);
    return eof;
}

} // namespace kvt
