#pragma once

#include <QString>

namespace zf {

class TZFData;

// The structural elements catalog (TfrmPrvky) without its widgets: the state
// its window shows and the operations on the materials table of the language.
// Opened from the Catalogs menu for browsing and maintenance (mode 1) or from
// the wizard's grids to choose a construction (mode 0), whose name and U the
// wizard then takes.
class ElementsCatalog {
public:
    explicit ElementsCatalog(TZFData& data) : data_(data) {}
    ElementsCatalog(const ElementsCatalog&) = delete;
    ElementsCatalog& operator=(const ElementsCatalog&) = delete;

    TZFData& data() { return data_; }

    // 1 while open from the main menu, 0 otherwise.
    int ElementsCatalogMode = 0;
    // The item confirmed with OK: its name and its U text as the tree shows it.
    QString ChosenElementName;
    QString ChosenElementU;

private:
    TZFData& data_;
};

} // namespace zf
