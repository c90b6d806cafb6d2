#include "shell_open.h"

namespace kvt {
namespace {

std::function<void(const QUrl &)> &testOpener()
{
    static std::function<void(const QUrl &)> opener;
    return opener;
}

} // namespace

void shellOpen(const QUrl &target, QWidget *owner)
{
    if (testOpener())
        testOpener()(target);
    else
        systemShellOpen(target, owner);
}

void replaceShellForTests(std::function<void(const QUrl &)> opener)
{
    testOpener() = std::move(opener);
}

} // namespace kvt
