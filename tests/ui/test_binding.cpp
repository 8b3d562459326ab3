// The pieces the windows bind with, on a real project under the offscreen
// platform: the item model over a dataset and its grid, the field binder with
// numbers typed in the user's locale.
#include "binding/datasetgrid.h"
#include "binding/datasetmodel.h"
#include "binding/fieldbinder.h"
#include "common/globals.h"
#include "common/resultcodes.h"
#include "sessionsupport.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

using namespace zf;
using namespace zf::test;

namespace {

class BindingTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        data->openMaterials();
        ASSERT_EQ(session->commandNew(), ResultOk);
        wizard->chooseRoofType(RoofType::Saddle);
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        SessionTest::TearDown();
    }
    static std::vector<GridColumn> wallColumns() {
        return {{QStringLiteral("NazevEN"), QStringLiteral("Name"), 120, false},
                {QStringLiteral("Plocha"), QStringLiteral("Area"), 60, false},
                {QStringLiteral("Material"), QStringLiteral("Material"), 150, true},
                {QStringLiteral("k"), QStringLiteral("U"), 50, true}};
    }
};

} // namespace

TEST_F(BindingTest, ModelFollowsTheDatasetBothWays) {
    DatasetModel model(data->dsSteny);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setColumns(wallColumns());
    EXPECT_EQ(model.rowCount(), 9) << "the saddle roof's visible surfaces";
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), QStringLiteral("Wall 1"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("U"));
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);

    // An edit goes through the dataset, so the constructions page's rule fills k.
    data->tMaterialy.first();
    const QString material = data->tMaterialy.asString(QStringLiteral("Material"));
    const double k = data->tMaterialy.asFloat(QStringLiteral("k"));
    dlg.answers = {IdNo};
    ASSERT_TRUE(model.setData(model.index(1, 2), material));
    EXPECT_EQ(data->tSteny.currentRow(), 1);
    EXPECT_DOUBLE_EQ(data->tSteny.asFloat(QStringLiteral("k")), k);
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), material);

    // A value the data layer refuses: its message, and the cell as it was.
    const QString tooLong(300, QLatin1Char('x'));
    const size_t boxes = dlg.boxes.size();
    EXPECT_FALSE(model.setData(model.index(1, 2), tooLong));
    ASSERT_EQ(dlg.boxes.size(), boxes + 1);
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("too long")));
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), material);
    EXPECT_EQ(data->tSteny.state(), Dataset::State::Browse);

    // The rows change with the roof; the model resets, the tester checks it.
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    wizard->chooseRoofType(RoofType::Flat);
    EXPECT_GE(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 6);
    model.setCurrentRow(3);
    EXPECT_EQ(data->tSteny.currentRow(), 3);
}

TEST_F(BindingTest, GridAndDatasetShareTheCurrentRow) {
    DatasetModel model(data->dsSteny);
    model.setColumns(wallColumns());
    DatasetGrid grid;
    grid.setDatasetModel(&model);
    grid.setColumnEntryRule([](int c) { return c < 2 ? 2 : c; });
    grid.resize(600, 300);
    grid.show();
    data->tSteny.moveToRow(4);
    EXPECT_EQ(grid.currentIndex().row(), 4);
    grid.setCurrentIndex(model.index(2, 0));
    EXPECT_EQ(data->tSteny.currentRow(), 2);
    QApplication::processEvents();
    EXPECT_EQ(grid.currentIndex().column(), 2) << "entry to an earlier column leads on";
    EXPECT_EQ(grid.columnWidth(2), 150);
    DatasetGrid::fitColumn(&grid, 2);
    EXPECT_EQ(grid.columnWidth(2), grid.viewport()->width() - 120 - 60 - 50 - 14);

    // A text cut off by its cell shows whole when hovered; one that fits does not.
    data->tSteny.moveToRow(0);
    data->tSteny.setValue(QStringLiteral("Material"),
                          QStringLiteral("Sandwich panel PUR 100 mm with a long name"));
    data->tSteny.post();
    grid.setColumnWidth(2, 60);
    auto hover = [&](int column) {
        const QPoint at = grid.visualRect(model.index(0, column)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid.viewport(), &help);
    };
    hover(2);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Sandwich panel PUR 100 mm with a long name"));
    hover(1);
    QApplication::processEvents();
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text() == model.index(0, 1).data().toString());
}

TEST_F(BindingTest, NumbersTypedInTheUsersLocale) {
    QWidget form;
    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("DBEd_A"));
    auto* other = new QLineEdit(&form);
    FieldBinder binder;
    FieldAccess a;
    a.kind = EditKind::Float;
    a.read = [this] { return data->tADOProject.value(QStringLiteral("Stena_A")); };
    a.write = [this](const QVariant& v, QString* error) {
        return wizard->enterEdit(QStringLiteral("DBEd_A"), v, error);
    };
    a.colour = [this](bool focused) {
        return wizard->editColour(QStringLiteral("DBEd_A"), focused);
    };
    binder.bind(edit, a);
    form.show();
    QApplication::setActiveWindow(&form);
    auto type = [&](const QString& text) {
        edit->setFocus();
        QApplication::processEvents();
        edit->setText(text);
        other->setFocus();
        QApplication::processEvents();
    };
    if (!edit->isVisible())
        GTEST_SKIP() << "no windows on this platform";

    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    type(QStringLiteral("1 234,5"));
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Stena_A")), 1234.5);
    EXPECT_EQ(edit->text(), QString::fromUtf8("1\u00a0234,5")) << "shown with ,0.##";
    EXPECT_EQ(edit->palette().color(QPalette::Base),
              edit->style()->standardPalette().color(QPalette::Base));

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    type(QStringLiteral("1,234.75"));
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Stena_A")), 1234.75);
    type(QString::fromUtf8("\u22125"));
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Stena_A")), -5);

    const size_t boxes = dlg.boxes.size();
    type(QStringLiteral("wide"));
    ASSERT_EQ(dlg.boxes.size(), boxes + 1);
    EXPECT_TRUE(dlg.last().text.contains(QStringLiteral("not a valid number")));
    EXPECT_DOUBLE_EQ(data->tADOProject.asFloat(QStringLiteral("Stena_A")), -5) << "kept";
    QApplication::processEvents();
    EXPECT_TRUE(edit->hasFocus()) << "the focus stays in the edit";
    EXPECT_EQ(edit->text(), QStringLiteral("-5"));

    type(QStringLiteral("0"));
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 0, 0)) << "0 is red";
}

TEST_F(BindingTest, APickListCanWriteTheChosenEntryAtOnce) {
    DatasetModel model(data->dsSteny);
    model.setColumns(wallColumns());
    model.setTitleAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    DatasetGrid grid;
    grid.setDatasetModel(&model);
    auto* delegate = new PickListDelegate(
        [](int) {
            return QStringList{QStringLiteral("Brick"), QStringLiteral("Glass")};
        },
        &grid);
    delegate->setKeepOpenAfterChoice(true);
    grid.setItemDelegateForColumn(2, delegate);
    grid.resize(600, 300);
    grid.show();
    dlg.answers = {IdNo, IdNo};
    const QModelIndex cell = model.index(1, 2);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* combo = grid.viewport()->findChild<QComboBox*>();
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->maxVisibleItems(), 16);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Glass"))
        << "written while the list is still open";
    EXPECT_TRUE(grid.editing());
}

TEST_F(BindingTest, EditsWrittenOnlyWhenTypedAndCommittedBeforeADialogCloses) {
    QWidget form;
    auto* edit = new QLineEdit(&form);
    FieldBinder binder;
    double stored = 6.9166666;
    int writes = 0;
    FieldAccess a;
    a.kind = EditKind::Float;
    a.displayFormat = QStringLiteral("0.##");
    a.writeOnlyChanged = true;
    a.read = [&] { return QVariant(stored); };
    a.write = [&](const QVariant& v, QString* error) {
        ++writes;
        if (v.typeId() == QMetaType::QString || v.toDouble() > 100) {
            *error = QStringLiteral("refused");
            return false;
        }
        stored = v.toDouble();
        return true;
    };
    binder.bind(edit, a);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    binder.refresh();
    EXPECT_EQ(edit->text(), QStringLiteral("6.92")) << "its own display format, no grouping";
    EXPECT_TRUE(binder.commit(edit));
    EXPECT_EQ(writes, 0) << "nothing typed: the value keeps its decimals";
    EXPECT_DOUBLE_EQ(stored, 6.9166666);

    edit->setText(QStringLiteral("1,500"));
    edit->setModified(true);
    const size_t boxes = dlg.boxes.size();
    EXPECT_FALSE(binder.commit(edit));
    EXPECT_EQ(dlg.boxes.size(), boxes + 1);
    EXPECT_EQ(binder.refusedControl(), edit);
    EXPECT_DOUBLE_EQ(stored, 6.9166666);
    edit->setText(QStringLiteral("12.5"));
    edit->setModified(true);
    EXPECT_TRUE(binder.commit(edit));
    EXPECT_DOUBLE_EQ(stored, 12.5);
    EXPECT_EQ(binder.refusedControl(), nullptr);
    EXPECT_FALSE(edit->isModified());
}

TEST_F(BindingTest, ButtonsListsAndTheColourWhileTyping) {
    QWidget form;
    auto* a = new QRadioButton(&form);
    auto* b = new QRadioButton(&form);
    auto* region = new QComboBox(&form);
    region->setEditable(true);
    auto* edit = new QLineEdit(&form);
    auto* other = new QLineEdit(&form);
    FieldBinder binder;
    int unit = 0;
    QStringList written;
    auto radio = [&](int which) {
        FieldAccess r;
        r.read = [&unit, which] { return unit == which; };
        r.write = [&unit, which](const QVariant& v, QString*) {
            if (v.toBool())
                unit = which;
            return true;
        };
        return r;
    };
    binder.bind(a, radio(0));
    binder.bind(b, radio(1));
    FieldAccess text;
    text.entries = [] { return QStringList{QStringLiteral("North"), QStringLiteral("South")}; };
    text.read = [&written] { return QVariant(written.value(written.size() - 1)); };
    text.write = [&written](const QVariant& v, QString*) {
        written << v.toString();
        return true;
    };
    binder.bind(region, text);
    FieldAccess number;
    number.kind = EditKind::Float;
    number.read = [] { return QVariant(0.0); };
    number.write = [](const QVariant&, QString*) { return true; };
    number.typedColour = [](const QVariant& typed) {
        return typed.isValid() && typed.toDouble() != 0 ? EditColour::Window : EditColour::Red;
    };
    binder.bind(edit, number);
    form.show();
    QApplication::setActiveWindow(&form);
    if (!form.isVisible())
        GTEST_SKIP() << "no windows on this platform";

    EXPECT_TRUE(a->isChecked());
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
    EXPECT_EQ(unit, 1) << "a radio button writes when it is ticked";
    unit = 0;
    binder.refresh();
    EXPECT_TRUE(a->isChecked()) << "and shows its value";
    EXPECT_FALSE(b->isChecked());

    // A list that can be edited gives its text: chosen, or typed and left.
    emit region->textActivated(QStringLiteral("South"));
    EXPECT_EQ(written, QStringList{QStringLiteral("South")});
    region->setFocus();
    QApplication::processEvents();
    region->setEditText(QStringLiteral("My own"));
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(written.last(), QStringLiteral("My own"));
    const qsizetype count = written.size();
    region->setFocus();
    QApplication::processEvents();
    other->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(written.size(), count) << "left unchanged, nothing is written";

    // The colour follows the text as it is typed, before it is left.
    edit->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(edit, QStringLiteral("12"));
    EXPECT_EQ(edit->palette().color(QPalette::Base),
              edit->style()->standardPalette().color(QPalette::Base));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 0, 0));
}

TEST_F(BindingTest, PickListWritesWhenChosenAndFittedColumnStays) {
    DatasetModel model(data->dsSteny);
    model.setColumns(wallColumns());
    DatasetGrid grid;
    grid.setDatasetModel(&model);
    const QStringList names = {QStringLiteral("Brick"), QStringLiteral("Concrete")};
    grid.setItemDelegateForColumn(2, new PickListDelegate([&](int) { return names; }, &grid));
    grid.resize(700, 300);
    grid.show();
    grid.setFittedColumn(2);
    EXPECT_EQ(grid.columnWidth(2), grid.viewport()->width() - 120 - 60 - 50 - 14);
    const int fitted = grid.columnWidth(2);
    // New rows read again (another roof) keep the fitted width.
    wizard->chooseRoofType(RoofType::Flat);
    EXPECT_EQ(grid.columnWidth(2), fitted);

    const QModelIndex cell = model.index(1, 2);
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* list = grid.findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 2);
    dlg.answers = {IdNo};
    list->setCurrentIndex(1);
    emit list->activated(1);
    QApplication::processEvents();
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Concrete"))
        << "choosing is writing";
    EXPECT_FALSE(grid.editing());

    // A typed cell is written by commitEdit, as leaving it would.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    grid.edit(cell);
    auto* typed = grid.findChild<QComboBox*>();
    ASSERT_NE(typed, nullptr);
    ASSERT_TRUE(grid.editing());
    typed->setEditText(QStringLiteral("Timber"));
    grid.commitEdit();
    EXPECT_EQ(data->tSteny.asString(QStringLiteral("Material")), QStringLiteral("Timber"));
}

// An open cell of a Text column takes what its column holds and no more; a
// cell left as it was shown writes nothing.
TEST_F(BindingTest, OpenCellsStopAtTheirLengthAndUnchangedOnesWriteNothing) {
    DatasetModel model(data->dsSteny);
    model.setColumns(wallColumns());
    EXPECT_EQ(model.maxLength(2), 50) << "Material is Text(50)";
    EXPECT_EQ(model.maxLength(3), 0) << "k is a number";
    EXPECT_EQ(model.data(model.index(0, 2), DatasetModel::MaxLengthRole).toInt(), 50);
    DatasetGrid grid;
    grid.setDatasetModel(&model);
    grid.resize(600, 300);
    grid.show();
    for (const int column : {2, 3}) {
        const QModelIndex cell = model.index(1, column);
        grid.setCurrentIndex(cell);
        grid.edit(cell);
        ASSERT_TRUE(grid.editing());
        auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(cell));
        ASSERT_NE(editor, nullptr);
        if (column == 2)
            EXPECT_EQ(editor->maxLength(), 50);
        else
            EXPECT_EQ(editor->maxLength(), QLineEdit().maxLength()) << "no limit on a number";
        Modified = false;
        grid.commitEdit();
        EXPECT_FALSE(Modified) << "column " << column << " left unchanged";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
