#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace zf {

class TZFData;

// Page 1 of the project window as ShowResultSummary fills it from the project
// record. The air flows and the surface tables are bound to the data and follow
// it by themselves; everything here stays as it was filled until the next run,
// so the costs keep the currency of the language they were filled in.
struct ResultSummary {
    bool filled = false;
    QString hallLines;     // six lines joined by CR LF
    QString skylightLines; // six lines, or text 753 alone
    QString hallPicture;   // file of the roof type's picture, empty when none
    QString skylightPicture;
    // The heat-loss list: rows 0 to 4, standard and reduced operation.
    std::array<std::array<QString, 2>, 5> losses;
    bool tablesVisible = true; // the surface and opening tables of the lower part
    QString methodCaption;     // four blanks and the sentence of the way; kept when unknown
    QString costDay, costMonth, costYear;
};

// The picture of a roof type (0 to 3) or a skylight type (1 to 4) as the wizard
// shows it: Images/Building/ha.svg ... hd.svg, sa.svg ... sd.svg; empty when the
// type has none or its file is missing.
QString buildingPictureFile(int index, bool isRoof);

// Fills the summary from the project record; the method caption of an unknown
// way keeps what `previous` held.
ResultSummary ShowResultSummary(const TZFData& data, const ResultSummary& previous = {});

} // namespace zf
