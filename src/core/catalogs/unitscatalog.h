#pragma once

#include "common/viewevents.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QStandardItemModel;

namespace zf {

class TZFData;

// What changed in the units catalog viewer (stateChanged of Window::UnitsCatalog).
enum UnitsCatalogChange : unsigned {
    UnitsCatalogTree = 1u << 0,    // the tree was loaded from its file
    UnitsCatalogDetails = 1u << 1, // name, description, technical data lines, dimension row
    UnitsCatalogPictures = 1u << 2 // pictures, tabs, visible dimension columns
};

// A picture control's memory: the file it shows, so that the same file is not
// loaded twice in a row. `loads` counts the files actually loaded.
struct PictureMemory {
    QString file; // the file shown; empty: the picture is cleared
    int loads = 0;
};

// The file a picture name stands for: the file itself, or, for a name with
// another extension (the .bmp and .jpg names of the catalog's tables), an SVG or
// PNG of the same base name. Empty when there is none.
QString resolvePictureFile(const QString& path);

// If the file exists, loads it into the picture unless the picture already shows
// it; otherwise clears the picture. Whether the file exists.
bool LoadPictureOnce(const QString& file, PictureMemory& picture);

// One line of the list of technical data (lvParams).
struct SpecLine {
    QString caption;
    QString value;
};

// The units catalog viewer (TfrmKatalog) without its widgets: the view choice
// and the tree read from the tree files of the language, and what selecting a
// node shows: the family's name, description and photo, the technical data lines
// of the type, its dimension row with the columns of its family, the dimension
// drawing, the air velocity and temperature pictures with their tabs. It only
// reads data.
class UnitsCatalog {
public:
    explicit UnitsCatalog(TZFData& data);
    ~UnitsCatalog();
    UnitsCatalog(const UnitsCatalog&) = delete;
    UnitsCatalog& operator=(const UnitsCatalog&) = delete;

    void setViewEvents(ViewEvents* events) { events_ = events ? events : &noViewEvents(); }

    // acKatalogBrisant: opens tBrisantRozmery (the grid's table); the session
    // then shows the window without blocking the program.
    void open();
    // The window closed: tBrisantRozmery is closed.
    void closed();

    // --- the tree ---
    enum View { ByType = 0, ByApplication = 1 };
    View view() const { return view_; }
    // rgView: loads the tree of the view in the current language from its file,
    // replacing every node; a missing file leaves the tree as it was.
    void chooseView(View view);
    // The tree file of a view in the current language (the code only, so base
    // 50000 reads the RU files).
    static QString treeFile(View view);
    QStandardItemModel& tree() { return *tree_; }
    // Reads a tree file into the model: the number of leading tabs or blanks of
    // a line is its node's depth. False when the file cannot be read.
    static bool loadTree(const QString& file, QStandardItemModel& model);

    // --- selecting a node ---
    void selectNode(const QString& text);
    // ShowTypeDetails: the dimension row, the pictures and the tabs of a type.
    void ShowTypeDetails(const QString& type);
    // The key of tBrisant for a node text: the text before " -", except for MK.
    static QString brisantKey(const QString& type);
    // The family key of a node text and the dimension columns its family shows;
    // matched is false when no test matched (the key is then the text itself).
    static QString familyKey(const QString& type, bool* matched = nullptr);
    static QStringList familyColumns(const QString& familyKey);
    // Every dimension column of tBrisantRozmery, in table order.
    static const QStringList& dimensionColumns();

    // --- what the window shows ---
    // DBTextLabel1: the name of the family row located in tGeneral, in the
    // column of the language ("Name" + code + suffix); empty before the first.
    QString familyName() const;
    const QString& description() const { return description_; } // lbPopis
    const std::vector<SpecLine>& specLines() const { return specLines_; }
    bool specVisible() const { return specVisible_; }
    // DBTextLabel2: the Typ of the located dimension row.
    QString dimensionType() const;
    // The columns of the dimension grid that are shown.
    const QStringList& visibleColumns() const { return visibleColumns_; }
    bool tabVelocityVisible() const { return velocityTab_; }
    bool tabTemperatureVisible() const { return temperatureTab_; }
    const PictureMemory& photo() const { return photo_; }             // imFoto
    const PictureMemory& drawing() const { return drawing_; }         // imRozmery
    const PictureMemory& velocity() const { return velocity_; }       // imRychlost
    const PictureMemory& velocityLegend() const { return legend_; }   // im_Legenda_r
    const PictureMemory& temperature() const { return temperature_; } // imTeplota
    // The fixed legend of the temperature tab.
    static QString temperatureLegendFile();

private:
    void applyLanguage();
    void technicalData(const QString& node);

    TZFData& data_;
    ViewEvents* events_ = &noViewEvents();
    std::unique_ptr<QStandardItemModel> tree_;
    View view_ = ByType;
    QString description_;
    std::vector<SpecLine> specLines_;
    bool specVisible_ = false;
    QStringList visibleColumns_;
    bool velocityTab_ = true;
    bool temperatureTab_ = true;
    PictureMemory photo_, drawing_, velocity_, legend_, temperature_;
    QString lastDimensionType_;
    bool generalLocated_ = false; // the name label is empty until a family was found
    int languageHandle_ = 0;
};

} // namespace zf
