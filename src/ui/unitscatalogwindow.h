#pragma once

#include "session/projectsession.h"

#include <QDialog>
#include <QFrame>
#include <QImage>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSplitter;
class QSvgRenderer;
class QTabWidget;
class QTreeView;
class QTreeWidget;

namespace zf {

class DatasetGrid;
class DatasetModel;

// A picture of a file (SVG, PNG, BMP or JPEG), scaled to fit with its
// proportions, sharp at any scaling. It keeps the file it shows and loads a file
// only when it is another one.
class CatalogPicture : public QFrame {
    Q_OBJECT
public:
    explicit CatalogPicture(QWidget* parent = nullptr);
    ~CatalogPicture() override;

    // Shows the file; an empty name clears the picture.
    void setFile(const QString& file);
    const QString& file() const { return file_; }
    bool isEmpty() const { return !svg_ && image_.isNull(); }
    int loads() const { return loads_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString file_;
    std::unique_ptr<QSvgRenderer> svg_;
    QImage image_;
    int loads_ = 0;
};

// The units catalog viewer (TfrmKatalog), always on top, not modal: the view
// choice and the tree on the left, the four tabs on the right. A view of the
// session's UnitsCatalog, which reads the tree files and the catalog's tables
// and holds what is shown.
class TfrmKatalog : public QDialog, public SessionView {
    Q_OBJECT
public:
    explicit TfrmKatalog(ProjectSession& session, QWidget* parent = nullptr);
    ~TfrmKatalog() override;

    void applyLanguage(int base);

    // SessionView
    void showWindow(Window window, bool shown) override;
    void stateChanged(Window window, unsigned what) override;

protected:
    void done(int result) override;

private:
    void showDetails();
    void showPictures();
    void fitTree();
    QWidget* picturePage(const char* name, QLabel** title, CatalogPicture** picture,
                         CatalogPicture** legend, const char* pictureName, const char* legendName);

    UnitsCatalog& catalog_;
    QGroupBox* rgView_ = nullptr;
    QRadioButton* rbByType_ = nullptr;
    QRadioButton* rbByApplication_ = nullptr;
    QTreeView* tvKatalog_ = nullptr;
    QSplitter* split_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QWidget* tsParams_ = nullptr;
    QWidget* tsRozmery_ = nullptr;
    QWidget* tsRychlost_ = nullptr;
    QWidget* tsTeplota_ = nullptr;
    QLabel* DBTextLabel1_ = nullptr;
    QLabel* lbPopis_ = nullptr;
    QTreeWidget* lvParams_ = nullptr;
    CatalogPicture* imFoto_ = nullptr;
    QLabel* DBTextLabel2_ = nullptr;
    DatasetGrid* ExDBGrid1_ = nullptr;
    DatasetModel* dimensions_ = nullptr;
    CatalogPicture* imRozmery_ = nullptr;
    QLabel* lbRychlost_ = nullptr;
    CatalogPicture* imRychlost_ = nullptr;
    CatalogPicture* im_Legenda_r_ = nullptr;
    QLabel* lbTeplota_ = nullptr;
    CatalogPicture* imTeplota_ = nullptr;
    CatalogPicture* imLegendaT_ = nullptr;
    QPushButton* btClose_ = nullptr;
    int languageHandle_ = 0;
};

} // namespace zf
