#include "units/resultsummary.h"

#include "common/globals.h"
#include "common/numberformat.h"
#include "i18n/language.h"
#include "i18n/texts.h"
#include "storage/zfdata.h"

#include <QFileInfo>

namespace zf {

QString buildingPictureFile(int index, bool isRoof) {
    QString name;
    if (isRoof && index >= 0 && index <= 3)
        name = QStringLiteral("h") + QChar(QLatin1Char('a').unicode() + index);
    else if (!isRoof && index >= 1 && index <= 4)
        name = QStringLiteral("s") + QChar(QLatin1Char('a').unicode() + index - 1);
    if (name.isEmpty())
        return QString();
    const QString file = ImagesPath + QStringLiteral("Building/") + name + QStringLiteral(".svg");
    return QFileInfo(file).isFile() ? file : QString();
}

ResultSummary ShowResultSummary(const TZFData& data, const ResultSummary& previous) {
    ResultSummary r;
    const Dataset& p = data.tADOProject;
    if (!p.active() || p.isEmpty())
        return previous;
    r.filled = true;
    auto length = [&](const char* column) {
        return formatText(QStringLiteral("%.0n m"), {p.asFloat(QLatin1String(column))});
    };
    auto volume = [&](const char* column) {
        return formatText(QStringLiteral("%.0n m3"), {p.asFloat(QLatin1String(column))});
    };
    auto power = [&](double kW) { return formatText(QStringLiteral("%.2n kW"), {kW}); };
    const QString eol = QStringLiteral("\r\n");

    const int roof = p.asInteger(QStringLiteral("Typ_strechy_enum"));
    QStringList hall = {QStringLiteral("A   =  ") + length("Stena_A"),
                        QStringLiteral("B   =  ") + length("Stena_B"),
                        QStringLiteral("H1 =  ") + length("Stena_H1"),
                        roof < 1 ? QString() : QStringLiteral("H2 =  ") + length("Stena_H2"),
                        QString(),
                        QStringLiteral("V  =  ") + volume("Vhala")};
    r.hallLines = hall.join(eol);

    const int sky = p.asInteger(QStringLiteral("Typ_svetliku_enum"));
    if (sky >= 1 && sky <= 4) {
        QStringList lines = {QStringLiteral("A   =  ") + length("Svetlik_A"),
                             QStringLiteral("B   =  ") + length("Svetlik_B"),
                             QStringLiteral("H1 =  ") + length("Svetlik_H1"),
                             sky == 2 ? QStringLiteral("H2 =  ") + length("Svetlik_H2") : QString(),
                             QString(),
                             QStringLiteral("V  =  ") + volume("Vsvetlik")};
        r.skylightLines = lines.join(eol);
    } else {
        r.skylightLines = LanguageText(753);
    }
    r.hallPicture = buildingPictureFile(roof, true);
    r.skylightPicture = buildingPictureFile(sky, false);

    const int way = p.asInteger(QStringLiteral("Tepelne_ztraty_enum"));
    r.losses[0][0] = power(p.asFloat(QStringLiteral("Q_kW")));
    r.losses[0][1] = power(p.asFloat(QStringLiteral("Q_tlumeny_kW")));
    r.losses[1][0] = power(p.asFloat(QStringLiteral("Q_vetrani_kW")));
    r.losses[1][1] = power(0);
    if (way == 2) {
        r.losses[2][0] = r.losses[2][1] = QStringLiteral("  xxx");
    } else {
        r.losses[2][0] = r.losses[2][1] = power(p.asFloat(QStringLiteral("TZ_total")));
    }
    r.losses[3][0] = r.losses[3][1] = QStringLiteral("========");
    r.losses[4][0] = power(p.asFloat(QStringLiteral("Topny_vykon_kW")));
    r.losses[4][1] = power(p.asFloat(QStringLiteral("Topny_vykon_tlumeny_kW")));

    r.methodCaption = previous.methodCaption;
    r.tablesVisible = true;
    if (way >= 0 && way <= 2) {
        r.tablesVisible = way == 0;
        r.methodCaption = QStringLiteral("    ") + LanguageText(2604 + way);
    }

    const QString currency = CurrencyName(LanguageBase);
    auto cost = [&](const char* column) {
        return formatText(QStringLiteral("%.0n,- %s"),
                          {p.asFloat(QLatin1String(column)), currency});
    };
    r.costDay = cost("Cena_den");
    r.costMonth = cost("Cena_mesic");
    r.costYear = cost("Cena_rok");
    return r;
}

} // namespace zf
