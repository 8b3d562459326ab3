#include "pictures/placementpictures.h"

#include "storage/zfdata.h"
#include "units/projectunits.h"
#include "units/unittypes.h"

#include <QDir>

namespace zf::pictures {

namespace {

void setProject(TZFData& data, const char* column, const QVariant& v) {
    data.tADOProject.setValue(QString::fromLatin1(column), v);
    data.tADOProject.post();
}

} // namespace

QStringList writePlacementPictures(TZFData& data, const QString& imagesFolder) {
    QStringList problems;
    setProject(data, "Stena_A", SampleHallA);
    setProject(data, "Stena_B", SampleHallB);
    setProject(data, "Stena_H1", SampleHallH1);
    setProject(data, "Vyska_jednotek", 4);
    setProject(data, "Vyska_destrat", 0);

    // One catalog row with the chosen number, as the units page leaves it.
    Dataset& types = data.tResults;
    data.ClearTable(types);
    types.append();
    types.setValue(QStringLiteral("ID"), 1);
    types.setValue(QStringLiteral("Typ"), QStringLiteral("Brisant AX 20 - S"));
    types.setValue(QStringLiteral("Pocet_jednotek"), SampleUnitCount);
    types.setValue(QStringLiteral("Tep_vykon"), 20);
    types.setValue(QStringLiteral("Prutok_vzduchu"), 2100);
    types.post();
    UpdateCoverage(data);

    TProject project;
    project.StenaA = float(SampleHallA);
    project.StenaB = float(SampleHallB);
    project.StenaH1 = float(SampleHallH1);
    ProjectUnits units(data, project);
    units.plan.setViewportSize(QSize(300, 210));
    units.setHallFromProject();
    units.towardsLongerSide = true;
    for (int variant = 0; variant < int(ProjectUnits::variantEntries().size()); ++variant) {
        units.setVariantIndex(variant);
        // A fresh plan each time, so that the placement asks nothing.
        units.plan.ClearObjects(false);
        const PlaceResult result = units.PlaceUnits();
        const QString file =
            QDir(imagesFolder).filePath(QStringLiteral("Umisteni%1.svg").arg(variant + 1));
        if (result != PlaceResult::Placed || units.plan.count() != SampleUnitCount) {
            problems << file + QStringLiteral(": the placement did not place the units");
            continue;
        }
        // Room around the walls for the dimensions, which the plan draws outside
        // them: at this small size their letters would be cut off.
        units.plan.fitBox(-2.5, -2.5, SampleHallA + 2.5, SampleHallB + 2.5);
        if (!units.plan.SaveMetafile(file))
            problems << file + QStringLiteral(": cannot be written");
    }
    return problems;
}

} // namespace zf::pictures
