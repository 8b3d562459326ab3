#pragma once

#include <QtGlobal>

namespace zf {

// The in-memory copy of the hall's geometry and a few project values. The
// building model keeps it following the project record (every change of the
// record refreshes it there, and nothing else writes it). The dimensions
// are single precision on purpose: every area and volume derives from them.
struct TProject {
    float StenaA = 0, StenaB = 0, StenaH1 = 0, StenaH2 = 0;
    float SvetlikA = 0, SvetlikB = 0, SvetlikH1 = 0, SvetlikH2 = 0;
    qint32 TypStrechy = 0, TypSvetliku = 0;
    bool Vytapeni = false, Vetrani = false, Chlazeni = false;
    float Ti = 0, Te = 0, Tzeme = 0;
};

} // namespace zf
