#include "lm_thread_base.h"
#include "lm_thread_group.h"

namespace kvt {

TLMThreadBase::TLMThreadBase(QObject *Owner) : QObject(Owner) {}

TLMThreadBase::~TLMThreadBase()
{
    Q_ASSERT_X(FThreadGroup == nullptr, "~TLMThreadBase", "the derived destructor must leave the group");
}

void TLMThreadBase::SetThreadGroup(TLMThreadGroup *Group)
{
    if (Group == FThreadGroup)
        return;
    // A group inside itself would make every report go round for ever.
    for (TLMThreadBase *above = Group; above; above = above->ThreadGroup())
        if (above == this)
            return;
    if (FThreadGroup)
        RemoveMe();
    FThreadGroup = Group;
    if (FThreadGroup)
        AddMe();
}

} // namespace kvt
