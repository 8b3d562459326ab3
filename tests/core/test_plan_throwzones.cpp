// The throw zones as the plan and the windows show them: the user's settings
// for them and the spread as typed, the figure and when it warns, the zones
// drawn and following a drag, and the session that keeps the settings.
#include "common/dialogs.h"
#include "common/numberformat.h"
#include "i18n/languagetable.h"
#include "i18n/texts.h"
#include "sessionsupport.h"
#include "shell/settings.h"
#include "units/planview.h"
#include "units/throwfigure.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace zf;

namespace {

constexpr double Pi = 3.14159265358979323846;

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

const QString General = QStringLiteral("Software/Quadrel/Zefrant/1.0/General/");

double sectorArea(double r, double spreadDeg) {
    return 0.5 * r * r * spreadDeg * Pi / 180;
}

// --- the settings -----------------------------------------------------------------

class ThrowSettingsTest : public ::testing::Test {
protected:
    QString file() const { return dir.filePath(QStringLiteral("settings.ini")); }
    void store(const char* key, const QVariant& value) {
        QSettings s(file(), QSettings::IniFormat);
        s.setValue(General + QLatin1String(key), value);
        s.setValue(General + QStringLiteral("Language"), QStringLiteral("EN"));
        s.sync();
    }
    QString stored(const char* key) const {
        return QSettings(file(), QSettings::IniFormat)
            .value(General + QLatin1String(key))
            .toString();
    }
    std::unique_ptr<UserSettings> readBack() {
        auto u = std::make_unique<UserSettings>(file());
        u->read([] { return BaseEN; });
        return u;
    }
    QTemporaryDir dir;
};

TEST_F(ThrowSettingsTest, StoredSpreadsOutsideTheRangeOrNotWholeNumbersReadAsTheDefault) {
    const struct {
        const char* stored;
        int read;
    } cases[] = {{"45", 45}, {" 60 ", 60}, {"20", 20},  {"90", 90}, {"19", 40},  {"91", 40},
                 {"0", 40},  {"45.5", 40}, {"abc", 40}, {"", 40},   {"-30", 40}, {"180", 40}};
    for (const auto& c : cases) {
        store("ThrowSpread", QString::fromLatin1(c.stored));
        EXPECT_EQ(readBack()->throwSpread, c.read) << c.stored;
    }
}

TEST_F(ThrowSettingsTest, BothAreKeptFromOneRunToTheNext) {
    store("Language", QStringLiteral("EN"));
    {
        const auto u = readBack();
        EXPECT_FALSE(u->showThrowZones) << "off unless the user ticked it";
        EXPECT_EQ(u->throwSpread, DefaultThrowSpreadSetting);
        u->showThrowZones = true;
        u->throwSpread = 65;
        u->write(QStringLiteral("/opt/zefrant/"));
    }
    EXPECT_EQ(stored("ShowThrowZones"), QStringLiteral("1"));
    EXPECT_EQ(stored("ThrowSpread"), QStringLiteral("65"));
    const auto again = readBack();
    EXPECT_TRUE(again->showThrowZones);
    EXPECT_EQ(again->throwSpread, 65);

    // A spread put into the state that the settings do not take is not
    // written as it is.
    again->throwSpread = 400;
    again->showThrowZones = false;
    again->write(QStringLiteral("/opt/zefrant/"));
    EXPECT_EQ(stored("ThrowSpread"), QStringLiteral("40"));
    EXPECT_EQ(stored("ShowThrowZones"), QStringLiteral("0"));
    store("ShowThrowZones", QStringLiteral("yes"));
    EXPECT_FALSE(readBack()->showThrowZones) << "a text that is no number counts as missing";
}

TEST_F(ThrowSettingsTest, TheToolReadsOnlyTheZonesAndChangesNothing) {
    // The previous program's tree, which a full read takes over and removes.
    {
        QSettings s(file(), QSettings::IniFormat);
        s.setValue(QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/Language"),
                   QStringLiteral("GE"));
        s.setValue(QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/ThrowSpread"),
                   QStringLiteral("55"));
        s.setValue(QStringLiteral("Software/T_NOVA/Zefrant/1.0/General/ShowThrowZones"),
                   QStringLiteral("1"));
    }
    auto readAll = [](const QString& f) {
        QFile in(f);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const QByteArray before = readAll(file());
    {
        UserSettings u(file());
        u.readThrowZones();
        EXPECT_EQ(u.throwSpread, 55);
        EXPECT_TRUE(u.showThrowZones);
        EXPECT_FALSE(u.migrated);
    }
    EXPECT_EQ(readAll(file()), before) << "the store is left as it was";

    UserSettings none(dir.filePath(QStringLiteral("none.ini")));
    none.readThrowZones();
    EXPECT_EQ(none.throwSpread, DefaultThrowSpreadSetting);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.ini")))) << "nothing written";
}

TEST(ThrowSpreadText, WholeDegreesFrom20To90OrTheProgramsMessage) {
    setLanguage(BaseEN);
    const struct {
        const char* text;
        std::optional<int> taken;
    } cases[] = {{"45", 45},
                 {" 20 ", 20},
                 {"90", 90},
                 {"60°", 60},
                 {"60 °", 60},
                 {"19", std::nullopt},
                 {"91", std::nullopt},
                 {"0", std::nullopt},
                 {"-40", std::nullopt},
                 {"+40", std::nullopt},
                 {"40.5", std::nullopt},
                 {"40,0", std::nullopt},
                 {"4e1", std::nullopt},
                 {"", std::nullopt},
                 {"forty", std::nullopt},
                 {"045", 45},
                 {"1234567890", std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QString refusal;
        EXPECT_EQ(parseThrowSpreadSetting(QString::fromUtf8(c.text), &refusal), c.taken);
        EXPECT_EQ(refusal.isEmpty(), c.taken.has_value());
    }
    QString refusal;
    parseThrowSpreadSetting(QStringLiteral(" 95 "), &refusal);
    EXPECT_EQ(refusal, QStringLiteral("\"95\" cannot be used as the spread of the throw zones: "
                                      "enter a whole number of degrees from 20 to 90."));
    setLanguage(BaseCZ);
    parseThrowSpreadSetting(QStringLiteral("12,5"), &refusal);
    EXPECT_EQ(refusal, QStringLiteral("„12,5“ nelze použít jako úhel rozptylu proudu: zadejte "
                                      "celé číslo stupňů od 20 do 90."));
    for (int base : {BaseGE, BasePL, BaseRU}) {
        setLanguage(base);
        parseThrowSpreadSetting(QStringLiteral("7"), &refusal);
        EXPECT_TRUE(refusal.contains(QStringLiteral("7")) &&
                    refusal.contains(QStringLiteral("20")) &&
                    refusal.contains(QStringLiteral("90")))
            << refusal.toStdString();
    }
    setLanguage(BaseEN);
}

// --- the figure -------------------------------------------------------------------

CoverageFigures coverage(double percent, bool zones = true) {
    CoverageFigures f;
    f.floorArea = 1000;
    f.coveredArea = 10 * percent;
    f.coveredPercent = percent;
    if (zones)
        f.units.push_back({1, 12, 10 * percent});
    return f;
}

TEST(ThrowFigure, OneDecimalWithTheLanguagesSeparatorInEveryLanguage) {
    const struct {
        int base;
        const char* text;
    } cases[] = {{BaseEN, "Floor reached by the throw: 69.2 %"},
                 {BaseCZ, "Podlaha v dosahu proudu: 69,2 %"},
                 {BaseGE, "Von der Wurfweite erreichte Bodenfläche: 69,2 %"},
                 {BasePL, "Podłoga w zasięgu strumienia: 69,2 %"},
                 {BaseRU, "Пол в пределах дальнобойности струи: 69,2 %"}};
    for (const auto& c : cases) {
        const ThrowFigure f = throwFigure(coverage(69.2), c.base, localeOfLanguage(c.base));
        EXPECT_EQ(f.text, QString::fromUtf8(c.text)) << c.base;
        EXPECT_TRUE(f.low);
        EXPECT_EQ(f.hint, formatText(LanguageTextIn(c.base, 3452), {80}));
        EXPECT_TRUE(f.hint.contains(QStringLiteral("80 %"))) << f.hint.toStdString();
        // The windows' own language and separator.
        setLanguage(c.base);
        EXPECT_EQ(throwFigure(coverage(69.2)).text, f.text);
    }
    setLanguage(BaseSL);
    EXPECT_EQ(throwFigure(coverage(69.2)).text,
              QStringLiteral("Floor reached by the throw: 69,2 %"))
        << "Slovak shows the English captions, its numbers as Slovak writes them";
    setLanguage(BaseRU1250);
    EXPECT_EQ(throwFigure(coverage(69.2)).text,
              QStringLiteral("Пол в пределах дальнобойности струи: 69,2 %"));
    setLanguage(BaseEN);

    auto text = [](double percent) { return throwFigure(coverage(percent)).text; };
    EXPECT_TRUE(text(100).endsWith(QStringLiteral(": 100.0 %")));
    EXPECT_TRUE(text(0.04).endsWith(QStringLiteral(": 0.0 %")));
    EXPECT_TRUE(text(12.25).endsWith(QStringLiteral(": 12.3 %"))) << "halves away from zero";
    EXPECT_TRUE(text(std::nan("")).endsWith(QStringLiteral(": 0.0 %")));
}

TEST(ThrowFigure, UnderEightyPerCentAsWrittenWarnsAndWithoutZonesNothingIsSaid) {
    EXPECT_TRUE(throwFigure(coverage(0)).low);
    EXPECT_TRUE(throwFigure(coverage(79.94)).low);
    EXPECT_FALSE(throwFigure(coverage(79.95)).low) << "written as 80.0 %, which is no warning";
    EXPECT_FALSE(throwFigure(coverage(80)).low);
    EXPECT_TRUE(throwFigure(coverage(80)).hint.isEmpty());
    EXPECT_FALSE(throwFigure(coverage(100)).low);
    EXPECT_EQ(throwFigure(coverage(69.24)).percent, 69.2);

    const ThrowFigure none = throwFigure(coverage(0, false));
    EXPECT_FALSE(none.shown) << "no unit with a zone: nothing to say";
    EXPECT_FALSE(none.low);
    EXPECT_TRUE(none.text.isEmpty());
    CoverageFigures noFloor = coverage(0);
    noFloor.floorArea = 0;
    EXPECT_FALSE(throwFigure(noFloor).shown);
    EXPECT_TRUE(throwFigure(coverage(0)).shown) << "a zone cut to nothing still says 0.0 %";
}

// --- the plan ---------------------------------------------------------------------

// A 20 x 10 m hall in an 800 x 500 plot area with one warm-air unit at the
// middle of the left wall blowing along +X, its throw 12 m.
PlanView oneUnitHall() {
    ensureGuiApplication();
    PlanView p;
    p.setViewportSize(QSize(800, 500));
    p.SetHall(20, 10, 6);
    p.AddObject(ObjWarmAirUnit, 90, 0, 5, 3, QStringLiteral("AX"), false);
    p.object(0).throwM = 12;
    return p;
}

// The colour a translucent fill leaves over white.
QRgb over(QColor fill, QColor under = QColor(255, 255, 255)) {
    const double a = fill.alphaF();
    auto mix = [a](int f, int u) { return int(std::lround(f * a + u * (1 - a))); };
    return qRgb(mix(fill.red(), under.red()), mix(fill.green(), under.green()),
                mix(fill.blue(), under.blue()));
}

bool near(QRgb a, QRgb b, int tolerance = 3) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

int countNear(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += near(image.pixel(x, y), colour);
    return n;
}

QRgb pixelAt(const PlanView& p, const QImage& image, double x, double y) {
    const QPointF f = p.toPixel(x, y);
    return image.pixel(int(std::floor(f.x())), int(std::floor(f.y())));
}

TEST(PlanThrowZones, DrawnOnlyWhenTickedWithTheFloorTheyLeaveMarked) {
    const QRgb zoneColour = over(PlanView::throwZoneFill());
    const QRgb unreachedColour = over(PlanView::unreachedFloorFill());
    PlanView p = oneUnitHall();
    const QImage off = p.toImage();
    EXPECT_EQ(countNear(off, zoneColour), 0);
    EXPECT_EQ(countNear(off, unreachedColour), 0);

    p.ShowThrowZones = true;
    const QImage on = p.toImage();
    const int zone = countNear(on, zoneColour);
    const int unreached = countNear(on, unreachedColour);
    ASSERT_GT(zone, 1000);
    ASSERT_GT(unreached, 1000);
    // The sector of 12 m at 40 degrees is 50.27 m2 of the 200 m2 floor; the
    // symbol and the edges take a few pixels of each.
    EXPECT_NEAR(double(zone) / (zone + unreached), sectorArea(12, 40) / 200, 0.02);
    // In front of the unit, not behind it or beside the sector.
    EXPECT_TRUE(near(pixelAt(p, on, 8, 5), zoneColour));
    EXPECT_TRUE(near(pixelAt(p, on, 11.5, 5.3), zoneColour));
    EXPECT_TRUE(near(pixelAt(p, on, 8, 9.5), unreachedColour));
    EXPECT_TRUE(near(pixelAt(p, on, 14, 5), unreachedColour)) << "beyond the throw";
    EXPECT_TRUE(near(pixelAt(p, on, 19, 1), unreachedColour));
    EXPECT_FALSE(near(pixelAt(p, on, 10, -0.25), unreachedColour)) << "the wall is not floor";

    // Two overlapping zones: where both reach the colour is deeper.
    p.AddObject(ObjWarmAirUnit, 90, 0, 6, 3, QStringLiteral("AX"), false);
    p.object(1).throwM = 12;
    const QImage both = p.toImage();
    EXPECT_TRUE(near(pixelAt(p, both, 8, 5.5),
                     over(PlanView::throwZoneFill(), QColor(over(PlanView::throwZoneFill())))));

    // No throw, an MK unit and a destratifier: the whole floor is unreached.
    PlanView q = oneUnitHall();
    q.ShowThrowZones = true;
    q.object(0).throwM = 0;
    q.AddObject(ObjMixingUnit, 90, 0, 2, 3, QStringLiteral("MK"), false);
    q.AddObject(ObjDestratifier, 0, 10, 5, 6, QStringLiteral("D"), false);
    q.object(1).throwM = 12;
    q.object(2).throwM = 12;
    const QImage bare = q.toImage();
    EXPECT_EQ(countNear(bare, zoneColour), 0);
    EXPECT_GT(countNear(bare, unreachedColour), zone + unreached - 2000);
    EXPECT_FALSE(throwFigure(q.throwFigures()).shown);
}

TEST(PlanThrowZones, TheSpreadWidensTheZones) {
    PlanView p = oneUnitHall();
    EXPECT_NEAR(p.throwFigures().coveredArea, sectorArea(12, 40), 1e-6);
    EXPECT_FALSE(p.setThrowSpread(0));
    EXPECT_FALSE(p.setThrowSpread(std::nan("")));
    EXPECT_EQ(p.throwSpread(), 40);
    ASSERT_TRUE(p.setThrowSpread(20));
    EXPECT_NEAR(p.throwFigures().coveredArea, sectorArea(12, 20), 1e-6);
    EXPECT_EQ(p.throwFigures().spreadDeg, 20);
    PlanView copy = p;
    ASSERT_TRUE(copy.setThrowSpread(45));
    EXPECT_NEAR(copy.throwFigures().coveredArea, sectorArea(12, 45), 1e-6);
    EXPECT_NEAR(p.throwFigures().coveredArea, sectorArea(12, 20), 1e-6) << "a copy is its own";
}

TEST(PlanThrowZones, AZoneFollowsADragAndComesBackWithEscape) {
    PlanView p = oneUnitHall();
    p.ShowThrowZones = true;
    p.toImage(); // the symbols' boxes
    const double before = p.throwFigures().coveredPercent;
    const QPoint at = p.toPixel(0, 5).toPoint();
    p.mousePress(at, Qt::LeftButton);
    ASSERT_TRUE(p.dragging());
    EXPECT_DOUBLE_EQ(p.throwFigures().coveredPercent, before) << "not moved yet";
    // To the middle of the hall, still blowing along +X: the sector is whole.
    const QPoint to = p.toPixel(6, 5).toPoint();
    p.mouseMove(to);
    const ThrowZone* z = p.throwCoverage().zone(0);
    ASSERT_TRUE(z);
    EXPECT_NEAR(z->apexX, p.toWorld(to).x(), 1e-9);
    EXPECT_NEAR(z->apexY, p.toWorld(to).y(), 1e-9);
    EXPECT_NEAR(p.throwFigures().coveredArea, sectorArea(12, 40), 0.01);
    // Into the far corner: most of the sector lies beyond the walls.
    p.mouseMove(p.toPixel(19, 9).toPoint());
    EXPECT_LT(p.throwFigures().coveredPercent, 2);
    const QImage dragged = p.toImage();
    EXPECT_TRUE(near(pixelAt(p, dragged, 4, 5), over(PlanView::unreachedFloorFill())))
        << "the old place is left";
    p.keyPress(Qt::Key_Escape);
    EXPECT_FALSE(p.dragging());
    EXPECT_DOUBLE_EQ(p.throwFigures().coveredPercent, before);
}

// Whatever moved the symbols (drops, which reorder the list, the properties,
// undo), the zones the plan shows are those of its symbols now.
TEST(PlanThrowZones, KeptInStepWithTheSymbolsThroughAnyChange) {
    ensureGuiApplication();
    PlanView p;
    p.setViewportSize(QSize(900, 600));
    p.SetHall(60, 30, 8);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(-2, 62), y(-2, 32), t(4, 25);
    std::uniform_int_distribution<int> angle(0, 359), pick(0, 39), kind(0, 9);
    for (int i = 0; i < 40; ++i) {
        p.AddObject(kind(random) == 0 ? ObjMixingUnit : ObjWarmAirUnit, angle(random), x(random),
                    y(random), 3, QStringLiteral("AX"), false);
        p.object(i).throwM = i % 7 == 0 ? 0 : t(random);
    }
    p.AutoAlign = false;
    auto fresh = [&p] {
        std::vector<ThrowUnit> units;
        for (const PlanSymbol& s : p.objects())
            units.push_back({s.number, s.kind, s.x, s.y, double(s.angle), s.throwM});
        return computeThrowCoverage(units, p.hallLength(), p.hallWidth(), p.throwSpread());
    };
    for (int step = 0; step < 80; ++step) {
        const int i = pick(random);
        switch (step % 5) {
        case 0:
            p.DropObject(i, x(random), y(random)); // to the end of the list
            break;
        case 1:
            p.object(i).angle = angle(random); // as the properties dialog does
            break;
        case 2:
            p.MoveObject(i, pick(random), float(x(random)), float(y(random)), 3, angle(random));
            break;
        case 3:
            p.object(i).throwM = t(random);
            break;
        case 4: { // a whole placement undone
            std::vector<PlanSymbol> all = p.objects();
            for (PlanSymbol& s : all)
                s.x = float(x(random));
            p.setObjects(all);
            break;
        }
        }
        const CoverageFigures shown = p.throwFigures();
        const CoverageFigures want = fresh();
        ASSERT_NEAR(shown.coveredArea, want.coveredArea, 1e-6) << "step " << step;
        ASSERT_EQ(shown.units.size(), want.units.size());
    }
    p.SetHall(40, 30, 8);
    EXPECT_NEAR(p.throwFigures().coveredArea, fresh().coveredArea, 1e-6) << "a new hall";
    p.ClearObjects(false);
    EXPECT_EQ(p.throwFigures().coveredArea, 0);
}

// --- the session --------------------------------------------------------------------

class ThrowSessionTest : public test::SessionTest {};

TEST_F(ThrowSessionTest, TheSettingsReachThePlanAndAreWrittenAtOnce) {
    const QString file = work.filePath(QStringLiteral("settings.ini"));
    {
        QSettings s(file, QSettings::IniFormat);
        s.setValue(General + QStringLiteral("Language"), QStringLiteral("EN"));
        s.setValue(General + QStringLiteral("ShowThrowZones"), QStringLiteral("1"));
        s.setValue(General + QStringLiteral("ThrowSpread"), QStringLiteral("30"));
    }
    UserSettings settings(file);
    settings.read([] { return BaseEN; });
    session->setSettings(&settings);
    EXPECT_TRUE(session->showThrowZones());
    EXPECT_TRUE(session->plan().ShowThrowZones);
    EXPECT_EQ(session->throwSpread(), 30);
    EXPECT_EQ(session->plan().throwSpread(), 30);
    auto storedValue = [&file](const char* key) {
        return QSettings(file, QSettings::IniFormat).value(General + QLatin1String(key)).toString();
    };

    test::RecordingView view(*session);
    session->setShowThrowZones(false);
    EXPECT_FALSE(session->plan().ShowThrowZones);
    EXPECT_EQ(storedValue("ShowThrowZones"), QStringLiteral("0"));

    // The spread as typed: refused with the program's message, nothing changed.
    const size_t boxes = dlg.boxes.size();
    EXPECT_FALSE(session->applyThrowSpreadText(QStringLiteral("95")));
    ASSERT_EQ(dlg.boxes.size(), boxes + 1);
    QString refusal;
    parseThrowSpreadSetting(QStringLiteral("95"), &refusal);
    EXPECT_EQ(dlg.last().text, refusal);
    EXPECT_TRUE(dlg.last().flags & MbError);
    EXPECT_FALSE(session->setThrowSpread(19));
    EXPECT_EQ(session->throwSpread(), 30) << "refused: nothing changes";
    EXPECT_EQ(session->plan().throwSpread(), 30);
    EXPECT_EQ(storedValue("ThrowSpread"), QStringLiteral("30"));
    ASSERT_TRUE(session->applyThrowSpreadText(QStringLiteral(" 75 ")));
    EXPECT_EQ(dlg.boxes.size(), boxes + 1) << "no message for a spread taken";
    EXPECT_EQ(session->plan().throwSpread(), 75);
    EXPECT_EQ(storedValue("ThrowSpread"), QStringLiteral("75"));
    session->setSettings(nullptr);
}

TEST_F(ThrowSessionTest, WithoutSettingsTheDefaultsHold) {
    EXPECT_FALSE(session->showThrowZones());
    EXPECT_EQ(session->throwSpread(), DefaultThrowSpreadDeg);
    EXPECT_EQ(session->plan().throwSpread(), DefaultThrowSpreadDeg);
    EXPECT_TRUE(session->setThrowSpread(50)) << "kept for the run";
    EXPECT_EQ(session->plan().throwSpread(), 50);
}

} // namespace
