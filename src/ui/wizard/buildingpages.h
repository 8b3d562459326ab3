#pragma once

#include "wizard/wizardpage.h"

class QGroupBox;
class QLabel;

namespace zf {

class DatasetGrid;
class DatasetModel;
class SvgPicture;

// What pages 4 and 5 have in common: a type chosen from a list, four
// dimensions, the surfaces and volumes computed from them, the type's picture
// beside them and the grid of the generated surfaces below.
class DimensionsPage : public InputPage {
    Q_OBJECT
public:
    void applyLanguage() override;
    void fitColumns() override;

protected:
    struct Fields {
        const char* name;
        int headerId;
        const char* headerName;
        const char* group;
        int groupId;
        const char* typeLabel;
        int typeLabelId;
        const char* typeList;
        int typeHint;
        const char* edits[4][2]; // label, edit
        int firstEditLabel;
        const char* values[4][3]; // caption, value, field
        int firstValueCaption;
        const char* picture;
        const char* grid;
        int firstTitle;
    };
    DimensionsPage(TfrmZInput& frame, const Fields& fields, FieldAccess type);
    // The type's picture, named for screen readers by the type.
    void showPicture(const QString& file, const QString& type);

    SvgPicture* picture_ = nullptr;
    DatasetGrid* grid_ = nullptr;
    QWidget* secondHeight_[2] = {}; // the label and the edit of H2
    int firstTitle_ = 0;
    int groupTitle_ = 0;
};

// Page 4 (tsRozmeryHaly): the roof type, the hall's dimensions, surfaces and
// volumes.
class HallPage : public DimensionsPage {
    Q_OBJECT
public:
    explicit HallPage(TfrmZInput& frame);
    void refresh(unsigned what) override;
};

// Page 5 (tsRozmerySvetliku): the skylight type, its dimensions, surfaces and
// volumes.
class SkylightPage : public DimensionsPage {
    Q_OBJECT
public:
    explicit SkylightPage(TfrmZInput& frame);
    void refresh(unsigned what) override;
};

// Page 6 (tsTepelneZtraty): the way the heat loss is determined, the estimate
// classes with their estimates and the own value.
class LossesPage : public InputPage {
    Q_OBJECT
public:
    explicit LossesPage(TfrmZInput& frame);
    void refresh(unsigned what) override;

private:
    QLabel* LMDLabelQ_ = nullptr;
    QGroupBox* gbTepZtratyAprox_ = nullptr;
    QWidget* own_[2] = {}; // the label and the edit of the own value
    QLabel* estimates_[4] = {};
    QWidget* veryPoor_ = nullptr;
};

} // namespace zf
