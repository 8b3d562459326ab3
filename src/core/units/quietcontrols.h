#pragma once

#include "storage/dataset.h"

namespace zf {

// Keeps the bound controls of a dataset from following every row a bulk
// operation writes or walks; they get one record change at the end.
class QuietControls {
public:
    explicit QuietControls(Dataset& ds) : ds_(ds) { ds_.disableControls(); }
    ~QuietControls() { ds_.enableControls(); }
    QuietControls(const QuietControls&) = delete;
    QuietControls& operator=(const QuietControls&) = delete;

private:
    Dataset& ds_;
};

} // namespace zf
