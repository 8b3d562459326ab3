#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

namespace zf::pictures {

// One picture file: its path under the program's Images folder and its text.
struct Picture {
    QString path;
    QByteArray svg;
};

// The colours of every drawn picture: dark outlines, light fills, one accent
// for what a picture points out, blue for air.
namespace palette {
inline const QColor Line(0x2b, 0x3a, 0x42);
inline const QColor Hidden(0x8a, 0x97, 0x9e);
inline const QColor Faint(0xc9, 0xd1, 0xd6);
inline const QColor Light(0xee, 0xf1, 0xf3);
inline const QColor Lighter(0xf7, 0xf9, 0xfa);
inline const QColor Shade(0xd3, 0xdb, 0xe0);
inline const QColor Accent(0xe8, 0x70, 0x2a);
inline const QColor AccentTint(0xf5, 0xb9, 0x8a);
inline const QColor AccentPale(0xfb, 0xe3, 0xcf);
inline const QColor Air(0x2f, 0x7f, 0xc1);
inline const QColor AirTint(0x9c, 0xc5, 0xe6);
inline const QColor AirPale(0xdc, 0xeb, 0xf7);
inline const QColor White(0xff, 0xff, 0xff);
} // namespace palette

} // namespace zf::pictures
