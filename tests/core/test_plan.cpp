// The hall plan without a window: alignment of dropped units, the pointer, the
// view transform and zoom, and the painted picture.
#include "common/numberformat.h"
#include "i18n/texts.h"
#include "units/planview.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace zf;

namespace {

// Fonts need a GUI application; the tests paint offscreen.
void ensureGuiApplication() {
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_units";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives until the process ends
}

// A 30 x 20 m hall in an 800 x 600 plot area.
PlanView hall() {
    PlanView p;
    p.setViewportSize(QSize(800, 600));
    p.SetHall(30, 20, 6);
    return p;
}

QPoint pixelOf(const PlanView& p, double x, double y) {
    const QPointF f = p.toPixel(x, y);
    return QPoint(int(std::nearbyint(f.x())), int(std::nearbyint(f.y())));
}

} // namespace

TEST(PlanAlignment, RulesInOrderWithHalvesToEven) {
    struct Case {
        double x, y;
        int rule;
        double nx, ny;
        int angle;
    };
    const Case cases[] = {
        {0.4, 0.4, 1, 0.53, 0.53, 45},      {29.6, 0.3, 2, 29.47, 0.53, 315},
        {30.4, 19.6, 3, 29.47, 19.47, 225}, {0.2, 19.8, 4, 0.5, 19.47, 135},
        {0.7, 10.2, 5, 0.25, 10, 90},       {-0.8, 10, 6, -0.75, 10, 90},
        {12.3, 0.7, 7, 12, 0.25, 0},        {12, -1.2, 8, 12, -0.75, 0},
        {29.4, 10, 9, 29.75, 10, 270},      {31.2, 10, 10, 30.75, 10, 270},
        {15, 19.3, 11, 15, 19.75, 180},     {15, 21.4, 12, 15, 20.75, 180},
        {0.2, 10, 5, 0.25, 10, 90}, // the inner face: rule 5 before rule 6
        {15.5, 10.5, 0, 16, 10, 33},        {2.5, 3.5, 0, 2, 4, 33},
        {-1.6, 10, 0, -2, 10, 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        const AlignedDrop d = alignDroppedUnit(c.x, c.y, 33, 30, 20, 0.5);
        EXPECT_EQ(d.rule, c.rule);
        EXPECT_FLOAT_EQ(d.x, float(c.nx));
        EXPECT_FLOAT_EQ(d.y, float(c.ny));
        EXPECT_EQ(d.angle, c.angle);
    }
}

TEST(PlanSymbols, DropMovesTheSymbolToTheEndKeepingItsNumber) {
    PlanView p = hall();
    int modified = 0;
    p.OnPlotModified = [&] { ++modified; };
    p.AddObject(ObjWarmAirUnit, 45, 5, 5, 3, QString(40, QLatin1Char('T')));
    p.AddObject(ObjWarmAirUnit, 45, 8, 8, 3, QStringLiteral("B"));
    EXPECT_EQ(p.object(0).typeText.size(), 32);
    p.setSelected(0, true);
    EXPECT_EQ(p.DropObject(0, -0.8, 10), 1);
    EXPECT_EQ(modified, 1);
    EXPECT_TRUE(p.PlanChanged);
    const PlanSymbol& s = p.object(1);
    EXPECT_EQ(s.number, 1);
    EXPECT_FALSE(s.selected);
    EXPECT_FLOAT_EQ(s.x, -0.75f);
    EXPECT_EQ(s.angle, 90);

    p.AutoAlign = false;
    p.DropObject(0, 12.3, 0.7);
    EXPECT_FLOAT_EQ(p.object(1).x, 12.3f);
    EXPECT_FLOAT_EQ(p.object(1).y, 0.7f);
    EXPECT_EQ(p.object(1).angle, 45);
    EXPECT_EQ(p.AddObject(ObjWarmAirUnit, 0, 1, 1, 1, QStringLiteral("C")), 2);
    EXPECT_EQ(p.object(2).number, 3);
}

TEST(PlanSymbols, HitTestsUseTheBoxesLastDrawnNewestFirst) {
    ensureGuiApplication();
    PlanView p = hall();
    p.AddObject(ObjWarmAirUnit, 0, 10, 10, 3, QStringLiteral("A"));
    p.AddObject(ObjMixingUnit, 0, 10.2, 10, 3, QStringLiteral("B"));
    const QPoint c = pixelOf(p, 10, 10);
    EXPECT_EQ(p.ObjectAt(c.x(), c.y()), -1) << "nothing drawn yet";
    p.toImage();
    EXPECT_EQ(p.ObjectAt(c.x(), c.y()), 1);
    const QRect box = p.object(0).screenBox;
    EXPECT_EQ(box.size(), QSize(20, 10)) << "0.5 m is less than 10 pixels here";
    EXPECT_EQ(p.ObjectAt(box.left(), box.top()), 0);
    EXPECT_EQ(p.ObjectAt(box.left() - 1, box.top()), -1);
    p.setScale(1000);
    EXPECT_EQ(p.ObjectAt(c.x(), c.y()), 1) << "the boxes stay those last drawn";
    EXPECT_EQ(p.halfWidthPx(), int(std::nearbyint(0.5 / p.metresPerPixelX())));
}

TEST(PlanPointer, ADropLandsWhereThePointerTookTheSymbol) {
    ensureGuiApplication();
    PlanView p = hall();
    p.setScale(200);
    p.AddObject(ObjWarmAirUnit, 45, 3, 3, 3, QStringLiteral("A"));
    p.AddObject(ObjWarmAirUnit, 45, 6, 6, 3, QStringLiteral("B"));
    p.toImage();
    const QPoint grab = pixelOf(p, 3, 3) + QPoint(4, -2); // off the centre
    p.mousePress(grab, Qt::LeftButton);
    ASSERT_TRUE(p.dragging());
    const QPoint target = pixelOf(p, 12.3, 0.7) + QPoint(4, -2);
    p.mouseMove(target);
    EXPECT_EQ(p.cursorAt(target), PlanView::Cursor::Hand);
    p.mouseRelease(target, Qt::LeftButton);
    ASSERT_EQ(p.object(1).number, 1);
    EXPECT_FLOAT_EQ(p.object(1).x, 12);
    EXPECT_FLOAT_EQ(p.object(1).y, 0.25f);
    EXPECT_EQ(p.object(1).angle, 0);

    // Released outside the plot area, or after Escape: nothing moves.
    p.toImage();
    const QPoint b = pixelOf(p, 6, 6);
    p.mousePress(b, Qt::LeftButton);
    EXPECT_EQ(p.cursorAt(QPoint(-5, 10)), PlanView::Cursor::NotAllowed);
    p.mouseRelease(QPoint(-5, 10), Qt::LeftButton);
    p.mousePress(b, Qt::LeftButton);
    EXPECT_TRUE(p.keyPress(Qt::Key_Escape));
    p.mouseRelease(b + QPoint(100, 0), Qt::LeftButton);
    EXPECT_FLOAT_EQ(p.object(0).x, 6);
    EXPECT_EQ(p.object(0).number, 2);
}

// A click on a unit without moving the pointer is no drop: the unit does not
// snap, nothing is modified, and a double click then finds the unit where it
// lies. Moving beyond the threshold is a drop, also when only the release
// point says so.
TEST(PlanPointer, AClickWithoutMovingIsNoDrop) {
    ensureGuiApplication();
    PlanView p = hall();
    p.AddObject(ObjWarmAirUnit, 30, 7.77, 5.55, 3, QStringLiteral("A"));
    p.AddObject(ObjWarmAirUnit, 0, 15, 10, 3, QStringLiteral("B"));
    int modified = 0;
    p.OnPlotModified = [&] { ++modified; };
    p.toImage();
    const QPoint a = pixelOf(p, 7.77, 5.55);
    for (const QPoint jitter : {QPoint(0, 0), QPoint(PlanView::DragThreshold, -2)}) {
        p.mousePress(a, Qt::LeftButton);
        ASSERT_TRUE(p.dragging());
        p.mouseMove(a + jitter);
        p.mouseRelease(a + jitter, Qt::LeftButton);
        EXPECT_FALSE(p.dragging());
        EXPECT_EQ(modified, 0);
        EXPECT_FALSE(p.PlanChanged);
        EXPECT_EQ(p.object(0).number, 1) << "the list order stays";
        EXPECT_FLOAT_EQ(p.object(0).x, 7.77f);
        EXPECT_EQ(p.object(0).angle, 30);
        EXPECT_EQ(p.doubleClickAt(a + jitter), 0);
    }
    p.mousePress(a, Qt::LeftButton);
    p.mouseRelease(a + QPoint(PlanView::DragThreshold + 1, 0), Qt::LeftButton);
    EXPECT_EQ(modified, 1) << "a release away from the press is a drop";
    EXPECT_EQ(p.object(1).number, 1);
    EXPECT_EQ(p.doubleClickAt(QPoint(1, 1)), -1);
}

TEST(PlanPointer, RightPressSelectsOthersClear) {
    ensureGuiApplication();
    PlanView p = hall();
    p.AddObject(ObjWarmAirUnit, 0, 5, 5, 3, QStringLiteral("A"));
    p.AddObject(ObjWarmAirUnit, 0, 15, 10, 3.5, QStringLiteral("Brisant AX 20"));
    p.toImage();
    p.setSelected(0, true);
    int popup = -1;
    p.onPopup = [&](int i, QPoint) { popup = i; };
    const QPoint b = pixelOf(p, 15, 10);
    p.mousePress(b, Qt::RightButton);
    EXPECT_EQ(popup, 1);
    EXPECT_FALSE(p.object(0).selected);
    EXPECT_TRUE(p.object(1).selected);
    EXPECT_EQ(p.doubleClickTarget(), 1);
    EXPECT_EQ(p.hintText(b), formatText(QStringLiteral("Unit #2: Brisant AX 20\r\nX = %.2f; "
                                                       "Y = %.2f; Z = %.2f\r\nAngle: 0°"),
                                        {15.0, 10.0, 3.5}));
    p.mousePress(QPoint(2, 2), Qt::MiddleButton);
    EXPECT_FALSE(p.object(1).selected);
    EXPECT_EQ(p.doubleClickTarget(), -1);
}

// The hint over a unit and the pointer's position speak the user's language,
// in the format of every language.
TEST(PlanPointer, HintAndPositionInTheLanguage) {
    ensureGuiApplication();
    PlanView p = hall();
    p.AddObject(ObjWarmAirUnit, 90, 15, 10, 3.5, QStringLiteral("Brisant AX 20"));
    p.toImage();
    const QPoint b = pixelOf(p, 15, 10);
    setLanguage(BaseCZ);
    EXPECT_EQ(p.hintText(b), formatText(QString::fromUtf8("Jednotka č. 1: Brisant AX 20\r\nX = "
                                                          "%.2f; Y = %.2f; Z = %.2f\r\nÚhel: 90°"),
                                        {15.0, 10.0, 3.5}));
    setLanguage(BaseRU);
    EXPECT_TRUE(p.hintText(b).startsWith(QString::fromUtf8("Агрегат № 1: Brisant AX 20\r\n")));
    EXPECT_TRUE(p.hintText(b).endsWith(QString::fromUtf8("Угол: 90°")));
    EXPECT_EQ(p.statusText(b), formatText(QStringLiteral(" X=%.2f m  Y=%.2f m"),
                                          {p.toWorld(QPointF(b)).x(), p.toWorld(QPointF(b)).y()}));
    setLanguage(BaseEN);
    EXPECT_TRUE(p.hintText(b).startsWith(QStringLiteral("Unit #1: ")));
}

TEST(PlanView, FittingKeepsEqualMetresPerPixelWithMargins) {
    PlanView p = hall();
    // SetHall: the box -1 ... 31 by -1 ... 21; the width limits in 800 x 600.
    EXPECT_NEAR(p.fittedView().xmin, -1 - 0.025 * 32, 1e-9);
    EXPECT_NEAR(p.fittedView().xmax, 31 + 0.025 * 32, 1e-9);
    EXPECT_NEAR(p.metresPerPixelX(), p.metresPerPixelY(), 1e-12);

    p.ZoomToDefault(); // no symbols: -0.5 ... 30.5 by -0.5 ... 20.5
    EXPECT_NEAR(p.visibleRange().xmin, -0.5 - 0.025 * 31, 1e-9);
    p.setViewportSize(QSize(1000, 200)); // now the height limits
    EXPECT_NEAR(p.visibleRange().ymin, -0.5 - 0.025 * 21, 1e-9);
    EXPECT_NEAR((p.visibleRange().xmin + p.visibleRange().xmax) / 2, 15, 1e-9);
    EXPECT_NEAR(p.metresPerPixelX(), p.metresPerPixelY(), 1e-12);

    p.setViewportSize(QSize(800, 600));
    p.AddObject(ObjWarmAirUnit, 0, 40, 10, 3, QStringLiteral("A"));
    p.chooseZoom(QStringLiteral("250"));
    p.ZoomToDefault(); // the box grows to the symbol: -0.5 ... 40
    EXPECT_DOUBLE_EQ(p.Scale(), 100);
    EXPECT_EQ(p.zoomText(), QStringLiteral("100"));
    EXPECT_NEAR(p.visibleRange().xmax, 40 + 0.025 * 40.5, 1e-9);

    const WorldRange f = p.fittedView();
    p.setScale(200); // towards the world origin
    EXPECT_DOUBLE_EQ(p.visibleRange().xmin, f.xmin / 2);
    EXPECT_DOUBLE_EQ(p.visibleRange().ymax, f.ymax / 2);
}

TEST(PlanView, ZoomStepsAndTheZoomList) {
    PlanView p = hall();
    p.setScale(9000);
    p.ZoomIn();
    EXPECT_DOUBLE_EQ(p.Scale(), 11250);
    EXPECT_EQ(p.zoomText(), formatText(QStringLiteral("%.2f"), {11250.0}));
    EXPECT_TRUE(p.keyPress(Qt::Key_Plus));
    EXPECT_DOUBLE_EQ(p.Scale(), 10000);
    p.setScale(1.1);
    p.ZoomOut();
    EXPECT_NEAR(p.Scale(), 0.88, 1e-12);
    EXPECT_TRUE(p.keyPress(Qt::Key_Minus));
    EXPECT_DOUBLE_EQ(p.Scale(), 1);

    p.chooseZoom(QStringLiteral("400"));
    EXPECT_DOUBLE_EQ(p.Scale(), 400);
    p.chooseZoom(QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(p.Scale(), 100);
    EXPECT_EQ(p.zoomText(), QStringLiteral("100"));
    p.chooseZoom(QStringLiteral("400"));
    p.chooseZoom(QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(p.Scale(), 100) << "a zoom of 0 would show nothing";

    // Past a micrometre a pixel the view goes no deeper, typed or drawn.
    p.chooseZoom(QStringLiteral("1e9"));
    EXPECT_DOUBLE_EQ(p.Scale(), 1e6);
    EXPECT_EQ(p.zoomText(), formatText(QStringLiteral("%.2f"), {1e6}));
    const double deepest = p.metresPerPixelX();
    p.chooseZoom(QStringLiteral("100000"));
    p.mouseMode = MouseMode::mmZoom;
    for (int i = 0; i < 3; ++i) {
        p.mousePress(QPoint(400, 300), Qt::LeftButton);
        p.mouseMove(QPoint(404, 304));
        p.mouseRelease(QPoint(404, 304), Qt::LeftButton);
    }
    EXPECT_NEAR(p.metresPerPixelX(), deepest, deepest * 1e-9);
    EXPECT_NEAR(p.metresPerPixelY(), deepest, deepest * 1e-9);
}

TEST(PlanView, ScrollBarsWheelAndPan) {
    PlanView p = hall();
    const double width = p.visibleRange().xmax - p.visibleRange().xmin;
    p.setHorizontalScroll(-15);
    EXPECT_DOUBLE_EQ(p.visibleRange().xmin, -1) << "integer division towards zero";
    EXPECT_NEAR(p.visibleRange().xmax - p.visibleRange().xmin, width, 1e-12);

    const double ymin = p.visibleRange().ymin;
    const double mpp = p.metresPerPixelY();
    p.setVerticalScroll(52); // from 50
    EXPECT_NEAR(p.visibleRange().ymin, ymin - 20 * mpp, 1e-9);
    p.wheel(3);
    EXPECT_NEAR(p.visibleRange().ymin, ymin + 10 * mpp, 1e-9);

    p.mouseMode = MouseMode::mmPan;
    p.mousePress(QPoint(100, 100), Qt::LeftButton);
    p.mouseMove(QPoint(110, 95));
    p.mouseRelease(QPoint(110, 95), Qt::LeftButton);
    EXPECT_NEAR(p.visibleRange().xmin, -1 - 10 * mpp, 1e-9) << "the plan follows the pointer";
    EXPECT_NEAR(p.visibleRange().ymin, ymin + 5 * mpp, 1e-9);
}

namespace {

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool isBlack(QRgb c) {
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}

class PlanPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApplication();
        plan = hall();
        plan.setScale(300); // symbols larger than their minimum
    }
    PlanView plan;
};

} // namespace

TEST_F(PlanPicture, WallBandIsHatchedAndTheFloorIsPlain) {
    const QImage img = plan.toImage();
    const QPoint outer = pixelOf(plan, -0.5, 2);
    const QPoint inner = pixelOf(plan, 0, 2);
    int red = 0, other = 0;
    for (int x = outer.x() + 2; x < inner.x() - 1; ++x)
        for (int y = inner.y() - 40; y < inner.y(); ++y)
            (isRed(img.pixel(x, y)) ? red : other)++;
    EXPECT_GT(red, 0) << "hatch lines in the band";
    EXPECT_GT(other, red) << "with gaps between them";
    EXPECT_TRUE(isRed(img.pixel(inner.x(), inner.y() - 20))) << "the floor's outline";
    EXPECT_EQ(img.pixel(pixelOf(plan, 3, 3)), plan.background.rgb());
}

TEST_F(PlanPicture, SymbolsOutlinesAndArrows) {
    plan.AddObject(ObjMixingUnit, 0, 4, 2, 3, QStringLiteral("MK"));
    plan.AddObject(ObjMixingUnit, 0, 8, 2, 3, QStringLiteral("MK"));
    plan.AddObject(ObjWarmAirUnit, 90, 4, 5, 3, QStringLiteral("A"));
    plan.AddObject(ObjWarmAirUnit, 0, 8, 5, 3, QStringLiteral("B"));
    plan.AddObject(ObjDestratifier, 0, 10, 3.5, 7, QStringLiteral("D"));
    plan.setSelected(1, true);
    const QImage img = plan.toImage();
    const int hw = plan.halfWidthPx(), hh = plan.halfHeightPx();

    const QPoint a = pixelOf(plan, 4, 2), b = pixelOf(plan, 8, 2);
    EXPECT_TRUE(isBlack(img.pixel(a.x() - hw, a.y())));
    EXPECT_TRUE(isRed(img.pixel(b.x() - hw, b.y()))) << "selected";
    EXPECT_EQ(img.pixel(a.x() - hw + 2, a.y() + 2), qRgb(255, 255, 0));

    const QPoint c = pixelOf(plan, 4, 5);
    EXPECT_TRUE(isBlack(img.pixel(c.x() + hh + hh / 2, c.y()))) << "90: towards +X";
    EXPECT_FALSE(isBlack(img.pixel(c.x() - hh - hh / 2, c.y())));
    EXPECT_FALSE(isBlack(img.pixel(c.x(), c.y() - hw - hh / 2)));
    const QPoint d = pixelOf(plan, 8, 5);
    EXPECT_TRUE(isBlack(img.pixel(d.x(), d.y() - hh - hh / 2))) << "0: towards +Y, up";

    const QPoint e = pixelOf(plan, 10, 3.5);
    EXPECT_EQ(img.pixel(e.x() - hw / 2 - 4, e.y()), qRgb(0, 255, 255));
    EXPECT_EQ(img.pixel(e.x() - hw + 1, e.y() - hh + 1), plan.background.rgb()) << "ellipse";
}

TEST_F(PlanPicture, SvgPictureForTheReport) {
    QTemporaryDir dir;
    plan.AddObject(ObjWarmAirUnit, 0, 50, 10, 3, QStringLiteral("A")); // beyond the hall
    const QString file = dir.filePath(QStringLiteral("ZefrantDraw.svg"));
    plan.chooseZoom(QStringLiteral("300"));
    ASSERT_TRUE(plan.ExportPlanMetafile(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray svg = f.readAll();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 800 600\""));
    EXPECT_EQ(plan.zoomText(), QStringLiteral("300"));
    EXPECT_DOUBLE_EQ(plan.Scale(), 300);
    EXPECT_GT(plan.fittedView().xmax, 50) << "drawn at the default zoom, which holds the unit";
    EXPECT_FALSE(plan.SaveMetafile(dir.filePath(QStringLiteral("missing/plan.svg"))));

    // The dimensions with the separators of the report's language; the window's
    // own picture keeps the user's.
    f.close();
    ASSERT_TRUE(plan.ExportPlanMetafile(file, QLocale(QLocale::German, QLocale::Germany)));
    QFile german(file);
    ASSERT_TRUE(german.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(german.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("30,00 m"))) << "the length A";
    EXPECT_TRUE(text.contains(QStringLiteral("20,00 m"))) << "the width B";
    EXPECT_FALSE(text.contains(QStringLiteral("30.00 m")));
    ASSERT_TRUE(plan.ExportPlanMetafile(file, QLocale::c()));
    QFile c(file);
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(c.readAll()).contains(QStringLiteral("30.00 m")));
}

TEST_F(PlanPicture, ThePlanAndItsOverlayMakeTheWholePicture) {
    plan.AddObject(ObjWarmAirUnit, 90, 4, 2, 3, QStringLiteral("AX"));
    plan.AddObject(ObjDestratifier, 0, 8, 6, 7, QStringLiteral("K1"));
    plan.toImage();
    plan.mousePress(pixelOf(plan, 4, 2), Qt::LeftButton);
    ASSERT_TRUE(plan.dragging());
    plan.mouseMove(pixelOf(plan, 9, 5));
    const QImage whole = plan.toImage();
    QImage layered(plan.viewportSize(), QImage::Format_RGB32);
    layered.setDotsPerMeterX(whole.dotsPerMeterX());
    layered.setDotsPerMeterY(whole.dotsPerMeterY());
    QPainter p(&layered);
    plan.paint(p, PlanView::PaintLayer::Plan);
    const QImage planOnly = layered.copy();
    plan.paint(p, PlanView::PaintLayer::Overlay);
    p.end();
    EXPECT_NE(planOnly, whole) << "the outline is in the overlay";
    EXPECT_EQ(layered, whole);
}

// A typed zoom has no upper limit: far in, the band at the floor's corner is
// still hatched and the floor plain, with nothing drawn out of place.
TEST_F(PlanPicture, FarInTheBandIsStillHatchedAndTheFloorPlain) {
    for (const double scale : {81676.0, 1e6, 1e9}) {
        plan.setScale(scale);
        // The view's lower left corner is the world origin scaled down, so
        // the floor's corner (0, 0) sits inside the view; centre the band.
        const double mpp = plan.metresPerPixelX();
        const QPoint corner = pixelOf(plan, 0, 0);
        SCOPED_TRACE(scale);
        ASSERT_TRUE(QRect(QPoint(0, 0), QSize(800, 600)).contains(corner));
        const QImage img = plan.toImage();
        // Half a metre of band spans whole hatch intervals at these zooms:
        // the strip left of the floor shows both red lines and gaps.
        int red = 0, other = 0;
        for (int x = std::max(0, corner.x() - 200); x < corner.x() - 2; ++x)
            for (int y = std::max(0, corner.y() - 200); y < corner.y() - 2; ++y)
                (isRed(img.pixel(x, y)) ? red : other)++;
        if (0.5 / mpp > 200) {
            EXPECT_GT(red, 0) << "hatch lines in the band";
            EXPECT_GT(other, red) << "with gaps between them";
        }
        EXPECT_EQ(img.pixel(corner.x() + 20, corner.y() - 20), plan.background.rgb())
            << "the floor";
    }
}
