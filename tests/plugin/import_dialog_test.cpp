// The import options dialog: its layout, its starting values and what
// accepting and cancelling leave in its values, the scale factor included.
#include "plugin/yfx_import_dlg.h"
#include "plugin_test_support.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QValidator>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

struct ExpectedCheck {
    const char* text;
    const char* whatsThis;
    int start;
};

const ExpectedCheck kExpected[YFXImportFilterDlg::kCheckCount] = {
    {"Import lights", "If checked, import lights.", 1},
    {"Import groups", "If checked, import groups.", 0},
    {"Import materials", "If checked, import materials.", 1},
    {"Import texture coordinates", "If checked, import texture coordinates.", 1},
    {"Import uvsets", "If checked, import uvsets.", 1},
    {"Import joints", "If checked, import joints.", 0},
    {"Import animation", "If checked, import animation.", 0},
};

QString groupTitleOf(const QWidget* widget) {
    const auto* group = qobject_cast<const QGroupBox*>(widget->parentWidget());
    return group != nullptr ? group->title() : QStringLiteral("<no group>");
}

// Accepts a fresh dialog with `text` in the scale field.
float acceptedScale(const QString& text) {
    YFXImportFilterDlg dialog;
    dialog.scaleField()->setText(text);
    dialog.acceptButton()->click();
    return dialog.scaleFactor();
}

} // namespace

TEST(ImportDialogTest, IsAFixedSizeModalDialogWithItsTitle) {
    YFXImportFilterDlg dialog;
    yfx_test::showAndLayOut(dialog);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("YFXImportFilterDlg"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Marrowmap Import Options"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowFlags() & 0x1100, Qt::WindowFlags(0x1100));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.size(), dialog.minimumSize());
    EXPECT_GE(dialog.width(), 300);
}

TEST(ImportDialogTest, ChecksAndScaleFieldStartAsDocumented) {
    YFXImportFilterDlg dialog;
    yfx_test::showAndLayOut(dialog);
    for (int i = 0; i < YFXImportFilterDlg::kCheckCount; ++i) {
        const QCheckBox* box = dialog.checkBox(i);
        ASSERT_NE(box, nullptr) << i;
        EXPECT_EQ(box->text(), QString::fromLatin1(kExpected[i].text)) << i;
        EXPECT_EQ(box->whatsThis(), QString::fromLatin1(kExpected[i].whatsThis)) << i;
        EXPECT_EQ(box->checkState(), kExpected[i].start == 1 ? Qt::Checked : Qt::Unchecked) << i;
        EXPECT_EQ(dialog.value(i), kExpected[i].start) << i;
        EXPECT_EQ(groupTitleOf(box), QStringLiteral("Import Options")) << i;
    }
    const QLineEdit* field = dialog.scaleField();
    const QLabel* label = dialog.scaleLabel();
    ASSERT_TRUE(field && label);
    EXPECT_EQ(field->text(), QStringLiteral("1.000"));
    EXPECT_TRUE(field->inputMask().isEmpty());
    EXPECT_NE(qobject_cast<const QDoubleValidator*>(field->validator()), nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Scale factor:"));
    const QString help = QStringLiteral("Scaling factor to scale the scene on import.");
    EXPECT_EQ(field->whatsThis(), help);
    EXPECT_EQ(label->whatsThis(), help);
    EXPECT_EQ(groupTitleOf(field), QStringLiteral("Misc Import Options"));
    EXPECT_EQ(groupTitleOf(label), QStringLiteral("Misc Import Options"));
    EXPECT_LT(label->mapTo(&dialog, QPoint()).x(), field->mapTo(&dialog, QPoint()).x());
    EXPECT_GT(field->mapTo(&dialog, QPoint()).y(),
              dialog.checkBox(YFXImportFilterDlg::kCheckCount - 1)->mapTo(&dialog, QPoint()).y());
    EXPECT_FLOAT_EQ(dialog.scaleFactor(), 1.0f);

    EXPECT_TRUE(dialog.acceptButton()->isDefault());
    EXPECT_EQ(dialog.acceptButton()->text(), QStringLiteral("&Accept"));
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(dialog.whatsThisButton()->height(), 20);
    EXPECT_GT(dialog.acceptButton()->mapTo(&dialog, QPoint()).y(),
              field->mapTo(&dialog, QPoint()).y());
}

TEST(ImportDialogTest, SlotsAreDeclaredInOrderBeforeAcceptAndReject) {
    const QMetaObject& meta = YFXImportFilterDlg::staticMetaObject;
    int previous = meta.methodOffset() - 1;
    for (int i = 1; i <= YFXImportFilterDlg::kCheckCount; ++i) {
        const int index = meta.indexOfSlot(QStringLiteral("onCheck%1(int)").arg(i).toLatin1());
        EXPECT_GT(index, previous) << i;
        previous = index;
    }
    EXPECT_GT(meta.indexOfSlot("accept()"), previous);
    EXPECT_GT(meta.indexOfSlot("reject()"), meta.indexOfSlot("accept()"));
}

TEST(ImportDialogTest, AcceptParsesTheScaleField) {
    EXPECT_FLOAT_EQ(acceptedScale(QStringLiteral("2.5")), 2.5f);
    EXPECT_FLOAT_EQ(acceptedScale(QStringLiteral("1.000")), 1.0f);
    EXPECT_FLOAT_EQ(acceptedScale(QStringLiteral("-0.25")), -0.25f);
    // Text that is not a number, an empty field included, gives 0.
    EXPECT_EQ(acceptedScale(QString()), 0.0f);
    EXPECT_EQ(acceptedScale(QStringLiteral("abc")), 0.0f);
    // Nor does a non-finite value get through.
    EXPECT_EQ(acceptedScale(QStringLiteral("nan")), 0.0f);
    EXPECT_EQ(acceptedScale(QStringLiteral("inf")), 0.0f);
}

TEST(ImportDialogTest, AcceptStoresTheStatesAndRejectKeepsTheStart) {
    {
        YFXImportFilterDlg dialog;
        dialog.acceptButton()->click();
        for (int i = 0; i < YFXImportFilterDlg::kCheckCount; ++i) {
            EXPECT_EQ(dialog.value(i), kExpected[i].start) << i;
        }
    }
    {
        YFXImportFilterDlg dialog;
        dialog.checkBox(1)->setChecked(true);
        dialog.checkBox(4)->setChecked(false);
        dialog.checkBox(6)->setChecked(true);
        dialog.acceptButton()->click();
        const int expected[] = {1, 1, 1, 1, 0, 0, 1};
        for (int i = 0; i < YFXImportFilterDlg::kCheckCount; ++i) {
            EXPECT_EQ(dialog.value(i), expected[i]) << i;
        }
    }
    {
        YFXImportFilterDlg dialog;
        for (int i = 0; i < YFXImportFilterDlg::kCheckCount; ++i) {
            dialog.checkBox(i)->setChecked(kExpected[i].start != 1);
        }
        dialog.scaleField()->setText(QStringLiteral("7"));
        dialog.cancelButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        for (int i = 0; i < YFXImportFilterDlg::kCheckCount; ++i) {
            EXPECT_EQ(dialog.value(i), kExpected[i].start) << i;
        }
        EXPECT_FLOAT_EQ(dialog.scaleFactor(), 1.0f);
    }
}

TEST(ImportDialogTest, EnterAcceptsTheRunningDialog) {
    YFXImportFilterDlg dialog;
    bool shown = false;
    yfx_test::onModalDialog(
        [](QWidget* modal) {
            auto* d = qobject_cast<YFXImportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            d->scaleField()->setText(QStringLiteral("0.5"));
            // Enter in the field goes on to the dialog's default button.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(d->scaleField(), &press);
        },
        &shown);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(shown);
    EXPECT_FLOAT_EQ(dialog.scaleFactor(), 0.5f);
}
