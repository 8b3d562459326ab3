#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QTreeWidget;

namespace zf {

class DatasetGrid;
class DatasetModel;
class ProjectSession;
class SvgPicture;

// Page 1 of the project window (tsVstupniUdaje): the result summary. The texts
// come from the session's summary as it was last filled; the air flows and the
// two tables follow the data by themselves.
class SummaryPage : public QWidget {
    Q_OBJECT
public:
    explicit SummaryPage(ProjectSession& session, QWidget* parent = nullptr);
    ~SummaryPage() override;

    // ShowResultSummary has filled the session's summary.
    void refresh();
    // The air flows bound to the project record.
    void refreshFlows();
    void applyLanguage();

    DatasetGrid* wallsGrid() const { return walls_; }
    DatasetGrid* openingsGrid() const { return openings_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitColumns();

    ProjectSession& session_;
    int flowsHandle_ = 0;
    QGroupBox* gbHall_ = nullptr;
    QGroupBox* gbSkylight_ = nullptr;
    QLabel* hallLines_ = nullptr;
    QLabel* skylightLines_ = nullptr;
    SvgPicture* hallPicture_ = nullptr;
    SvgPicture* skylightPicture_ = nullptr;
    QTreeWidget* losses_ = nullptr;
    QLabel* lbCirkVykon_ = nullptr;
    QLabel* lbVetrVykon_ = nullptr;
    QLabel* circulation_ = nullptr;
    QLabel* ventilation_ = nullptr;
    QLabel* lbDen_ = nullptr;
    QLabel* lbMesic_ = nullptr;
    QLabel* lbRok_ = nullptr;
    QLabel* costDay_ = nullptr;
    QLabel* costMonth_ = nullptr;
    QLabel* costYear_ = nullptr;
    DatasetModel* wallsModel_ = nullptr;
    DatasetModel* openingsModel_ = nullptr;
    DatasetGrid* walls_ = nullptr;
    DatasetGrid* openings_ = nullptr;
    QWidget* tables_ = nullptr;
    QLabel* method_ = nullptr;
};

} // namespace zf
