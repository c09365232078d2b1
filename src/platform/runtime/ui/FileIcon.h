#pragma once
// An icon over picture files of several sizes that reads a file only when a pixmap of about its
// size is first asked for (QIcon's own file icons decode every file when the icon is made). The
// sizes come from the files' headers. Copies of the icon share what was read.
#include <QIcon>
#include <QStringList>

namespace vb {

// Files that cannot be read are left out; without any, the icon is null.
QIcon FileIcon(const QStringList& files);

} // namespace vb
