#include "doctexts.h"

#include <QHash>

namespace zf::art {

namespace {

struct Entry {
    const char* key;
    const char* cz;
    const char* en;
};

// Placeholders %1, %2 ... are filled by the documents. A text of several bullets
// separates them with "|".
const Entry Entries[] = {
    // Pages and common headings
    {"page", "Strana %1 z %2", "Page %1 of %2"},
    {"productLine", "Teplovzdušná technika Brisant", "Brisant warm-air equipment"},
    {"description", "Popis", "Description"},
    {"installation", "Montáž a umístění", "Installation and placement"},
    {"airDistribution", "Distribuce vzduchu", "Air distribution"},
    {"noValue", "\u2013", "\u2013"},
    {"net", "netto", "net"},
    {"gross", "brutto", "gross"},
    {"code", "Kód", "Code"},
    {"item", "Položka", "Item"},
    {"unit", "Jednotka", "Unit"},
    {"value", "Hodnota", "Value"},
    {"seeDocument", "Viz dokument „%1“.", "See the document \u201c%1\u201d."},
    {"contact", "Kontakt", "Contact"},

    // Family data sheets
    {"techTableCaption", "Technické parametry typové řady", "Technical data of the series"},
    {"dimDrawingCaption", "Rozměrový náčrt, proporce typu %1. Hodnoty rozměrů uvádí tabulka.",
     "Dimension drawing to the proportions of %1. The values are in the table."},
    {"dimTableCaption", "Rozměry [mm] a hmotnosti [kg]", "Dimensions [mm] and weights [kg]"},
    {"lettersCaption", "Význam písmen: %1", "Key to the letters: %1"},
    {"photoCaption", "%1", "%1"},
    {"letters:AX",
     "A šířka, B výška, B1 výška s hrdly odtahu spalin a přívodu vzduchu, C hloubka včetně "
     "žaluzií, D průměr odtahu spalin, E průměr přívodu spalovacího vzduchu, F osa hrdel od zadní "
     "stěny, G rozteč hrdel, H výška plynové přípojky nad spodní hranou, J plynová přípojka od "
     "zadní stěny, K a L rozteč závěsných bodů napříč a do hloubky, M × N výdechová žaluzie, P "
     "délka konzoly, R a S odstup od boční stěny a od stropu.",
     "A width, B height, B1 height with the flue and air spigots, C depth with the louvres, D flue "
     "pipe diameter, E combustion-air pipe diameter, F spigot axis from the rear, G spigot "
     "spacing, H gas connection above the bottom, J gas connection from the rear, K and L "
     "suspension points across and in depth, M \u00d7 N outlet louvres, P wall bracket length, R "
     "and S clearance to the side wall and to the ceiling."},
    {"letters:BLENDA",
     "A, B, C rozměry skříně, D průměr odtahu spalin, E průměr přívodu vzduchu, F osa hrdel od "
     "zadní stěny, H výška plynové přípojky, K a L rozteč závěsných bodů, M × N motorická "
     "výdechová žaluzie, O × P sací mřížka, Q přesah servopohonu žaluzie, R a S odstup od boční "
     "stěny a od stropu, T a U servisní prostor před jednotkou a po straně, V délka konzoly.",
     "A, B, C casing dimensions, D flue pipe diameter, E air pipe diameter, F spigot axis from "
     "the rear, H gas connection height, K and L suspension points, M \u00d7 N motorised outlet "
     "louvre, O \u00d7 P intake grille, Q projection of the louvre actuator, R and S clearance to "
     "the side wall and to the ceiling, T and U service space in front and at the side, V bracket "
     "length."},
    {"letters:RD",
     "A šířka, B výška, B2 výška výstupní příruby, C celková hloubka, D průměr odtahu spalin, E "
     "průměr přívodu vzduchu, F osa hrdel od zadní stěny, G rozteč hrdel, H výška plynové "
     "přípojky, J plynová přípojka od zadní stěny, K šířka výstupní příruby, L × M sací příruba, N "
     "rozteč patek rámu, P délka ventilátorové sekce, R a S odstup od boční stěny a od stropu.",
     "A width, B height, B2 outlet flange height, C overall depth, D flue pipe diameter, E air "
     "pipe diameter, F spigot axis from the rear, G spigot spacing, H gas connection height, J gas "
     "connection from the rear, K outlet flange width, L \u00d7 M inlet flange, N frame foot "
     "spacing, P fan section length, R and S clearance to the side wall and to the ceiling."},
    {"letters:MK-I",
     "A šířka, B celková výška, C hloubka, D průměr odtahu spalin, E průměr přívodu vzduchu, F "
     "výška ohřívací sekce, G výška směšovací komory, H × K vstup venkovního vzduchu, L × O vstup "
     "cirkulačního vzduchu, P × R výstup, S odstup od boční stěny, T hloubka prostupu stěnou nebo "
     "střešního rámu.",
     "A width, B overall height, C depth, D flue pipe diameter, E air pipe diameter, F heater "
     "section height, G mixing chamber height, H \u00d7 K outdoor-air inlet, L \u00d7 O "
     "return-air inlet, P \u00d7 R outlet, S clearance to the side wall, T depth of the wall "
     "sleeve or roof curb."},
    {"letters:K", "A průměr prstence ventilátoru, R nejmenší vzdálenost pod stropem.",
     "A fan ring diameter, R minimum distance below the ceiling."},
    {"install:AX",
     "Jednotku zavěste na konzolu (délka P) nebo pod strop za čtyři závěsné body K × L; dodržte "
     "odstup R od boční stěny a S od stropu.|Osu výdechu umístěte obvykle 3 až 4 m nad podlahu; "
     "lamely žaluzie nastavte mírně dolů, aby teplý vzduch dosáhl pracovní zóny.|Rozteč jednotek "
     "podél stěny volte nejvýše polovinu dosahu, hloubka vytápěné zóny nemá přesáhnout "
     "dosah.|Odtah "
     "spalin (D) a přívod spalovacího vzduchu (E) připojte podle dokumentu o odvodu spalin; "
     "plynovou přípojku (H, J) opatřete uzávěrem a filtrem.|Elektrické připojení 230 V/50 Hz "
     "provede oprávněná osoba podle schématu zapojení.",
     "Hang the unit on its bracket (length P) or under the ceiling by the four suspension points K "
     "\u00d7 L; keep the clearance R to the side wall and S to the ceiling.|Place the outlet axis "
     "usually 3 to 4 m above the floor; set the louvre blades slightly downwards so that the warm "
     "air reaches the occupied zone.|Space the units along a wall at no more than half the range; "
     "the depth of the heated zone should not exceed the range.|Connect the flue (D) and the "
     "combustion air (E) as the flue document describes; fit the gas connection (H, J) with a "
     "shut-off valve and a filter.|The 230 V/50 Hz supply is connected by a qualified person after "
     "the wiring diagram."},
    {"install:BLENDA",
     "Skříň Blenda se zavěšuje pod strop za body K × L nebo se ukládá na konzolu délky V.|Před "
     "jednotkou ponechte servisní prostor T a po straně U; odstupy R a S platí jako u jednotek "
     "AX.|Motorická žaluzie (M × N) se ovládá z regulátoru; servopohon vyčnívá o Q.|Sací mřížku "
     "(O × P) udržujte volnou, nezakrývejte ji regály ani zbožím.",
     "The Blenda casing hangs under the ceiling by the points K \u00d7 L or rests on a bracket of "
     "length V.|Leave the service space T in front of the unit and U at its side; the clearances R "
     "and S are as for the AX units.|The motorised louvre (M \u00d7 N) is driven by the "
     "controller; "
     "its actuator projects by Q.|Keep the intake grille (O \u00d7 P) free; do not cover it with "
     "shelves or goods."},
    {"install:RD",
     "Jednotka RD stojí na rámu s patkami v rozteči N na plošině nebo konzole; ventilátorová sekce "
     "(P) je vzadu.|Výstupní příruba K × B2 se připojuje na rozvodné potrubí nebo dalekonosné "
     "dýzy; "
     "dispoziční tlak uvádí tabulka parametrů.|Sací příruba L × M může nasávat z haly nebo "
     "potrubím "
     "z venkovního prostoru.|Dodržte odstup R od boční stěny a S od stropu; hrdla odtahu spalin "
     "jsou v rozteči G.",
     "The RD unit stands on its frame with feet at the spacing N on a platform or bracket; the fan "
     "section (P) is at the rear.|The outlet flange K \u00d7 B2 connects to a distribution duct or "
     "long-throw nozzles; the applicable pressure is in the data table.|The inlet flange L \u00d7 "
     "M takes air from the hall or through a duct from outdoors.|Keep the clearance R to the side "
     "wall and S to the ceiling; the flue spigots are at the spacing G."},
    {"install:MK-I",
     "Jednotka MK se osazuje ke stěně s prostupem (hloubka T) nebo na střešní rám; venkovní vzduch "
     "vstupuje otvorem H × K.|Cirkulační vzduch se nasává mřížkou L × O, ohřátá směs vystupuje "
     "žaluzií P × R.|Poměr venkovního a cirkulačního vzduchu nastavují klapky směšovací komory "
     "podle požadovaného větracího průtoku.|Od boční stěny dodržte odstup S; odtah spalin (D) a "
     "přívod vzduchu (E) jsou na horní straně.",
     "The MK unit is set against a wall with a sleeve (depth T) or on a roof curb; outdoor air "
     "enters through the opening H \u00d7 K.|Return air is taken through the grille L \u00d7 O; "
     "the "
     "heated mixture leaves through the louvre P \u00d7 R.|The dampers of the mixing chamber set "
     "the share of outdoor and return air for the required ventilation flow.|Keep the clearance S "
     "to the side wall; the flue (D) and air (E) spigots are on the top."},
    {"install:K",
     "Destratifikátory se zavěšují pod strop ve vzdálenosti nejméně R, obvykle v halách vyšších "
     "než "
     "6 m.|Jeden destratifikátor obslouží přibližně 150 až 300 m² půdorysu; rozmístěte je "
     "rovnoměrně nad vytápěnou zónou.|Spínají se rozdílovým termostatem podle teploty pod stropem "
     "a "
     "u podlahy.",
     "Destratifiers hang under the ceiling at a distance of at least R, usually in halls higher "
     "than 6 m.|One destratifier serves about 150 to 300 m\u00b2 of floor; spread them evenly over "
     "the heated zone.|They are switched by a differential thermostat from the temperatures under "
     "the ceiling and near the floor."},
    {"jetIntro",
     "Obrázky ukazují rychlost proudění ve výšce 1,7 m nad podlahou (pohled shora) a teplotu ve "
     "svislém řezu osou jednotky. Vycházejí ze zjednodušeného modelu volného osově souměrného "
     "proudu: vzduch vystupuje výdechem průřezu A0 rychlostí v0 = Q / A0; rychlost v ose je v "
     "jádru proudu rovna v0 a dále klesá nepřímo úměrně vzdálenosti s tak, aby v katalogovém "
     "dosahu "
     "L byla 0,40 m/s; příčný profil je Gaussův s poloměrem poloviční rychlosti d0/2 + 0,1·s. "
     "Přebytek teploty nad vzduchem haly klesá rychleji (0,8 s0 / s) a jeho profil je 1,2× širší. "
     "Osa výdechu je ve výšce h0 a je skloněna tak, aby protnula úroveň 1,7 m v 70 % dosahu; "
     "vzduch v hale má u podlahy 15 °C a teplota roste o 0,6 K na metr výšky. Podlaha, strop a "
     "stěny se nemodelují. Obrázky slouží k představě o tvaru a dosahu proudu, nikoli k výpočtu.",
     "The pictures show the air velocity 1.7 m above the floor (seen from above) and the "
     "temperature in the vertical section through the unit's axis. They come from a simplified "
     "model of a free axisymmetric jet: the air leaves the outlet of area A0 at v0 = Q / A0; the "
     "centreline velocity equals v0 in the core of the jet and then decreases in inverse "
     "proportion "
     "to the distance s, so that it is 0.40 m/s at the catalog range L; the cross profile is "
     "Gaussian with the half-velocity radius d0/2 + 0.1\u00b7s. The excess temperature over the "
     "hall air decays sooner (0.8 s0 / s) and its profile is 1.2 times wider. The outlet axis is "
     "at "
     "the height h0 and tilted so that it crosses the 1.7 m level at 70 % of the range; the hall "
     "air is 15 \u00b0C at the floor and warms by 0.6 K per metre of height. Floor, ceiling and "
     "walls are not modelled. The pictures show the shape and reach of the jet; they are not a "
     "calculation."},
    {"jetNoRange",
     "U jednotek bez katalogového dosahu (MK) je dosah odvozen ze vztahu L = 5 · v0 · d0 / 0,40.",
     "For units without a catalog range (MK) the range follows from L = 5 \u00b7 v0 \u00b7 d0 / "
     "0.40."},
    {"jetTableCaption", "Parametry proudu vzduchu podle modelu", "Air jet parameters of the model"},
    {"jetV0", "Výstupní rychlost v0 [m/s]", "Outlet velocity v0 [m/s]"},
    {"jetD0", "Ekvivalentní průměr výdechu d0 [m]", "Equivalent outlet diameter d0 [m]"},
    {"jetL", "Dosah L [m]", "Range L [m]"},
    {"jetS0", "Délka jádra proudu s0 [m]", "Core length s0 [m]"},
    {"jetH0", "Výška osy výdechu h0 [m]", "Outlet axis height h0 [m]"},
    {"jetTilt", "Sklon osy dolů [°]", "Downward tilt of the axis [\u00b0]"},
    {"legendV", "Legenda rychlosti proudění", "Key to the velocity"},
    {"legendT", "Legenda teploty", "Key to the temperature"},

    // Flue gas and air supply
    {"flueIntro",
     "Plynové jednotky Brisant a MK odvádějí spaliny potrubím o průměru D a nasávají spalovací "
     "vzduch potrubím o průměru E, obojí připojené k hrdlům na horní straně jednotky. Tento "
     "dokument "
     "uvádí uspořádání odtahu, průměry potrubí jednotlivých typů a příslušenství.",
     "The gas-fired Brisant and MK units discharge the flue gas through a pipe of diameter D and "
     "take the combustion air through a pipe of diameter E, both connected to the spigots on top "
     "of the unit. This document gives the flue arrangements, the pipe diameters of the types and "
     "the accessories."},
    {"flueArrangements", "Uspořádání odtahu spalin", "Flue arrangements"},
    {"flueSchemeCaption",
     "C12 vodorovně stěnou, C32 svisle střechou (uzavřený spalovací prostor), B22 odtah do komína "
     "se vzduchem z haly.",
     "C12 horizontal through the wall, C32 vertical through the roof (room-sealed), B22 into a "
     "chimney with air from the hall."},
    {"flueTableCaption", "Průměry potrubí a nejvyšší ekvivalentní délky",
     "Pipe diameters and the longest equivalent lengths"},
    {"flueD", "Ø D odtah spalin [mm]", "\u00d8 D flue [mm]"},
    {"flueE", "Ø E přívod vzduchu [mm]", "\u00d8 E air [mm]"},
    {"flueLen", "Nejvyšší ekvivalentní délka [m]", "Longest equivalent length [m]"},
    {"flueNote",
     "Nejvyšší ekvivalentní délka v metrech je desetina průměru odtahu v milimetrech; každé koleno "
     "90° se počítá jako 1 m, koleno 45° jako 0,5 m a koncovka jako 1 m přímého potrubí.",
     "The longest equivalent length in metres is a tenth of the flue diameter in millimetres; "
     "each 90\u00b0 elbow counts as 1 m, a 45\u00b0 elbow as 0.5 m and a terminal as 1 m of "
     "straight pipe."},
    {"accessories", "Příslušenství", "Accessories"},
    {"diameter", "Průměr [mm]", "Diameter [mm]"},
    {"acc1", "Koaxiální koncovka do stěny", "Coaxial wall terminal"},
    {"acc2", "Střešní koncovka se střešní průchodkou", "Roof terminal with roof flashing"},
    {"acc3", "Trubka 1 m", "Pipe 1 m"},
    {"acc4", "Koleno 90°", "Elbow 90\u00b0"},
    {"acc5", "Koleno 45°", "Elbow 45\u00b0"},
    {"acc6", "Jímka kondenzátu s odvodem", "Condensate trap with drain"},

    // Control
    {"controlIntro",
     "Jednotky se řídí podle teploty v hale. Způsob regulace se volí v projektu podle provozu "
     "haly; "
     "jednotky provedení E mají elektroniku pro dvoustupňovou i modulovanou regulaci a sběrnici "
     "pro "
     "nadřazený systém.",
     "The units are controlled from the hall temperature. The control method is chosen in the "
     "project to suit the operation of the hall; the E variants carry the electronics for "
     "two-stage and modulated control and a bus for a building management system."},
    {"methods", "Způsoby regulace", "Control methods"},
    {"method", "Způsob regulace", "Control method"},
    {"m671", "Jednotka se zapíná a vypíná ručně vypínačem; vhodné jen pro občasný provoz.",
     "The unit is switched on and off by hand; suitable only for occasional use."},
    {"m672", "Prostorový termostat zapíná hořák na plný výkon a vypíná jej po dosažení teploty.",
     "A room thermostat switches the burner to full output and off when the temperature is "
     "reached."},
    {"m673",
     "Hořák plynule mění výkon mezi minimálním a jmenovitým výkonem; nejmenší kolísání teploty.",
     "The burner varies its output continuously between the minimum and the rated output; the "
     "smallest temperature swing."},
    {"m674", "Každá jednotka má vlastní termostat a řídí se nezávisle na ostatních.",
     "Each unit has a thermostat of its own and runs independently of the others."},
    {"m675", "Termostat spíná nejprve minimální a při větší potřebě jmenovitý výkon hořáku.",
     "The thermostat switches the minimum output first and the rated output when more heat is "
     "needed."},
    {"m676", "Všechny jednotky řídí jeden regulátor nebo nadřazený systém po sběrnici ZM-485.",
     "All units are run by one controller or by a building management system over the ZM-485 bus."},
    {"stages", "Stupně výkonu hořáku", "Burner stages"},
    {"ratio", "Poměr min./jmen. [%]", "Min./rated ratio [%]"},
    {"controlAccessories", "Regulační příslušenství", "Control accessories"},
    {"accZR1", "Ovládací panel jednotky s displejem, volbou režimu a hlášením poruch.",
     "Unit control panel with display, mode selection and fault messages."},
    {"accZT7", "Prostorový termostat s týdenním programem a útlumem.",
     "Room thermostat with a weekly programme and setback."},
    {"accZM485", "Modul sběrnice RS-485 (Modbus RTU) pro nadřazený systém.",
     "RS-485 bus module (Modbus RTU) for a building management system."},
    {"accZW1", "Propojovací sada a schémata zapojení jednotek provedení E.",
     "Connection set and wiring diagrams of the E variants."},

    // Brackets and suspensions
    {"bracketsIntro",
     "Jednotky se montují na konzolu ke stěně, zavěšují pod strop nebo, u jednotek RD, ukládají na "
     "rám. Tabulky uvádějí rozměry konzol a závěsů, odstupy a zatížení závěsných bodů "
     "vypočtené z hmotnosti brutto (g = 9,81 m/s²) se součinitelem bezpečnosti 2.",
     "The units are mounted on a wall bracket, suspended under the ceiling or, for the RD units, "
     "set on a frame. The tables give the bracket and suspension dimensions, the clearances and "
     "the "
     "load of a suspension point, computed from the gross weight (g = 9.81 m/s\u00b2) with a "
     "safety factor of 2."},
    {"mounting", "Způsoby montáže", "Mounting methods"},
    {"pointLoad", "Návrhové zatížení bodu [N]", "Design load per point [N]"},
    {"bracketsOf", "Konzoly a závěsy: %1", "Brackets and suspensions: %1"},

    // Appendices
    {"appendix", "Příloha technické dokumentace jednotek Brisant provedení E",
     "Appendix to the technical documentation of the Brisant E variants"},
    {"panelIntro",
     "Ovládací panel ZR-1 se montuje na stěnu haly nebo do rozvaděče a ovládá jednu až čtyři "
     "jednotky provedení E. Zobrazuje teplotu, provozní režim a poruchy a umožňuje nastavit "
     "parametry regulace.",
     "The ZR-1 control panel is mounted on a wall of the hall or in a switchboard and runs one to "
     "four units of the E variant. It shows the temperature, the operating mode and faults, and "
     "sets the control parameters."},
    {"panelFigure", "Čelní panel ZR-1", "Front of the ZR-1 panel"},
    {"element", "Prvek", "Element"},
    {"function", "Funkce", "Function"},
    {"panel1", "Displej: teplota v hale, požadovaná teplota, kód poruchy",
     "Display: hall temperature, set temperature, fault code"},
    {"panel2", "Zapnutí a vypnutí jednotek", "Switching the units on and off"},
    {"panel3", "Volba režimu: vytápění, větrání, útlum", "Mode: heating, ventilation, setback"},
    {"panel4", "Zvýšení a snížení požadované teploty", "Raising and lowering the set temperature"},
    {"panel5", "Kontrolka provozu hořáku (oranžová)", "Burner running lamp (orange)"},
    {"panel6", "Kontrolka poruchy (červená), odblokování podržením tlačítka režimu",
     "Fault lamp (red); reset by holding the mode button"},
    {"parameters", "Parametry", "Parameters"},
    {"parameter", "Parametr", "Parameter"},
    {"range", "Rozsah", "Range"},
    {"default", "Výchozí", "Default"},
    {"p01", "Požadovaná teplota komfortní", "Comfort set temperature"},
    {"p02", "Požadovaná teplota útlumová", "Setback set temperature"},
    {"p03", "Hystereze termostatu", "Thermostat hysteresis"},
    {"p04", "Doběh ventilátoru po vypnutí hořáku", "Fan run-on after the burner stops"},
    {"p05", "Způsob regulace (1 jednostupňová, 2 dvoustupňová, 3 modulovaná)",
     "Control method (1 one-step, 2 two-stage, 3 modulated)"},
    {"p06", "Adresa na sběrnici ZM-485", "Address on the ZM-485 bus"},
    {"panelStages", "Výkonové stupně jednotek provedení E", "Output stages of the E variants"},
    {"thermoIntro",
     "Prostorový termostat ZT-7 měří teplotu v pracovní zóně a spíná jednotky podle týdenního "
     "programu. Umisťuje se ve výšce 1,5 m mimo dosah proudu teplého vzduchu a slunečního záření.",
     "The ZT-7 room thermostat measures the temperature in the occupied zone and switches the "
     "units "
     "after a weekly programme. It is mounted 1.5 m high, out of the warm-air jets and direct "
     "sun."},
    {"thermoFigure", "Termostat ZT-7", "The ZT-7 thermostat"},
    {"programme", "Výchozí týdenní program", "Default weekly programme"},
    {"day", "Dny", "Days"},
    {"from", "Od", "From"},
    {"to", "Do", "To"},
    {"temperature", "Teplota [°C]", "Temperature [\u00b0C]"},
    {"mode", "Režim", "Mode"},
    {"monFri", "Po–Pá", "Mon\u2013Fri"},
    {"satSun", "So–Ne", "Sat\u2013Sun"},
    {"comfort", "Komfort", "Comfort"},
    {"setback", "Útlum", "Setback"},
    {"techData", "Technické údaje", "Technical data"},
    {"t1", "Rozsah nastavení teploty", "Temperature setting range"},
    {"t2", "Přesnost měření", "Measuring accuracy"},
    {"t3", "Spínací výstup", "Switching output"},
    {"t4", "Napájení", "Supply"},
    {"t5", "Krytí", "Protection"},
    {"busIntro",
     "Modul ZM-485 připojuje jednotky provedení E k nadřazenému systému po sběrnici RS-485 "
     "protokolem Modbus RTU. Jedna linka obslouží až 32 jednotek; adresa se nastavuje parametrem "
     "P06 ovládacího panelu.",
     "The ZM-485 module connects E-variant units to a building management system over an RS-485 "
     "bus with the Modbus RTU protocol. One line serves up to 32 units; the address is set by "
     "parameter P06 of the control panel."},
    {"comm", "Komunikační parametry", "Communication parameters"},
    {"c1", "Přenosová rychlost", "Baud rate"},
    {"c2", "Formát znaku", "Character format"},
    {"c3", "Adresy", "Addresses"},
    {"c4", "Ukončení linky", "Line termination"},
    {"registers", "Mapa registrů", "Register map"},
    {"register", "Registr", "Register"},
    {"quantity", "Veličina", "Quantity"},
    {"access", "Přístup", "Access"},
    {"r1", "Teplota v hale", "Hall temperature"},
    {"r2", "Požadovaná teplota", "Set temperature"},
    {"r3", "Provozní režim", "Operating mode"},
    {"r4", "Stav hořáku (0 vyp., 1 min., 2 jmen.)", "Burner state (0 off, 1 min., 2 rated)"},
    {"r5", "Kód poruchy", "Fault code"},
    {"r6", "Provozní hodiny hořáku", "Burner running hours"},
    {"r7", "Počet startů hořáku", "Burner starts"},
    {"r8", "Kód typu jednotky (tabulka níže)", "Unit type code (table below)"},
    {"r9", "Jmenovitý výkon", "Rated output"},
    {"r10", "Průtok vzduchu", "Air flow"},
    {"read", "čtení", "read"},
    {"readWrite", "čtení a zápis", "read and write"},
    {"typeCodes", "Kódy typů jednotek (registr 30008)", "Unit type codes (register 30008)"},
    {"wiringIntro",
     "Jednotky provedení E se připojují na 230 V/50 Hz přes svorkovnici X1. Ovládací panel, "
     "termostat a sběrnice se připojují na svorkovnici X2 bezpečným malým napětím. Přívod chraňte "
     "jističem podle tabulky; průřez přívodu platí pro měděný kabel do délky 25 m.",
     "The E-variant units are supplied with 230 V/50 Hz through terminal strip X1. The control "
     "panel, the thermostat and the bus connect to terminal strip X2 at safety extra-low voltage. "
     "Protect the supply with a circuit breaker after the table; the cross-section is for a copper "
     "cable up to 25 m long."},
    {"wiringFigure",
     "Zapojení: X1 napájení (L, N, PE), X2 termostat (T1, T2), panel ZR-1 (+, −, D), sběrnice "
     "ZM-485 (A, B), poruchový výstup (F1, F2).",
     "Wiring: X1 supply (L, N, PE), X2 thermostat (T1, T2), ZR-1 panel (+, \u2212, D), ZM-485 bus "
     "(A, B), fault output (F1, F2)."},
    {"supply", "Jištění a přívod", "Protection and supply"},
    {"current", "Proud [A]", "Current [A]"},
    {"breaker", "Jistič [A]", "Circuit breaker [A]"},
    {"cable", "Průřez přívodu [mm²]", "Supply cross-section [mm\u00b2]"},
    {"currentNote", "Proud je příkon dělený 230 V a účiníkem 0,9.",
     "The current is the input divided by 230 V and a power factor of 0.9."},

    // Leaflets
    {"keyFigures", "Hlavní údaje řady", "Key figures of the series"},
    {"overview", "Přehled typů", "Overview of the types"},
    {"fromTo", "%1 až %2", "%1 to %2"},
    {"typesCount", "Počet typů", "Number of types"},
    {"leafletJet", "Proud vzduchu typu %1 ve výšce 1,7 m", "Air jet of %1 at the height of 1.7 m"},
    {"leafletSizes", "Rozměry typu %1", "Dimensions of %1"},

    // Project documentation guide
    {"pdSubtitle",
     "Návod ke zpracování projektové dokumentace teplovzdušného vytápění a větrání hal",
     "A guide to the project documentation of warm-air heating and ventilation of halls"},
    {"pdPurpose", "Účel", "Purpose"},
    {"pdPurposeText",
     "Tento návod shrnuje postup návrhu teplovzdušného vytápění a větrání jedné průmyslové haly "
     "jednotkami Brisant, MK a destratifikátory a obsah projektové dokumentace, která z návrhu "
     "vzniká. Čísla v tabulkách pocházejí z katalogu jednotek programu Zefrant.",
     "This guide sums up how warm-air heating and ventilation of one industrial hall is designed "
     "with Brisant and MK units and destratifiers, and what the project documentation that results "
     "from the design contains. The figures in the tables come from the units catalog of "
     "Zefrant."},
    {"pdProcedure", "Postup návrhu", "Design procedure"},
    {"pd51", "zadejte projekt, zadavatele a zpracovatele.",
     "enter the project, the client and the compiler."},
    {"pd53",
     "zvolte lokalitu; výpočtová a průměrná venkovní teplota a délka otopného období se "
     "doplní z klimatických dat.",
     "choose the region; the design and mean outside temperatures and the length of the heating "
     "season come from the climate data."},
    {"pd54",
     "určete, zda se navrhuje vytápění, větrání nebo obojí, a které řady jednotek lze použít.",
     "decide whether the design covers heating, ventilation or both, and which unit series may be "
     "used."},
    {"pd55", "zadejte délku, šířku a výšky haly a tvar střechy.",
     "enter the hall's length, width, heights and roof shape."},
    {"pd57", "zvolte, zda se tepelná ztráta vypočte z konstrukcí, odhadne z objemu, nebo zadá.",
     "choose whether the heat loss is calculated from the constructions, estimated from the volume "
     "or entered."},
    {"pd58",
     "přiřaďte stěnám, střeše, podlaze a otvorům konstrukce s jejich součiniteli prostupu "
     "tepla.",
     "assign the walls, roof, floor and openings their constructions with their heat transfer "
     "coefficients."},
    {"pd59",
     "zadejte třídu práce a polohu pracovníků; určují požadovanou teplotu a výměnu vzduchu.",
     "enter the work class and posture of the workers; they set the required temperature and air "
     "change."},
    {"pdAfter",
     "Po dokončení zadání program spočítá tepelné ztráty, potřebný výkon a průtoky vzduchu, "
     "nabídne "
     "vhodné typy jednotek s potřebným počtem, rozmístí zvolené jednotky podél stěn a sestaví "
     "zprávu.",
     "When the input is complete, the program computes the heat losses, the required output and "
     "air flows, offers the suitable unit types with the numbers needed, places the chosen units "
     "along the walls and compiles the report."},
    {"pdOverview", "Přehled jednotek", "Units overview"},
    {"pdOverviewCaption", "Katalog jednotek: výkony, průtoky vzduchu a dosahy",
     "Units catalog: outputs, air flows and ranges"},
    {"pdPlacement", "Rozmístění jednotek", "Placement of the units"},
    {"pdPlacementRules",
     "Jednotky umisťujte podél delších stěn a foukejte napříč halou; hloubka vytápěné zóny nemá "
     "přesáhnout dosah L.|Rozteč jednotek podél stěny volte nejvýše 0,5 L, aby se proudy "
     "překrývaly.|Dodržte odstupy od stěn a stropu podle technické dokumentace (R, "
     "S).|Destratifikátory "
     "doplňte v halách vyšších než 6 m.|Jednotky MK umístěte tak, aby venkovní vzduch nebyl "
     "nasáván "
     "v blízkosti vyústění spalin.",
     "Place the units along the longer walls blowing across the hall; the depth of the heated zone "
     "should not exceed the range L.|Space the units along a wall at no more than 0.5 L so that "
     "the jets overlap.|Keep the clearances to walls and ceiling given in the technical "
     "documentation (R, S).|Add destratifiers in halls higher than 6 m.|Place MK units so that "
     "they "
     "do not draw outdoor air near a flue outlet."},
    {"pdSpacingCaption", "Doporučené rozteče a hloubky vytápěné zóny",
     "Recommended spacing and depth of the heated zone"},
    {"pdSpacing", "Největší rozteč [m]", "Largest spacing [m]"},
    {"pdDepth", "Největší hloubka zóny [m]", "Largest zone depth [m]"},
    {"pdDestrat", "Destratifikace", "Destratification"},
    {"pdDestratText",
     "Teplý vzduch se hromadí pod střechou; ve vysokých halách tím rostou ztráty střechou. "
     "Destratifikátory vracejí tento vzduch do pracovní zóny. Jejich počet se volí podle půdorysu, "
     "vzdálenost pod stropem nejméně R.",
     "Warm air gathers under the roof; in high halls this raises the losses through the roof. "
     "Destratifiers return this air to the occupied zone. Their number follows from the floor "
     "area; they hang at least R below the ceiling."},
    {"pdContents", "Obsah projektové dokumentace", "Contents of the project documentation"},
    {"pdChecklist",
     "Technická zpráva: zadání, klimatické údaje, provozní režim, tepelné ztráty a potřebné "
     "výkony.|Výpis zvolených jednotek s výkony, průtoky vzduchu a příkony.|Půdorys haly s "
     "rozmístěním jednotek, destratifikátorů a směry výfuku.|Odtahy spalin a přívody spalovacího "
     "vzduchu s délkami a průměry potrubí.|Napájení a regulace: schéma zapojení, jištění, umístění "
     "termostatů a ovládacích panelů.|Provozní náklady vytápění za den, měsíc a otopné období.",
     "Technical report: brief, climate data, operating mode, heat losses and required outputs.|"
     "List of the chosen units with their outputs, air flows and electric inputs.|Plan of the hall "
     "with the units, the destratifiers and the blowing directions.|Flue gas exhausts and "
     "combustion-air supplies with pipe lengths and diameters.|Supply and control: wiring diagram, "
     "protection, positions of thermostats and control panels.|Operating costs of the heating per "
     "day, month and heating season."},
    {"pdDocuments", "Technické podklady", "Technical documents"},
    {"pdDocumentsText", "Podrobnosti uvádějí technické podklady a letáky v nabídce Katalogy:",
     "The technical documents and leaflets of the Catalogs menu give the details:"},
    {"file", "Soubor", "File"},
    {"document", "Dokument", "Document"},
};

} // namespace

const QStringList& documentLanguages() {
    static const QStringList codes = {"CZ", "EN"};
    return codes;
}

QString docText(const QString& code, const char* key) {
    static const QHash<QString, const Entry*> table = [] {
        QHash<QString, const Entry*> t;
        for (const Entry& e : Entries)
            t.insert(QString::fromLatin1(e.key), &e);
        return t;
    }();
    const Entry* e = table.value(QString::fromLatin1(key));
    if (!e)
        return QString::fromLatin1(key);
    if (code == QLatin1String("CZ"))
        return QString::fromUtf8(e->cz);
    return QString::fromUtf8(e->en);
}

} // namespace zf::art
