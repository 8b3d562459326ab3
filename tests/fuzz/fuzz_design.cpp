// libFuzzer target: DESIGN.json as anyone may write it, entered by
// `zefrant-cli input` into a sample project. A refused design leaves the project
// byte for byte as it was; a crash, a sanitizer finding, a hang or a refused
// design that changed the file is a finding.
#include "fuzzsupport.h"

#include "session/design.h"

using zf::fuzz::Env;

namespace {
QByteArray base;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    base = zf::fuzz::sampleProject();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Env& env = Env::get();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Most inputs are not even the form of a design: the reader alone says so.
    zf::Design design;
    QString error;
    const bool readable = zf::parseDesign(bytes, &design, &error);
    Env::check(readable || !error.isEmpty(), "a refused design without a reason");
    if (!readable)
        return 0;
    const QString project = env.path(QStringLiteral("p.zfp"));
    const QString json = env.path(QStringLiteral("d.json"));
    Env::clean(project);
    Env::write(project, base);
    Env::write(json, bytes);
    const int rc = env.tool({QStringLiteral("input"), project, json});
    Env::check(rc == 0 || rc == 1, "input ended with a status other than 0 or 1");
    Env::check(rc == 0 || Env::read(project) == base, "a refused design changed the project file");
    Env::checkNothingLeft(project);
    return 0;
}
