#include "common/viewevents.h"

namespace zf {

ViewEvents& noViewEvents() {
    static ViewEvents none;
    return none;
}

} // namespace zf
