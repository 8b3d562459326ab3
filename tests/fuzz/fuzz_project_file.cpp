// libFuzzer target: a project file as it may come from anywhere, run through
// export, units and input of zefrant-cli. Each run either refuses the file,
// which then stays byte for byte as it was, or processes it; a crash, a
// sanitizer finding, a hang or a refused file that changed is a finding.
#include "fuzzsupport.h"

using zf::fuzz::Env;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Env& env = Env::get();
    Env::write(env.path(QStringLiteral("units.json")),
               R"({ "counts": [ { "ID": 1, "Pocet_jednotek": 2 } ], "Vyska_jednotek": 3,
                    "Vyska_destrat": 6, "place": true })");
    Env::write(env.path(QStringLiteral("design.json")),
               R"({ "project": { "Stena_A": 24, "Ti": 16 },
                    "walls": [ { "VariantaHaly": "hB", "CisloSteny": 2, "k": 0.4 } ] })");
    // The seeds of a new corpus: ZEFRANT_FUZZ_WRITE_SEED=file writes a sample
    // project there.
    const QString seed = qEnvironmentVariable("ZEFRANT_FUZZ_WRITE_SEED");
    if (!seed.isEmpty())
        Env::write(seed, zf::fuzz::sampleProject());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Env& env = Env::get();
    const QString project = env.path(QStringLiteral("p.zfp"));
    Env::clean(project);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Env::write(project, bytes);

    int rc = env.tool({QStringLiteral("export"), project});
    Env::check(rc == 0 || rc == 1, "export ended with a status other than 0 or 1");
    Env::check(rc == 0 || Env::read(project) == bytes, "export refused the file and changed it");
    Env::checkNothingLeft(project);
    if (rc != 0)
        return 0;
    for (const char* input : {"units.json", "design.json"}) {
        const QByteArray before = Env::read(project);
        const QString command = QLatin1String(input) == QLatin1String("units.json")
                                    ? QStringLiteral("units")
                                    : QStringLiteral("input");
        rc = env.tool({command, project, env.path(QLatin1String(input))});
        Env::check(rc == 0 || rc == 1, "a command ended with a status other than 0 or 1");
        Env::check(rc == 0 || Env::read(project) == before,
                   "a refused command changed the project file");
        Env::checkNothingLeft(project);
    }
    return 0;
}
