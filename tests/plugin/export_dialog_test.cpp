// The export options dialog: its layout, its starting states and what
// accepting and cancelling leave in its values.
#include "plugin/yfx_export_dlg.h"
#include "plugin_test_support.h"

#include <QtCore/QMetaMethod>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QWhatsThis>

#include <gtest/gtest.h>

namespace {

struct ExpectedCheck {
    const char* text;
    const char* whatsThis;
    int start;
    const char* group;
};

const ExpectedCheck kExpected[YFXExportFilterDlg::kCheckCount] = {
    {"Export lights", "If checked, export lights.", 1, "Export Options"},
    {"Export materials", "If checked, export materials.", 1, "Export Options"},
    {"Export texture coordinates", "If checked, export texture coordinates.", 1, "Export Options"},
    {"Export uvsets", "If checked, export uvsets.", 1, "Export Options"},
    {"Export joints", "If checked, export joints.", 1, "Export Options"},
    {"Export animation", "If checked, export animation.", 1, "Export Options"},
    {"Export visible meshes only", "If checked, export visible meshes only.", 1,
     "Misc Export Options"},
    {"Export zero figure pose", "If checked, export a zero figure pose.", 0, "Misc Export Options"},
    {"Merge materials", "If checked, merge materials.", 0, "Misc Export Options"},
    {"Collapse UVs (UDIM tiles)", "If checked, collapse UVs for UDIM tiles.", 1,
     "Misc Export Options"},
    {"Export high resolution meshes", "If checked, export high resolution meshes.", 0,
     "Misc Export Options"},
    {"Export textures to saved directory", "If checked, export textures to saved directory.", 1,
     "File Export Options"},
    {"Export as YFX v2.x", "If checked, export as YFX v2.x.", 0, "File Export Options"},
};

QString groupTitleOf(const QWidget* widget) {
    const auto* group = qobject_cast<const QGroupBox*>(widget->parentWidget());
    return group != nullptr ? group->title() : QStringLiteral("<no group>");
}

} // namespace

TEST(ExportDialogTest, IsAFixedSizeModalDialogWithItsTitle) {
    YFXExportFilterDlg dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("YFXExportFilterDlg"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Marrowmap Export Options"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowFlags() & 0x1100, Qt::WindowFlags(0x1100));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    yfx_test::showAndLayOut(dialog);
    EXPECT_EQ(dialog.size(), dialog.minimumSize());
    EXPECT_GE(dialog.width(), 300);
    EXPECT_GE(dialog.height(), dialog.minimumSizeHint().height());
}

TEST(ExportDialogTest, ChecksHaveTheirTextsHelpStatesAndGroups) {
    YFXExportFilterDlg dialog;
    yfx_test::showAndLayOut(dialog);
    for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
        const QCheckBox* box = dialog.checkBox(i);
        ASSERT_NE(box, nullptr) << i;
        EXPECT_EQ(box->text(), QString::fromLatin1(kExpected[i].text)) << i;
        EXPECT_EQ(box->whatsThis(), QString::fromLatin1(kExpected[i].whatsThis)) << i;
        EXPECT_EQ(box->checkState(), kExpected[i].start == 1 ? Qt::Checked : Qt::Unchecked) << i;
        EXPECT_EQ(dialog.value(i), kExpected[i].start) << i;
        EXPECT_EQ(groupTitleOf(box), QString::fromLatin1(kExpected[i].group)) << i;
    }
    // The groups appear top to bottom in their order, boxes in index order.
    for (int i = 1; i < YFXExportFilterDlg::kCheckCount; ++i) {
        EXPECT_LT(dialog.checkBox(i - 1)->mapTo(&dialog, QPoint()).y(),
                  dialog.checkBox(i)->mapTo(&dialog, QPoint()).y())
            << i;
    }
}

TEST(ExportDialogTest, ButtonRowHasHelpAcceptAndCancel) {
    YFXExportFilterDlg dialog;
    yfx_test::showAndLayOut(dialog);
    QPushButton* help = dialog.whatsThisButton();
    QPushButton* accept = dialog.acceptButton();
    QPushButton* cancel = dialog.cancelButton();
    ASSERT_TRUE(help && accept && cancel);
    EXPECT_TRUE(help->text().isEmpty());
    EXPECT_EQ(help->height(), 20);
    EXPECT_TRUE(help->whatsThis().startsWith(QStringLiteral("<b>What's This? :</b><br>Click "
                                                            "here to activate the interactive")));
    EXPECT_EQ(accept->text(), QStringLiteral("&Accept"));
    EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(accept->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    EXPECT_GE(accept->minimumWidth(), 80);
    EXPECT_GE(cancel->minimumWidth(), 80);
    EXPECT_EQ(accept->whatsThis(),
              QStringLiteral("<b>Accept :</b><br>Click here to accept the dialog."));
    EXPECT_EQ(cancel->whatsThis(),
              QStringLiteral("<b>Cancel :</b><br>Click here to cancel the dialog."));
    const auto* row = qobject_cast<const QGroupBox*>(accept->parentWidget());
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->isFlat());
    EXPECT_TRUE(row->title().isEmpty());
    EXPECT_LT(help->mapTo(&dialog, QPoint()).x(), accept->mapTo(&dialog, QPoint()).x());
    EXPECT_LT(accept->mapTo(&dialog, QPoint()).x(), cancel->mapTo(&dialog, QPoint()).x());
    // The row is the last thing in the dialog.
    EXPECT_GT(accept->mapTo(&dialog, QPoint()).y(),
              dialog.checkBox(YFXExportFilterDlg::kCheckCount - 1)->mapTo(&dialog, QPoint()).y());
}

TEST(ExportDialogTest, SlotsAreDeclaredInOrderBeforeAcceptAndReject) {
    const QMetaObject& meta = YFXExportFilterDlg::staticMetaObject;
    int previous = meta.methodOffset() - 1;
    for (int i = 1; i <= YFXExportFilterDlg::kCheckCount; ++i) {
        const int index = meta.indexOfSlot(QStringLiteral("onCheck%1(int)").arg(i).toLatin1());
        EXPECT_GT(index, previous) << i;
        previous = index;
    }
    EXPECT_GT(meta.indexOfSlot("accept()"), previous);
    EXPECT_GT(meta.indexOfSlot("reject()"), meta.indexOfSlot("accept()"));
}

TEST(ExportDialogTest, AcceptStoresTheStatesAndRejectKeepsTheStart) {
    {
        YFXExportFilterDlg dialog;
        dialog.checkBox(0)->setChecked(false); // lights off
        dialog.checkBox(7)->setChecked(true);  // zero pose on
        dialog.checkBox(12)->setChecked(true); // v2.x on
        for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
            EXPECT_EQ(dialog.value(i), kExpected[i].start) << "before accepting, " << i;
        }
        dialog.acceptButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
            const int expected = (i == 0) ? 0 : (i == 7 || i == 12) ? 1 : kExpected[i].start;
            EXPECT_EQ(dialog.value(i), expected) << i;
        }
    }
    {
        YFXExportFilterDlg dialog;
        for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
            dialog.checkBox(i)->setChecked(kExpected[i].start != 1);
        }
        dialog.cancelButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
            EXPECT_EQ(dialog.value(i), kExpected[i].start) << i;
        }
    }
}

TEST(ExportDialogTest, EnterAcceptsTheRunningDialog) {
    YFXExportFilterDlg dialog;
    bool shown = false;
    yfx_test::onModalDialog(
        [](QWidget* modal) {
            auto* d = qobject_cast<YFXExportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            d->checkBox(1)->setChecked(false);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(d, &press);
        },
        &shown);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(shown);
    EXPECT_EQ(dialog.value(0), 1);
    EXPECT_EQ(dialog.value(1), 0);
}

TEST(ExportDialogTest, HelpButtonStartsTheInteractiveHelp) {
    YFXExportFilterDlg dialog;
    ASSERT_FALSE(QWhatsThis::inWhatsThisMode());
    dialog.whatsThisButton()->click();
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_EQ(dialog.result(), 0);
}
