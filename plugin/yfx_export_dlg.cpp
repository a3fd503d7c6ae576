#include "plugin/yfx_export_dlg.h"

#include "plugin/dialog_frame.h"

#include "compat/qt_compat.h"

namespace {

struct CheckInfo {
    const char* text;
    const char* whatsThis;
    int start;
};

constexpr CheckInfo kChecks[YFXExportFilterDlg::kCheckCount] = {
    {"Export lights", "If checked, export lights.", 1},
    {"Export materials", "If checked, export materials.", 1},
    {"Export texture coordinates", "If checked, export texture coordinates.", 1},
    {"Export uvsets", "If checked, export uvsets.", 1},
    {"Export joints", "If checked, export joints.", 1},
    {"Export animation", "If checked, export animation.", 1},
    {"Export visible meshes only", "If checked, export visible meshes only.", 1},
    {"Export zero figure pose", "If checked, export a zero figure pose.", 0},
    {"Merge materials", "If checked, merge materials.", 0},
    {"Collapse UVs (UDIM tiles)", "If checked, collapse UVs for UDIM tiles.", 1},
    {"Export high resolution meshes", "If checked, export high resolution meshes.", 0},
    {"Export textures to saved directory", "If checked, export textures to saved directory.", 1},
    {"Export as YFX v2.x", "If checked, export as YFX v2.x.", 0},
};

// The boxes of each group: [first, end).
struct GroupInfo {
    const char* title;
    int first;
    int end;
};

constexpr GroupInfo kGroups[] = {
    {QT_TRANSLATE_NOOP("YFXExportFilterDlg", "Export Options"), 0, 6},
    {QT_TRANSLATE_NOOP("YFXExportFilterDlg", "Misc Export Options"), 6, 11},
    {QT_TRANSLATE_NOOP("YFXExportFilterDlg", "File Export Options"), 11, 13},
};

// The slot each box's stateChanged(int) is connected to, by box.
const char* const kSlots[YFXExportFilterDlg::kCheckCount] = {
    SLOT(onCheck1(int)),  SLOT(onCheck2(int)),  SLOT(onCheck3(int)),  SLOT(onCheck4(int)),
    SLOT(onCheck5(int)),  SLOT(onCheck6(int)),  SLOT(onCheck7(int)),  SLOT(onCheck8(int)),
    SLOT(onCheck9(int)),  SLOT(onCheck10(int)), SLOT(onCheck11(int)), SLOT(onCheck12(int)),
    SLOT(onCheck13(int)),
};

} // namespace

YFXExportFilterDlg::YFXExportFilterDlg(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("YFXExportFilterDlg"));
    setModal(true);
    setWindowTitle(tr("Marrowmap Export Options"));

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(5, 5, 5, 5);
    mainLayout->setSpacing(5);

    for (int i = 0; i < kCheckCount; ++i) {
        m_values[i] = kChecks[i].start;
    }
    for (int i = 0; i < kCheckCount; ++i) {
        m_checks[i] = new QCheckBox(QString::fromLatin1(kChecks[i].text), this);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        connect(m_checks[i], SIGNAL(stateChanged(int)), this, kSlots[i]);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        m_checks[i]->setCheckState(m_values[i] == 1 ? Qt::Checked : Qt::Unchecked);
        m_checks[i]->setWhatsThis(QString::fromLatin1(kChecks[i].whatsThis));
    }

    for (const GroupInfo& info : kGroups) {
        auto* group = new QGroupBox(tr(info.title), this);
        auto* groupLayout = new QVBoxLayout(group);
        for (int i = info.first; i < info.end; ++i) {
            groupLayout->addWidget(m_checks[i]);
        }
        groupLayout->addStretch(1);
        mainLayout->addWidget(group);
    }

    const yfx::DialogButtons buttons = yfx::addDialogButtonRow(this, mainLayout);
    m_whatsThisButton = buttons.whatsThis;
    m_acceptButton = buttons.accept;
    m_cancelButton = buttons.cancel;

    yfx::fixDialogSize(this);
}

YFXExportFilterDlg::~YFXExportFilterDlg() = default;

int YFXExportFilterDlg::value(int index) const {
    return index >= 0 && index < kCheckCount ? m_values[index] : 0;
}

int YFXExportFilterDlg::startingValue(int index) {
    return index >= 0 && index < kCheckCount ? kChecks[index].start : 0;
}

QCheckBox* YFXExportFilterDlg::checkBox(int index) const {
    return index >= 0 && index < kCheckCount ? m_checks[index] : nullptr;
}

void YFXExportFilterDlg::onCheck1(int) {}
void YFXExportFilterDlg::onCheck2(int) {}
void YFXExportFilterDlg::onCheck3(int) {}
void YFXExportFilterDlg::onCheck4(int) {}
void YFXExportFilterDlg::onCheck5(int) {}
void YFXExportFilterDlg::onCheck6(int) {}
void YFXExportFilterDlg::onCheck7(int) {}
void YFXExportFilterDlg::onCheck8(int) {}
void YFXExportFilterDlg::onCheck9(int) {}
void YFXExportFilterDlg::onCheck10(int) {}
void YFXExportFilterDlg::onCheck11(int) {}
void YFXExportFilterDlg::onCheck12(int) {}
void YFXExportFilterDlg::onCheck13(int) {}

void YFXExportFilterDlg::accept() {
    for (int i = 0; i < kCheckCount; ++i) {
        m_values[i] = m_checks[i]->checkState() == Qt::Checked ? 1 : 0;
    }
    QDialog::accept();
}

void YFXExportFilterDlg::reject() {
    QDialog::reject();
}
