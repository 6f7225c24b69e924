#include "ui/application_icon.h"

#include <QDirIterator>

namespace kelmora::ui {

QIcon applicationIcon() {
    // The build renders one PNG a size into the resources; take whatever sizes it made.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/kelmora/icons"), {QStringLiteral("*.png")});
    while (sizes.hasNext()) {
        icon.addFile(sizes.next());
    }
    return icon;
}

} // namespace kelmora::ui
