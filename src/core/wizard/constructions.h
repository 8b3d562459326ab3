#pragma once

#include "common/viewevents.h"
#include "storage/zfdata.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zf {

// The constructions page of the wizard: the surface and openings grids and the
// rules that react to their edits while the wizard is shown. Choosing a material
// fills its U-value and asks for openings; an opening's height is checked
// against its surface (5021, 5022), its width likewise (5023), and choosing its
// name fills its U-value. The page keeps what the window shows besides the
// tables: the surface's picture, the openings caption, the pick lists and the
// column the openings grid is asked to move to.
class ConstructionsPage {
public:
    // wizardShown tells whether the wizard is visible: the rules apply only then.
    ConstructionsPage(TZFData& data, std::function<bool()> wizardShown);
    ~ConstructionsPage();
    ConstructionsPage(const ConstructionsPage&) = delete;
    ConstructionsPage& operator=(const ConstructionsPage&) = delete;

    void setViewEvents(ViewEvents* events) { events_ = events ? events : &noViewEvents(); }
    // How a question or message that an edit of the grids raises is put off
    // until the edit has been stored and the control that stored it is done
    // with: a grid writes a cell from inside its editor, which a modal box
    // shown there would tear down under it. Without one (the command-line tool)
    // it is shown at once.
    using AfterEdit = std::function<void(std::function<void()>)>;
    void setAfterEdit(AfterEdit afterEdit);

    // --- what the window shows ---
    // The picture of the current surface; it stays when the new one is missing.
    const QString& wallPicture() const { return wallPicture_; }
    // "Building openings (<surface>)".
    const QString& openingsCaption() const { return openingsCaption_; }
    // The constructions offered for the current surface's kind (material column).
    const QStringList& materialPickList() const { return materialPickList_; }
    // The names of building openings in the catalog (kind 5).
    QStringList openingPickList();
    // The column the openings grid is to move to after the last edit, or -1.
    int takeOpeningsColumnRequest();

    // --- grid rules ---
    // The material column of the surface grid, and the column that entering a
    // column of it leads to: the columns before the material jump to it.
    static constexpr int MaterialColumn = 4;
    static constexpr int UColumn = 5;
    static int wallGridColumnOnEntry(int column);
    // The red cells of the surface grid: the material of a surface that has
    // none, except in the current row, and a U-value that is not above 0.
    bool wallCellRed(int row, int column) const;
    // The name column of the openings grid.
    static constexpr int OpeningNameColumn = 0;
    static constexpr int OpeningUColumn = 2;

    // --- operations ---
    QStringList FillMaterialPickList(int typ);
    // "Does the surface have openings?": Yes adds one blank opening.
    void AskForOpenings();
    // The tool bar's New opening (one blank row at most).
    void newOpening();
    void deleteOpening();
    // A catalog choice for the current surface or for a new opening.
    void wallFromCatalog(const QString& name, double k);
    void openingFromCatalog(const QString& name, double k);
    // Copy actual: the current surface's material and U-value to every visible
    // surface of its kind.
    void CopyToSameKind();

    // Runs the data-change rules now for the current surface (after a refresh
    // while they were suspended).
    void refresh() { onWallChange(QString()); }

private:
    void afterEdit(std::function<void()> then);
    // The openings question about the surface whose material was just chosen.
    void askForOpeningsAfterEdit();
    void showAfterEdit(int message, int flags);
    void onWallChange(const QString& field);
    void onOpeningChange(const QString& field);
    bool active() const { return !suppressed_ && wizardShown_ && wizardShown_(); }
    void changed();

    TZFData& data_;
    std::function<bool()> wizardShown_;
    ViewEvents* events_ = &noViewEvents();
    int wallHandle_ = 0;
    int openingHandle_ = 0;
    bool suppressed_ = false;
    QString wallPicture_;
    QString openingsCaption_;
    QStringList materialPickList_;
    int openingsColumn_ = -1;
    AfterEdit afterEdit_;
    bool openingsQuestionPending_ = false;
};

} // namespace zf
