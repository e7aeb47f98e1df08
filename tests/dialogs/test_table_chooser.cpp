// The table chooser on the demo schema: what it lists, what it preselects,
// and how ESC, the kind buttons and a close behave while names arrive.
#include "dialogs/TfmTable.h"
#include "oracle/TOCIctrl.h"
#include "support/DemoWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

class Chooser : public DemoWindow {
protected:
    // Shows the dialog as the main window does and lets it fill its list.
    void open(const QString &tableName)
    {
        chooser.TableName = tableName;
        chooser.show();
        chooser.activateWindow();
        QCoreApplication::processEvents();
    }

    QStringList names() const
    {
        QStringList listed;
        for (int row = 0; row < chooser.lbTable->count(); ++row)
            listed << chooser.lbTable->item(row)->text();
        return listed;
    }

    QString selected() const
    {
        const std::optional<QByteArray> name = chooser.selectedName();
        return name ? QString::fromLocal8Bit(*name) : QStringLiteral("(none)");
    }

    // Runs one filling with `during` queued to happen at its first pause.
    void fillWith(std::function<void()> during)
    {
        QMetaObject::invokeMethod(chooser.lbTable, std::move(during), Qt::QueuedConnection);
        chooser.RefillList();
    }

    // A key as it comes: to the widget with the focus.
    void pressKey(int key)
    {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && focus->window() == &chooser);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &press);
    }

    TfmTable chooser;
};

TEST_F(Chooser, ListsTheSchemasTablesAndSelectsTheNameExactly)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("STAFF"), QStringLiteral("STAFF")},
        {QStringLiteral("staff"), QStringLiteral("(none)")},
        {QString(), QStringLiteral("(none)")},
    };
    for (const auto &[tableName, expected] : cases) {
        open(tableName);
        QStringList listed = names();
        listed.sort();
        EXPECT_EQ(listed, (QStringList{QStringLiteral("PRODUCTS"), QStringLiteral("SECTIONS"), QStringLiteral("STAFF")}));
        EXPECT_EQ(selected(), expected) << tableName.toStdString();
        chooser.hide();
    }
}

TEST_F(Chooser, TabsFromTheListThroughTheButtons)
{
    QStringList order;
    for (QWidget *w = chooser.nextInFocusChain(); w != &chooser; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            order << w->objectName();
    EXPECT_EQ(order.join(u' '), QStringLiteral("lbTable pbOk pbCancel rbTable rbView"));
}

TEST_F(Chooser, TheKindOfObjectLastsBetweenShowings)
{
    open(QString());
    chooser.rbView->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(ObjKind, QStringLiteral("VIEW"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("SALES_STAFF")});
    chooser.pbCancel->click();
    EXPECT_FALSE(chooser.isVisible());

    open(QStringLiteral("SALES_STAFF"));
    EXPECT_TRUE(chooser.rbView->isChecked());
    EXPECT_EQ(selected(), QStringLiteral("SALES_STAFF"));
}

TEST_F(Chooser, WithoutASessionTheListIsEmpty)
{
    ASSERT_TRUE(window->OCI->DisConnect());
    open(QStringLiteral("STAFF"));
    EXPECT_TRUE(names().isEmpty());
    EXPECT_EQ(selected(), QStringLiteral("(none)"));
}

TEST_F(Chooser, EscStopsTheFillingAndKeepsTheDialogOpen)
{
    open(QString());
    ASSERT_EQ(QApplication::focusWidget(), chooser.lbTable);
    fillWith([this] { pressKey(Qt::Key_Escape); });
    ASSERT_EQ(names().size(), 1);
    EXPECT_TRUE(chooser.isVisible());
    // ESC, and Enter in the list, never close the dialog; Enter on a button
    // presses it.
    pressKey(Qt::Key_Escape);
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());

    chooser.lbTable->setCurrentRow(0);
    chooser.pbOk->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(selected(), names().front());
}

TEST_F(Chooser, AClickWhileNamesArriveWaitsForTheFilling)
{
    open(QStringLiteral("STAFF"));
    bool openAfterClick = false;
    fillWith([&] {
        chooser.pbOk->click();
        openAfterClick = chooser.isVisible();
    });
    EXPECT_TRUE(openAfterClick);
    EXPECT_EQ(names().size(), 3);
    EXPECT_EQ(selected(), QStringLiteral("STAFF"));
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_FALSE(chooser.isVisible());

    open(QString());
    fillWith([this] { chooser.rbView->click(); });
    // The views' filling ran after the tables' one, not inside it.
    EXPECT_EQ(names(), QStringList{QStringLiteral("SALES_STAFF")});
}

TEST_F(Chooser, ADoubleClickAccepts)
{
    open(QString());
    QListWidgetItem *item = chooser.lbTable->item(0);
    ASSERT_NE(item, nullptr);
    item->setSelected(true);
    emit chooser.lbTable->itemDoubleClicked(item);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_FALSE(chooser.isVisible());
}

} // namespace
