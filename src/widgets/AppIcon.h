#pragma once

#include <QIcon>
#include <QPixmap>

namespace wendmoor {

// The application icon: a small temple front on a
// sandstone tile, drawn here so that the program ships no image files.
QPixmap DrawAppIcon(int size);
QIcon AppIcon();

}  // namespace wendmoor
