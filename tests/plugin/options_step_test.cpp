// The filters' options steps: the dialog over the main window, and exactly
// which settings keys each outcome leaves behind.
#include "plugin/message_box.h"
#include "plugin/yfx_export_dlg.h"
#include "plugin/yfx_export_filter.h"
#include "plugin/yfx_import_dlg.h"
#include "plugin/yfx_import_filter.h"
#include "plugin_test_support.h"

#include <dzfileiosettings.h>
#include <dzmainwindow.h>

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

const char* const kExportKeys[] = {
    "export_dialog_returned",      "export_lights_checkstate",  "export_materials_checkstate",
    "export_uvs_checkstate",       "export_uvsets_checkstate",  "export_joints_checkstate",
    "export_animation_checkstate", "export_visible_checkstate", "export_zeropose_checkstate",
    "merge_materials_checkstate",  "collapse_uvs_checkstate",   "export_high_resmesh_checkstate",
    "export_textures_checkstate",  "export_as_v2x_checkstate",
};

const char* const kImportKeys[] = {
    "import_dialog_returned",      "import_lights_checkstate",    "import_groups_checkstate",
    "import_materials_checkstate", "import_uvs_checkstate",       "import_uvsets_checkstate",
    "import_joints_checkstate",    "import_animation_checkstate", "import_scale_factor",
};

std::vector<QString> keysOf(const DzSettings& settings) {
    std::vector<QString> keys;
    for (int i = 0; i < settings.getNumValues(); ++i) {
        keys.push_back(settings.getKey(i));
    }
    return keys;
}

template <std::size_t N> std::vector<QString> keyList(const char* const (&keys)[N]) {
    std::vector<QString> out;
    for (const char* key : keys) {
        out.push_back(QString::fromLatin1(key));
    }
    return out;
}

// Collects the messages the plug-in shows instead of showing them.
class MessageRecorder {
public:
    MessageRecorder() {
        m_previous = yfx::setMessageSink([this](const yfx::Message& m) {
            messages.push_back(m);
            return 0;
        });
    }
    ~MessageRecorder() { yfx::setMessageSink(m_previous); }
    std::vector<yfx::Message> messages;

private:
    yfx::MessageSink m_previous;
};

class OptionsStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dzApp, nullptr);
        mainWindow = dzApp->createInterface();
    }
    void TearDown() override { dzApp->deleteInterface(); }

    DzMainWindow* mainWindow = nullptr;
    MessageRecorder recorder;
};

} // namespace

TEST_F(OptionsStepTest, ExportAcceptStoresTheResultThenTheThirteenOptionsInOrder) {
    const YFXExportFilter exporter;
    DzFileIOSettings settings;
    bool shown = false;
    QWidget* parent = nullptr;
    yfx_test::onModalDialog(
        [&parent](QWidget* modal) {
            auto* d = qobject_cast<YFXExportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            parent = d->parentWidget();
            d->checkBox(2)->setChecked(false); // texture coordinates off
            d->checkBox(8)->setChecked(true);  // merge materials on
            d->checkBox(10)->setChecked(true); // high resolution on
            d->acceptButton()->click();
        },
        &shown);
    exporter.getDefaultOptions(&settings);

    ASSERT_TRUE(shown);
    EXPECT_EQ(parent, mainWindow);
    EXPECT_EQ(keysOf(settings), keyList(kExportKeys));
    const int expected[] = {1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(settings.getValueType(i), DzSettings::IntValue) << kExportKeys[i];
        EXPECT_EQ(settings.getIntValue(QString::fromLatin1(kExportKeys[i]), -1), expected[i])
            << kExportKeys[i];
    }
    EXPECT_TRUE(recorder.messages.empty());
    // The dialog does not outlive the options step.
    EXPECT_TRUE(mainWindow->findChildren<YFXExportFilterDlg*>().isEmpty());
}

TEST_F(OptionsStepTest, ExportCancelStoresOnlyTheDialogResult) {
    const YFXExportFilter exporter;
    DzFileIOSettings settings;
    bool shown = false;
    yfx_test::onModalDialog(
        [](QWidget* modal) {
            auto* d = qobject_cast<YFXExportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            d->checkBox(0)->setChecked(false);
            d->cancelButton()->click();
        },
        &shown);
    exporter.getDefaultOptions(&settings);
    ASSERT_TRUE(shown);
    ASSERT_EQ(settings.getNumValues(), 1);
    EXPECT_EQ(settings.getKey(0), QStringLiteral("export_dialog_returned"));
    EXPECT_EQ(settings.getIntValue(QStringLiteral("export_dialog_returned"), -1), 0);
}

TEST_F(OptionsStepTest, ExportDialogShowsTheStartingStatesOnEveryOpening) {
    const YFXExportFilter exporter;
    for (int round = 0; round < 2; ++round) {
        DzFileIOSettings settings;
        std::vector<int> seen;
        bool shown = false;
        yfx_test::onModalDialog(
            [&seen](QWidget* modal) {
                auto* d = qobject_cast<YFXExportFilterDlg*>(modal);
                ASSERT_NE(d, nullptr);
                for (int i = 0; i < YFXExportFilterDlg::kCheckCount; ++i) {
                    seen.push_back(d->checkBox(i)->isChecked() ? 1 : 0);
                    d->checkBox(i)->setChecked(!d->checkBox(i)->isChecked());
                }
                d->acceptButton()->click();
            },
            &shown);
        exporter.getDefaultOptions(&settings);
        ASSERT_TRUE(shown) << round;
        EXPECT_EQ(seen, (std::vector<int>{1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0})) << round;
        // Every box was flipped, so every stored option is the opposite.
        for (int i = 1; i < 14; ++i) {
            EXPECT_EQ(settings.getIntValue(QString::fromLatin1(kExportKeys[i]), -1),
                      1 - seen[std::size_t(i - 1)])
                << round << " " << kExportKeys[i];
        }
    }
}

TEST_F(OptionsStepTest, ImportAcceptStoresTheResultTheSevenOptionsAndTheScale) {
    const YFXImportFilter importer;
    DzFileIOSettings settings;
    bool shown = false;
    yfx_test::onModalDialog(
        [](QWidget* modal) {
            auto* d = qobject_cast<YFXImportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->scaleField()->text(), QStringLiteral("1.000"));
            d->checkBox(5)->setChecked(true); // joints on
            d->scaleField()->setText(QStringLiteral("2.5"));
            d->acceptButton()->click();
        },
        &shown);
    importer.getDefaultOptions(&settings);

    ASSERT_TRUE(shown);
    EXPECT_EQ(keysOf(settings), keyList(kImportKeys));
    const int expected[] = {1, 1, 0, 1, 1, 1, 1, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(settings.getValueType(i), DzSettings::IntValue) << kImportKeys[i];
        EXPECT_EQ(settings.getIntValue(QString::fromLatin1(kImportKeys[i]), -1), expected[i])
            << kImportKeys[i];
    }
    EXPECT_EQ(settings.getValueType(8), DzSettings::FloatValue);
    EXPECT_DOUBLE_EQ(settings.getFloatValue(QStringLiteral("import_scale_factor"), -1.0f), 2.5);
}

TEST_F(OptionsStepTest, ImportCancelStoresOnlyTheDialogResultAndReopensFresh) {
    const YFXImportFilter importer;
    DzFileIOSettings settings;
    bool shown = false;
    yfx_test::onModalDialog(
        [](QWidget* modal) {
            auto* d = qobject_cast<YFXImportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            d->scaleField()->setText(QStringLiteral("9"));
            d->checkBox(0)->setChecked(false);
            d->cancelButton()->click();
        },
        &shown);
    importer.getDefaultOptions(&settings);
    ASSERT_TRUE(shown);
    ASSERT_EQ(settings.getNumValues(), 1);
    EXPECT_EQ(settings.getKey(0), QStringLiteral("import_dialog_returned"));
    EXPECT_EQ(settings.getIntValue(QStringLiteral("import_dialog_returned"), -1), 0);

    // The next opening starts from the same values, and accepting an emptied
    // scale field stores 0.
    shown = false;
    QString scaleText;
    bool lightsChecked = false;
    yfx_test::onModalDialog(
        [&](QWidget* modal) {
            auto* d = qobject_cast<YFXImportFilterDlg*>(modal);
            ASSERT_NE(d, nullptr);
            scaleText = d->scaleField()->text();
            lightsChecked = d->checkBox(0)->isChecked();
            d->scaleField()->clear();
            d->acceptButton()->click();
        },
        &shown);
    importer.getDefaultOptions(&settings);
    ASSERT_TRUE(shown);
    EXPECT_EQ(scaleText, QStringLiteral("1.000"));
    EXPECT_TRUE(lightsChecked);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("import_dialog_returned"), -1), 1);
    EXPECT_EQ(settings.getNumValues(), 9);
    EXPECT_DOUBLE_EQ(settings.getFloatValue(QStringLiteral("import_scale_factor"), -1.0f), 0.0);
}

TEST_F(OptionsStepTest, WithoutMainWindowOnlyTheErrorWarningIsShown) {
    dzApp->deleteInterface();
    ASSERT_EQ(dzApp->getInterface(), nullptr);

    const YFXExportFilter exporter;
    const YFXImportFilter importer;
    DzFileIOSettings settings;
    settings.setIntValue(QStringLiteral("export_dialog_returned"), 1);
    exporter.getDefaultOptions(&settings);
    importer.getDefaultOptions(&settings);

    // Nothing stored, nothing replaced.
    ASSERT_EQ(settings.getNumValues(), 1);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("export_dialog_returned")), 1);
    ASSERT_EQ(recorder.messages.size(), 2u);
    for (const yfx::Message& m : recorder.messages) {
        EXPECT_EQ(m.kind, yfx::MessageKind::Warning);
        EXPECT_EQ(m.title, QStringLiteral("Error"));
        EXPECT_EQ(m.text, QStringLiteral("The main window has not been created yet."));
        EXPECT_EQ(m.button, QStringLiteral("&OK"));
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OptionsStepTest, WithoutApplicationObjectTheStepWarnsInsteadOfCrashing) {
    DzApp* const app = dzApp;
    dzApp = nullptr;
    const YFXExportFilter exporter;
    DzFileIOSettings settings;
    exporter.getDefaultOptions(&settings);
    dzApp = app;
    EXPECT_EQ(settings.getNumValues(), 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, QStringLiteral("Error"));
}

TEST_F(OptionsStepTest, HostOptionRequestRunsTheOptionsStep) {
    // The host asks through getOptions; cancelling still reports the dialog
    // result in the settings.
    const YFXImportFilter importer;
    DzFileIOSettings settings;
    bool shown = false;
    yfx_test::onModalDialog([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); },
                            &shown);
    EXPECT_TRUE(importer.getOptions(&settings, true, QStringLiteral("a.yfx")));
    ASSERT_TRUE(shown);
    EXPECT_EQ(settings.getIntValue(QStringLiteral("import_dialog_returned"), -1), 0);
}
