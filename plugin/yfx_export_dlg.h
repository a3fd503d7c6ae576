// YFXExportFilterDlg: the modal export options dialog. Thirteen check boxes in
// three groups ("Export Options", "Misc Export Options", "File Export
// Options") and the Accept/Cancel button row. Accepting stores each box's
// state as 1 (checked) or 0 in the dialog's values; cancelling keeps the
// starting values. The dialog never reads the settings: every new dialog
// starts from the same states.
#pragma once

#include "compat/qt_compat.h"

class QCheckBox;
class QPushButton;

class YFXExportFilterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCheckCount = 13;

    explicit YFXExportFilterDlg(QWidget* parent = nullptr);
    ~YFXExportFilterDlg() override;

    // Value i (1 checked, 0 not) in the order of the export option keys.
    int value(int index) const;
    // The value every dialog starts with for box `index`.
    static int startingValue(int index);

    QCheckBox* checkBox(int index) const;
    QPushButton* whatsThisButton() const { return m_whatsThisButton; }
    QPushButton* acceptButton() const { return m_acceptButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }

public slots:
    // Connected to the check boxes' stateChanged(int); they do nothing.
    void onCheck1(int state);
    void onCheck2(int state);
    void onCheck3(int state);
    void onCheck4(int state);
    void onCheck5(int state);
    void onCheck6(int state);
    void onCheck7(int state);
    void onCheck8(int state);
    void onCheck9(int state);
    void onCheck10(int state);
    void onCheck11(int state);
    void onCheck12(int state);
    void onCheck13(int state);
    void accept() override;
    void reject() override;

private:
    QPushButton* m_whatsThisButton = nullptr;
    QPushButton* m_acceptButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QCheckBox* m_checks[kCheckCount] = {};
    int m_values[kCheckCount] = {};
};
