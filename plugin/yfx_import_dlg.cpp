#include "plugin/yfx_import_dlg.h"

#include "plugin/dialog_frame.h"

#include "compat/qt_compat.h"
#include <QtGui/QDoubleValidator>

#include <cmath>

namespace {

struct CheckInfo {
    const char* text;
    const char* whatsThis;
    int start;
};

constexpr CheckInfo kChecks[YFXImportFilterDlg::kCheckCount] = {
    {"Import lights", "If checked, import lights.", 1},
    {"Import groups", "If checked, import groups.", 0},
    {"Import materials", "If checked, import materials.", 1},
    {"Import texture coordinates", "If checked, import texture coordinates.", 1},
    {"Import uvsets", "If checked, import uvsets.", 1},
    {"Import joints", "If checked, import joints.", 0},
    {"Import animation", "If checked, import animation.", 0},
};

constexpr const char* kScaleWhatsThis = "Scaling factor to scale the scene on import.";

// Only the first five boxes report their changes.
constexpr int kConnectedChecks = 5;
// The slot each box's stateChanged(int) is connected to, by box.
const char* const kSlots[kConnectedChecks] = {
    SLOT(onCheck1(int)), SLOT(onCheck2(int)), SLOT(onCheck3(int)),
    SLOT(onCheck4(int)), SLOT(onCheck5(int)),
};

} // namespace

YFXImportFilterDlg::YFXImportFilterDlg(QWidget* parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("YFXImportFilterDlg"));
    setModal(true);
    setWindowTitle(tr("Marrowmap Import Options"));

    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(5, 5, 5, 5);
    mainLayout->setSpacing(5);

    for (int i = 0; i < kCheckCount; ++i) {
        m_values[i] = kChecks[i].start;
    }
    m_scaleFactor = kStartingScaleFactor;
    for (int i = 0; i < kCheckCount; ++i) {
        m_checks[i] = new QCheckBox(QString::fromLatin1(kChecks[i].text), this);
    }
    for (int i = 0; i < kConnectedChecks; ++i) {
        connect(m_checks[i], SIGNAL(stateChanged(int)), this, kSlots[i]);
    }
    for (int i = 0; i < kCheckCount; ++i) {
        m_checks[i]->setCheckState(m_values[i] == 1 ? Qt::Checked : Qt::Unchecked);
        m_checks[i]->setWhatsThis(QString::fromLatin1(kChecks[i].whatsThis));
    }

    m_scaleField = new QLineEdit(this);
    m_scaleField->setText(
        QStringLiteral("%1").arg(double(m_scaleFactor), 0, 'f', 3, QLatin1Char(' ')));
    m_scaleField->setInputMask(QString());
    m_scaleField->setValidator(new QDoubleValidator(m_scaleField));
    m_scaleLabel = new QLabel(tr("Scale factor:"), this);
    m_scaleField->setWhatsThis(QString::fromLatin1(kScaleWhatsThis));
    m_scaleLabel->setWhatsThis(QString::fromLatin1(kScaleWhatsThis));

    auto* checkGroup = new QGroupBox(tr("Import Options"), this);
    auto* checkLayout = new QVBoxLayout(checkGroup);
    for (QCheckBox* check : m_checks) {
        checkLayout->addWidget(check);
    }
    checkLayout->addStretch(1);
    mainLayout->addWidget(checkGroup);

    auto* miscGroup = new QGroupBox(tr("Misc Import Options"), this);
    auto* miscLayout = new QHBoxLayout(miscGroup);
    miscLayout->addWidget(m_scaleLabel);
    miscLayout->addWidget(m_scaleField);
    miscLayout->addStretch(1);
    mainLayout->addWidget(miscGroup);

    const yfx::DialogButtons buttons = yfx::addDialogButtonRow(this, mainLayout);
    m_whatsThisButton = buttons.whatsThis;
    m_acceptButton = buttons.accept;
    m_cancelButton = buttons.cancel;

    yfx::fixDialogSize(this);
}

YFXImportFilterDlg::~YFXImportFilterDlg() = default;

int YFXImportFilterDlg::value(int index) const {
    return index >= 0 && index < kCheckCount ? m_values[index] : 0;
}

int YFXImportFilterDlg::startingValue(int index) {
    return index >= 0 && index < kCheckCount ? kChecks[index].start : 0;
}

QCheckBox* YFXImportFilterDlg::checkBox(int index) const {
    return index >= 0 && index < kCheckCount ? m_checks[index] : nullptr;
}

void YFXImportFilterDlg::onCheck1(int) {}
void YFXImportFilterDlg::onCheck2(int) {}
void YFXImportFilterDlg::onCheck3(int) {}
void YFXImportFilterDlg::onCheck4(int) {}
void YFXImportFilterDlg::onCheck5(int) {}
void YFXImportFilterDlg::onCheck6(int) {}
void YFXImportFilterDlg::onCheck7(int) {}

void YFXImportFilterDlg::accept() {
    // toFloat gives 0.0 for text that is not a number, an empty field included;
    // "nan" and "inf" count as not a number too.
    const float scale = m_scaleField->text().toFloat();
    m_scaleFactor = std::isfinite(scale) ? scale : 0.0f;
    for (int i = 0; i < kCheckCount; ++i) {
        m_values[i] = m_checks[i]->checkState() == Qt::Checked ? 1 : 0;
    }
    QDialog::accept();
}

void YFXImportFilterDlg::reject() {
    QDialog::reject();
}
