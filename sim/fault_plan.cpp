#include "fault_plan.h"

namespace kvt::sim {
namespace {

std::optional<int> number(QStringView text, int maximum)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < 0 || value > maximum)
        return std::nullopt;
    return value;
}

// One item into the plan; false when it is not one the instrument knows.
bool applyItem(QStringView item, FaultPlan &plan)
{
    if (item == u"empty-directory") {
        plan.emptyDirectory = true;
        return true;
    }
    const qsizetype equals = item.indexOf(u'=');
    if (equals < 0)
        return false;
    const QStringView key = item.left(equals).trimmed();
    const QStringView value = item.mid(equals + 1);

    if (key == u"slow") {
        const QStringView mode = value.trimmed();
        if (mode == u"off")
            plan.earlyInput = EarlyInput::Taken;
        else if (mode == u"late")
            plan.earlyInput = EarlyInput::Late;
        else if (mode == u"lost")
            plan.earlyInput = EarlyInput::Lost;
        else
            return false;
        return true;
    }

    if (key == u"unplug-after-records" || key == u"replug-after-ms") {
        const std::optional<int> n = number(value, 1 << 30);
        if (!n)
            return false;
        (key == u"unplug-after-records" ? plan.unplugAfterRecords : plan.replugAfterMs) = n;
        return true;
    }
    std::bitset<256> *codes = key == u"timeout-on" ? &plan.timeoutOn
                            : key == u"short-reply" ? &plan.shortReply
                            : key == u"long-reply"  ? &plan.longReply
                                                    : nullptr;
    const std::optional<int> code = number(value, 255);
    if (!codes || !code)
        return false;
    codes->set(size_t(*code));
    return true;
}

} // namespace

ParsedFaults parseFaultPlan(QStringView text)
{
    ParsedFaults parsed;
    for (QStringView item : text.split(u',')) {
        item = item.trimmed();
        if (!item.isEmpty() && !applyItem(item, parsed.plan))
            parsed.unknownItems << item.toString();
    }
    return parsed;
}

} // namespace kvt::sim
