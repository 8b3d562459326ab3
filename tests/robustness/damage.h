#pragma once

// A seeded generator of damaged project files: every call makes the same file
// for the same seed and index.
#include <QByteArray>
#include <QString>

namespace zf::robustness {

struct Damaged {
    QString kind; // "byte flips", "schema text", ...
    QByteArray bytes;
};

// The damaged copy number `index` of `original` (a project file), written with
// `scratch` as a working file.
Damaged damageProject(const QByteArray& original, unsigned seed, int index, const QString& scratch);

// The kinds the generator makes, in the order it cycles through them.
int damageKindCount();

} // namespace zf::robustness
