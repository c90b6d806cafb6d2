#pragma once

#include <QIcon>

namespace kvt {

// The program's own icon (packaging/kvt10.svg drawn at 16, 32, 48 and 256
// pixels by the build): the windows' icon and the about box's picture.
QIcon programIcon();

} // namespace kvt
