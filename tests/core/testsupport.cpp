#include "testsupport.h"

#include "common/globals.h"
#include "i18n/texts.h"
#include "storage/filecopy.h"
#include "storage/sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <sqlite3.h>

namespace zf::test {

int TestDialogs::messageBox(const QString& text, const QString& caption, int flags) {
    boxes.push_back({text, caption, flags});
    if (onBox)
        onBox(boxes.back());
    if (!answers.empty()) {
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (flags & 0x0f) {
    case 3:
        return IdCancel;
    case 4:
        return IdNo;
    default:
        return IdOk;
    }
}

QString TestDialogs::openFileName(const QString&, const QString&, const QString&) {
    if (openNames.empty())
        return {};
    QString n = openNames.front();
    openNames.pop_front();
    return n;
}

QString TestDialogs::saveFileName(const SaveDialogOptions& o) {
    saveDialogs.push_back(o);
    if (saveNames.empty())
        return {};
    QString n = saveNames.front();
    saveNames.pop_front();
    return n;
}

void StorageTest::SetUp() {
    // Numbers are formatted with the user's separators; the tests expect the C ones.
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(work.isValid());
    initProgramPaths(QStringLiteral(ZEFRANT_PROGRAM_DIR));
    TempPath = withTrailingSlash(tmp.path());
    // Each test has a reference database of its own, as a machine's common one
    // (unless the test gave it one already): what one test writes there (the
    // compiler's defaults, catalog items) never meets another test beside it.
    savedCommon_ = qgetenv("ZEFRANT_COMMON_APPDATA");
    const QString given = QString::fromUtf8(savedCommon_);
    if (given.isEmpty() || !QFileInfo::exists(given + QStringLiteral("/Quadrel/Zefrant/ZF.zft"))) {
        const QString common = tmp.filePath(QStringLiteral("common"));
        const QString copy = common + QStringLiteral("/Quadrel/Zefrant/ZF.zft");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).path()));
        ASSERT_TRUE(QFile::copy(AppPath + QStringLiteral("DB/ZF.zft"), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        qputenv("ZEFRANT_COMMON_APPDATA", common.toUtf8());
    }
    // And a data folder of its own, for the user's own items and defaults.
    savedUserData_ = qgetenv("ZEFRANT_USER_DATA");
    qputenv("ZEFRANT_USER_DATA", tmp.filePath(QStringLiteral("user")).toUtf8());
    setLanguage(BaseEN);
    Modified = false;
    LastError.clear();
    setDialogs(&dlg);
    setCopyInterruptHook(nullptr);
    data = std::make_unique<TZFData>();
    ASSERT_TRUE(data->startUp()) << (dlg.boxes.empty() ? "" : qPrintable(dlg.last().text));
    files = std::make_unique<ProjectFiles>(*data);
}

void StorageTest::TearDown() {
    files.reset();
    data.reset();
    setCopyInterruptHook(nullptr);
    setDialogs(nullptr);
    qputenv("ZEFRANT_COMMON_APPDATA", savedCommon_);
    qputenv("ZEFRANT_USER_DATA", savedUserData_);
}

QString StorageTest::copyTemplate(const QString& name) {
    const QString path = work.filePath(name);
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(TemplatePath, path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return path;
}

void StorageTest::sql(const QString& file, const QString& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &err);
    const QString msg = QString::fromUtf8(err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << qPrintable(msg);
}

QByteArray StorageTest::readAll(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace zf::test
