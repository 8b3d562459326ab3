#pragma once

#include <QColor>
#include <QLocale>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QtCore/qnamespace.h>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "units/throwzones.h"

class QImage;
class QPainter;
class QTransform;

namespace zf {

// Kinds of placed objects (ObjType).
enum ObjKind : int { ObjWarmAirUnit = 0, ObjMixingUnit = 1, ObjDestratifier = 2 };

// One unit on the plan. Coordinates are metres on the hall floor, single
// precision as the plan has always kept them.
struct PlanSymbol {
    int number = 0; // 1-based, IDJednotky of its row; kept when the symbol moves
    int kind = ObjWarmAirUnit;
    QString numberText; // at most 16 characters
    QString typeText;   // Typ, at most 32 characters
    float x = 0, y = 0, z = 0;
    int angle = 0;     // whole degrees, clockwise from +Y
    double throwM = 0; // the throw its row's Dosah gives; 0: none (no throw zone)
    bool selected = false;
    QRect screenBox; // as last drawn: left, top, 2 hw, 2 hh; empty before the first paint
};

enum class MouseMode { mmDefault, mmZoom, mmPan, mmSelect, mmMove };

// Where a dropped unit goes with AutoAlign: rule is the number of the first rule
// that matched, 0 when none did (the rounded position and the old angle stay).
struct AlignedDrop {
    float x = 0, y = 0;
    int angle = 0;
    int rule = 0;
};
AlignedDrop alignDroppedUnit(double x, double y, int angle, double A, double B, double W);

// A visible world range in metres.
struct WorldRange {
    double xmin = 0, xmax = 1, ymin = 0, ymax = 1;
};

// The plan of the hall: its walls, the unit symbols, the view transform (fit,
// Scale, scroll and pan), the zoom list, the pointer rules and the one paint
// routine that the window, the image and the SVG picture all use. It holds no
// data access; ProjectUnits connects it to tJednotky.
class PlanView {
public:
    PlanView();

    // --- the hall ---
    // Stores the hall with a wall thickness of 0.5 m and fits the view to the
    // floor with two wall thicknesses around it. Scale stays as it is.
    void SetHall(double A, double B, double H);
    double hallLength() const { return A_; }
    double hallWidth() const { return B_; }
    double hallHeight() const { return H_; }
    double wallThickness() const { return W_; }

    // --- symbols ---
    // Appends a symbol numbered count() + 1; returns its index.
    int AddObject(int kind, int angle, double x, double y, double z, const QString& typ,
                  bool repaint = true);
    void ClearObjects(bool repaint = true);
    // The symbols as they are given, numbers included; repaints.
    void setObjects(std::vector<PlanSymbol> symbols);
    int count() const { return int(symbols_.size()); }
    const PlanSymbol& object(int index) const { return symbols_.at(size_t(index)); }
    PlanSymbol& object(int index) { return symbols_.at(size_t(index)); }
    const std::vector<PlanSymbol>& objects() const { return symbols_; }
    // The last symbol whose remembered screen box holds the pixel; -1 if none.
    int ObjectAt(int x, int y) const;
    void setSelected(int index, bool selected);
    void clearSelection();

    // A drop at the world position: raises OnPlotModified, sets PlanChanged,
    // clears the selection flag, aligns with AutoAlign and moves the symbol to
    // the end of the list. Returns the symbol's new index.
    int DropObject(int index, double x, double y);
    // Puts the symbol at index to position `to` in the list with the given
    // place, as it is (no alignment, no modified event); repaints. For undo.
    void MoveObject(int index, int to, float x, float y, float z, int angle);

    // --- view ---
    void setViewportSize(QSize size); // refits the last fitted box
    QSize viewportSize() const { return size_; }
    QRect plotArea() const { return QRect(QPoint(0, 0), size_); }
    // The fitted view becomes the box widened to the plot area's shape with a
    // margin of 2.5 % on the limiting axis; the visible range follows Scale.
    void fitBox(double x0, double y0, double x1, double y1);
    const WorldRange& fittedView() const { return fitted_; }
    const WorldRange& visibleRange() const { return visible_; }
    double metresPerPixelX() const;
    double metresPerPixelY() const;
    QPointF toPixel(double x, double y) const;
    QPointF toWorld(QPointF pixel) const;

    double Scale() const { return scale_; }
    void setScale(double scale); // per cent; the fitted view's ends divided by scale / 100
    void ZoomIn();
    void ZoomOut();
    void ZoomToDefault();
    // A new plan window's start: scale and zoom list 100, the scroll bars at
    // their first positions.
    void resetZoomAndScrollBars();
    // The text of the zoom list, and choosing or typing an entry.
    const QString& zoomText() const { return zoomText_; }
    void chooseZoom(const QString& text);
    static const QStringList& zoomEntries();

    // Scroll bars: horizontal -1000 ... 1000 sets the left end to position div 10
    // metres; vertical 0 ... 100 (50 at start) shifts 10 pixels per step.
    int horizontalScroll() const { return hScroll_; }
    void setHorizontalScroll(int position);
    int verticalScroll() const { return vScroll_; }
    void setVerticalScroll(int position);
    // Wheel notches: positive turns away from the user and shows what lies
    // above; 10 pixels per notch.
    void wheel(int notches);
    // Shows the pixel rectangle fitted; false when it is not more than 2 pixels
    // wide and high.
    bool zoomToPixelRect(const QRect& rect);
    void panByPixels(QPoint delta);

    // --- pointer and keys ---
    enum class Cursor { Arrow, Hand, NotAllowed, Pan };
    void mousePress(QPoint p, Qt::MouseButton button);
    void mouseMove(QPoint p);
    void mouseRelease(QPoint p, Qt::MouseButton button);
    // The symbol a double-click opens: the one under the last press, or -1.
    int doubleClickTarget() const;
    // A double click at a pixel: that is the last press; its symbol or -1.
    int doubleClickAt(QPoint p);
    // How far the pointer moves from its press before a drag is a move and a
    // zoom rectangle is shown, in pixels.
    static constexpr int DragThreshold = 3;
    // "+", "-", "*" and Escape; false for other keys.
    bool keyPress(int key);
    bool dragging() const { return dragIndex_ >= 0; }
    int dragIndex() const { return dragIndex_; }
    // The rubber band of mmZoom once shown, else a null rectangle.
    QRect rubberBand() const;
    QString statusText(QPoint p) const; // " X=... m  Y=... m"
    QString hintText(QPoint p) const;   // empty: no hint
    Cursor cursorAt(QPoint p) const;
    int popupIndex() const { return popupIndex_; }

    // --- throw zones ---
    // With ShowThrowZones the plan draws the throw zone of every warm-air unit
    // with a throw, translucent in the unit's colour, and marks the floor that
    // no zone reaches.
    bool ShowThrowZones = false;
    // The spread of the zones; false, and nothing changes, for one that
    // isValidThrowSpread refuses.
    bool setThrowSpread(double degrees);
    double throwSpread() const { return spread_; }
    // The zones as the plan shows them: every unit where its symbol is, a
    // dragged one where its outline is. Brought up to date when asked for: a
    // drag frame, a drop or an undo computes again only the zones of the units
    // that moved. Valid until the next change of the plan.
    const ThrowCoverage& throwCoverage() const;
    CoverageFigures throwFigures() const;
    // The colours: a zone is the warm-air symbol's yellow, translucent, with a
    // darker edge; the floor no zone reaches is tinted a cold blue.
    static QColor throwZoneFill();
    static QColor throwZoneEdge();
    static QColor unreachedFloorFill();

    // --- painting ---
    // Draws the plan into the plot area at the painter's origin and remembers the
    // symbols' screen boxes. A window may draw the plan once and only the
    // overlay (the dragged outline, the zoom rectangle) over it while the
    // pointer moves. With the throw zones shown, a dragged unit's zone follows
    // the outline: then the plan comes in three layers, Floor (background,
    // walls, floor, dimensions and the floor that no other zone reaches), Reach
    // (the dragged unit's zone, drawn each frame) and Units (the other zones and
    // the symbols, for a transparent device); Plan is the three together.
    enum class PaintLayer { All, Plan, Overlay, Floor, Reach, Units };
    void paint(QPainter& painter, PaintLayer layer = PaintLayer::All);
    // Changes whenever what paint() draws changes, the view apart: a window may
    // keep a picture of the plan for as long as this and the view stay.
    quint64 drawingKey() const;
    QImage toImage(); // the plan at the viewport's size
    // The plan as an SVG picture of the viewport's size; false when it cannot be
    // written.
    bool SaveMetafile(const QString& path);
    // The plan at the default zoom, for the report, its dimensions written with
    // the locale's separators; the zoom list's text is then chosen again.
    bool ExportPlanMetafile(const QString& path, const QLocale& locale = QLocale());

    // Half sizes of the symbols in pixels at the current view.
    int halfWidthPx() const;
    int halfHeightPx() const;
    // The twelve points of a warm-air unit (the first five the rectangle of an MK
    // unit) around a centre in screen pixels, turned by the angle.
    static QPolygon symbolPolygon(int kind, QPoint centre, int hw, int hh, int angle);

    bool AutoAlign = true;
    bool ShowLabels = false;
    MouseMode mouseMode = MouseMode::mmMove;
    bool PlanChanged = false;
    QColor background = QColor(255, 255, 255); // the window background colour

    std::function<void()> OnPlotModified;
    // After a drop: the index the symbol had and the symbol as it was before.
    std::function<void(int fromIndex, const PlanSymbol& before)> onDropped;
    std::function<void()> onRepaint;
    std::function<void(int index, QPoint at)> onPopup;

    // Asks the window to paint the plan again (onRepaint).
    void repaint();

private:
    void applyScale();
    void setZoomNumberText();
    void paintSymbols(QPainter& painter);
    void paintOverlays(QPainter& painter);
    void paintFloor(QPainter& painter);
    // The floor no zone reaches (while a unit is dragged: no other zone); the
    // zone of the dragged unit; the zones of every other unit (or of all).
    void paintUnreached(QPainter& painter);
    void paintDraggedZone(QPainter& painter);
    void paintZones(QPainter& painter, bool withDragged);
    QTransform worldToPixel() const;
    void syncZones() const;
    bool movedFromPress(QPoint p) const;

    double A_ = 0, B_ = 0, H_ = 0, W_ = 0.5;
    std::vector<PlanSymbol> symbols_;
    QSize size_{800, 600};
    double box_[4] = {-1, -1, 1, 1}; // the box last fitted
    WorldRange fitted_, visible_;
    double scale_ = 100;
    QString zoomText_ = QStringLiteral("100");
    // The separators of the dimensions while the report's picture is drawn.
    std::optional<QLocale> pictureLocale_;
    int hScroll_ = 0;
    int vScroll_ = 50;

    QPoint lastPress_{-1, -1};
    int dragIndex_ = -1;
    QPoint dragOffset_; // symbol centre minus pointer
    QPoint dragPointer_;
    bool dragMoved_ = false; // beyond DragThreshold since the press
    bool zooming_ = false;
    bool rubberShown_ = false;
    QPoint zoomStart_, zoomEnd_;
    bool panning_ = false;
    QPoint panLast_;
    int popupIndex_ = -1;

    double spread_ = DefaultThrowSpreadDeg;
    // The zones of the symbols, made when first asked for; a copy of the plan
    // makes its own.
    class ZoneCache {
    public:
        ZoneCache();
        ZoneCache(const ZoneCache&);
        ZoneCache& operator=(const ZoneCache&);
        ~ZoneCache();
        struct Data;
        std::unique_ptr<Data> d;
    };
    mutable ZoneCache zones_;
};

} // namespace zf
