#pragma once

#include "common/dialogs.h"
#include "storage/projectfiles.h"
#include "storage/zfdata.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace zf::test {

// The Dialogs port of the tests: answers come from queues, every question is
// recorded.
class TestDialogs final : public Dialogs {
public:
    struct Box {
        QString text;
        QString caption;
        int flags;
    };
    std::vector<Box> boxes;
    std::deque<int> answers;       // message box answers; default OK/Cancel/No
    std::deque<QString> saveNames; // Save dialog answers; empty: cancel
    std::deque<QString> openNames; // Open dialog answers
    std::vector<SaveDialogOptions> saveDialogs;
    std::function<void(const Box&)> onBox; // sees the program while a box is up

    int messageBox(const QString& text, const QString& caption, int flags) override;
    QString openFileName(const QString&, const QString&, const QString&) override;
    QString saveFileName(const SaveDialogOptions& o) override;

    const Box& last() const { return boxes.back(); }
};

// A fresh program state for each test: program paths at the build's program
// folder, a temporary folder as the user's temporary folder, English texts, the
// test dialogs, and the data module started.
class StorageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A copy of the template at dir/name.
    QString copyTemplate(const QString& name);
    // Runs SQL on a file with a connection of its own (the test's hand on the file).
    static void sql(const QString& file, const QString& statement);
    static QByteArray readAll(const QString& file);

    QTemporaryDir tmp;  // the user's temporary folder
    QTemporaryDir work; // where the tests keep their project files
    TestDialogs dlg;
    std::unique_ptr<TZFData> data;
    std::unique_ptr<ProjectFiles> files;

private:
    QByteArray savedCommon_;
    QByteArray savedUserData_;
};

} // namespace zf::test
