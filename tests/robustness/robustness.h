#pragma once

// Shared by the robustness tests: sample projects, the state of a project file
// as a fingerprint of its tables, and runs of the real zefrant-cli.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <random>

namespace zf::robustness {

// A design and a units choice that change a sample project.
extern const char* const SampleDesign;
extern const char* const ChangedDesign;
extern const char* const SampleUnits;
extern const char* const ChangedUnits;

QByteArray fileBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);

// Every row of every project table, as the next open would see them: a
// transaction a killed run left in a journal is rolled back first. Empty when
// the file is no database or lacks a table.
QByteArray tablesFingerprint(const QString& file);

// What a run left beside the project: backup, lock, journal, temporary copies.
QStringList leftoversOf(const QString& project);

struct ToolRun {
    int status = -1; // -1: ended by a signal or the time limit
    bool finished = false;
    QByteArray err;
};
// The real tool as a process, with extra environment entries ("NAME=value").
ToolRun runTool(const QStringList& args, const QStringList& env = {}, int timeoutMs = 60000);

// A project made by the tool itself: new, a design entered, units placed.
QByteArray makeSampleProject(const QString& folder);

// Appends a line to the figures the test command shows after the tests.
void reportFigures(const QString& line);

} // namespace zf::robustness
