// The jet model behind the velocity and temperature pictures, the filled contour
// regions they are painted with, and the document writer's page flow.
#include "catalogdata.h"
#include "docwriter.h"
#include "isobands.h"
#include "jetmodel.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace zf::art;

namespace {

UnitType axType(const QString& range) {
    UnitType u;
    u.typ = QStringLiteral("Brisant AX 10 - S");
    u.family = QStringLiteral("AX");
    u.dims = {{"A", 520}, {"B", 560}, {"C", 540}, {"M", 440}, {"N", 420}};
    TechnicalData t;
    t.typ = QStringLiteral("Brisant AX 10");
    t.airFlow = 950;
    t.range = range;
    t.tempRise = QStringLiteral("32");
    u.tech = t;
    return u;
}

} // namespace

// Area of the region of a path with odd-even filling, by sampling.
double area(const QPainterPath& path, const QRectF& box, int n = 400) {
    int inside = 0;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            inside += path.contains(QPointF(box.left() + (i + 0.5) * box.width() / n,
                                            box.top() + (j + 0.5) * box.height() / n));
    return box.width() * box.height() * inside / (double(n) * n);
}

namespace {

TEST(JetModel, TheRangeIsWhereTheAxisVelocityFallsToTheResidualVelocity) {
    const UnitType u = axType(QStringLiteral("12"));
    const JetModel j = JetModel::forType(u);
    ASSERT_TRUE(j.valid());
    EXPECT_NEAR(j.v0, 950.0 / 3600 / (0.44 * 0.42), 1e-9);
    EXPECT_NEAR(j.centreVelocity(12), 0.40, 1e-9);
    EXPECT_NEAR(j.centreVelocity(24), 0.20, 1e-9);
    // In the core the axis keeps the outlet velocity.
    EXPECT_DOUBLE_EQ(j.centreVelocity(0.5 * j.coreLength), j.v0);
    EXPECT_NEAR(j.coreLength * j.v0, 0.40 * 12, 1e-9);
    EXPECT_EQ(j.centreVelocity(-1), 0);
}

TEST(JetModel, ASpanOfRangesTakesItsMiddleAndNoRangeTakesTheGrilleConstant) {
    EXPECT_DOUBLE_EQ(JetModel::forType(axType(QStringLiteral("14-18"))).range, 16);
    const JetModel j = JetModel::forType(axType(QString()));
    EXPECT_NEAR(j.range, 5.0 * j.v0 * j.d0 / 0.40, 1e-9);
    UnitType none = axType(QStringLiteral("12"));
    none.tech->airFlow = 0;
    EXPECT_FALSE(JetModel::forType(none).valid());
    UnitType noTech = axType(QStringLiteral("12"));
    noTech.tech.reset();
    EXPECT_FALSE(JetModel::forType(noTech).valid());
}

TEST(JetModel, TheAxisReachesTheOccupiedLevelAtSeventyPerCentOfTheRange) {
    const JetModel j = JetModel::forType(axType(QStringLiteral("12")));
    const double x = j.outletX + 0.7 * 12;
    // On the axis the velocity is the centreline velocity of the distance along it.
    const double along = std::hypot(0.7 * 12, j.height - 1.7);
    EXPECT_NEAR(j.velocityAt(x, 0, 1.7), j.centreVelocity(along), 1e-9);
    // Across and above the axis it is lower, symmetric to both sides.
    EXPECT_LT(j.velocityAt(x, 1.0, 1.7), j.velocityAt(x, 0, 1.7));
    EXPECT_DOUBLE_EQ(j.velocityAt(x, 1.0, 1.7), j.velocityAt(x, -1.0, 1.7));
    EXPECT_LT(j.velocityAt(x, 0, 3.0), j.velocityAt(x, 0, 1.7));
    // Behind the outlet there is no jet.
    EXPECT_EQ(j.velocityAt(0.5 * j.outletX, 0, j.height), 0);
}

TEST(JetModel, TheJetIsWarmAtTheOutletAndFadesIntoTheStratifiedHall) {
    const JetModel j = JetModel::forType(axType(QStringLiteral("12")));
    EXPECT_DOUBLE_EQ(j.hallTemperature(0), 15.0);
    EXPECT_DOUBLE_EQ(j.hallTemperature(5), 18.0);
    EXPECT_NEAR(j.temperatureAt(j.outletX + 0.05, j.height), j.hallTemperature(j.height) + 32, 0.5);
    // Below the jet near the outlet the hall keeps its own temperature.
    EXPECT_NEAR(j.temperatureAt(j.outletX + 1, 0.5), j.hallTemperature(0.5), 0.01);
    EXPECT_LT(j.temperatureAt(j.outletX + 1, 0.5), j.temperatureAt(j.outletX + 1, j.height));
    // Temperature decays sooner than velocity, continuously at the end of its core.
    const double s = 0.8 * j.coreLength;
    EXPECT_NEAR(j.centreExcessTemperature(s * 0.999), j.centreExcessTemperature(s * 1.001), 0.1);
    EXPECT_NEAR(j.centreExcessTemperature(2 * j.coreLength), 0.4 * 32, 1e-9);
}

TEST(Isobands, RegionsMatchTheirShapesIncludingHolesAndTheBorder) {
    // Outlines are thinned to a quarter of a picture unit: map the domain onto a
    // picture 400 units wide, as the pictures do.
    const QRectF domain(-2, -2, 4, 4);
    auto identity = [](QPointF p) { return p * 100; };
    auto area = [&](const QPainterPath& path, const QRectF& box) {
        return ::area(path, QRectF(box.topLeft() * 100, box.size() * 100)) / 1e4;
    };
    // A cone: the region f >= 0.5 is a disc of radius 1.
    const SampledField cone(domain, 120, 120,
                            [](double x, double y) { return 1.5 - std::hypot(x, y); });
    EXPECT_NEAR(area(cone.regionAtLeast(0.5, identity), domain), std::numbers::pi, 0.03);
    // A ring: 0.5 <= r <= 1.5 gives the annulus, its hole left empty.
    const SampledField ring(domain, 120, 120,
                            [](double x, double y) { return 1 - std::abs(std::hypot(x, y) - 1); });
    EXPECT_NEAR(area(ring.regionAtLeast(0.5, identity), domain), std::numbers::pi * (2.25 - 0.25),
                0.05);
    // A level below every value fills the whole domain, up to its border.
    EXPECT_NEAR(area(cone.regionAtLeast(-10, identity), domain), 16, 0.05);
    // A level above every value gives nothing.
    EXPECT_TRUE(cone.regionAtLeast(10, identity).isEmpty());
    // A region cut by the border: the half plane x >= 1 inside the domain.
    const SampledField ramp(domain, 40, 40, [](double x, double) { return x; });
    EXPECT_NEAR(area(ramp.regionAtLeast(1, identity), domain), 4, 0.05);
}

TEST(DocumentWriter, ALongTableBreaksAcrossPagesWithItsHeaderOnEveryPage) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QTemporaryDir dir;
    zf::doc::PageSetup setup;
    setup.headerLeft = QStringLiteral("Test document");
    setup.pageText = QStringLiteral("Page %1 of %2");
    zf::doc::Document d(setup);
    d.titleBlock(QStringLiteral("Title"), QStringLiteral("Subtitle"));
    d.heading(QStringLiteral("Rows"));
    zf::doc::Table t;
    t.widths = {1, 2};
    t.header.push_back({QStringLiteral("Number"), QStringLiteral("Headline")});
    for (int i = 1; i <= 150; ++i)
        t.rows.push_back({QString::number(i), QStringLiteral("row %1").arg(i)});
    d.table(t);
    QString error;
    const QString path = dir.filePath(QStringLiteral("t.pdf"));
    const int pages = d.writePdf(path, QStringLiteral("t"), &error);
    ASSERT_GE(pages, 3) << error.toStdString();
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess p;
    p.start(pdftotext,
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(text.count(QStringLiteral("Headline")), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    EXPECT_TRUE(text.contains(QStringLiteral("row 150")));
    // Every row is there once.
    for (const int i : {1, 75, 149})
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\brow %1\\b").arg(i))), 1) << i;
}

TEST(DocumentWriter, AnUnwritableTargetIsReportedAndLeavesNoFile) {
    QTemporaryDir dir;
    zf::doc::Document d(zf::doc::PageSetup{});
    d.paragraph(QStringLiteral("text"));
    QString error;
    const QString path = dir.filePath(QStringLiteral("missing/t.pdf"));
    EXPECT_EQ(d.writePdf(path, QStringLiteral("t"), &error), 0);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(CatalogRules, FamilyKeysAndTechnicalKeysFollowTheViewer) {
    EXPECT_EQ(familyKeyOf(QStringLiteral("Brisant Blenda AX 25 M - E")), QStringLiteral("BLENDA"));
    EXPECT_EQ(familyKeyOf(QStringLiteral("Brisant AX 25 - E")), QStringLiteral("AX"));
    EXPECT_EQ(familyKeyOf(QStringLiteral("Brisant RD 30 - E")), QStringLiteral("RD"));
    EXPECT_EQ(familyKeyOf(QStringLiteral("MK 20 - E")), QStringLiteral("MK-I"));
    EXPECT_EQ(familyKeyOf(QStringLiteral("Destratifikátor K1")), QStringLiteral("K"));
    EXPECT_EQ(familyKeyOf(QStringLiteral("other")), QStringLiteral("other"));
    EXPECT_EQ(technicalKeyOf(QStringLiteral("Brisant AX 20 - S")), QStringLiteral("Brisant AX 20"));
    EXPECT_EQ(technicalKeyOf(QStringLiteral("MK 50 - E")), QStringLiteral("MK 50 - E"));
    EXPECT_EQ(technicalKeyOf(QStringLiteral("Brisant AX 20")), QStringLiteral("Brisant AX 20"));
    EXPECT_DOUBLE_EQ(rangeMetres(QStringLiteral("14-18")), 16);
    EXPECT_DOUBLE_EQ(rangeMetres(QString()), 0);
    EXPECT_EQ(numberText(24.8, QLatin1Char(',')), QStringLiteral("24,8"));
    EXPECT_EQ(numberText(950), QStringLiteral("950"));
}

} // namespace
