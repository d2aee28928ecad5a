#pragma once

#include <QIcon>
#include <QString>

namespace kfg::framework {

// The icon of an SVG file (a resource path such as ":/icons/128.svg"). The file is read once
// per process and every size is drawn once; the icon looks as Qt's own SVG icons do, without
// loading Qt's icon plugins on the way to the first paint.
QIcon SvgIcon(const QString& path);

// The program's icon numbered `id`: the resource ":/icons/<id>.svg".
QIcon ResourceIcon(int id);

} // namespace kfg::framework
