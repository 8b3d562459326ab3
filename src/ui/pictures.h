#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace zf {

// Pictures of the program folder (Images/...): SVG drawn sharp at the device
// pixel ratio. A missing file gives a null icon or pixmap.
QIcon pictureIcon(const QString& relativePath);
QPixmap picturePixmap(const QString& relativePath, const QSize& size, qreal devicePixelRatio = 1.0);
QIcon commandIcon(const QString& command);   // Images/toolbar/<command>.svg
QIcon flagIcon(const QString& languageCode); // Images/flags/<code>.svg
// The picture with a mark in its corner in the checked (On) state.
QIcon checkedMarkIcon(const QIcon& picture);

} // namespace zf
